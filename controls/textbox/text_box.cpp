// The text box's edit window over its life (styles, creation, re-creation keeping text, selection
// and scroll position) and the properties that map onto it.
#include "controls/textbox/text_box.h"

#include <commctrl.h>
#include <uxtheme.h>

#include "common/run_time_error.h"
#include "controls/base/comctl_version.h"
#include "controls/base/fonts.h"
#include "controls/base/host/extender.h"
#include "controls/base/host/picture_object.h"
#include "controls/base/shell_library.h"
#include "controls/base/window_styles.h"
#include "controls/textbox/text_box_values.h"

namespace veltrin::controls {
namespace {

// The limit a box without MaxLength gets, so that long texts are never cut at the edit's default.
constexpr size_t kNoTextLimit = 0x7FFFFFFE;

}  // namespace

TextBoxW::TextBoxW() {
  UserControl::SetBackColor(kWindowBackground);
  UserControl::SetForeColor(kWindowText);
}

TextBoxW::~TextBoxW() = default;

DWORD TextBoxW::ChildStyle() const {
  DWORD style = 0;
  DWORD ex_style = 0;
  ApplyBorderStyle(style, ex_style, BorderStyle());
  if (allow_only_numbers_) style |= ES_NUMBER;
  if (locked_) style |= ES_READONLY;
  if (!hide_selection_) style |= ES_NOHIDESEL;
  if (use_system_password_char_) style |= ES_PASSWORD;
  if (multi_line_) {
    style |= ES_MULTILINE;
    switch (scroll_bars_) {
      case kScrollBarsNone:
        style |= ES_AUTOVSCROLL;
        break;
      case kScrollBarsHorizontal:
        style |= WS_HSCROLL | ES_AUTOHSCROLL | ES_AUTOVSCROLL;
        break;
      case kScrollBarsVertical:
        style |= WS_VSCROLL | ES_AUTOVSCROLL;
        break;
      case kScrollBarsBoth:
        style |= WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL | ES_AUTOVSCROLL;
        break;
      default:  // a stored value out of range: no scroll-bar case applies
        break;
    }
  } else {
    style |= ES_AUTOHSCROLL;
  }
  if (character_casing_ == kCasingUpper) style |= ES_UPPERCASE;
  if (character_casing_ == kCasingLower) style |= ES_LOWERCASE;
  style |= AlignmentStyle(alignment_);
  return style;
}

DWORD TextBoxW::ChildExStyle() const {
  DWORD style = 0;
  DWORD ex_style = EffectiveRightToLeft() ? RightToLeftExStyles() : 0;
  ApplyBorderStyle(style, ex_style, BorderStyle());
  return ex_style;
}

void TextBoxW::ChildCreated() {
  const EditView edit = Edit();
  if (password_char_ != 0 && !use_system_password_char_) {
    edit.SetPasswordChar(password_char_);
  }
  edit.LimitText(max_length_ > 0 ? static_cast<size_t>(max_length_) : kNoTextLimit);
  // The font comes before the text: laying out a long text in the system font is slow.
  if (font_handle_) edit.SetFont(font_handle_.Get(), false);
  suppress_change_ = true;
  edit.SetText(text_);
  suppress_change_ = false;
  ApplyVisualStyles();
  edit.Enable(Enabled());
  if (!cue_banner_.empty()) ApplyCueBanner();
  ApplyNetAddressType();
  if (Ambient().UserMode()) {
    ime_context_.Reset();
    CreateImeContext(edit.Handle(), ime_context_);
  }
}

void TextBoxW::SaveChildState() {
  const EditView edit = Edit();
  saved_.selection = edit.GetSel();
  saved_.h_scroll = 0;
  saved_.v_scroll = 0;
  if (multi_line_) {
    if (scroll_bars_ == kScrollBarsHorizontal || scroll_bars_ == kScrollBarsBoth) {
      saved_.h_scroll = static_cast<int16_t>(GetScrollPos(edit.Handle(), SB_HORZ));
    }
    if (scroll_bars_ == kScrollBarsVertical || scroll_bars_ == kScrollBarsBoth) {
      saved_.v_scroll = static_cast<int16_t>(GetScrollPos(edit.Handle(), SB_VERT));
    }
  }
  text_ = edit.GetText();
  DestroyImeContext(edit.Handle(), ime_context_);
  edit.Show(SW_HIDE);  // the old window goes without repainting what it covered
}

void TextBoxW::RestoreChildState() {
  const EditView edit = Edit();
  if (!edit) return;
  edit.SetSel(saved_.selection.start, saved_.selection.end);
  if (saved_.h_scroll > 0) edit.Scroll(SB_HORZ, SB_THUMBPOSITION, saved_.h_scroll);
  if (saved_.v_scroll > 0) edit.Scroll(SB_VERT, SB_THUMBPOSITION, saved_.v_scroll);
  Refresh();
}

void TextBoxW::InitializeControl() {
  LoadShellLibrary();
  InitControlClasses(ICC_STANDARD_CLASSES);
}

void TextBoxW::TerminateControl() {
  if (Live()) DestroyImeContext(hWnd(), ime_context_);
  ReleaseShellLibrary();
}

void TextBoxW::SetFocus() {
  ExtenderObject().SetFocus();
}

// Text.

std::wstring TextBoxW::Text() const {
  return Live() ? Child().GetText() : text_;
}

void TextBoxW::SetText(std::wstring_view text) {
  std::wstring value(text);
  if (max_length_ > 0) value = KeepFirstCharacters(value, static_cast<size_t>(max_length_));
  const bool differs = value != Text();
  text_ = std::move(value);
  if (Live()) {
    suppress_change_ = true;
    Child().SetText(text_);
    suppress_change_ = false;
  }
  if (!differs) {
    PropertyChanged(L"Text");
    return;
  }
  ReportTextChanged();
}

void TextBoxW::ReportTextChanged() {
  PropertyChanged(L"Text");
  try {
    ExtenderObject().SetDataChanged(true);
  } catch (...) {
    // Not every host has DataChanged.
  }
  events_.Raise(&TextBoxEvents::Change);
}

// Properties that re-create the window.

void TextBoxW::SetMultiLine(bool value) {
  SetRecreating(multi_line_, value, L"MultiLine");
}

void TextBoxW::SetScrollBars(int32_t value) {
  RequireRange(value, 0, 3);
  SetRecreating(scroll_bars_, value, L"ScrollBars");
}

void TextBoxW::SetHideSelection(bool value) {
  SetRecreating(hide_selection_, value, L"HideSelection");
}

void TextBoxW::SetUseSystemPasswordChar(bool value) {
  SetRecreating(use_system_password_char_, value, L"UseSystemPasswordChar");
}

// Properties applied to the live window.

bool TextBoxW::Locked() const noexcept {
  return Live() ? (Child().Style() & ES_READONLY) != 0 : locked_;
}

void TextBoxW::SetLocked(bool value) {
  locked_ = value;
  if (Live()) Edit().SetReadOnly(value);
  PropertyChanged(L"Locked");
}

void TextBoxW::SetMaxLength(int32_t value) {
  if (!AcceptValue(value >= 0)) return;
  max_length_ = value;
  if (Live()) Edit().LimitText(value > 0 ? static_cast<size_t>(value) : kNoTextLimit);
  PropertyChanged(L"MaxLength");
}

void TextBoxW::SetAlignment(int32_t value) {
  RequireRange(value, 0, 2);
  alignment_ = value;
  if (Live()) {
    Child().ModifyStyle(ES_CENTER | ES_RIGHT, AlignmentStyle(value));
    Refresh();
  }
  PropertyChanged(L"Alignment");
}

void TextBoxW::SetAllowOnlyNumbers(bool value) {
  allow_only_numbers_ = value;
  if (Live()) Child().ModifyStyle(ES_NUMBER, value ? ES_NUMBER : 0);
  PropertyChanged(L"AllowOnlyNumbers");
}

void TextBoxW::SetCharacterCasing(int32_t value) {
  RequireRange(value, 0, 2);
  character_casing_ = value;
  if (Live()) {
    Child().ModifyStyle(ES_UPPERCASE | ES_LOWERCASE,
                        value == 1 ? ES_UPPERCASE : (value == 2 ? ES_LOWERCASE : 0));
    if (!Ambient().UserMode()) {
      Child().SetText(L"");
      Child().SetText(text_);
    }
  }
  PropertyChanged(L"CharacterCasing");
}

std::wstring TextBoxW::PasswordChar() const {
  const wchar_t code = Live() ? Edit().PasswordChar() : password_char_;
  return std::wstring(1, code);
}

void TextBoxW::SetPasswordChar(std::wstring_view value) {
  if (use_system_password_char_) return;
  if (!AcceptValue(value.size() <= 1)) return;
  password_char_ = value.empty() ? L'\0' : value.front();
  if (Live()) {
    Edit().SetPasswordChar(password_char_);
    Refresh();
  }
  PropertyChanged(L"PasswordChar");
}

void TextBoxW::SetCueBanner(std::wstring value) {
  cue_banner_ = std::move(value);
  ApplyCueBanner();
  PropertyChanged(L"CueBanner");
}

void TextBoxW::ApplyCueBanner() {
  if (!Live() || multi_line_ || CommonControlsVersion() < CommonControlsClass::kV60) return;
  Edit().SetCueBanner(cue_banner_);
}

void TextBoxW::SetWantReturn(bool value) {
  if (value == want_return_) return;
  want_return_ = value;
  if (Live() && Ambient().UserMode()) {
    NotifyControlInfoChanged(ControlUnknown(), Child().HasFocus());
  }
  PropertyChanged(L"WantReturn");
}

void TextBoxW::SetIMEMode(int32_t value) {
  RequireRange(value, 0, 10);
  ime_mode_ = value;
  if (Live() && Ambient().UserMode() && Child().HasFocus()) {
    ApplyImeMode(hWnd(), ime_context_.Get(), ime_mode_);
  }
  PropertyChanged(L"IMEMode");
}

void TextBoxW::SetAllowOverType(bool value) {
  allow_over_type_ = value;
  if (!value) over_type_mode_ = false;
  PropertyChanged(L"AllowOverType");
}

void TextBoxW::SetOverTypeMode(bool value) {
  if (value == over_type_mode_) return;
  over_type_mode_ = allow_over_type_ && value;
  PropertyChanged(L"OverTypeMode");
}

void TextBoxW::SetFont(FontRef font) {
  font_ = font ? std::move(font) : Ambient().Font();
  BuildFont();
  PropertyChanged(L"Font");
}

void TextBoxW::BuildFont() {
  font_subscription_ = font_->Subscribe([this](const std::wstring&) {
    ApplyFontToChild();
    PropertyChanged(L"Font");
  });
  ApplyFontToChild();
}

void TextBoxW::ApplyFontToChild() {
  UniqueFont font = CreateGdiFont(*font_);
  if (Live()) Child().SetFont(font.Get(), true);
  font_handle_ = std::move(font);  // the previous one is deleted after the window let go of it
}

void TextBoxW::SetNetAddressValidator(bool value) {
  net_address_validator_ = value;
  if (Live() && CommonControlsVersion() >= CommonControlsClass::kV61) {
    ResetNetAddressResults();
    RecreateChild();
  }
  PropertyChanged(L"NetAddressValidator");
}

void TextBoxW::SetNetAddressType(int32_t value) {
  RequireRange(value, 0, 19);
  net_address_type_ = value;
  ApplyNetAddressType();
  PropertyChanged(L"NetAddressType");
}

bool TextBoxW::AcceptValue(bool valid) const {
  if (!valid) RefuseSetting(RunTimeError(kInvalidPropertyValue));
  return valid;
}

}  // namespace veltrin::controls
