// The platform-independent half of text file I/O: the UTF-8 layer over whole-file bytes and the
// wording of file errors.
#include "core/text_file.h"

#include "common/run_time_error.h"
#include "core/utf8.h"

namespace veltrin {

std::u16string ReadUtf8TextFile(const std::u16string& path) {
  const std::string content = ReadFileBytes(path);
  return Utf8BytesToText(WithoutByteOrderMark(content));
}

void WriteUtf8TextFile(std::u16string_view text, const std::u16string& path) {
  // No fallback to an ANSI code page: encoding cannot fail, and a write that fails for lack of
  // access or space would fail the same way in any other encoding.
  WriteFileBytes(TextToUtf8(text), path);
}

void WriteFileBytes(std::string_view bytes, const std::u16string& path) {
  ReplacingFileWriter writer(path);
  writer.Write(bytes);
  writer.Commit();
}

namespace detail {

void ThrowFileError(bool missing, std::u16string_view action, const std::u16string& path,
                    std::u16string_view reason) {
  std::u16string description(action);
  description += u" \"";
  description += path;
  description += u"\": ";
  description += reason;
  throw RunTimeError(missing ? kFileNotFound : kPathFileAccessError, std::move(description));
}

}  // namespace detail
}  // namespace veltrin
