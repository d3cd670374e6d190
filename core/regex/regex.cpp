// Compiles patterns, picks the matcher for a search, and performs global replacement.
#include "core/regex/regex.h"

#include "core/regex/compiler.h"
#include "core/regex/delimited_scan.h"
#include "core/regex/parser.h"
#include "core/regex/program.h"

namespace veltrin::regex {
namespace {

// One piece of a replacement text: literal units, or a group reference when group >= 0.
struct ReplacementPiece {
  std::u16string_view text;  // literal units (group < 0)
  int group = -1;            // group number, 0 for the whole match
};

std::vector<ReplacementPiece> ParseReplacement(std::u16string_view replacement,
                                               size_t* highest_group) {
  std::vector<ReplacementPiece> pieces;
  *highest_group = 0;
  size_t literal_start = 0;
  auto flush = [&](size_t end) {
    if (end > literal_start)
      pieces.push_back({replacement.substr(literal_start, end - literal_start)});
  };
  for (size_t i = 0; i + 1 < replacement.size(); ++i) {
    if (replacement[i] != u'$') continue;
    const char16_t c = replacement[i + 1];
    if (c == u'$') {
      flush(i + 1);  // keep the first dollar, drop the second
      literal_start = i + 2;
      ++i;
    } else if (c == u'&' || (c >= u'1' && c <= u'9')) {
      flush(i);
      const int group = c == u'&' ? 0 : c - u'0';
      pieces.push_back({{}, group});
      *highest_group = std::max<size_t>(*highest_group, group);
      literal_start = i + 2;
      ++i;
    }
  }
  flush(replacement.size());
  return pieces;
}

}  // namespace

Regex::Regex(std::u16string_view pattern, RegexOptions options) {
  SyntaxTree tree = ParsePattern(pattern, options);
  if (auto scan = DelimitedScan::FromTree(tree))
    scan_ = std::make_unique<const DelimitedScan>(*scan);
  program_ = std::make_unique<const Program>(CompileProgram(std::move(tree)));
}

Regex::Regex(Regex&&) noexcept = default;
Regex& Regex::operator=(Regex&&) noexcept = default;
Regex::~Regex() = default;

size_t Regex::GroupCount() const noexcept {
  return program_->group_count;
}

bool Regex::SearchSlots(std::u16string_view text, size_t start, size_t slot_count, Match& match,
                        ScratchSpace& scratch, Engine engine) const {
  auto& slots = match.Slots();
  if (scan_ && engine == Engine::kBest) {
    size_t begin = 0;
    size_t end = 0;
    if (!scan_->Search(text, start, begin, end)) return false;
    slots.assign(slot_count, kNoPosition);
    slots[0] = begin;
    slots[1] = end;
    return true;
  }
  return PikeVm::Search(*program_, text, start, slot_count, scratch.Vm(), slots);
}

bool Regex::Search(std::u16string_view text, size_t start, Match& match, ScratchSpace& scratch,
                   Engine engine) const {
  return SearchSlots(text, start, program_->slot_count, match, scratch, engine);
}

bool Regex::Find(std::u16string_view text) const {
  ScratchSpace scratch;
  Match match;
  return SearchSlots(text, 0, 2, match, scratch, Engine::kBest);
}

std::u16string Regex::ReplaceAll(std::u16string_view input, std::u16string_view replacement) const {
  return ReplaceAll(input, replacement, Engine::kBest);
}

std::u16string Regex::ReplaceAll(std::u16string_view input, std::u16string_view replacement,
                                 Engine engine) const {
  size_t highest_group = 0;
  const std::vector<ReplacementPiece> pieces = ParseReplacement(replacement, &highest_group);
  // Only the groups the replacement names need tracking.
  const size_t slot_count = std::min<size_t>(2 * (highest_group + 1), program_->slot_count);
  ScratchSpace scratch;
  Match match;
  std::u16string output;
  output.reserve(input.size());
  size_t copied = 0;  // input before this offset is already in the output
  size_t search = 0;  // where the next search starts
  while (search <= input.size() && SearchSlots(input, search, slot_count, match, scratch, engine)) {
    output.append(input, copied, match.Start() - copied);
    for (const ReplacementPiece& piece : pieces) {
      if (piece.group < 0) {
        output.append(piece.text);
      } else {
        output.append(match.Group(input, static_cast<size_t>(piece.group)));
      }
    }
    copied = match.End();
    search = match.End() == match.Start() ? match.End() + 1 : match.End();
  }
  output.append(input, copied, std::u16string_view::npos);
  return output;
}

}  // namespace veltrin::regex
