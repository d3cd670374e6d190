// Parts are named by chapter number and a hash of the address, so that a changed table of
// contents never mixes in a chapter of another book.
#include "cli/book_parts.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "common/run_time_error.h"
#include "core/text_file.h"
#include "core/utf8.h"

namespace veltrin::cli {

namespace {

std::uint64_t Fnv1a(std::u16string_view text) {
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (char16_t unit : text) {
    hash = (hash ^ (unit & 0xFF)) * 0x100000001b3u;
    hash = (hash ^ (unit >> 8)) * 0x100000001b3u;
  }
  return hash;
}

// The first line of a part: its marker and the number of text bytes after the line.
constexpr std::string_view kPartMarker = "veltrin part ";

std::filesystem::path FsPath(const std::u16string& path) {
  return std::filesystem::path(path);
}

}  // namespace

BookParts::BookParts(const std::u16string& book_path) {
  std::u16string stem = book_path;
  const std::size_t name_start = stem.find_last_of(u"/\\") + 1;
  const std::size_t dot = stem.rfind(u'.');
  if (dot != std::u16string::npos && dot > name_start) {
    std::u16string extension = stem.substr(dot);
    for (char16_t& unit : extension) {
      if (unit >= u'A' && unit <= u'Z') unit = static_cast<char16_t>(unit + (u'a' - u'A'));
    }
    if (extension == u".txt" || extension == u".epub") stem.erase(dot);
  }
  folder_ = stem + u".parts";
}

std::u16string BookParts::PartPath(std::size_t number, std::u16string_view address) const {
  char name[48];
  std::snprintf(name, sizeof name, "%05zu-%016llx.txt", number,
                static_cast<unsigned long long>(Fnv1a(address)));
#ifdef _WIN32
  std::u16string path = folder_ + u'\\';
#else
  std::u16string path = folder_ + u'/';
#endif
  for (const char* c = name; *c != '\0'; ++c) path += static_cast<char16_t>(*c);
  return path;
}

bool BookParts::Has(std::size_t number, std::u16string_view address) const {
  try {
    Load(number, address);
    return true;
  } catch (const RunTimeError&) {
    return false;
  }
}

void BookParts::Save(std::size_t number, std::u16string_view address, std::string_view text) {
  std::error_code error;
  std::filesystem::create_directories(FsPath(folder_), error);
  if (error) {
    detail::ThrowFileError(false, u"Cannot create the folder", folder_,
                           Utf8BytesToText(error.message()));
  }
  ReplacingFileWriter file(PartPath(number, address));
  file.Write(std::string(kPartMarker) + std::to_string(text.size()) + "\n");
  file.Write(text);
  file.Commit(false);
}

std::string BookParts::Load(std::size_t number, std::u16string_view address) const {
  const std::u16string path = PartPath(number, address);
  std::string part = ReadFileBytes(path);
  const std::size_t line_end = part.find('\n');
  const std::string_view line = std::string_view(part).substr(0, line_end);
  const std::size_t body = line_end + 1;
  if (line_end == std::string::npos || !line.starts_with(kPartMarker) ||
      line.substr(kPartMarker.size()) != std::to_string(part.size() - body)) {
    detail::ThrowFileError(false, u"Cannot read", path, u"the part is not whole");
  }
  part.erase(0, body);
  return part;
}

void BookParts::Remove() const noexcept {
  std::error_code error;
  std::filesystem::remove_all(FsPath(folder_), error);
}

}  // namespace veltrin::cli
