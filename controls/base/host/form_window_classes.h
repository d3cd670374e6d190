// The window classes of a form and of the containers of its user controls, registered when the
// first form is created.
#pragma once

#include <windows.h>

namespace veltrin::controls::form_detail {

inline constexpr wchar_t kFormClass[] = L"VeltrinForm";
inline constexpr wchar_t kUserControlClass[] = L"VeltrinUserControl";

}  // namespace veltrin::controls::form_detail
