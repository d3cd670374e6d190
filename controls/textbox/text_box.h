// TextBoxW, the Unicode text box: a native EDIT window filling a hosted user control, with the
// text box's properties, methods and events (Click, Change, keys, mouse, OLE drag and drop).
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "controls/base/host/event_sink.h"
#include "controls/base/host/font_object.h"
#include "controls/base/host/property_value.h"
#include "controls/base/ime.h"
#include "controls/base/native_control.h"
#include "controls/base/window/edit_view.h"
#include "controls/textbox/text_box_events.h"

namespace veltrin::controls {

class TextBoxW : public NativeControl {
 public:
  // The colours of a new box, which a saved box also falls back to: a text box shows the
  // system's window colours, not the button face of a bare user control.
  static constexpr OLE_COLOR kWindowBackground = 0x80000005;
  static constexpr OLE_COLOR kWindowText = 0x80000008;

  // Alignment.
  static constexpr int32_t kAlignLeft = 0;
  static constexpr int32_t kAlignRight = 1;
  static constexpr int32_t kAlignCenter = 2;
  // ScrollBars (a multi-line box's).
  static constexpr int32_t kScrollBarsNone = 0;
  static constexpr int32_t kScrollBarsHorizontal = 1;
  static constexpr int32_t kScrollBarsVertical = 2;
  static constexpr int32_t kScrollBarsBoth = 3;
  // CharacterCasing.
  static constexpr int32_t kCasingNormal = 0;
  static constexpr int32_t kCasingUpper = 1;
  static constexpr int32_t kCasingLower = 2;

  TextBoxW();
  ~TextBoxW() override;

  // The form's handler of this box's events.
  EventSink<TextBoxEvents>& Events() noexcept { return events_; }

  // Text: read from the live window; setting an identical text raises no Change. With MaxLength
  // above 0 only its first MaxLength characters are kept. `Default` is the same property.
  std::wstring Text() const;
  void SetText(std::wstring_view text);
  std::wstring Default() const { return Text(); }
  void SetDefault(std::wstring_view text) { SetText(text); }

  // Style-bearing properties (MultiLine, ScrollBars, HideSelection, UseSystemPasswordChar)
  // re-create the window, keeping text, selection and scroll position.
  bool MultiLine() const noexcept { return multi_line_; }
  void SetMultiLine(bool value);
  // 0 none, 1 horizontal, 2 vertical, 3 both (multi-line only); others raise error 380.
  int32_t ScrollBars() const noexcept { return scroll_bars_; }
  void SetScrollBars(int32_t value);
  bool HideSelection() const noexcept { return hide_selection_; }
  void SetHideSelection(bool value);
  bool UseSystemPasswordChar() const noexcept { return use_system_password_char_; }
  void SetUseSystemPasswordChar(bool value);
  bool Locked() const noexcept;
  void SetLocked(bool value);
  // 0 is no limit; negative raises error 380.
  int32_t MaxLength() const noexcept { return max_length_; }
  void SetMaxLength(int32_t value);
  // 0 left, 1 right, 2 centre; others raise error 380.
  int32_t Alignment() const noexcept { return alignment_; }
  void SetAlignment(int32_t value);
  bool AllowOnlyNumbers() const noexcept { return allow_only_numbers_; }
  void SetAllowOnlyNumbers(bool value);
  // 0 normal, 1 upper case, 2 lower case; others raise error 380.
  int32_t CharacterCasing() const noexcept { return character_casing_; }
  void SetCharacterCasing(int32_t value);
  // One character, or U+0000 (a string of length 1) when none; a longer value raises error 380.
  std::wstring PasswordChar() const;
  void SetPasswordChar(std::wstring_view value);
  const std::wstring& CueBanner() const noexcept { return cue_banner_; }
  void SetCueBanner(std::wstring value);
  bool WantReturn() const noexcept { return want_return_; }
  void SetWantReturn(bool value);
  // 0..10; others raise error 380.
  int32_t IMEMode() const noexcept { return ime_mode_; }
  void SetIMEMode(int32_t value);
  bool AllowOverType() const noexcept { return allow_over_type_; }
  void SetAllowOverType(bool value);
  bool OverTypeMode() const noexcept { return over_type_mode_; }
  void SetOverTypeMode(bool value);
  // The font object; null sets the ambient font. The box keeps a GDI font built from it.
  const FontRef& Font() const noexcept { return font_; }
  void SetFont(FontRef font);
  // Network-address validation: the address window class where the system has it (re-creates
  // the window), and the address types it accepts (0..19, others raise error 380).
  bool NetAddressValidator() const noexcept { return net_address_validator_; }
  void SetNetAddressValidator(bool value);
  int32_t NetAddressType() const noexcept { return net_address_type_; }
  void SetNetAddressType(int32_t value);
  // Parses the address window's text into the four results below; raises error 5 without the
  // address window, and the parse's own errors.
  void ValidateNetAddress();
  // Shows the address window's error balloon; does nothing without the address window.
  void ShowNetAddressErrorTip() noexcept;
  // Results of the latest validation: format 0 none, 1 DNS name, 2 IPv4, 3 IPv6.
  int32_t NetAddressFormat() const noexcept { return net_address_format_; }
  const std::wstring& NetAddressString() const noexcept { return net_address_string_; }
  int16_t NetAddressPortNumber() const noexcept { return net_address_port_number_; }
  uint8_t NetAddressPrefixLength() const noexcept { return net_address_prefix_length_; }

  // Focus through the host's extender (validation first when the box causes it).
  void SetFocus();

  // Selection; negative values raise error 380. Indexes are UTF-16 code units.
  int32_t SelStart() const noexcept;
  void SetSelStart(int32_t value);
  int32_t SelLength() const noexcept;
  void SetSelLength(int32_t value);
  std::wstring SelText() const;
  void SetSelText(std::wstring_view text);

  // Clipboard and undo.
  void Copy() const noexcept;
  void Cut() const noexcept;
  void Paste() const noexcept;
  void Clear() const noexcept;
  void Undo() const noexcept;
  bool CanUndo() const noexcept;
  void ResetUndoFlag() const noexcept;
  bool Modified() const noexcept;
  void SetModified(bool value) const noexcept;

  // Lines count from 1; GetLine(0) is the caret's line. A line the box does not have raises 380.
  std::wstring GetLine(int32_t line_number) const;
  int32_t GetLineCount() const noexcept;
  int32_t GetLineFromChar(int32_t char_index) const;
  void ScrollToLine(int32_t line_number) const;
  void ScrollToCaret() const noexcept;
  // The character nearest a point in container position units.
  int32_t CharFromPos(float x, float y) const;

  // Margins in container size units; -1 asks for the font-based margin.
  float LeftMargin() const noexcept;
  void SetLeftMargin(float value);
  float RightMargin() const noexcept;
  void SetRightMargin(float value);

  // Balloon tips (common controls 6); icon 0..3 else error 380.
  bool ShowBalloonTip(std::wstring_view text, std::wstring_view title, int32_t icon);
  bool HideBalloonTip() const noexcept;

 protected:
  const wchar_t* ChildClass() const override;
  DWORD ChildStyle() const override;
  DWORD ChildExStyle() const override;
  void ChildCreated() override;
  void SaveChildState() override;
  void RestoreChildState() override;
  void InitializeControl() override;
  void InitControlProperties() override;
  void ReadControlProperties(PropertyBag& bag) override;
  int32_t HighestOLEDropMode() const override { return kOleDropAutomatic; }
  void WriteProperties(PropertyBag& bag) override;
  void TerminateControl() override;

  // Messages of the edit and, reflected through the container, its notifications.
  MessageResult OnMessage(UINT message, WPARAM w_param, LPARAM l_param) override;
  MessageResult OnCommand(WORD id, WORD code, HWND control) override;
  MessageResult OnContextMenu(HWND window, POINT screen) override;
  // Input (see NativeControl): overtype on Insert, a cancelled KeyPress swallowed, the OLE drag
  // from the selection, Click and DblClick.
  InputEvents* InputHandler() const noexcept override { return events_.Handler(); }
  bool TakesInput() const noexcept override { return InEditMessage(); }
  void AfterKeyDown(int16_t key_code) override;
  MessageResult ForwardCharacter(wchar_t typed, int16_t key_char, UINT flags) override;
  MessageResult LeftButtonDown(UINT keys, POINT point) override;
  void AfterButton(MouseButtonAction action, POINT point) override;
  bool SetOwnCursor() override;
  MessageResult OnHScroll(int code, int position, HWND bar) override;
  MessageResult OnVScroll(int code, int position, HWND bar) override;

  // Keyboard companions: navigation keys stay in the box; Return with WantReturn.
  HRESULT STDMETHODCALLTYPE GetControlInfo(bool& handled, int32_t& accel_count, HACCEL& accel_table,
                                           int32_t& flags) override;
  // Keys are previewed at run time; errors of the form's handlers stay here (the host sees the
  // key as not handled).
  bool PreviewsKeys() const noexcept override { return AtRunTime(); }
  HRESULT PreviewFailure() const noexcept override { return S_OK; }

  // Property browsing: MousePointer by its named values.
  std::optional<int16_t> BrowsedMousePointer() const override { return MousePointer(); }

  // OLE drag and drop through the host.
  void OLEStartDrag(DataObject& data, int32_t& allowed_effects) override;
  void OLESetData(DataObject& data, int16_t data_format) override;
  void OLEGiveFeedback(int32_t effect, bool& default_cursors) override;
  void OLECompleteDrag(int32_t effect) override;
  void OLEDragOver(DataObject& data, int32_t& effect, int16_t button, int16_t shift, float x,
                   float y, int16_t state) override;
  void OLEDragDrop(DataObject& data, int32_t& effect, int16_t button, int16_t shift, float x,
                   float y) override;

 private:
  bool Live() const noexcept { return static_cast<bool>(Child()); }
  // The edit window's messages, typed.
  EditView Edit() const noexcept { return EditView(hWnd()); }
  // True for a valid value; otherwise raises error 380 at run time, or shows the error and keeps
  // the old value in design mode (false).
  bool AcceptValue(bool valid) const;
  // A box on a form in design mode is handled like any designed control: its windows' messages
  // raise no events and get none of the run-time behaviour.
  bool AtRunTime() const noexcept { return Ambient().UserMode(); }
  bool InEditMessage() const noexcept {
    return MessageWindow() == Child().Handle() && Live() && AtRunTime();
  }
  void ReportTextChanged();
  void BuildFont();
  void ApplyNetAddressType();
  void ResetNetAddressResults() noexcept;
  void ApplyFontToChild();
  void ApplyCueBanner();
  void ApplyRightToLeft();
  float TwipsX(int pixels) const;
  float TwipsY(int pixels) const;
  void SetMargin(bool left, float value);
  // Overtype: deletes the character after the caret (both halves of a surrogate pair) when the
  // caret is not at the end of its line.
  void DeleteOverTypedCharacter();
  // The index of the character nearest a point of the edit's client area (packed as for
  // EM_CHARFROMPOS), in full even beyond the 16 bits that EM_CHARFROMPOS reports.
  DWORD CharIndexAt(LPARAM client_point) const noexcept;
  // Of the offsets into a line of 65,536 units or more that share `low_offset`'s low 16 bits,
  // the one whose measured position is nearest the client x coordinate.
  int OffsetInLongLine(int line_start, int length, int low_offset, int x) const noexcept;
  bool PointerOverSelection() const noexcept;
  void ScrollNearEdges(float x, float y);
  void ShowDropCaret(float x, float y);
  void HideDropCaret();
  void InsertDroppedText(DataObject& data, int32_t& effect, float x, float y);

  EventSink<TextBoxEvents> events_;
  std::wstring text_;  // the text while there is no window (and across re-creation)
  bool multi_line_ = false;
  int32_t scroll_bars_ = 0;
  bool hide_selection_ = true;
  bool use_system_password_char_ = false;
  bool locked_ = false;
  int32_t max_length_ = 0;
  int32_t alignment_ = 0;
  bool allow_only_numbers_ = false;
  int32_t character_casing_ = 0;
  wchar_t password_char_ = 0;
  std::wstring cue_banner_;
  bool want_return_ = false;
  int32_t ime_mode_ = 0;
  bool allow_over_type_ = false;
  bool over_type_mode_ = false;
  FontRef font_;
  FontSubscription font_subscription_;
  UniqueFont font_handle_;
  bool net_address_validator_ = false;
  int32_t net_address_type_ = 0;
  int32_t net_address_format_ = 0;
  std::wstring net_address_string_;
  int16_t net_address_port_number_ = 0;
  uint8_t net_address_prefix_length_ = 0;
  UniqueImeContext ime_context_;

  // Message-handling state.
  bool suppress_change_ = false;  // the Text setter is sending WM_SETTEXT
  bool over_selection_ = false;   // the mouse is over the selection (automatic drag)
  bool drag_source_ = false;      // our own OLE drag is running
  bool click_armed_ = false;      // a button went down inside the edit

  // Kept across a re-creation.
  struct SavedState {
    EditView::Selection selection;
    int h_scroll = 0;
    int v_scroll = 0;
  } saved_;
};

}  // namespace veltrin::controls
