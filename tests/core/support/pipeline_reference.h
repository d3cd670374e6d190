// A literal, step-by-step rendering of the extraction pipeline: the general regular-expression
// engine and arrays of strings, every step as written, however slow. The oracle of the tests and
// the fuzzer.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/pipeline.h"

namespace veltrin::test {

// Formats paragraphs step by step.
std::u16string ReferenceFormat(std::u16string_view input);

// Runs the whole pipeline step by step; nullopt where the pipeline stops early.
std::optional<std::u16string> ReferenceExtract(std::u16string page, const BlockedWords& words);

}  // namespace veltrin::test
