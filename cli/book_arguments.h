// The grammar of `veltrin book [options] TOC -o BOOK`.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace veltrin::cli {

struct BookArguments {
  enum class Format { kText, kEpub };
  std::u16string toc;                     // the table of contents: address or local path
  std::optional<std::u16string> output;   // BOOK; absent only with --list
  std::optional<std::u16string> links;    // --links REGEX, replacing the folder rule
  bool list = false;                      // --list: print the chapters, fetch nothing
  std::optional<std::u16string> blocked;  // the word list file
  std::optional<std::u16string> charset;  // a charset name; the automatic rule when absent
  bool content_auto = true;               // --content auto (default) or paragraphs
  unsigned jobs = 4;                      // chapters read at once
  unsigned per_host = 2;                  // connections to one host at once
  unsigned delay_ms = 0;                  // pause between two requests to one host
  bool partial = false;                   // write the book even with chapters missing
  std::optional<Format> format;           // --format; from the extension when absent
  std::optional<std::u16string> title;    // --title; the TOC's <title> when absent
  bool quiet = false;                     // -q: no progress line
};

// Parses the arguments after "book". Throws UsageError (arguments.h) for an unknown or repeated
// option, an option without its value, no TOC or more than one, no -o without --list, a count
// out of range, an unknown --content or --format value, an unknown charset and a bad expression.
BookArguments ParseBookArguments(const std::vector<std::u16string>& arguments);

// Returns the format the book is written in: --format, else ".epub" at the end of the name.
BookArguments::Format BookFormat(const BookArguments& arguments);

}  // namespace veltrin::cli
