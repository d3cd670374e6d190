// The finished chapters of a book in the making, kept on disk beside the book (BOOK.parts/) so that
// memory stays bounded and a rerun fetches only what is missing.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace veltrin::cli {

class BookParts {
 public:
  // The folder for the book file `book_path` (absolute): its name without a .txt or .epub
  // extension, followed by ".parts".
  explicit BookParts(const std::u16string& book_path);

  const std::u16string& Folder() const noexcept { return folder_; }

  // Returns whether the chapter (by number from 1 and address) is already finished: its part is
  // there and whole.
  bool Has(std::size_t number, std::u16string_view address) const;
  // Keeps the chapter's text (UTF-8): written beside and moved in place, so that a run that stops
  // leaves no partial file, and headed by its length, so that a part a system crash cut short is
  // found (parts are not forced to disk one by one). Throws RunTimeError naming the file.
  void Save(std::size_t number, std::u16string_view address, std::string_view text);
  // Returns the chapter's text; throws RunTimeError naming the file, also for a part that is not
  // whole.
  std::string Load(std::size_t number, std::u16string_view address) const;
  // Removes the folder and everything in it; failures are ignored (the book is complete).
  void Remove() const noexcept;

 private:
  std::u16string PartPath(std::size_t number, std::u16string_view address) const;

  std::u16string folder_;  // the parts folder
};

}  // namespace veltrin::cli
