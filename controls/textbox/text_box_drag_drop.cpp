// The text box in OLE drag and drop: the events of the host's notifications and, in automatic
// modes, offering the selection, the drop caret, scrolling near the edges and inserting the text.
#include <cmath>
#include <optional>

#include "controls/base/dpi.h"
#include "controls/base/host/data_object.h"
#include "controls/textbox/text_box.h"

namespace veltrin::controls {
namespace {

constexpr int kUnicodeText = CF_UNICODETEXT;
constexpr int kAnsiText = CF_TEXT;
constexpr int32_t kEffectMove = DROPEFFECT_MOVE;
constexpr double kScrollMargin = 16.0;  // pixels at 96 DPI

// A drag position (the container's pixels) as EM_CHARFROMPOS takes it: in the edit's client
// coordinates, which start inside its border.
LPARAM EditPointParam(HWND container, HWND edit, float x, float y) noexcept {
  POINT point{std::lround(x), std::lround(y)};
  MapWindowPoints(container, edit, &point, 1);
  return MAKELPARAM(static_cast<WORD>(static_cast<int16_t>(point.x)),
                    static_cast<WORD>(static_cast<int16_t>(point.y)));
}

// The dropped text: UTF-16 up to its first U+0000, or the ANSI text; empty when neither is offered.
std::wstring DroppedText(const DataObject& data) {
  if (data.GetFormat(kUnicodeText)) {
    const ByteArray bytes = data.GetData(kUnicodeText).ToBytes();
    std::wstring text(bytes.size() / 2, L'\0');
    for (size_t i = 0; i < text.size(); ++i) {
      text[i] = static_cast<wchar_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    }
    return text.substr(0, text.find(L'\0'));
  }
  if (data.GetFormat(kAnsiText)) return data.GetData(kAnsiText).ToString();
  return {};
}

// UTF-16LE bytes of `text`, with a terminating U+0000.
ByteArray UnicodeTextBytes(const std::wstring& text) {
  ByteArray bytes;
  bytes.reserve((text.size() + 1) * 2);
  for (const wchar_t code : text) {
    bytes.push_back(static_cast<uint8_t>(code & 0xFF));
    bytes.push_back(static_cast<uint8_t>(code >> 8));
  }
  bytes.push_back(0);
  bytes.push_back(0);
  return bytes;
}

}  // namespace

void TextBoxW::OLEStartDrag(DataObject& data, int32_t& allowed_effects) {
  if (OLEDragMode() == kOleDragAutomatic) {
    const std::wstring text = SelText();
    data.SetData(PropertyValue(UnicodeTextBytes(text)), kUnicodeText);
    data.SetData(PropertyValue(text), kAnsiText);
    allowed_effects = kEffectMove;
    drag_source_ = true;
  }
  events_.Raise(&TextBoxEvents::OLEStartDrag, data, allowed_effects);
  if (allowed_effects == 0) drag_source_ = false;
}

void TextBoxW::OLESetData(DataObject& data, int16_t data_format) {
  events_.Raise(&TextBoxEvents::OLESetData, data, data_format);
}

void TextBoxW::OLEGiveFeedback(int32_t effect, bool& default_cursors) {
  events_.Raise(&TextBoxEvents::OLEGiveFeedback, effect, default_cursors);
}

void TextBoxW::OLECompleteDrag(int32_t effect) {
  if (effect == kEffectMove && OLEDragMode() == kOleDragAutomatic && drag_source_ && Live()) {
    Edit().Clear();
  }
  events_.Raise(&TextBoxEvents::OLECompleteDrag, effect);
  drag_source_ = false;
}

void TextBoxW::OLEDragOver(DataObject& data, int32_t& effect, int16_t button, int16_t shift,
                           float x, float y, int16_t state) {
  events_.Raise(&TextBoxEvents::OLEDragOver, data, effect, button, shift,
                static_cast<float>(ScaleX(x, ScaleUnit::kPixels, ScaleUnit::kContainerPosition)),
                static_cast<float>(ScaleY(y, ScaleUnit::kPixels, ScaleUnit::kContainerPosition)),
                state);
  if (!Live()) return;
  if (state == 2 && effect != 0 && OLEDragDropScroll()) ScrollNearEdges(x, y);
  if (OLEDropMode() != kOleDropAutomatic) return;
  if (state == 2 && effect != 0) {
    ShowDropCaret(x, y);
  } else if (state == 1) {
    HideDropCaret();
  }
}

void TextBoxW::ScrollNearEdges(float x, float y) {
  const Window edit = Child();
  const RECT bounds = edit.GetWindowRect();
  const DWORD style = edit.Style();
  const double margin_x = kScrollMargin * DpiScaleX();
  const double margin_y = kScrollMargin * DpiScaleY();
  if (style & WS_HSCROLL) {
    if (std::fabs(x) < margin_x) {
      edit.Scroll(SB_HORZ, SB_LINELEFT);
    } else if (std::fabs(x - static_cast<float>(bounds.right - bounds.left)) < margin_x) {
      edit.Scroll(SB_HORZ, SB_LINERIGHT);
    }
  }
  if (style & WS_VSCROLL) {
    if (std::fabs(y) < margin_y) {
      edit.Scroll(SB_VERT, SB_LINEUP);
    } else if (std::fabs(y - static_cast<float>(bounds.bottom - bounds.top)) < margin_y) {
      edit.Scroll(SB_VERT, SB_LINEDOWN);
    }
  }
}

void TextBoxW::ShowDropCaret(float x, float y) {
  const EditView edit = Edit();
  const DWORD index = CharIndexAt(EditPointParam(hWndUserControl(), edit.Handle(), x, y));
  const std::optional<POINT> position = edit.PosFromChar(index);
  if (!position) {
    HideDropCaret();
    return;
  }
  SIZE extent{};
  if (const HDC dc = GetDC(edit.Handle())) {
    const HGDIOBJ old_font = font_handle_ ? SelectObject(dc, font_handle_.Get()) : nullptr;
    GetTextExtentPoint32W(dc, L"|", 1, &extent);
    if (old_font) SelectObject(dc, old_font);
    ReleaseDC(edit.Handle(), dc);
  }
  CreateCaret(edit.Handle(), nullptr, 0, extent.cy);
  SetCaretPos(position->x, position->y);
  ShowCaret(edit.Handle());
}

void TextBoxW::HideDropCaret() {
  const EditView edit = Edit();
  if (!edit.HasFocus()) {
    DestroyCaret();
    return;
  }
  // The drop caret took the focused edit's caret; setting the selection again puts it back.
  const EditView::Selection selection = edit.GetSel();
  edit.SetSel(selection.start, selection.end);
  Refresh();
}

void TextBoxW::OLEDragDrop(DataObject& data, int32_t& effect, int16_t button, int16_t shift,
                           float x, float y) {
  events_.Raise(&TextBoxEvents::OLEDragDrop, data, effect, button, shift,
                static_cast<float>(ScaleX(x, ScaleUnit::kPixels, ScaleUnit::kContainerPosition)),
                static_cast<float>(ScaleY(y, ScaleUnit::kPixels, ScaleUnit::kContainerPosition)));
  if (OLEDropMode() != kOleDropAutomatic || !Live() || effect == 0) return;
  Refresh();
  InsertDroppedText(data, effect, x, y);
}

void TextBoxW::InsertDroppedText(DataObject& data, int32_t& effect, float x, float y) {
  const std::wstring text = DroppedText(data);
  if (text.empty()) return;
  const EditView edit = Edit();
  DWORD index = CharIndexAt(EditPointParam(hWndUserControl(), edit.Handle(), x, y));
  if (drag_source_) {
    drag_source_ = false;
    const auto [start, end] = edit.GetSel();
    if (start <= index && index <= end) {
      effect = 0;
      return;
    }
    if (effect == kEffectMove) {
      if (start < index) index -= end - start;
      edit.Clear();
    }
  } else if (!edit.HasFocus()) {
    ::SetFocus(hWndUserControl());
  }
  edit.SetSel(index, index);
  edit.ReplaceSel(text);
  edit.SetSel(index, index + static_cast<DWORD>(text.size()));
}

}  // namespace veltrin::controls
