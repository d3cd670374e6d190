// UTF-8 text files: whole-file reads (a byte-order mark consumed) and writes that replace the old
// file only once the new content is safely on disk.
#pragma once

#include <string>
#include <string_view>

namespace veltrin {

// Returns the whole content of a file. Throws RunTimeError 53 when the file or its folder does not
// exist and 75 for any other failure (a folder given as the path included); the description names
// the path and the system's reason.
std::string ReadFileBytes(const std::u16string& path);

// Replaces the file with exactly these bytes: they are written to a temporary file beside it,
// which is then moved over it, so that a failure leaves the old file untouched and no temporary
// file behind. Throws RunTimeError 75 naming the path and the system's reason.
void WriteFileBytes(std::string_view bytes, const std::u16string& path);

// Returns the text of a UTF-8 file; a leading byte-order mark is not part of the text and
// ill-formed bytes become U+FFFD. Throws as ReadFileBytes does.
std::u16string ReadUtf8TextFile(const std::u16string& path);

// Writes the text as UTF-8 without a byte-order mark and adds nothing, replacing any existing
// file whole. Throws as WriteFileBytes does.
void WriteUtf8TextFile(std::u16string_view text, const std::u16string& path);

namespace detail {

// Throws the RunTimeError for a failed file operation: 53 when `missing`, else 75, described as
// "<action> "<path>": <reason>".
[[noreturn]] void ThrowFileError(bool missing, std::u16string_view action,
                                 const std::u16string& path, std::u16string_view reason);

}  // namespace detail
}  // namespace veltrin
