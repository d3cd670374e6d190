// Parsing of the command line's arguments.
#include "cli/arguments.h"

#include <string_view>

#include "core/utf8.h"
#include "core/charset.h"

namespace veltrin::cli {

namespace {

[[noreturn]] void Fail(const std::string& message) {
  throw UsageError(message);
}

// Stores an option's value, refusing a second one.
void SetOnce(std::optional<std::u16string>* slot, std::u16string value, std::string_view name) {
  if (slot->has_value()) Fail("option " + std::string(name) + " given twice");
  *slot = std::move(value);
}

// Reads a job count: a decimal number from 1 to kMaxJobs.
unsigned ParseJobs(const std::u16string& text) {
  unsigned value = 0;
  for (char16_t unit : text) {
    if (unit < u'0' || unit > u'9' || value > kMaxJobs) {
      value = 0;
      break;
    }
    value = value * 10 + (unit - u'0');
  }
  if (value < 1 || value > kMaxJobs) {
    Fail("option -j needs a number of jobs from 1 to " + std::to_string(kMaxJobs) + ", not '" +
         TextToUtf8(text) + "'");
  }
  return value;
}

}  // namespace

Arguments ParseArguments(const std::vector<std::u16string>& arguments) {
  Arguments result;
  for (const std::u16string& argument : arguments) {
    if (argument == u"--") break;  // after it even "--help" is a file name
    if (argument == u"--help" || argument == u"-h") return result;
    if (argument == u"--version") {
      result.command = Arguments::Command::kVersion;
      return result;
    }
  }
  if (arguments.empty()) Fail("no command given");
  if (arguments.front() == u"book") {
    result.command = Arguments::Command::kBook;
    return result;
  }
  if (arguments.front() != u"extract") {
    Fail("unknown command '" + TextToUtf8(arguments.front()) +
         "' (the commands are 'extract' and 'book')");
  }
  result.command = Arguments::Command::kExtract;

  std::vector<std::u16string> sources;
  std::optional<std::u16string> content;
  bool options_ended = false;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::u16string& argument = arguments[i];
    if (options_ended || argument == u"-" || !argument.starts_with(u"-")) {
      sources.push_back(argument);
      continue;
    }
    if (argument == u"--") {
      options_ended = true;
      continue;
    }
    // Each option takes a value, either in the next argument or after "=" (long forms).
    auto [name, value] = SplitOption(argument);
    std::optional<std::u16string>* slot = nullptr;
    std::optional<std::u16string> jobs;
    const char* needs = "a file name";
    if (name == u"--blocked") {
      slot = &result.blocked;
    } else if (name == u"-o" || name == u"--output") {
      slot = &result.output;
    } else if (name == u"--output-dir") {
      slot = &result.output_dir;
      needs = "a folder name";
    } else if (name == u"--charset") {
      slot = &result.charset;
      needs = "a charset name";
    } else if (name == u"--content") {
      slot = &content;
      needs = "'auto' or 'paragraphs'";
    } else if (name == u"-j" || name == u"--jobs") {
      if (result.jobs) Fail("option " + TextToUtf8(name) + " given twice");
      slot = &jobs;
      needs = "a number of jobs";
    } else if (argument.size() > 2 && argument.starts_with(u"-j")) {
      // The short form also takes its value glued on: -j4.
      if (result.jobs) Fail("option -j given twice");
      result.jobs = ParseJobs(argument.substr(2));
      continue;
    } else {
      Fail("unknown option '" + TextToUtf8(argument) + "'");
    }
    if (!value) {
      if (i + 1 >= arguments.size()) Fail("option " + TextToUtf8(name) + " needs " + needs);
      value = arguments[++i];
    }
    if (value->empty()) Fail("option " + TextToUtf8(name) + " needs " + needs);
    if (slot == &jobs) {
      result.jobs = ParseJobs(*value);
      continue;
    }
    SetOnce(slot, std::move(*value), TextToUtf8(name));
  }
  if (content) {
    if (*content != u"auto" && *content != u"paragraphs") {
      Fail("option --content needs 'auto' or 'paragraphs', not '" + TextToUtf8(*content) + "'");
    }
    result.content_auto = *content == u"auto";
  }
  if (sources.empty()) Fail("no SOURCE given");
  bool standard_input = false;
  for (const std::u16string& source : sources) {
    if (source.empty()) Fail("a SOURCE is empty");
    if (source == u"-") {
      if (standard_input) Fail("standard input (-) given twice");
      standard_input = true;
    }
  }
  if (result.output && result.output_dir) Fail("options -o and --output-dir exclude each other");
  if (result.charset && *result.charset != u"auto" && !FindCharset(TextToUtf8(*result.charset))) {
    Fail("unknown charset '" + TextToUtf8(*result.charset) + "'");
  }
  result.sources = std::move(sources);
  return result;
}

std::pair<std::u16string, std::optional<std::u16string>> SplitOption(
    const std::u16string& argument) {
  const std::size_t equals = argument.find(u'=');
  if (!argument.starts_with(u"--") || equals == std::u16string::npos)
    return {argument, std::nullopt};
  return {argument.substr(0, equals), argument.substr(equals + 1)};
}

std::string HelpText() {
  return "Usage: veltrin extract [options] SOURCE...\n"
         "       veltrin book [options] TOC -o BOOK\n"
         "       veltrin --help | --version\n"
         "\n"
         "Extracts the readable paragraph text of web pages.\n"
         "\n"
         "Each SOURCE is an http:// or https:// address, a local HTML file, or - for\n"
         "standard input. Pages are read as they arrive, so their size is not limited.\n"
         "\n"
         "Options:\n"
         "  --blocked FILE   delete every word of FILE (UTF-8, one word per line) from the "
         "results\n"
         "  -o, --output FILE\n"
         "                   write the results to FILE, one after another in the order given,\n"
         "                   instead of standard output\n"
         "  --output-dir DIR write each result to its own file in DIR, named after its source\n"
         "                   (page.html gives page.txt; a repeated name gets -2, -3, ...)\n"
         "  -j, --jobs N     extract up to N sources at once (default: the number of cores);\n"
         "                   the order of the results does not change\n"
         "  --charset NAME   decode the pages from NAME instead of UTF-8: UTF-8, GBK, GB18030,\n"
         "                   Big5, Shift_JIS, EUC-JP, EUC-KR, windows-1252, UTF-16LE, UTF-16BE;\n"
         "                   'auto' takes it from the HTTP Content-Type, else a byte-order\n"
         "                   mark, else a <meta> declaration near the top, else UTF-8\n"
         "  --content RULE   'paragraphs' (default): the paragraph rules alone; 'auto': a page\n"
         "                   without paragraph text gives its largest block of <br> lines\n"
         "  -h, --help       show this text\n"
         "  --version        show the version\n"
         "\n"
         "The results are UTF-8 text with CR LF line breaks.\n"
         "\n"
         "A SOURCE that fails is reported on standard error and the others go on; the exit\n"
         "status is the worst of all sources:\n"
         "  0  a result was produced (it may be empty)\n"
         "  1  a page holds no paragraph text (no line break at all)\n"
         "  2  the command line is wrong\n"
         "  3  a SOURCE or the word list cannot be read or downloaded\n"
         "  4  a result cannot be written\n"
         "  130  interrupted (Ctrl+C, SIGINT or SIGTERM; on Windows a console control\n"
         "       event): every target is left as it was and no temporary file remains\n"
         "\n"
         "veltrin book [options] TOC -o BOOK\n"
         "\n"
         "Turns a table of contents (an address or a saved HTML file) into one book. The\n"
         "chapters are the largest group of links to the TOC's host in one folder, in page\n"
         "order; a link shown twice counts at its last place. Each chapter goes through the\n"
         "extract pipeline (with --content auto and the charset found per page), pages linked\n"
         "as \"下一页\" are joined (up to 50), and BOOK is written whole at the end: BOOK.txt\n"
         "(UTF-8, CR LF; title line, text, empty line per chapter) or BOOK.epub (EPUB 3).\n"
         "Finished chapters wait in BOOK.parts/, so a rerun fetches only what is missing.\n"
         "\n"
         "Options:\n"
         "  -o, --output BOOK  the book file; .epub gives an EPUB, anything else text\n"
         "  --format FORMAT    'txt' or 'epub', whatever the extension\n"
         "  --title TEXT       the EPUB's title (default: the TOC's <title>)\n"
         "  --links REGEX      the chapters are the links whose address matches REGEX\n"
         "  --list             print number, title and address of each chapter; fetch nothing\n"
         "  --blocked FILE     delete every word of FILE from the chapters\n"
         "  --charset NAME     decode every page from NAME (default: auto, as above)\n"
         "  --content RULE     'auto' (default) or 'paragraphs'\n"
         "  -j, --jobs N       chapters fetched at once (default 4)\n"
         "  --per-host N       connections to one host at once (default 2)\n"
         "  --delay MS         pause between two requests to one host (default 0)\n"
         "  --partial          write the book even when chapters failed, each as a line\n"
         "                     [缺章: TITLE ADDRESS]\n"
         "  -q, --quiet        no progress line (it is shown only on a terminal)\n"
         "\n"
         "Timeouts, refused connections, 429 and 5xx are retried three times with growing\n"
         "waits (Retry-After is honoured). A chapter that still fails is reported with its\n"
         "number, title, address and reason; without --partial no book is written then.\n"
         "Exit status: 0 the book was written, 1 no chapters found, 2 a usage error, 3 the\n"
         "TOC or a chapter could not be read, 4 the book cannot be written.\n";
}

}  // namespace veltrin::cli
