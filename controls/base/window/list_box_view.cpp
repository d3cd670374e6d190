// The ListBoxView's messages, and the LISTBOX class procedure its direct views call.
#include "controls/base/window/list_box_view.h"

namespace veltrin::controls {
namespace {

WNDPROC ListBoxClassProcedure() noexcept {
  static const WNDPROC procedure = [] {
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    return GetClassInfoExW(nullptr, L"ListBox", &info) ? info.lpfnWndProc : nullptr;
  }();
  return procedure;
}

constexpr WPARAM Index(int index) noexcept {
  return static_cast<WPARAM>(static_cast<INT_PTR>(index));
}

LPARAM TextParam(const std::wstring& text) noexcept {
  return reinterpret_cast<LPARAM>(text.c_str());
}

}  // namespace

ListBoxView ListBoxView::Direct(HWND list) noexcept {
  return ListBoxView(list, ListBoxClassProcedure());
}

LRESULT ListBoxView::Item(UINT message, WPARAM w_param, LPARAM l_param) const noexcept {
  if (!Handle()) return LB_ERR;
  if (procedure_) return CallWindowProcW(procedure_, Handle(), message, w_param, l_param);
  return SendMessageW(Handle(), message, w_param, l_param);
}

int ListBoxView::Count() const noexcept {
  return Handle() ? static_cast<int>(Item(LB_GETCOUNT)) : 0;
}

std::optional<std::wstring> ListBoxView::Text(int index) const {
  const int length = TextLength(index);
  if (length < 0) return std::nullopt;
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = Item(LB_GETTEXT, Index(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

int ListBoxView::TextLength(int index) const noexcept {
  return static_cast<int>(Item(LB_GETTEXTLEN, Index(index)));
}

int ListBoxView::AddString(const std::wstring& text) const noexcept {
  const LRESULT result = Item(LB_ADDSTRING, 0, TextParam(text));
  return result < 0 ? -1 : static_cast<int>(result);
}

int ListBoxView::InsertString(int index, const std::wstring& text) const noexcept {
  const LRESULT result = Item(LB_INSERTSTRING, Index(index), TextParam(text));
  return result < 0 ? -1 : static_cast<int>(result);
}

bool ListBoxView::DeleteString(int index) const noexcept {
  return Item(LB_DELETESTRING, Index(index)) != LB_ERR;
}

void ListBoxView::ResetContent() const noexcept {
  Item(LB_RESETCONTENT);
}

LPARAM ListBoxView::ItemData(int index) const noexcept {
  return static_cast<LPARAM>(Item(LB_GETITEMDATA, Index(index)));
}

bool ListBoxView::SetItemData(int index, LPARAM data) const noexcept {
  return Item(LB_SETITEMDATA, Index(index), data) != LB_ERR;
}

void ListBoxView::InitStorage(int items, size_t bytes) const noexcept {
  Item(LB_INITSTORAGE, Index(items), static_cast<LPARAM>(bytes));
}

int ListBoxView::FindExact(int start, const std::wstring& text) const noexcept {
  return static_cast<int>(Item(LB_FINDSTRINGEXACT, Index(start), TextParam(text)));
}

int ListBoxView::FindPrefix(int start, const std::wstring& text) const noexcept {
  return static_cast<int>(Item(LB_FINDSTRING, Index(start), TextParam(text)));
}

int ListBoxView::SelectString(int start, const std::wstring& text) const noexcept {
  return static_cast<int>(Send(LB_SELECTSTRING, Index(start), TextParam(text)));
}

int ListBoxView::CurSel() const noexcept {
  return Handle() ? static_cast<int>(Item(LB_GETCURSEL)) : -1;
}

bool ListBoxView::SetCurSel(int index) const noexcept {
  return Send(LB_SETCURSEL, Index(index)) != LB_ERR || index == -1;
}

bool ListBoxView::IsSelected(int index) const noexcept {
  return Item(LB_GETSEL, Index(index)) > 0;
}

bool ListBoxView::SetSel(int index, bool selected) const noexcept {
  return Send(LB_SETSEL, selected ? TRUE : FALSE, static_cast<LPARAM>(index)) != LB_ERR;
}

int ListBoxView::SelCount() const noexcept {
  return Handle() ? static_cast<int>(Item(LB_GETSELCOUNT)) : -1;
}

std::optional<std::vector<int>> ListBoxView::SelItems() const {
  const int count = SelCount();
  if (count < 0) return std::nullopt;
  std::vector<int> items(static_cast<size_t>(count));
  if (count == 0) return items;
  const LRESULT found =
      Item(LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(items.data()));
  items.resize(found > 0 ? static_cast<size_t>(found) : 0);
  return items;
}

bool ListBoxView::SelItemRange(int first, int last) const noexcept {
  return Send(LB_SELITEMRANGEEX, Index(first), static_cast<LPARAM>(last)) != LB_ERR;
}

int ListBoxView::CaretIndex() const noexcept {
  return Handle() ? static_cast<int>(Item(LB_GETCARETINDEX)) : -1;
}

bool ListBoxView::SetCaretIndex(int index) const noexcept {
  return Send(LB_SETCARETINDEX, Index(index), FALSE) != LB_ERR;
}

int ListBoxView::AnchorIndex() const noexcept {
  return Handle() ? static_cast<int>(Item(LB_GETANCHORINDEX)) : -1;
}

bool ListBoxView::SetAnchorIndex(int index) const noexcept {
  return Send(LB_SETANCHORINDEX, Index(index)) != LB_ERR;
}

int ListBoxView::TopIndex() const noexcept {
  return Handle() ? static_cast<int>(Item(LB_GETTOPINDEX)) : 0;
}

bool ListBoxView::SetTopIndex(int index) const noexcept {
  return Send(LB_SETTOPINDEX, Index(index)) != LB_ERR;
}

std::optional<RECT> ListBoxView::ItemRect(int index) const noexcept {
  RECT rect{};
  if (Item(LB_GETITEMRECT, Index(index), reinterpret_cast<LPARAM>(&rect)) == LB_ERR) {
    return std::nullopt;
  }
  return rect;
}

int ListBoxView::ItemHeight(int index) const noexcept {
  return static_cast<int>(Item(LB_GETITEMHEIGHT, Index(index)));
}

bool ListBoxView::SetItemHeight(int index, int height) const noexcept {
  return Send(LB_SETITEMHEIGHT, Index(index), static_cast<LPARAM>(height)) != LB_ERR;
}

int ListBoxView::HorizontalExtent() const noexcept {
  return static_cast<int>(Item(LB_GETHORIZONTALEXTENT));
}

void ListBoxView::SetHorizontalExtent(int pixels) const noexcept {
  Send(LB_SETHORIZONTALEXTENT, Index(pixels));
}

void ListBoxView::SetColumnWidth(int pixels) const noexcept {
  Send(LB_SETCOLUMNWIDTH, Index(pixels));
}

int ListBoxView::ItemsPerColumn() const noexcept {
  return static_cast<int>(Send(LB_GETLISTBOXINFO));
}

int ListBoxView::ItemFromPoint(POINT client, bool* outside) const noexcept {
  const LRESULT result = Item(LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
  if (outside) *outside = HIWORD(result) != 0;
  return static_cast<int>(LOWORD(result));
}

}  // namespace veltrin::controls
