// Unicode text from the clipboard.
#pragma once

#include <string>

namespace veltrin::controls {

// Returns the clipboard's Unicode text: the memory block without its last character (a block
// larger than its text yields trailing NULs). Empty when the clipboard cannot be opened or holds
// no Unicode text.
std::wstring ClipboardUnicodeText();

}  // namespace veltrin::controls
