// Extraction of a list of sources, several at once, with the results written in the order given:
// one after another into one output, or each into its own file in a folder.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/pipeline.h"
#include "core/charset.h"
#include "cli/result_output.h"
#include "cli/standard_streams.h"

namespace veltrin::cli {

// How every source of a batch is extracted.
struct ExtractionSettings {
  BlockedWords words;              // deleted from every result
  std::optional<Charset> charset;  // the pages' charset; UTF-8 when absent
  bool auto_charset = false;       // whether each page's charset is found out (--charset auto)
  bool decode_ahead = false;       // whether a source is read and decoded on a thread of its own
};

// What writing into one output came to.
struct OutputState {
  bool any_result = false;  // at least one result was written
  bool failed = false;      // a write failed: the output holds part of a result at most
};

// Extracts the sources into one output, the results one after another in the order given; a
// source's result is written only once it is whole, so a source that fails adds nothing. Up to
// `jobs` sources are extracted at once. Failures are reported on standard error, in the order of
// the sources, and the others go on, except after a failure of the output itself. Fills *state.
// Returns the worst exit status (run.h).
int ExtractToOneOutput(const std::vector<std::u16string>& sources,
                       const ExtractionSettings& settings, unsigned jobs, ByteSink& output,
                       StandardStreams& streams, OutputState* state);

// Extracts the sources into `file` as ExtractToOneOutput does and commits it when a result was
// written and the output never failed; otherwise what the file replaces stays as it was.
int ExtractToReplacedFile(const std::vector<std::u16string>& sources,
                          const ExtractionSettings& settings, unsigned jobs, CommittingSink& file,
                          StandardStreams& streams);

// Extracts each source into its own file in `folder`, named by UniqueResultFileNames; a file is
// put in place only when its source gave a result. Returns the worst exit status.
int ExtractToFolder(const std::vector<std::u16string>& sources, const ExtractionSettings& settings,
                    unsigned jobs, const std::u16string& folder, StandardStreams& streams);

// Extracts one source into the sink. Returns 0 for a result (written whole) and 1 when the page
// holds no paragraph text (nothing written). Throws SourceError, OutputError.
int ExtractSource(const std::u16string& source, const ExtractionSettings& settings,
                  bool show_progress, StandardStreams& streams, ByteSink& sink);

}  // namespace veltrin::cli
