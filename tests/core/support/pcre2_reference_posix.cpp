// The PCRE2 reference scan.
#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <memory>

#include "tests/core/support/pcre2_reference.h"
#include "tests/core/support/regex_scan.h"

namespace veltrin::test {

namespace {

struct CodeDeleter {
  void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct MatchDataDeleter {
  void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};
struct ContextDeleter {
  void operator()(pcre2_compile_context* context) const { pcre2_compile_context_free(context); }
};

// Global scan through PCRE2 with the same empty-match advance as Regex::ReplaceAll.
// Returns nullopt when PCRE2 gives up (its backtracking hits the match or depth limit on nested
// repetitions, which a linear engine never does): it has then no answer to compare with.
std::optional<std::string> ReferenceScan(pcre2_code* code, std::u16string_view text,
                                         uint32_t groups) {
  std::unique_ptr<pcre2_match_data, MatchDataDeleter> data(
      pcre2_match_data_create_from_pattern(code, nullptr));
  std::string out;
  size_t at = 0;
  const auto* subject = reinterpret_cast<PCRE2_SPTR>(text.data());
  while (at <= text.size()) {
    const int rc = pcre2_match(code, subject, text.size(), at, 0, data.get(), nullptr);
    if (rc == PCRE2_ERROR_NOMATCH) break;
    if (rc < 0) return std::nullopt;
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data.get());
    if (!out.empty()) out += ' ';
    out += SpanText(ovector[0], ovector[1]);
    if (groups > 0) {
      out += '(';
      for (uint32_t g = 1; g <= groups; ++g) {
        if (g > 1) out += ',';
        const bool set = static_cast<int>(g) < rc && ovector[2 * g] != PCRE2_UNSET;
        out += set ? SpanText(ovector[2 * g], ovector[2 * g + 1]) : "-";
      }
      out += ')';
    }
    at = ovector[1] == ovector[0] ? ovector[1] + 1 : ovector[1];
  }
  return out;
}

}  // namespace

std::optional<Pcre2Scan> ScanWithPcre2(std::u16string_view pattern, regex::RegexOptions options,
                                       std::u16string_view text) {
  std::unique_ptr<pcre2_compile_context, ContextDeleter> context(
      pcre2_compile_context_create(nullptr));
  pcre2_set_newline(context.get(), PCRE2_NEWLINE_LF);
  uint32_t pcre_options = PCRE2_DOLLAR_ENDONLY | PCRE2_ALT_CIRCUMFLEX;
  if (options.multi_line) pcre_options |= PCRE2_MULTILINE;
  if (options.ignore_case) pcre_options |= PCRE2_CASELESS;
  int error = 0;
  PCRE2_SIZE error_offset = 0;
  std::unique_ptr<pcre2_code, CodeDeleter> code(
      pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), pcre_options,
                    &error, &error_offset, context.get()));
  if (!code) return std::nullopt;
  Pcre2Scan scan;
  pcre2_pattern_info(code.get(), PCRE2_INFO_CAPTURECOUNT, &scan.groups);
  std::optional<std::string> matches = ReferenceScan(code.get(), text, scan.groups);
  if (!matches) return std::nullopt;
  scan.matches = std::move(*matches);
  return scan;
}

}  // namespace veltrin::test
