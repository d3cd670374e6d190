// ListBoxW: a hosted control that owns one native "ListBox" window filling its container, with
// Unicode item texts, check-box and option styles, events, and re-creation of the native list
// that keeps the items when a style-bearing property changes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "controls/base/gdi_handles.h"
#include "controls/base/host/event_sink.h"
#include "controls/base/host/font_object.h"
#include "controls/base/host/picture_object.h"
#include "controls/base/host/property_value.h"
#include "controls/base/native_control.h"
#include "controls/base/window/list_box_view.h"
#include "controls/listbox/check_state_store.h"
#include "controls/listbox/list_box_events.h"

namespace veltrin::controls {

class ListBoxW : public NativeControl {
 public:
  // Style.
  static constexpr int32_t kStyleStandard = 0;
  static constexpr int32_t kStyleCheckBox = 1;
  static constexpr int32_t kStyleOption = 2;
  // DrawMode.
  static constexpr int32_t kDrawNormal = 0;
  static constexpr int32_t kDrawOwnerFixed = 1;
  static constexpr int32_t kDrawOwnerVariable = 2;
  // MultiSelect.
  static constexpr int32_t kMultiSelectNone = 0;
  static constexpr int32_t kMultiSelectSimple = 1;
  static constexpr int32_t kMultiSelectExtended = 2;

  ListBoxW();
  ~ListBoxW() override;

  EventSink<ListBoxWEvents>& Events() noexcept { return events_; }
  // The native list window (null while none exists), as hWnd().
  HWND ListHandle() const noexcept { return Child().Handle(); }

  // Items.
  // Adds an item at the end (sorted in a sorted list) or, with an Index (Integer, Long, Single,
  // Double or a numeric String), inserts it there unsorted. Error 5 for a negative index or a
  // failed insertion, 13 for an index of another type.
  void AddItem(std::wstring_view item, const PropertyValue& index = PropertyValue());
  // Adds the items at the end (sorted in a sorted list) as AddItem does, much faster for many:
  // room is reserved first and the list repaints once. NewIndex is the last one's index. Error 5
  // when an item cannot be added; the items before it stay.
  void AddItems(std::span<const std::wstring> items);
  void RemoveItem(int32_t index);
  void Clear();
  int32_t ListCount() const noexcept;
  std::wstring List(int32_t index) const;
  void SetList(int32_t index, std::wstring_view text);
  int32_t ItemData(int32_t index) const;
  void SetItemData(int32_t index, int32_t value);
  int32_t NewIndex() const noexcept { return new_index_; }

  // Selection.
  int32_t ListIndex() const noexcept;
  void SetListIndex(int32_t value);
  std::wstring Text() const;
  void SetText(std::wstring_view text);
  bool Selected(int32_t index) const;
  void SetSelected(int32_t index, bool value);
  int32_t SelCount() const noexcept;
  void SetSelRange(int32_t start_index, int32_t end_index);
  std::vector<int32_t> SelectedIndices() const;
  int32_t TopIndex() const noexcept;
  void SetTopIndex(int32_t value);
  int32_t AnchorIndex() const noexcept;
  void SetAnchorIndex(int32_t value);

  // Searching: a start index of -1 searches the whole list; another index without an item raises
  // 381. Returns the found index or -1.
  int32_t FindItem(std::wstring_view text, int32_t index = -1, bool partial = false) const;
  int32_t SelectItem(std::wstring_view text, int32_t index = -1);

  // Check states (Style 1 and 2).
  bool ItemChecked(int32_t index) const;
  void SetItemChecked(int32_t index, bool value);
  int32_t OptionIndex() const noexcept { return checks_.Option(); }
  void SetOptionIndex(int32_t value);
  int32_t CheckCount() const noexcept { return checks_.Count(); }
  std::vector<int32_t> CheckedIndices() const;

  // Appearance and behaviour.
  FontRef Font() const noexcept { return font_; }
  // Null takes the ambient font.
  void SetFont(FontRef font);
  bool Redraw() const noexcept { return redraw_; }
  void SetRedraw(bool value);
  bool Sorted() const noexcept { return sorted_; }
  void SetSorted(bool value);
  bool MultiColumn() const noexcept { return multi_column_; }
  void SetMultiColumn(bool value);
  bool AllowSelection() const noexcept { return allow_selection_; }
  void SetAllowSelection(bool value);
  int32_t MultiSelect() const noexcept { return multi_select_; }
  void SetMultiSelect(int32_t value);
  bool UseTabStops() const noexcept { return use_tab_stops_; }
  void SetUseTabStops(bool value);
  bool DisableNoScroll() const noexcept { return disable_no_scroll_; }
  void SetDisableNoScroll(bool value);
  bool IntegralHeight() const noexcept { return integral_height_; }
  void SetIntegralHeight(bool value);
  int32_t Style() const noexcept { return style_; }
  void SetStyle(int32_t value);
  int32_t DrawMode() const noexcept { return draw_mode_; }
  void SetDrawMode(int32_t value);
  bool DesignMode() const noexcept { return design_mode_; }
  // In container units.
  float HorizontalExtent() const;
  void SetHorizontalExtent(float value);
  OLE_COLOR InsertMarkColor() const noexcept { return insert_mark_color_; }
  void SetInsertMarkColor(OLE_COLOR value);
  bool ScrollTrack() const noexcept { return scroll_track_; }
  void SetScrollTrack(bool value);

  // Geometry, in container units.
  // Index 0 works in every mode, other indexes only with DrawMode 2; otherwise error 5.
  float ItemHeight(int32_t index = 0) const;
  void SetItemHeight(int32_t index, float value);
  void SetColumnWidth(float value);
  int32_t ItemsPerColumn() const noexcept;
  // The item under a point of the container's position scale, or -1.
  int32_t HitTest(float x, float y) const;
  // As HitTest; `after` (when given) says whether the point lies in the item's lower half.
  int32_t HitTestInsertMark(float x, float y, bool* after = nullptr) const;
  float GetIdealHorizontalExtent() const;

  // The insertion mark: -1 for none; `after` puts it below the item.
  int32_t InsertMark(bool* after = nullptr) const noexcept;
  void SetInsertMark(int32_t index, bool after = false);

  // Starts an OLE drag from the list (nothing while one runs); the item under the pointer is the
  // dragged item.
  void OLEDrag();
  // The item being dragged from this list, or -1.
  int32_t OLEDraggedItem() const noexcept { return dragged_item_ - 1; }

  // Repaints the container and, when Redraw is on, the list at once.
  void Refresh() const noexcept override;

 protected:
  const wchar_t* ChildClass() const override { return L"ListBox"; }
  // The list is also right-aligned when it reads right to left.
  DWORD RightToLeftExStyles() const override {
    return WS_EX_RTLREADING | WS_EX_RIGHT | WS_EX_LEFTSCROLLBAR;
  }
  DWORD ChildStyle() const override;
  DWORD ChildExStyle() const override;
  void ChildCreated() override;
  void SaveChildState() override;
  void RestoreChildState() override;
  void InitializeControl() override;
  void InitControlProperties() override;
  void TerminateControl() override;

  MessageResult OnCommand(WORD id, WORD code, HWND control) override;
  MessageResult OnCtlColor(CtlColorKind kind, HDC dc, HWND control) override;
  MessageResult OnDrawItem(int id, DRAWITEMSTRUCT& item) override;
  MessageResult OnMeasureItem(int id, MEASUREITEMSTRUCT& item) override;
  // The list's own messages (the container's reflected ones above).
  MessageResult OnListSetTopIndex(int index) override;
  MessageResult OnContextMenu(HWND window, POINT screen) override;
  MessageResult OnVScroll(int code, int position, HWND bar) override;
  MessageResult OnHScroll(int code, int position, HWND bar) override;
  MessageResult OnMouseWheel(int delta, UINT keys, POINT screen) override;
  MessageResult OnPaint() override;
  // Input (see NativeControl): Space and a press on the glyph column toggle a check item, a drag
  // over the list may scroll it, an automatic OLE drag starts from a selected item.
  InputEvents* InputHandler() const noexcept override { return events_.Handler(); }
  void AfterKeyDown(int16_t key_code) override;
  void AfterMouseMove(UINT keys) override;
  MessageResult LeftButtonDown(UINT keys, POINT point) override;
  void Resize() override;
  void AmbientChanged(const std::wstring& name) override;
  std::optional<int16_t> BrowsedMousePointer() const override { return MousePointer(); }
  void ShowDesignName();  // the sample item of a list in design mode
  void OLEStartDrag(DataObject& data, int32_t& allowed_effects) override;
  void OLESetData(DataObject& data, int16_t data_format) override;
  void OLEGiveFeedback(int32_t effect, bool& default_cursors) override;
  void OLECompleteDrag(int32_t effect) override;
  void OLEDragOver(DataObject& data, int32_t& effect, int16_t button, int16_t shift, float x,
                   float y, int16_t state) override;
  void OLEDragDrop(DataObject& data, int32_t& effect, int16_t button, int16_t shift, float x,
                   float y) override;
  void WriteProperties(PropertyBag& bag) override;
  void ReadControlProperties(PropertyBag& bag) override;
  bool PreviewsKeys() const noexcept override { return static_cast<bool>(Child()); }

 private:
  // What a re-creation carries from the old list to the new one.
  struct SavedItem {
    std::wstring text;
    LPARAM data = 0;
    bool selected = false;
  };
  struct SavedState {
    bool has_window = false;
    int item_height = 0;
    std::vector<SavedItem> items;
    int32_t list_index = -1;
    int32_t top_index = 0;
    int32_t new_index = -1;
    int32_t option_index = -1;
    int32_t insert_mark_index = -1;
    bool insert_mark_after = false;
  };

  // Turns the list's drawing off for its life, and back on with one repaint, when Redraw is on.
  class RedrawPause {
   public:
    explicit RedrawPause(const ListBoxW& list) noexcept;
    ~RedrawPause();
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

   private:
    const ListBoxW& list_;
  };

  // The native list, its item messages going straight to the list's own procedure: no handler
  // acts on them, and the subclass chain costs a window-property look-up per message.
  ListBoxView Items() const noexcept { return ListBoxView::Direct(ListHandle()); }
  bool HasItem(int32_t index) const noexcept;
  void RequireItem(int32_t index, int error) const;
  void RaiseClick();
  // Selects `value` (ListIndex semantics) without raising Click; false when the list refuses it.
  bool ApplyListIndex(int32_t value) noexcept;
  // Forces the invariants between DrawMode, Style, MultiColumn and IntegralHeight.
  void ApplyCreationRules() noexcept;
  // Re-creates the native list (or creates it when missing) keeping its items, after the rules
  // between the style-bearing properties are applied.
  void RecreateForStyle() override;
  void ApplyFont();
  void SetCheckItemHeight();
  void InvalidateItem(int32_t index) const noexcept;
  // Whether the message being handled is one of the list window's own (not one its container
  // reflects).
  bool InListMessage() const noexcept { return ListHandle() && MessageWindow() == ListHandle(); }
  // A scroll message: the thumb tracking, or the default followed by the scroll detection.
  MessageResult ListScroll(bool vertical, int code, HWND bar);
  // Moves the list to a dragged thumb (ScrollTrack); false when the message is not one it takes.
  bool ThumbTrack(bool vertical, int code, HWND bar);
  // After the list may have scrolled: Scroll when it did, else the insertion mark repainted.
  void AfterListScroll();
  void RaiseContextMenu(POINT screen);
  // Whether a press at a client point on `item` toggles it: anywhere on the current item, only
  // on the glyph column of the others.
  bool PressToggles(int32_t item, int x) const noexcept;
  // Flips the check of `item` (-1: the current item) through ItemBeforeCheck and ItemCheck.
  void ToggleItem(int32_t item);
  // Raises Scroll when the top index moved since last seen; says whether it did.
  bool DetectScroll();
  RECT InsertMarkBand() const noexcept;
  void InvalidateInsertMarkBand() const noexcept;
  void DrawInsertMark() const noexcept;
  void DrawCheckItem(const DRAWITEMSTRUCT& item) const;
  // Scrolls one line when a drag hovers within the margin of an edge.
  void ScrollNearEdge(int x, int y);
  float ToContainerX(double pixels) const;
  float ToContainerY(double pixels) const;
  // Whole pixels, rounded.
  int32_t FromContainerX(float value) const;
  int32_t FromContainerY(float value) const;

  EventSink<ListBoxWEvents> events_;
  FontRef font_;
  FontSubscription font_subscription_;
  UniqueFont font_handle_;
  CheckStateStore checks_;
  SavedState saved_;
  bool design_mode_ = false;
  int32_t new_index_ = -1;
  int32_t insert_mark_index_ = -1;
  bool insert_mark_after_ = false;
  int32_t min_check_item_height_ = 15;
  int32_t last_top_index_ = 0;
  int32_t drag_start_item_ = 0;  // item + 1 under an automatic drag start
  int32_t dragged_item_ = 0;     // item + 1 being dragged from this list

  int32_t horizontal_extent_ = 0;  // pixels
  OLE_COLOR insert_mark_color_ = 0;
  bool scroll_track_ = true;

  bool redraw_ = true;
  bool multi_column_ = false;
  bool sorted_ = false;
  bool integral_height_ = true;
  bool allow_selection_ = true;
  int32_t multi_select_ = 0;
  bool use_tab_stops_ = true;
  int32_t style_ = 0;
  bool disable_no_scroll_ = false;
  int32_t draw_mode_ = 0;
};

}  // namespace veltrin::controls
