// The chapter page generator of the benchmarks. Its own small random generator keeps pages
// identical across standard libraries (the std distributions are not specified bit for bit).
#include "bench/page_generator.h"

#include <array>
#include <string_view>

namespace veltrin::bench {

namespace {

// SplitMix64: tiny, fast and fully specified.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Returns a number in [0, bound).
  std::size_t Below(std::size_t bound) { return static_cast<std::size_t>(Next() % bound); }
  bool Chance(int percent) { return Below(100) < static_cast<std::size_t>(percent); }

 private:
  std::uint64_t state_;  // advanced by a constant at each draw
};

// Common characters of narrative prose, UTF-8, three bytes each.
constexpr std::string_view kHanzi =
    "的一是在不了有和人这中大为上个国我以要他时来用们生到作地于出就分对成会可主发年动同工也能下"
    "过子说产种面而方后多定行学法所民得经十三之进着等部度家电力里如水化高自二理起小物现实加量都"
    "两体制机当使点从业本去把性好应开它合还因由其些然前外天政四日那社义事平形相全表间样与关各重"
    "新线内数正心反你明看原又么利比或但质气第向道命此变条只没结解问意建月公无系军很情者最立代想"
    "已通并提直题党程展五果料象员革位入常文总次品式活设及管特件长求老头基资边流路级少图山统接知"
    "较将组见计别她手角期根论运农指几九区强放决西被干做必战先回则任取据处队南给色光门即保治北造"
    "百规热领七海口东导器压志世金增争济阶油思术极交受联什认六共权收证改清己美再采转更单风切打白"
    "教速花带安场身车例真务具万每目至达走积示议声报斗完类八离华名确才科张信马节话米整空元况今集"
    "温传土许步群广石记需段研界拉林律叫且究观越织装影算低持音众书布复容儿须际商非验连断深难近矿"
    "千周委素技备半办青省列习响约支般史感劳便团往酸历市克何除消构府称太准精值号率族维划选标写存"
    "候毛亲快效斯院查江型眼王按格养易置派层片始却专状育厂京识适属圆包火住调满县局照参红细引听该"
    "铁价严龙灯河渡船夜雨风桥镇街窗灯影梦";

constexpr std::array<std::string_view, 6> kCommas = {"，", "，", "，", "、", "；", "："};
constexpr std::array<std::string_view, 8> kStops = {"。", "。", "。", "？", "！", "……", "——", "?"};
constexpr std::array<std::string_view, 6> kTitles = {"《山海经》", "《水经注》", "《河灯记》",
                                                     "《夜航船》", "《渡口》",   "《风雨谈》"};
constexpr std::array<std::string_view, 3> kAds = {"广告", "风铃书屋", "请收藏本站"};
constexpr std::array<std::string_view, 4> kParagraphOpen = {
    "<p>", "<p class=\"content\">", "<p style=\"text-indent:2em\">", "<p id=\"c\" class=\"txt\">"};

void AppendHanzi(Random& random, std::string& out, std::size_t count) {
  const std::size_t characters = kHanzi.size() / 3;
  for (std::size_t i = 0; i < count; ++i) out += kHanzi.substr(random.Below(characters) * 3, 3);
}

// One sentence: clauses of prose, sometimes a title pair, an ASCII word or an ad word.
void AppendSentence(Random& random, std::string& out) {
  const std::size_t clauses = 1 + random.Below(3);
  for (std::size_t c = 0; c < clauses; ++c) {
    AppendHanzi(random, out, 4 + random.Below(10));
    if (random.Chance(6)) {
      out += kTitles[random.Below(kTitles.size())];
      out += kTitles[random.Below(kTitles.size())];
    }
    if (random.Chance(4)) out += "OK ";
    if (random.Chance(3)) out += kAds[random.Below(kAds.size())];
    if (c + 1 < clauses) out += kCommas[random.Below(kCommas.size())];
  }
  out += kStops[random.Below(kStops.size())];
}

void AppendParagraph(Random& random, std::string& out, std::string_view line_break) {
  out += kParagraphOpen[random.Below(kParagraphOpen.size())];
  out += "&nbsp;&nbsp;&nbsp;&nbsp;";
  const std::size_t sentences = 1 + random.Below(5);
  for (std::size_t s = 0; s < sentences; ++s) {
    AppendSentence(random, out);
    // Source pages often break a paragraph over lines.
    if (!line_break.empty() && s + 1 < sentences && random.Chance(8)) out += line_break;
  }
  if (random.Chance(5)) out += "<br/>";
  out += "</p>";
  out += line_break;
}

constexpr std::string_view kHead =
    "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n"
    "<title>第三章 渡口的灯_河灯记_风铃书屋</title>\n"
    "<link rel=\"stylesheet\" href=\"/static/read.css\">\n"
    "<script type=\"text/javascript\">\n"
    "  var bookId = 1024, chapterId = 3;\n"
    "  function nextPage() { location.href = \"/book/1024/4.html\"; }\n"
    "  document.onkeydown = function (e) { if (e.keyCode == 39) nextPage(); };\n"
    "</script>\n<style>\n  .content { font-size: 18px; line-height: 1.8; }\n</style>\n"
    "</head>\n";

constexpr std::string_view kNavigation =
    "<div class=\"nav\"><a href=\"/book/1024/2.html\">上一章</a> | <a href=\"/book/1024/\">目录</a>"
    " | <a href=\"/book/1024/4.html\">下一章</a></div>";

constexpr std::string_view kAdBlock =
    "<div class=\"ad\"><script>show_ad(\"banner\");</script>广告：风铃书屋，好书天天看</div>";

constexpr std::string_view kFooter =
    "<div class=\"footer\">Copyright &copy; 风铃书屋 All rights reserved.</div>";

}  // namespace

std::string GenerateChapterPage(const PageOptions& options) {
  Random random(options.seed);
  const std::string_view line_break = options.single_line_body ? "" : "\r\n";
  std::string page;
  page.reserve(options.target_bytes + 4096);
  page += kHead;
  page += "<body>";
  page += line_break;
  page += kNavigation;
  page += line_break;
  page += "<h1>第三章 渡口的灯</h1><div id=\"content\" class=\"content\">";
  page += line_break;
  const std::size_t tail = kFooter.size() + kNavigation.size() + 64;
  while (page.size() + tail < options.target_bytes) {
    if (random.Chance(3)) {
      page += kAdBlock;
      page += line_break;
    }
    AppendParagraph(random, page, line_break);
  }
  page += "</div>";
  page += line_break;
  page += kNavigation;
  page += line_break;
  page += kFooter;
  page += line_break;
  page += "</body></html>";
  if (!options.single_line_body) page += "\r\n";
  return page;
}

}  // namespace veltrin::bench
