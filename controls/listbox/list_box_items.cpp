// ListBoxW's items and selection: adding, removing, reading and searching items, item data,
// selection in single and multiple selection lists, scroll position and check states.
#include "controls/listbox/list_box_w.h"

#include <algorithm>

#include "common/run_time_error.h"

namespace veltrin::controls {
namespace {

// The insertion index of AddItem from its Variant argument.
int32_t InsertionIndex(const PropertyValue& index) {
  int32_t value = 0;
  switch (index.Type()) {
    case ValueType::kByte:
    case ValueType::kInteger:
    case ValueType::kLong:
    case ValueType::kSingle:
    case ValueType::kDouble:
    case ValueType::kString:
      value = index.ToLong();
      break;
    default:
      throw RunTimeError(kTypeMismatch);
  }
  if (value < 0) throw RunTimeError(kInvalidProcedureCall);
  return value;
}

}  // namespace

bool ListBoxW::HasItem(int32_t index) const noexcept {
  return Child() && Items().HasItem(index);
}

void ListBoxW::RequireItem(int32_t index, int error) const {
  if (!HasItem(index)) throw RunTimeError(error);
}

void ListBoxW::RaiseClick() {
  events_.Raise(&ListBoxWEvents::Click);
}

void ListBoxW::AddItem(std::wstring_view item, const PropertyValue& index) {
  const bool at_index = !index.IsEmpty();
  const int32_t position = at_index ? InsertionIndex(index) : -1;
  if (!Child()) return;
  const std::wstring text(item);
  const int added = at_index ? Items().InsertString(position, text) : Items().AddString(text);
  if (added < 0) throw RunTimeError(kInvalidProcedureCall);
  new_index_ = added;
  checks_.Inserted(new_index_);
}

void ListBoxW::AddItems(std::span<const std::wstring> items) {
  if (!Child() || items.empty()) return;
  const ListBoxView list = Items();
  size_t bytes = 0;
  for (const std::wstring& item : items) bytes += (item.size() + 1) * sizeof(wchar_t);
  list.InitStorage(static_cast<int>(items.size()), bytes);
  {
    const RedrawPause pause(*this);
    for (const std::wstring& item : items) {
      const int added = list.AddString(item);
      if (added < 0) throw RunTimeError(kInvalidProcedureCall);
      new_index_ = added;
      checks_.Inserted(new_index_);
    }
  }
}

void ListBoxW::RemoveItem(int32_t index) {
  if (index < 0) throw RunTimeError(kInvalidProcedureCall);
  if (!Child()) return;
  if (!Items().DeleteString(index)) throw RunTimeError(kInvalidProcedureCall);
  new_index_ = -1;
  if (insert_mark_index_ > ListCount() - 1) {
    insert_mark_index_ = -1;
    insert_mark_after_ = false;
  }
  checks_.Removed(index);
}

void ListBoxW::Clear() {
  if (!Child()) return;
  Items().ResetContent();
  new_index_ = -1;
  checks_.Cleared();
}

int32_t ListBoxW::ListCount() const noexcept {
  return Items().Count();
}

std::wstring ListBoxW::List(int32_t index) const {
  if (!Child()) return {};
  std::optional<std::wstring> text = Items().Text(index);
  if (!text) throw RunTimeError(kInvalidProcedureCall);
  return std::move(*text);
}

void ListBoxW::SetList(int32_t index, std::wstring_view text) {
  if (index < 0) throw RunTimeError(kInvalidProcedureCall);
  if (!Child()) return;
  if (!HasItem(index)) throw RunTimeError(kInvalidProcedureCall);
  const ListBoxView list = Items();
  const int32_t list_index = ListIndex();
  const bool selected = multi_select_ != kMultiSelectNone && list.IsSelected(index);
  const LPARAM data = list.ItemData(index);
  list.DeleteString(index);
  if (list.InsertString(index, std::wstring(text)) < 0) throw RunTimeError(kInvalidProcedureCall);
  list.SetItemData(index, data);
  if (multi_select_ != kMultiSelectNone) list.SetSel(index, selected);
  SetListIndex(list_index);
}

int32_t ListBoxW::ItemData(int32_t index) const {
  if (!Child()) return 0;
  RequireItem(index, kInvalidPropertyArrayIndex);
  return static_cast<int32_t>(Items().ItemData(index));
}

void ListBoxW::SetItemData(int32_t index, int32_t value) {
  if (!Child()) return;
  RequireItem(index, kInvalidPropertyArrayIndex);  // -1 would set every item
  if (!Items().SetItemData(index, value)) throw RunTimeError(kInvalidPropertyArrayIndex);
}

int32_t ListBoxW::ListIndex() const noexcept {
  return multi_select_ != kMultiSelectNone ? Items().CaretIndex() : Items().CurSel();
}

bool ListBoxW::ApplyListIndex(int32_t value) noexcept {
  return multi_select_ != kMultiSelectNone ? Items().SetCaretIndex(value)
                                           : Items().SetCurSel(value);
}

void ListBoxW::SetListIndex(int32_t value) {
  if (!Child()) return;
  const int32_t previous = ListIndex();
  if (!ApplyListIndex(value)) throw RunTimeError(kInvalidPropertyValue);
  if (value != previous) RaiseClick();
}

std::wstring ListBoxW::Text() const {
  const int32_t index = ListIndex();
  return index >= 0 ? List(index) : std::wstring();
}

void ListBoxW::SetText(std::wstring_view text) {
  if (!Child()) return;
  SetListIndex(Items().FindExact(-1, std::wstring(text)));
}

bool ListBoxW::Selected(int32_t index) const {
  if (!Child()) return false;
  RequireItem(index, kInvalidPropertyArrayIndex);
  return Items().IsSelected(index);
}

void ListBoxW::SetSelected(int32_t index, bool value) {
  if (!Child()) return;
  RequireItem(index, kInvalidPropertyArrayIndex);
  const ListBoxView list = Items();
  if (multi_select_ != kMultiSelectNone) {
    const bool was = list.IsSelected(index);
    list.SetSel(index, value);
    if (was != value) RaiseClick();
    return;
  }
  const int previous = list.CurSel();
  if (value) {
    list.SetCurSel(index);
  } else if (index == previous && list.IsSelected(index)) {
    list.SetCurSel(-1);
  }
  if (list.CurSel() != previous) RaiseClick();
}

int32_t ListBoxW::SelCount() const noexcept {
  const ListBoxView list = Items();
  const int count = list.SelCount();
  if (count >= 0) return count;
  const int current = list.CurSel();
  return current >= 0 && list.IsSelected(current) ? 1 : 0;
}

void ListBoxW::SetSelRange(int32_t start_index, int32_t end_index) {
  if (!Child()) return;
  RequireItem(start_index, kInvalidPropertyArrayIndex);
  RequireItem(end_index, kInvalidPropertyArrayIndex);
  const ListBoxView list = Items();
  const int before = list.SelCount();
  if (before < 0) {
    SetListIndex(start_index);
    return;
  }
  list.SelItemRange(start_index, end_index);
  if (list.SelCount() != before) RaiseClick();
}

std::vector<int32_t> ListBoxW::SelectedIndices() const {
  const ListBoxView list = Items();
  if (std::optional<std::vector<int>> selected = list.SelItems()) {
    return std::vector<int32_t>(selected->begin(), selected->end());
  }
  const int current = list.CurSel();
  if (current >= 0 && list.IsSelected(current)) return {current};
  return {};
}

int32_t ListBoxW::TopIndex() const noexcept {
  return Items().TopIndex();
}

void ListBoxW::SetTopIndex(int32_t value) {
  if (value < 0) throw RunTimeError(kInvalidPropertyValue);
  if (!Child()) return;
  if (!Items().SetTopIndex(value)) throw RunTimeError(kInvalidPropertyValue);
}

int32_t ListBoxW::AnchorIndex() const noexcept {
  return Items().AnchorIndex();
}

void ListBoxW::SetAnchorIndex(int32_t value) {
  if (value < -1) throw RunTimeError(kInvalidPropertyValue);
  if (!Child()) return;
  if (!Items().SetAnchorIndex(value)) throw RunTimeError(kInvalidPropertyValue);
}

int32_t ListBoxW::FindItem(std::wstring_view text, int32_t index, bool partial) const {
  if (!Child()) return -1;
  if (index != -1) RequireItem(index, kInvalidPropertyArrayIndex);
  const std::wstring copy(text);
  return partial ? Items().FindPrefix(index, copy) : Items().FindExact(index, copy);
}

int32_t ListBoxW::SelectItem(std::wstring_view text, int32_t index) {
  if (!Child()) return -1;
  if (index != -1) RequireItem(index, kInvalidPropertyArrayIndex);
  return Items().SelectString(index, std::wstring(text));
}

bool ListBoxW::ItemChecked(int32_t index) const {
  if (!Child()) return false;
  RequireItem(index, kInvalidPropertyArrayIndex);
  return checks_.Checked(index);
}

void ListBoxW::SetItemChecked(int32_t index, bool value) {
  if (!Child()) return;
  RequireItem(index, kInvalidPropertyArrayIndex);
  if (style_ == 0 || !checks_.Contains(index)) return;
  if (checks_.Checked(index) == value) return;
  bool cancel = false;
  events_.Raise(&ListBoxWEvents::ItemBeforeCheck, index, cancel);
  if (cancel) return;
  if (style_ == kStyleCheckBox) {
    checks_.SetChecked(index, value);
  } else {
    InvalidateItem(checks_.Option());
    checks_.SetOption(value ? index : -1);
  }
  InvalidateItem(index);
  events_.Raise(&ListBoxWEvents::ItemCheck, index);
}

void ListBoxW::SetOptionIndex(int32_t value) {
  if (!Child()) return;
  if (value != -1) RequireItem(value, kInvalidPropertyArrayIndex);
  if (style_ != 2) return;
  if (value < 0) {
    if (checks_.Option() >= 0) SetItemChecked(checks_.Option(), false);
  } else {
    SetItemChecked(value, true);
  }
}

std::vector<int32_t> ListBoxW::CheckedIndices() const {
  if (ListCount() <= 0) return {};
  return checks_.CheckedIndices();
}

void ListBoxW::InvalidateItem(int32_t index) const noexcept {
  if (!Child() || index < 0) return;
  if (const std::optional<RECT> rect = Items().ItemRect(index)) {
    InvalidateRect(ListHandle(), &*rect, FALSE);
  }
}

}  // namespace veltrin::controls
