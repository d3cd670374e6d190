// ListBoxW in OLE drag and drop: the selected items' text dragged out automatically, the item being
// dragged, the container's drag notifications raised as events, and scrolling near the edges.
#include "controls/listbox/list_box_w.h"

#include <commctrl.h>

#include <cmath>

#include "controls/base/screen_metrics.h"
#include "controls/listbox/selected_text.h"

namespace veltrin::controls {
namespace {

constexpr int32_t kUnicodeTextFormat = CF_UNICODETEXT;
constexpr int32_t kTextFormat = CF_TEXT;
constexpr int32_t kCopyEffect = 1;
constexpr int kEdgeMarginAt96 = 16;

}  // namespace

std::wstring SelectedItemsText(const ListBoxW& list) {
  std::wstring text;
  bool first = true;
  for (const int32_t index : list.SelectedIndices()) {
    if (!first) text += L"\r\n";
    first = false;
    text += list.List(index);
  }
  return text;
}

void ListBoxW::OLEDrag() {
  if (dragged_item_ > 0) return;
  if (drag_start_item_ > 0) dragged_item_ = drag_start_item_;
  UserControl::OLEDrag();
}

void ListBoxW::OLEStartDrag(DataObject& data, int32_t& allowed_effects) {
  if (dragged_item_ < 1) {
    if (Child()) {
      POINT cursor{};
      GetCursorPos(&cursor);
      dragged_item_ = LBItemFromPt(ListHandle(), cursor, FALSE) + 1;
    }
  } else if (OLEDragMode() == kOleDragAutomatic) {
    const std::wstring text = SelectedItemsText(*this);
    if (!text.empty()) {
      // A String is offered with its terminating NUL in both formats.
      data.SetData(PropertyValue(text), kUnicodeTextFormat);
      data.SetData(PropertyValue(text), kTextFormat);
    }
    allowed_effects = kCopyEffect;
  }
  try {
    events_.Raise(&ListBoxWEvents::OLEStartDrag, data, allowed_effects);
  } catch (...) {
    dragged_item_ = 0;  // no drag runs: the next one must be able to start
    throw;
  }
  if (allowed_effects == 0) dragged_item_ = 0;
}

void ListBoxW::OLESetData(DataObject& data, int16_t data_format) {
  events_.Raise(&ListBoxWEvents::OLESetData, data, data_format);
}

void ListBoxW::OLEGiveFeedback(int32_t effect, bool& default_cursors) {
  events_.Raise(&ListBoxWEvents::OLEGiveFeedback, effect, default_cursors);
}

void ListBoxW::OLECompleteDrag(int32_t effect) {
  try {
    events_.Raise(&ListBoxWEvents::OLECompleteDrag, effect);
  } catch (...) {
    dragged_item_ = 0;
    throw;
  }
  dragged_item_ = 0;
}

void ListBoxW::OLEDragOver(DataObject& data, int32_t& effect, int16_t button, int16_t shift,
                           float x, float y, int16_t state) {
  float container_x =
      static_cast<float>(ScaleX(x, ScaleUnit::kPixels, ScaleUnit::kContainerPosition));
  float container_y =
      static_cast<float>(ScaleY(y, ScaleUnit::kPixels, ScaleUnit::kContainerPosition));
  events_.Raise(&ListBoxWEvents::OLEDragOver, data, effect, button, shift, container_x, container_y,
                state);
  if (Child() && state == 2 && effect != 0 && OLEDragDropScroll()) {
    ScrollNearEdge(static_cast<int>(x), static_cast<int>(y));
  }
}

void ListBoxW::ScrollNearEdge(int x, int y) {
  const int margin_x =
      static_cast<int>(std::lround(kEdgeMarginAt96 * ScreenPixelsPerInchX() / 96.0));
  const int margin_y =
      static_cast<int>(std::lround(kEdgeMarginAt96 * ScreenPixelsPerInchY() / 96.0));
  const RECT bounds = Child().GetWindowRect();
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  const DWORD style = Child().Style();
  if (style & WS_HSCROLL) {
    if (std::abs(x) < margin_x) {
      Child().Scroll(SB_HORZ, SB_LINELEFT);
    } else if (std::abs(x - width) < margin_x) {
      Child().Scroll(SB_HORZ, SB_LINERIGHT);
    }
  }
  if (style & WS_VSCROLL) {
    if (std::abs(y) < margin_y) {
      Child().Scroll(SB_VERT, SB_LINEUP);
    } else if (std::abs(y - height) < margin_y) {
      Child().Scroll(SB_VERT, SB_LINEDOWN);
    }
  }
}

void ListBoxW::OLEDragDrop(DataObject& data, int32_t& effect, int16_t button, int16_t shift,
                           float x, float y) {
  float container_x =
      static_cast<float>(ScaleX(x, ScaleUnit::kPixels, ScaleUnit::kContainerPosition));
  float container_y =
      static_cast<float>(ScaleY(y, ScaleUnit::kPixels, ScaleUnit::kContainerPosition));
  events_.Raise(&ListBoxWEvents::OLEDragDrop, data, effect, button, shift, container_x,
                container_y);
}

}  // namespace veltrin::controls
