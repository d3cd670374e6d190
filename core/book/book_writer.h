// The book file: plain text (UTF-8, CR LF) or EPUB 3, written chapter by chapter so that only one
// chapter is in memory at a time.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace veltrin::book {

class BookWriter {
 public:
  using Output = std::function<void(std::string_view bytes)>;
  virtual ~BookWriter() = default;
  // Adds the next chapter: its title and its text (CR LF lines, as the pipeline gives it).
  virtual void AddChapter(std::u16string_view title, std::u16string_view text) = 0;
  // Adds the line that stands for a chapter that could not be read (MissingChapterLine).
  virtual void AddMissingChapter(std::u16string_view title, std::u16string_view address) = 0;
  // Writes what closes the book.
  virtual void Finish() = 0;
};

// Returns the line that stands for a missing chapter: "[缺章: TITLE ADDRESS]".
std::u16string MissingChapterLine(std::u16string_view title, std::u16string_view address);

// Each chapter is its title line, its text and an empty line.
std::unique_ptr<BookWriter> MakeTextBookWriter(BookWriter::Output output);

// One XHTML file per chapter, a navigation document in chapter order and a package document with
// the title, language zh and `identifier`; `modified` is the UTC time "YYYY-MM-DDThh:mm:ssZ".
std::unique_ptr<BookWriter> MakeEpubBookWriter(BookWriter::Output output, std::u16string_view title,
                                               std::u16string_view identifier,
                                               std::string_view modified);

}  // namespace veltrin::book
