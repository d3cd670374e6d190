// ListBoxW's items and selection: adding, removing, reading and searching items, item data,
// selection in single and multiple selection lists, scroll position and check states.
#include "controls/listbox/list_box_w.h"

#include <algorithm>

#include "common/run_time_error.h"

namespace veltrin::controls {
namespace {

LPARAM TextParam(const std::wstring& text) noexcept {
  return reinterpret_cast<LPARAM>(text.c_str());
}

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
  return Child() && Send(LB_GETTEXTLEN, static_cast<WPARAM>(index)) != LB_ERR;
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
  const LRESULT result = at_index
                             ? Send(LB_INSERTSTRING, static_cast<WPARAM>(position), TextParam(text))
                             : Send(LB_ADDSTRING, 0, TextParam(text));
  if (result < 0) throw RunTimeError(kInvalidProcedureCall);
  new_index_ = static_cast<int32_t>(result);
  checks_.Inserted(new_index_);
}

void ListBoxW::RemoveItem(int32_t index) {
  if (index < 0) throw RunTimeError(kInvalidProcedureCall);
  if (!Child()) return;
  if (Send(LB_DELETESTRING, static_cast<WPARAM>(index)) == LB_ERR) {
    throw RunTimeError(kInvalidProcedureCall);
  }
  new_index_ = -1;
  if (insert_mark_index_ > ListCount() - 1) {
    insert_mark_index_ = -1;
    insert_mark_after_ = false;
  }
  checks_.Removed(index);
}

void ListBoxW::Clear() {
  if (!Child()) return;
  Send(LB_RESETCONTENT);
  new_index_ = -1;
  checks_.Cleared();
}

int32_t ListBoxW::ListCount() const noexcept {
  return static_cast<int32_t>(Send(LB_GETCOUNT));
}

std::wstring ListBoxW::List(int32_t index) const {
  if (!Child()) return {};
  const LRESULT length = Send(LB_GETTEXTLEN, static_cast<WPARAM>(index));
  if (length == LB_ERR) throw RunTimeError(kInvalidProcedureCall);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied =
      Send(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

void ListBoxW::SetList(int32_t index, std::wstring_view text) {
  if (index < 0) throw RunTimeError(kInvalidProcedureCall);
  if (!Child()) return;
  if (!HasItem(index)) throw RunTimeError(kInvalidProcedureCall);
  const int32_t list_index = ListIndex();
  const LRESULT selected =
      multi_select_ != 0 ? Send(LB_GETSEL, static_cast<WPARAM>(index)) : LB_ERR;
  const LRESULT data = Send(LB_GETITEMDATA, static_cast<WPARAM>(index));
  const std::wstring copy(text);
  Send(LB_DELETESTRING, static_cast<WPARAM>(index));
  if (Send(LB_INSERTSTRING, static_cast<WPARAM>(index), TextParam(copy)) < 0) {
    throw RunTimeError(kInvalidProcedureCall);
  }
  Send(LB_SETITEMDATA, static_cast<WPARAM>(index), data);
  if (selected != LB_ERR) Send(LB_SETSEL, selected > 0 ? TRUE : FALSE, index);
  SetListIndex(list_index);
}

int32_t ListBoxW::ItemData(int32_t index) const {
  if (!Child()) return 0;
  RequireItem(index, kInvalidPropertyArrayIndex);
  return static_cast<int32_t>(Send(LB_GETITEMDATA, static_cast<WPARAM>(index)));
}

void ListBoxW::SetItemData(int32_t index, int32_t value) {
  if (!Child()) return;
  if (Send(LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(value)) == LB_ERR) {
    throw RunTimeError(kInvalidPropertyArrayIndex);
  }
}

int32_t ListBoxW::ListIndex() const noexcept {
  return static_cast<int32_t>(Send(multi_select_ != 0 ? LB_GETCARETINDEX : LB_GETCURSEL));
}

void ListBoxW::SetListIndex(int32_t value) {
  if (!Child()) return;
  const int32_t previous = ListIndex();
  if (multi_select_ != 0) {
    if (Send(LB_SETCARETINDEX, static_cast<WPARAM>(value), FALSE) == LB_ERR) {
      throw RunTimeError(kInvalidPropertyValue);
    }
  } else if (value == -1) {
    Send(LB_SETCURSEL, static_cast<WPARAM>(-1));
  } else if (Send(LB_SETCURSEL, static_cast<WPARAM>(value)) == LB_ERR) {
    throw RunTimeError(kInvalidPropertyValue);
  }
  if (value != previous) RaiseClick();
}

std::wstring ListBoxW::Text() const {
  const int32_t index = ListIndex();
  return index >= 0 ? List(index) : std::wstring();
}

void ListBoxW::SetText(std::wstring_view text) {
  if (!Child()) return;
  const std::wstring copy(text);
  SetListIndex(
      static_cast<int32_t>(Send(LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), TextParam(copy))));
}

bool ListBoxW::Selected(int32_t index) const {
  if (!Child()) return false;
  RequireItem(index, kInvalidPropertyArrayIndex);
  return Send(LB_GETSEL, static_cast<WPARAM>(index)) > 0;
}

void ListBoxW::SetSelected(int32_t index, bool value) {
  if (!Child()) return;
  RequireItem(index, kInvalidPropertyArrayIndex);
  if (multi_select_ != 0) {
    const bool was = Send(LB_GETSEL, static_cast<WPARAM>(index)) > 0;
    Send(LB_SETSEL, value ? TRUE : FALSE, index);
    if (was != value) RaiseClick();
    return;
  }
  const LRESULT previous = Send(LB_GETCURSEL);
  if (value) {
    Send(LB_SETCURSEL, static_cast<WPARAM>(index));
  } else if (index == previous && Send(LB_GETSEL, static_cast<WPARAM>(index)) > 0) {
    Send(LB_SETCURSEL, static_cast<WPARAM>(-1));
  }
  if (Send(LB_GETCURSEL) != previous) RaiseClick();
}

int32_t ListBoxW::SelCount() const noexcept {
  const LRESULT count = Send(LB_GETSELCOUNT);
  if (count != LB_ERR) return static_cast<int32_t>(count);
  const LRESULT current = Send(LB_GETCURSEL);
  return current != LB_ERR && Send(LB_GETSEL, static_cast<WPARAM>(current)) > 0 ? 1 : 0;
}

void ListBoxW::SetSelRange(int32_t start_index, int32_t end_index) {
  if (!Child()) return;
  RequireItem(start_index, kInvalidPropertyArrayIndex);
  RequireItem(end_index, kInvalidPropertyArrayIndex);
  const LRESULT before = Send(LB_GETSELCOUNT);
  if (before == LB_ERR) {
    SetListIndex(start_index);
    return;
  }
  Send(LB_SELITEMRANGEEX, static_cast<WPARAM>(start_index), end_index);
  if (Send(LB_GETSELCOUNT) != before) RaiseClick();
}

std::vector<int32_t> ListBoxW::SelectedIndices() const {
  std::vector<int32_t> indices;
  const int32_t count = ListCount();
  if (count <= 0) return indices;
  std::vector<int> buffer(static_cast<size_t>(count));
  const LRESULT found =
      Send(LB_GETSELITEMS, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  if (found == LB_ERR) {
    const LRESULT current = Send(LB_GETCURSEL);
    if (current != LB_ERR && Send(LB_GETSEL, static_cast<WPARAM>(current)) > 0) {
      indices.push_back(static_cast<int32_t>(current));
    }
    return indices;
  }
  indices.assign(buffer.begin(), buffer.begin() + std::clamp<LRESULT>(found, 0, count));
  return indices;
}

int32_t ListBoxW::TopIndex() const noexcept {
  return static_cast<int32_t>(Send(LB_GETTOPINDEX));
}

void ListBoxW::SetTopIndex(int32_t value) {
  if (value < 0) throw RunTimeError(kInvalidPropertyValue);
  if (!Child()) return;
  if (Send(LB_SETTOPINDEX, static_cast<WPARAM>(value)) == LB_ERR) {
    throw RunTimeError(kInvalidPropertyValue);
  }
}

int32_t ListBoxW::AnchorIndex() const noexcept {
  return static_cast<int32_t>(Send(LB_GETANCHORINDEX));
}

void ListBoxW::SetAnchorIndex(int32_t value) {
  if (value < -1) throw RunTimeError(kInvalidPropertyValue);
  if (!Child()) return;
  if (Send(LB_SETANCHORINDEX, static_cast<WPARAM>(value)) == LB_ERR) {
    throw RunTimeError(kInvalidPropertyValue);
  }
}

int32_t ListBoxW::FindItem(std::wstring_view text, int32_t index, bool partial) const {
  if (!Child()) return -1;
  if (index != -1) RequireItem(index, kInvalidPropertyArrayIndex);
  const std::wstring copy(text);
  return static_cast<int32_t>(Send(partial ? LB_FINDSTRING : LB_FINDSTRINGEXACT,
                                   static_cast<WPARAM>(index), TextParam(copy)));
}

int32_t ListBoxW::SelectItem(std::wstring_view text, int32_t index) {
  if (!Child()) return -1;
  if (index != -1) RequireItem(index, kInvalidPropertyArrayIndex);
  const std::wstring copy(text);
  return static_cast<int32_t>(Send(LB_SELECTSTRING, static_cast<WPARAM>(index), TextParam(copy)));
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
  if (style_ == 1) {
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
  RECT rect{};
  if (Send(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)) != LB_ERR) {
    InvalidateRect(ListHandle(), &rect, FALSE);
  }
}

}  // namespace veltrin::controls
