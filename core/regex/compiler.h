// Compiles a syntax tree into a Pike VM program.
#pragma once

#include "core/regex/program.h"
#include "core/regex/syntax_tree.h"

namespace veltrin::regex {

// Most instructions a program may hold; counted repetition beyond it is refused.
constexpr size_t kMaxProgramSize = 50000;

// Compiles the tree; throws veltrin::RegexError at the offending node's offset when the program
// would exceed kMaxProgramSize instructions.
Program CompileProgram(SyntaxTree tree);

}  // namespace veltrin::regex
