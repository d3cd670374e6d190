// File attribute query and directory search for ordinary, long and UNC paths. The search keeps
// one per-process state (used from one thread), so it can be continued with an empty path.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace veltrin {

// Attribute bits of entries and of the search mask.
inline constexpr int kAttributeReadOnly = 0x1;
inline constexpr int kAttributeHidden = 0x2;
inline constexpr int kAttributeSystem = 0x4;
inline constexpr int kAttributeVolume = 0x8;
inline constexpr int kAttributeDirectory = 0x10;

// Returns the long form of a path, in which the system takes the name as it is (no length limit):
// "\\server\share" becomes "\\?\UNC\server\share", anything else gets "\\?\" in front, and
// forward slashes become backslashes first (the long form knows no other separator). A path then
// in the long or device form ("\\?\", "\\.\") is returned unchanged. A relative path names
// nothing in the long form, so only absolute paths can be found through it.
std::u16string LongPathForm(std::u16string_view path);

// Returns the path made full and normal by the system: "." and ".." components resolved, forward
// slashes turned into backslashes, a relative path taken against the current folder (on Windows
// GetFullPathNameW; elsewhere the path as it is). Returns the path unchanged when that fails.
std::u16string SystemFullPath(const std::u16string& path);

// Returns the long form of a path as the file helpers use it: an absolute drive or UNC path is
// made full and normal (SystemFullPath) first, because the long form would take "..", "." and
// "/" literally; any other path is left as typed, so that a relative one still names nothing.
std::u16string NormalLongPathForm(const std::u16string& path);

// Returns the attribute bits of a file or folder; a file with no special attribute gives 0.
// Throws RunTimeError 53 when it cannot be found (on POSIX also for a relative path).
int32_t FileAttributes(const std::u16string& path);

// With mask 8: closes any open search and returns the volume label of the path's volume (the
// current one for an empty path), or empty when it cannot be read.
// With any other mask and a non-empty path: starts a new search (the path may end in a folder
// separator, meaning all its entries, and may hold the wildcards * and ? in its last part) and
// returns the name of the first entry that qualifies, without its folder. An entry qualifies
// unless it is hidden, system or a folder while the mask lacks that bit; "." and ".." never
// qualify. Only absolute paths can match: on Windows a path that is neither an absolute drive or
// UNC path nor in the long form finds nothing (empty, never an error); "." and ".." components
// and forward slashes in an absolute path are resolved first (see NormalLongPathForm).
// With an empty path: continues the open search the same way.
// Returns empty when no (further) entry qualifies, which ends the search. Throws RunTimeError 52
// when the search fails for a reason other than a missing file or folder, and 5 when continuing
// with no search open.
std::u16string FindFileEntry(const std::u16string& path, int attributes);

namespace detail {

// Returns whether the path is in the long or device form ("\\\\?\\", "\\\\.\\", either separator).
bool IsLongOrDeviceForm(std::u16string_view path);

// Returns whether the path is an absolute drive path ("C:\\" or "C:/" and on) or a UNC path (two
// separators, either kind, then a server name), but not already in the long or device form.
bool IsFullDriveOrUncPath(std::u16string_view path);

// Returns the attribute bits FileAttributes reports for the system's bits: "normal" (0x80, a file
// with no other attribute) becomes 0, anything else is kept.
int32_t ReportedAttributes(uint32_t system_attributes);

// Returns whether an entry with these attribute bits and name is reported to a search begun with
// `mask`; `normal` marks an entry whose only attribute is "normal", which always qualifies.
bool EntryQualifies(uint32_t entry_attributes, bool normal, std::u16string_view name, int mask);

}  // namespace detail
}  // namespace veltrin
