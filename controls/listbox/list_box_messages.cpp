// ListBoxW's handling of the messages its container reflects from the native list: selection and
// double-click notifications, and the list's own window colours.
#include "controls/listbox/list_box_w.h"

namespace veltrin::controls {

MessageResult ListBoxW::OnCommand(WORD, WORD code, HWND control) {
  if (!Child() || control != ListHandle()) return kNotHandled;
  switch (code) {
    case LBN_SELCHANGE:
    case LBN_SELCANCEL:
      RaiseClick();
      break;
    case LBN_DBLCLK:
      events_.Raise(&ListBoxWEvents::DblClick);
      break;
    default:
      break;
  }
  return kNotHandled;
}

// The list keeps the system window colours; BackColor and ForeColor colour only the check-box
// and option items.
MessageResult ListBoxW::OnCtlColor(CtlColorKind kind, HDC dc, HWND control) {
  if (kind != CtlColorKind::kListBox || !Child() || control != ListHandle()) return kNotHandled;
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
}

}  // namespace veltrin::controls
