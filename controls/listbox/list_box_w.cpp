// ListBoxW's life and appearance: the native list's styles, creation, re-creation that carries the
// items over, the font, colours and the style-bearing properties.
#include "controls/listbox/list_box_w.h"

#include <algorithm>
#include <cmath>

#include <commctrl.h>

#include "common/run_time_error.h"
#include "controls/base/comctl_version.h"
#include "controls/base/fonts.h"
#include "controls/base/screen_metrics.h"
#include "controls/base/window_styles.h"

namespace veltrin::controls {
namespace {

constexpr int32_t kMinCheckItemHeightAt96 = 15;

void RequireRange(int32_t value, int32_t low, int32_t high) {
  if (value < low || value > high) throw RunTimeError(kInvalidPropertyValue);
}

}  // namespace

ListBoxW::ListBoxW() = default;

ListBoxW::~ListBoxW() = default;

ListBoxW::RedrawPause::RedrawPause(const ListBoxW& list) noexcept : list_(list) {
  if (list_.redraw_) list_.Child().SetRedraw(false);
}

ListBoxW::RedrawPause::~RedrawPause() {
  if (!list_.redraw_) return;
  list_.Child().SetRedraw(true);
  list_.Refresh();
}

void ListBoxW::InitializeControl() {
  InitControlClasses(ICC_STANDARD_CLASSES);
  checks_.Cleared();
  min_check_item_height_ =
      static_cast<int32_t>(std::lround(kMinCheckItemHeightAt96 * ScreenPixelsPerInchX() / 96.0));
}

void ListBoxW::InitControlProperties() {
  design_mode_ = !Ambient().UserMode();
  UserControl::SetRightToLeft(Ambient().RightToLeft());
  SetFont(nullptr);
  ApplyCreationRules();
}

void ListBoxW::TerminateControl() {
  font_subscription_.Reset();
}

void ListBoxW::ApplyCreationRules() noexcept {
  if (draw_mode_ == kDrawOwnerVariable) {
    multi_column_ = false;
    integral_height_ = false;
  }
  if (draw_mode_ != kDrawNormal) style_ = 0;
  checks_.SetStyle(style_);
}

DWORD ListBoxW::ChildStyle() const {
  DWORD style = WS_HSCROLL | LBS_NOTIFY;
  DWORD ex_style = 0;
  if (!redraw_) style |= LBS_NOREDRAW;
  ApplyBorderStyle(style, ex_style, BorderStyle());
  style |= multi_column_ ? LBS_MULTICOLUMN : WS_VSCROLL;
  if (sorted_) style |= LBS_SORT;
  if (!integral_height_) style |= LBS_NOINTEGRALHEIGHT;
  if (!allow_selection_) style |= LBS_NOSEL;
  if (multi_select_ == kMultiSelectSimple) style |= LBS_MULTIPLESEL;
  if (multi_select_ == kMultiSelectExtended) style |= LBS_EXTENDEDSEL;
  if (use_tab_stops_) style |= LBS_USETABSTOPS;
  if (style_ != kStyleStandard) style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
  if (disable_no_scroll_) style |= LBS_DISABLENOSCROLL;
  if (draw_mode_ == kDrawOwnerFixed) style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
  if (draw_mode_ == kDrawOwnerVariable) style |= LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS;
  return style;
}

DWORD ListBoxW::ChildExStyle() const {
  DWORD style = 0;
  DWORD ex_style = 0;
  ApplyBorderStyle(style, ex_style, BorderStyle());
  if (!multi_column_ && EffectiveRightToLeft()) ex_style |= RightToLeftExStyles();
  return ex_style;
}

void ListBoxW::ChildCreated() {
  Child().UpdateUiState(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL);
  if (multi_column_ && EffectiveRightToLeft()) {
    ApplyRightToLeftStyles(ListHandle(), RightToLeftExStyles());
  }
  if (!multi_column_ && horizontal_extent_ > 0) {
    Items().SetHorizontalExtent(horizontal_extent_);
  }
  last_top_index_ = 0;
  new_index_ = -1;
  insert_mark_index_ = -1;
  insert_mark_after_ = false;
  ApplyFont();
  ApplyVisualStyles();
  Child().Enable(Enabled());
  if (design_mode_) ShowDesignName();
}

void ListBoxW::ShowDesignName() {
  Items().AddString(Ambient().DisplayName());
  Items().SetCurSel(-1);
}

void ListBoxW::AmbientChanged(const std::wstring& name) {
  // A designer's list shows the control's name as its only item: a renamed control shows the new.
  if (name != L"DisplayName" || !design_mode_ || !Child() || Items().Count() <= 0) return;
  Items().ResetContent();
  ShowDesignName();
}

void ListBoxW::SaveChildState() {
  saved_ = SavedState();
  saved_.has_window = static_cast<bool>(Child());
  if (saved_.has_window && !design_mode_) {
    const ListBoxView list = Items();
    saved_.item_height = list.ItemHeight(0);
    const int count = list.Count();
    saved_.items.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
      SavedItem item{list.Text(i).value_or(std::wstring()), list.ItemData(i), false};
      if (multi_select_ != kMultiSelectNone) item.selected = list.IsSelected(i);
      saved_.items.push_back(std::move(item));
    }
    saved_.list_index = ListIndex();
    saved_.top_index = TopIndex();
  }
  saved_.new_index = new_index_;
  saved_.option_index = checks_.Option();
  saved_.insert_mark_index = insert_mark_index_;
  saved_.insert_mark_after = insert_mark_after_;
}

void ListBoxW::RestoreChildState() {
  SavedState saved = std::move(saved_);
  saved_ = SavedState();
  if (Child() && !design_mode_) {
    const ListBoxView list = Items();
    if (saved.has_window && saved.item_height > 0) list.SetItemHeight(0, saved.item_height);
    if (!saved.items.empty()) {
      size_t bytes = 0;
      for (const SavedItem& item : saved.items) bytes += (item.text.size() + 1) * sizeof(wchar_t);
      list.SetRedraw(false);
      list.InitStorage(static_cast<int>(saved.items.size()), bytes);
      for (size_t i = 0; i < saved.items.size(); ++i) {
        const SavedItem& item = saved.items[i];
        const auto index = static_cast<int>(i);
        list.InsertString(index, item.text);
        list.SetItemData(index, item.data);
        if (multi_select_ != kMultiSelectNone && item.selected) list.SetSel(index, true);
      }
      list.SetRedraw(true);
      // A list without selection takes none: the index is restored where the list accepts it.
      const int32_t fresh_index = ListIndex();
      ApplyListIndex(saved.list_index);
      if (saved.list_index != fresh_index) RaiseClick();
      if (saved.top_index > 0) list.SetTopIndex(saved.top_index);
    }
  }
  checks_.SetOption(saved.option_index);
  new_index_ = saved.new_index;
  insert_mark_index_ = saved.insert_mark_index;
  insert_mark_after_ = saved.insert_mark_after;
  Resize();
  Refresh();
  if (!redraw_) Child().SetRedraw(false);
}

void ListBoxW::RecreateForStyle() {
  ApplyCreationRules();
  if (!hWndUserControl()) return;
  if (!Child()) {
    CreateChild();
    return;
  }
  CallScope keep_alive(*this);
  const bool locked = !design_mode_ && LockWindowUpdate(hWndUserControl()) != FALSE;
  try {
    RecreateChild();
  } catch (...) {
    if (locked) LockWindowUpdate(nullptr);
    throw;
  }
  if (locked) LockWindowUpdate(nullptr);
}

void ListBoxW::Refresh() const noexcept {
  UserControl::Refresh();
  if ((redraw_ || design_mode_) && hWndUserControl()) {
    RedrawWindow(hWndUserControl(), nullptr, nullptr,
                 RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
  }
}

void ListBoxW::SetFont(FontRef font) {
  if (!font) {
    const FontRef ambient = Ambient().Font();
    font = ambient ? ambient->Clone() : std::make_shared<FontObject>();
  }
  font_ = std::move(font);
  font_subscription_ = font_->Subscribe([this](const std::wstring&) { ApplyFont(); });
  ApplyFont();
}

void ListBoxW::ApplyFont() {
  if (!font_) return;
  UniqueFont previous = std::move(font_handle_);
  font_handle_ = CreateGdiFont(*font_);
  if (Child()) Child().SetFont(font_handle_.Get());
  previous.Reset();
  SetCheckItemHeight();
  Resize();
  PropertyChanged(L"Font");
}

void ListBoxW::SetCheckItemHeight() {
  if (style_ == 0 || !Child()) return;
  int32_t height = min_check_item_height_;
  if (const HDC screen = GetDC(nullptr)) {
    const HGDIOBJ old = SelectObject(screen, font_handle_.Get());
    TEXTMETRICW metrics{};
    if (GetTextMetricsW(screen, &metrics)) height = std::max<int32_t>(height, metrics.tmHeight);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
  }
  Items().SetItemHeight(0, height);
  if (integral_height_) {
    RECT bounds{0, 0, ClientWidth(), ClientHeight() + 1};
    Child().Move(bounds, false);
    bounds.bottom = ClientHeight();
    Child().Move(bounds, false);
  }
}

void ListBoxW::SetRedraw(bool value) {
  redraw_ = value;
  if (Child() && !design_mode_) {
    Child().SetRedraw(value);
    if (value) Refresh();
  }
  PropertyChanged(L"Redraw");
}

void ListBoxW::SetSorted(bool value) {
  SetRecreating(sorted_, value, L"Sorted");
}

void ListBoxW::SetMultiColumn(bool value) {
  if (value && draw_mode_ == kDrawOwnerVariable) {
    return RefuseSetting(RunTimeError(
        kSetNotSupported, u"MultiColumn must be False when DrawMode is 2 - OwnerDrawVariable"));
  }
  SetRecreating(multi_column_, value, L"MultiColumn");
}

void ListBoxW::SetAllowSelection(bool value) {
  SetRecreating(allow_selection_, value, L"AllowSelection");
}

void ListBoxW::SetMultiSelect(int32_t value) {
  RequireRange(value, 0, 2);
  if (value != 0 && style_ != kStyleStandard) {
    return RefuseSetting(RunTimeError(
        kSetNotSupported, u"MultiSelect must be 0 - None when Style is not 0 - Standard"));
  }
  SetRecreating(multi_select_, value, L"MultiSelect");
}

void ListBoxW::SetUseTabStops(bool value) {
  SetRecreating(use_tab_stops_, value, L"UseTabStops");
}

void ListBoxW::SetDisableNoScroll(bool value) {
  SetRecreating(disable_no_scroll_, value, L"DisableNoScroll");
}

void ListBoxW::SetIntegralHeight(bool value) {
  if (!design_mode_) {
    throw RunTimeError(kSetNotSupportedAtRunTime,
                       u"IntegralHeight property is read-only at run time");
  }
  SetRecreating(integral_height_, value, L"IntegralHeight");
}

void ListBoxW::SetStyle(int32_t value) {
  if (!design_mode_) {
    throw RunTimeError(kSetNotSupportedAtRunTime, u"Style property is read-only at run time");
  }
  RequireRange(value, 0, 2);
  if (value != 0 && draw_mode_ != kDrawNormal) {
    return RefuseSetting(RunTimeError(
        kSetNotSupported, u"Style must be 0 - Standard when DrawMode is not 0 - Normal"));
  }
  style_ = value;
  if (value != 0) multi_select_ = 0;
  RecreateForStyle();
  PropertyChanged(L"Style");
}

void ListBoxW::SetDrawMode(int32_t value) {
  RequireRange(value, 0, 2);
  if (!design_mode_) {
    throw RunTimeError(kSetNotSupportedAtRunTime, u"DrawMode property is read-only at run time");
  }
  SetRecreating(draw_mode_, value, L"DrawMode");
}

}  // namespace veltrin::controls
