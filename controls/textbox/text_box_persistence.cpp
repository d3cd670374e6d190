// The text box's properties in the host's property bag: defaults for a new box, and the keys, in
// order, that a saved form stores and a loaded form reads.
#include "controls/base/fonts.h"
#include "controls/base/text_persistence.h"
#include "controls/textbox/text_box.h"

namespace veltrin::controls {
void TextBoxW::InitControlProperties() {
  font_ = Ambient().Font();
  UserControl::SetRightToLeft(Ambient().RightToLeft());
  text_ = Ambient().DisplayName();
  alignment_ = RightToLeft() ? 1 : 0;
  BuildFont();
}

void TextBoxW::ReadControlProperties(PropertyBag& bag) {
  font_ = bag.ReadProperty(L"Font", PropertyValue(FontRef())).ToFont();
  ReadSharedProperties(bag, kWindowBackground, kWindowText);
  ReadBorderStyle(bag);
  text_ = StoredValueToText(bag.ReadProperty(L"Text", PropertyValue()));
  alignment_ = bag.ReadProperty(L"Alignment", PropertyValue(int32_t{0})).ToLong();
  allow_only_numbers_ = bag.ReadProperty(L"AllowOnlyNumbers", PropertyValue(false)).ToBoolean();
  locked_ = bag.ReadProperty(L"Locked", PropertyValue(false)).ToBoolean();
  hide_selection_ = bag.ReadProperty(L"HideSelection", PropertyValue(true)).ToBoolean();
  password_char_ = static_cast<wchar_t>(static_cast<uint16_t>(
      bag.ReadProperty(L"PasswordChar", PropertyValue(int16_t{0})).ToInteger()));
  use_system_password_char_ =
      bag.ReadProperty(L"UseSystemPasswordChar", PropertyValue(false)).ToBoolean();
  multi_line_ = bag.ReadProperty(L"MultiLine", PropertyValue(false)).ToBoolean();
  max_length_ = bag.ReadProperty(L"MaxLength", PropertyValue(int16_t{0})).ToLong();
  scroll_bars_ = bag.ReadProperty(L"ScrollBars", PropertyValue(int32_t{0})).ToLong();
  cue_banner_ = StoredValueToText(bag.ReadProperty(L"CueBanner", PropertyValue()));
  character_casing_ = bag.ReadProperty(L"CharacterCasing", PropertyValue(int32_t{0})).ToLong();
  want_return_ = bag.ReadProperty(L"WantReturn", PropertyValue(false)).ToBoolean();
  ime_mode_ = bag.ReadProperty(L"IMEMode", PropertyValue(int32_t{0})).ToLong();
  net_address_validator_ =
      bag.ReadProperty(L"NetAddressValidator", PropertyValue(false)).ToBoolean();
  net_address_type_ = bag.ReadProperty(L"NetAddressType", PropertyValue(int32_t{0})).ToLong();
  allow_over_type_ = bag.ReadProperty(L"AllowOverType", PropertyValue(false)).ToBoolean();
  over_type_mode_ =
      allow_over_type_ && bag.ReadProperty(L"OverTypeMode", PropertyValue(false)).ToBoolean();
  if (!font_) font_ = Ambient().Font();
  BuildFont();
}

void TextBoxW::WriteProperties(PropertyBag& bag) {
  const FontRef ambient = Ambient().Font();
  bag.WriteProperty(L"Font",
                    PropertyValue(FontsEqual(font_.get(), ambient.get()) ? FontRef() : font_),
                    PropertyValue(FontRef()));
  WriteSharedProperties(bag, kWindowBackground, kWindowText);
  WriteBorderStyle(bag);
  // The live text: what the user typed at run time is saved too.
  bag.WriteProperty(L"Text", TextToStoredValue(Text()), PropertyValue());
  bag.WriteProperty(L"Alignment", PropertyValue(alignment_), PropertyValue(int32_t{0}));
  bag.WriteProperty(L"AllowOnlyNumbers", PropertyValue(allow_only_numbers_), PropertyValue(false));
  bag.WriteProperty(L"Locked", PropertyValue(locked_), PropertyValue(false));
  bag.WriteProperty(L"HideSelection", PropertyValue(hide_selection_), PropertyValue(true));
  bag.WriteProperty(L"PasswordChar", PropertyValue(static_cast<int16_t>(password_char_)),
                    PropertyValue(int16_t{0}));
  bag.WriteProperty(L"UseSystemPasswordChar", PropertyValue(use_system_password_char_),
                    PropertyValue(false));
  bag.WriteProperty(L"MultiLine", PropertyValue(multi_line_), PropertyValue(false));
  bag.WriteProperty(L"MaxLength", PropertyValue(max_length_), PropertyValue(int16_t{0}));
  bag.WriteProperty(L"ScrollBars", PropertyValue(scroll_bars_), PropertyValue(int32_t{0}));
  bag.WriteProperty(L"CueBanner", TextToStoredValue(cue_banner_), PropertyValue());
  bag.WriteProperty(L"CharacterCasing", PropertyValue(character_casing_),
                    PropertyValue(int32_t{0}));
  bag.WriteProperty(L"WantReturn", PropertyValue(want_return_), PropertyValue(false));
  bag.WriteProperty(L"IMEMode", PropertyValue(ime_mode_), PropertyValue(int32_t{0}));
  bag.WriteProperty(L"NetAddressValidator", PropertyValue(net_address_validator_),
                    PropertyValue(false));
  bag.WriteProperty(L"NetAddressType", PropertyValue(net_address_type_), PropertyValue(int32_t{0}));
  bag.WriteProperty(L"AllowOverType", PropertyValue(allow_over_type_), PropertyValue(false));
  bag.WriteProperty(L"OverTypeMode", PropertyValue(over_type_mode_), PropertyValue(false));
}

}  // namespace veltrin::controls
