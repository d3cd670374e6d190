// Reading and decoding a source, optionally on a thread of its own so that the extraction of one
// large page runs beside its reading and decoding.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/page_decoder.h"
#include "cli/standard_streams.h"

namespace veltrin::cli {

// Reads SOURCE (see ReadSource), decodes it and hands the text to `consume` piece by piece, in
// order, on the calling thread. With `ahead`, reading and decoding run on another thread, a few
// pieces ahead of `consume`. Throws what ReadSource throws, and what `consume` throws (reading
// then stops).
void ReadDecoded(const std::u16string& source, StandardStreams& streams, bool show_progress,
                 PageDecoder& decoder, bool ahead,
                 const std::function<void(std::u16string_view)>& consume);

}  // namespace veltrin::cli
