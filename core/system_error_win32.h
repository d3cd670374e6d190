// The system's wording of a Win32 error code, for error descriptions (Windows builds only).
#pragma once

#include <cstdint>
#include <string>

namespace veltrin {

// Returns the system's message for `code` on one line (line breaks become spaces, trailing white
// space is dropped), looked up first in the module `module_name` when one is given (it must be
// loaded already; WinHTTP's codes live in winhttp.dll) and then in the system's table. Returns
// empty when neither knows the code.
std::u16string SystemErrorText(uint32_t code, const wchar_t* module_name = nullptr);

}  // namespace veltrin
