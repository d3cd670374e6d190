// Focus on a form: the active control, the tab order, and the validation that runs before a
// control takes the focus.
#include "controls/base/host/form.h"

#include <algorithm>

#include "common/run_time_error.h"

namespace veltrin::controls {

namespace {

bool CanTakeFocus(const Extender& item) noexcept {
  const HWND window = item.hWnd();
  // IsWindowVisible: a control in a hidden frame is not visible.
  return item.TabStop() && window && IsWindowVisible(window) && IsWindowEnabled(window);
}

}  // namespace

Extender* Form::ActiveControl() const noexcept {
  return ItemOfWindow(GetFocus());
}

std::vector<Extender*> Form::TabOrder() const {
  std::vector<Extender*> order;
  for (const auto& item : items_) order.push_back(item.get());
  std::stable_sort(order.begin(), order.end(), [](const Extender* a, const Extender* b) {
    return a->tab_index_ < b->tab_index_;
  });
  return order;
}

void Form::RenumberTabOrder(Extender* moved, int16_t index) {
  auto order = TabOrder();
  order.erase(std::remove(order.begin(), order.end(), moved), order.end());
  const size_t at = std::min(static_cast<size_t>(index), order.size());
  order.insert(order.begin() + static_cast<std::ptrdiff_t>(at), moved);
  for (size_t i = 0; i < order.size(); ++i) order[i]->tab_index_ = static_cast<int16_t>(i);
}

void Form::ValidateControls() {
  Extender* active = ActiveControl();
  if (!active) return;
  bool cancel = false;
  active->Events().Raise(&ExtenderEvents::Validate, cancel);
  if (cancel) throw RunTimeError(kInvalidPropertyValue);
}

void Form::FocusControl(Extender& target) {
  Extender* active = ActiveControl();
  if (active && active != &target && target.CausesValidation()) ValidateControls();
  ::SetFocus(target.hWnd());
}

bool Form::TabToNextControl(bool backwards) {
  const auto order = TabOrder();
  if (order.empty()) return false;
  Extender* active = ActiveControl();
  const auto found = std::find(order.begin(), order.end(), active);
  const size_t count = order.size();
  size_t at = found == order.end() ? (backwards ? 0 : count - 1)
                                   : static_cast<size_t>(found - order.begin());
  for (size_t step = 0; step < count; ++step) {
    at = backwards ? (at + count - 1) % count : (at + 1) % count;
    Extender* candidate = order[at];
    if (candidate == active || !CanTakeFocus(*candidate)) continue;
    try {
      FocusControl(*candidate);
    } catch (const RunTimeError&) {
      return false;  // the validation was cancelled: the focus stays where it is
    }
    return true;
  }
  return false;
}

}  // namespace veltrin::controls
