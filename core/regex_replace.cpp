// The regular-expression replacement of the pipeline: the replacement text's escapes are
// translated by literal replacements in a fixed order before the engine substitutes it.
#include "core/pipeline.h"
#include "core/regex/regex.h"
#include "core/text_ops.h"

namespace veltrin {

std::u16string RegexReplace(std::u16string_view input, std::u16string_view pattern,
                            std::u16string_view replacement) {
  const regex::Regex expression(pattern, {.multi_line = true, .ignore_case = false});
  if (!expression.Find(input)) return std::u16string(input);

  // The order matters: "\n\r" must become CR LF before "\n" alone would turn it into LF CR.
  std::u16string translated(replacement);
  ReplaceAll(translated, u"\\n\\r", u"\r\n");
  ReplaceAll(translated, u"\\r\\n", u"\r\n");
  ReplaceAll(translated, u"\\n", u"\n");
  ReplaceAll(translated, u"\\r", u"\r");
  ReplaceAll(translated, u"\\s", u" ");
  ReplaceAll(translated, u"\\t", u"\t");
  ReplaceAll(translated, u"\\f", u"\f");
  ReplaceAll(translated, u"\\v", u"\v");
  return expression.ReplaceAll(input, translated);
}

}  // namespace veltrin
