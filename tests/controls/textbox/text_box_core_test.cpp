// The text box's core as the main window uses it: text without needless Change events and without
// a length limit, typing through the form's loop, re-creation keeping state, dropped file names.
#include "controls/base/host/drag_drop.h"
#include "tests/support/gui_objects.h"
#include "text_box_fixture.h"

namespace veltrin::controls::textbox_test {
namespace {

const std::wstring kChinese = L"\u6BB5\u843D\u6587\u5B57 \U00020BB7\U0001F600 end";

TEST_F(TextBoxTest, NewBoxShowsItsNameAndTextSetsRaiseChangeOnlyWhenDifferent) {
  EXPECT_EQ(box->Text(), L"TextBoxW1");
  box->SetText(kChinese);
  form.SetModified(false);
  box->SetText(kChinese);
  EXPECT_TRUE(form.Modified()) << "the same text is still reported as a property change";
  EXPECT_EQ(box->Text(), kChinese);
  box->SetMultiLine(true);
  box->SetText(L"two\r\nlines");
  box->SetText(L"two\r\nlines");
  ExpectLog({L"Change", L"Change"});
  EXPECT_TRUE(ExtenderOf(*box).DataChanged());
}

TEST_F(TextBoxTest, OneTypedCharacterRaisesKeyDownKeyPressChangeKeyUpInOrder) {
  box->SetText(L"");
  FocusBox(*box);
  ASSERT_EQ(GetFocus(), box->hWnd());
  events.log.clear();
  Type('A');
  ExpectLog({L"PreviewKeyDown 65", L"KeyDown 65 0", L"KeyPress 97", L"Change", L"PreviewKeyUp 65",
             L"KeyUp 65 0"});
  EXPECT_EQ(box->Text(), L"a");
}

TEST_F(TextBoxTest, KeyPressAndKeyDownHandlersChangeWhatTheEditSees) {
  box->SetText(L"");
  FocusBox(*box);
  events.on_key_press = [](int16_t& key_char) { key_char = key_char == 'b' ? 0 : 'Z'; };
  Type('A');
  Type('B');
  EXPECT_EQ(box->Text(), L"Z");
  events.on_key_press = nullptr;
  box->SetSelStart(0);
  events.on_key_down = [](int16_t& key_code) {
    if (key_code == VK_DELETE) key_code = 0;
  };
  Type(VK_DELETE);
  EXPECT_EQ(box->Text(), L"Z") << "a KeyCode of 0 hides the key from the edit";
}

TEST_F(TextBoxTest, LongChineseTextIsNotCutWhenMaxLengthIsZero) {
  // A CJK face for the box (the font comes with the window, before its text).
  auto font = std::make_shared<FontObject>(L"\u5FAE\u8F6F\u96C5\u9ED1", 9);
  font->SetCharset(134);
  box->SetFont(font);
  box->SetMultiLine(true);
  box->SetScrollBars(2);
  std::wstring text;
  text.reserve(512 * 1024);
  const std::wstring line = L"\u4E2D\u6587\u6BB5\u843D\u7684\u6587\u5B57\u3002\r\n";
  while (text.size() + line.size() <= 512 * 1024) text += line;
  ASSERT_EQ(box->MaxLength(), 0);
  box->SetText(text);
  const std::wstring read = box->Text();
  EXPECT_EQ(read.size(), text.size());
  EXPECT_TRUE(read == text);
  EXPECT_NE(SendMessageW(box->hWnd(), WM_GETFONT, 0, 0), 0);
}

TEST_F(TextBoxTest, RecreationKeepsTextSelectionAndScrollPosition) {
  box->SetMultiLine(true);
  box->SetScrollBars(3);
  std::wstring text;
  for (int i = 0; i < 60; ++i) text += L"line " + std::to_wstring(i) + L" \U0001F600\r\n";
  box->SetText(text);
  box->SetSelStart(7);
  box->SetSelLength(4);
  SendMessageW(box->hWnd(), EM_LINESCROLL, 0, 20);
  const int v_scroll = GetScrollPos(box->hWnd(), SB_VERT);
  ASSERT_GT(v_scroll, 0);
  const HWND before = box->hWnd();
  box->SetHideSelection(false);
  EXPECT_NE(box->hWnd(), before);
  EXPECT_EQ(box->Text(), text);
  EXPECT_EQ(box->SelStart(), 7);
  EXPECT_EQ(box->SelLength(), 4);
  EXPECT_EQ(GetScrollPos(box->hWnd(), SB_VERT), v_scroll);
  EXPECT_NE(GetWindowLongW(box->hWnd(), GWL_STYLE) & ES_NOHIDESEL, 0);
  EXPECT_NE(SendMessageW(box->hWnd(), WM_GETFONT, 0, 0), 0);
}

TEST_F(TextBoxTest, ManyStyleSwitchesLeakNoWindowsFontsOrContexts) {
  box->SetText(L"text");
  box->SetMultiLine(true);
  box->SetMultiLine(false);
  const veltrin::test::GuiObjectCounts before = veltrin::test::CurrentGuiObjectCounts();
  for (int i = 0; i < 500; ++i) {  // 1,000 re-creations
    box->SetScrollBars(i % 4);
    box->SetMultiLine(i % 2 == 0);
  }
  const veltrin::test::GuiObjectCounts after = veltrin::test::CurrentGuiObjectCounts();
  EXPECT_LE(after.gdi, before.gdi + 2);
  EXPECT_LE(after.user, before.user + 2);
  EXPECT_EQ(box->Text(), L"text");
}

TEST_F(TextBoxTest, DroppedFileNamesReachOLEDragDrop) {
  box->SetOLEDropMode(1);
  std::vector<std::wstring> dropped;
  events.on_drag_drop = [&](DataObject& data, int32_t& effect) {
    dropped = data.Files();
    effect = DROPEFFECT_COPY;
  };
  const std::wstring path = L"C:\\pages\\\u6BB5\u843D.html";
  DataObject data;
  data.SetFiles({path});
  ComPtr<IDropTarget> target = CreateControlDropTarget(*box);
  RECT bounds{};
  GetWindowRect(box->hWnd(), &bounds);
  const POINTL point{bounds.left + 5, bounds.top + 5};
  DWORD effect = DROPEFFECT_COPY;
  ASSERT_EQ(target->DragEnter(data.Get(), MK_LBUTTON, point, &effect), S_OK);
  effect = DROPEFFECT_COPY;
  ASSERT_EQ(target->Drop(data.Get(), MK_LBUTTON, point, &effect), S_OK);
  EXPECT_EQ(dropped, std::vector<std::wstring>{path});
  ExpectLog({L"OLEDragOver 1 0", L"OLEDragDrop 1 1 0"});
  EXPECT_EQ(box->Text(), L"TextBoxW1") << "manual mode inserts nothing";
}

}  // namespace
}  // namespace veltrin::controls::textbox_test
