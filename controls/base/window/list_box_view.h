// A typed view over a native LISTBOX: each method sends one LB_* message and returns what it
// means. Item messages go straight to the list class's own procedure when the view was made with
// it (ListBoxView::Direct), past any subclass, which is what keeps filling a subclassed list as
// fast as a bare one; messages a control acts on (scrolling, selection changes) are sent as usual.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "controls/base/window/window.h"

namespace veltrin::controls {

class ListBoxView : public Window {
 public:
  constexpr ListBoxView() noexcept = default;
  constexpr explicit ListBoxView(HWND list) noexcept : Window(list) {}
  // A view whose item messages call the LISTBOX class procedure directly (same thread only).
  static ListBoxView Direct(HWND list) noexcept;

  // Items. Indexes are 0-based; -1 (LB_ERR) means none or failure.
  int Count() const noexcept;
  // The item's text, or nothing when the list has no such item.
  std::optional<std::wstring> Text(int index) const;
  int TextLength(int index) const noexcept;
  bool HasItem(int index) const noexcept { return index >= 0 && TextLength(index) >= 0; }
  // The index of the new item, or -1 (LB_ERR / LB_ERRSPACE).
  int AddString(const std::wstring& text) const noexcept;
  int InsertString(int index, const std::wstring& text) const noexcept;
  bool DeleteString(int index) const noexcept;
  void ResetContent() const noexcept;
  LPARAM ItemData(int index) const noexcept;
  bool SetItemData(int index, LPARAM data) const noexcept;
  // Reserves room for `items` more items of `bytes` of text in all.
  void InitStorage(int items, size_t bytes) const noexcept;

  // Searching from after `start` (-1: the whole list), wrapping; -1 when nothing matches.
  int FindExact(int start, const std::wstring& text) const noexcept;
  int FindPrefix(int start, const std::wstring& text) const noexcept;
  int SelectString(int start, const std::wstring& text) const noexcept;

  // Selection. CurSel is -1 in a multiple-selection list; SelCount is -1 in a single one.
  int CurSel() const noexcept;
  bool SetCurSel(int index) const noexcept;
  bool IsSelected(int index) const noexcept;
  bool SetSel(int index, bool selected) const noexcept;
  int SelCount() const noexcept;
  std::optional<std::vector<int>> SelItems() const;
  bool SelItemRange(int first, int last) const noexcept;
  int CaretIndex() const noexcept;
  bool SetCaretIndex(int index) const noexcept;
  int AnchorIndex() const noexcept;
  bool SetAnchorIndex(int index) const noexcept;
  int TopIndex() const noexcept;
  bool SetTopIndex(int index) const noexcept;

  // Geometry, in the list's client pixels.
  std::optional<RECT> ItemRect(int index) const noexcept;
  int ItemHeight(int index) const noexcept;
  bool SetItemHeight(int index, int height) const noexcept;
  int HorizontalExtent() const noexcept;
  void SetHorizontalExtent(int pixels) const noexcept;
  // The width of every column of a multiple-column list.
  void SetColumnWidth(int pixels) const noexcept;
  // The number of items a column holds (LB_GETLISTBOXINFO); 0 without a window.
  int ItemsPerColumn() const noexcept;
  // The item at a client point and whether the point is outside every item (LB_ITEMFROMPOINT).
  int ItemFromPoint(POINT client, bool* outside = nullptr) const noexcept;

 private:
  constexpr ListBoxView(HWND list, WNDPROC procedure) noexcept
      : Window(list), procedure_(procedure) {}
  // An item message: the class procedure when the view has it, else SendMessageW.
  LRESULT Item(UINT message, WPARAM w_param = 0, LPARAM l_param = 0) const noexcept;

  WNDPROC procedure_ = nullptr;  // the LISTBOX class procedure, or null
};

}  // namespace veltrin::controls
