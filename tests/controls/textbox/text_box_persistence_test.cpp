// The text box in the property bag: Unicode text as UTF-16LE bytes, empty text as an empty value,
// the password character as its code, a large MaxLength as a Long, the font only when it is not
// the form's, and every stored value back after loading.
#include "text_box_fixture.h"

namespace veltrin::controls::textbox_test {
namespace {

const std::wstring kText = L"\u6BB5\u843D\U0001F600 text";

TEST_F(TextBoxTest, SavedPropertiesComeBackWhenTheFormLoadsThem) {
  box->SetText(kText);
  box->SetCueBanner(L"\u63D0\u793A");
  box->SetPasswordChar(L"\u25CF");
  box->SetMaxLength(100000);
  box->SetMultiLine(true);
  box->SetScrollBars(2);
  box->SetWantReturn(true);
  box->SetAlignment(2);
  std::map<std::wstring, PropertyBag> saved = form.SaveControls();
  PropertyBag& bag = saved.at(L"TextBoxW1");

  EXPECT_EQ(bag.ReadProperty(L"Text").Type(), ValueType::kByteArray);
  EXPECT_EQ(bag.ReadProperty(L"Text").ToBytes().size(), kText.size() * 2);
  EXPECT_EQ(bag.ReadProperty(L"PasswordChar").Type(), ValueType::kInteger);
  EXPECT_EQ(bag.ReadProperty(L"PasswordChar").ToInteger(), static_cast<int16_t>(0x25CF));
  EXPECT_EQ(bag.ReadProperty(L"MaxLength").Type(), ValueType::kLong);
  EXPECT_EQ(bag.ReadProperty(L"MaxLength").ToLong(), 100000);
  EXPECT_FALSE(bag.Contains(L"Font")) << "the form's own font is not stored";

  TextBoxW& loaded = AddBox(L"TextBoxW2", {10, 120, 310, 200}, &bag);
  EXPECT_EQ(loaded.Text(), kText);
  EXPECT_EQ(loaded.CueBanner(), L"\u63D0\u793A");
  EXPECT_EQ(loaded.MaxLength(), 100000);
  EXPECT_TRUE(loaded.MultiLine());
  EXPECT_EQ(loaded.ScrollBars(), 2);
  EXPECT_TRUE(loaded.WantReturn());
  EXPECT_EQ(loaded.Alignment(), 2);
  EXPECT_NE(GetWindowLongW(loaded.hWnd(), GWL_STYLE) & WS_VSCROLL, 0);
  EXPECT_EQ(SendMessageW(loaded.hWnd(), EM_GETLIMITTEXT, 0, 0), 100000);
}

TEST_F(TextBoxTest, EmptyTextIsAnEmptyValueAndAnOwnFontIsStored) {
  box->SetText(L"");
  box->SetPasswordChar(L"\u25CF");
  auto font = std::make_shared<FontObject>(L"\u5B8B\u4F53", 12);
  font->SetCharset(134);
  box->SetFont(font);
  std::map<std::wstring, PropertyBag> saved = form.SaveControls();
  PropertyBag& bag = saved.at(L"TextBoxW1");
  EXPECT_FALSE(bag.Contains(L"Text"));
  ASSERT_TRUE(bag.Contains(L"Font"));
  TextBoxW& loaded = AddBox(L"TextBoxW2", {10, 120, 310, 200}, &bag);
  EXPECT_EQ(loaded.Text(), L"");
  EXPECT_EQ(loaded.PasswordChar(), L"\u25CF");
  EXPECT_TRUE(FontsEqual(loaded.Font().get(), font.get()));
}

TEST_F(TextBoxTest, ABoxLoadedWithoutAFontFollowsTheForm) {
  PropertyBag empty;
  TextBoxW& loaded = AddBox(L"TextBoxW2", {10, 120, 310, 200}, &empty);
  EXPECT_EQ(loaded.Text(), L"");
  EXPECT_EQ(loaded.BorderStyle(), 3);
  EXPECT_TRUE(loaded.HideSelection());
  const HFONT before = reinterpret_cast<HFONT>(SendMessageW(loaded.hWnd(), WM_GETFONT, 0, 0));
  form.Font()->SetSize(14);
  const HFONT after = reinterpret_cast<HFONT>(SendMessageW(loaded.hWnd(), WM_GETFONT, 0, 0));
  EXPECT_NE(after, before);
  LOGFONTW description{};
  GetObjectW(after, sizeof(description), &description);
  EXPECT_LT(description.lfHeight, -14);
}

TEST_F(TextBoxTest, AStoredValueOutOfRangeLoadsAsItsDefault) {
  struct Case {
    const wchar_t* key;
    int32_t stored;
    int32_t (TextBoxW::*read)() const noexcept;
    int32_t loaded;
  };
  const Case cases[] = {{L"BorderStyle", 9, &TextBoxW::BorderStyle, 3},
                        {L"RightToLeftMode", 7, &TextBoxW::RightToLeftMode, 1},
                        {L"OLEDragMode", 2, &TextBoxW::OLEDragMode, 0},
                        {L"OLEDropMode", 3, &TextBoxW::OLEDropMode, 0}};
  PropertyBag bag;
  for (const Case& c : cases) bag.WriteProperty(c.key, PropertyValue(c.stored), PropertyValue());
  TextBoxW& loaded = AddBox(L"TextBoxW2", {10, 120, 310, 200}, &bag);
  for (const Case& c : cases) EXPECT_EQ((loaded.*c.read)(), c.loaded) << c.key;
}

}  // namespace
}  // namespace veltrin::controls::textbox_test
