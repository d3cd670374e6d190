// The text box's properties and methods: ranges and their errors (with nothing changed), text
// limits, password characters, overtype, selection, lines, margins and the clipboard, with
// Chinese text and surrogate pairs.
#include "base/support/run_time_errors.h"
#include "controls/base/clipboard_text.h"
#include "text_box_fixture.h"

namespace veltrin::controls::textbox_test {
namespace {

using test::ErrorOf;

const std::wstring kPair = L"\U0001F600";  // one character, two code units

// The colours the edit is painted with: what its parent answers to WM_CTLCOLOREDIT.
std::pair<COLORREF, COLORREF> PaintColours(const TextBoxW& text_box) {
  HWND edit = text_box.hWnd();
  HDC dc = GetDC(edit);
  SendMessageW(GetParent(edit), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(edit));
  const std::pair<COLORREF, COLORREF> colours{GetBkColor(dc), GetTextColor(dc)};
  ReleaseDC(edit, dc);
  return colours;
}

TEST_F(TextBoxTest, ANewBoxIsPaintedInTheWindowColours) {
  EXPECT_EQ(box->BackColor(), TextBoxW::kWindowBackground);
  EXPECT_EQ(box->ForeColor(), TextBoxW::kWindowText);
  const auto [back, text] = PaintColours(*box);
  EXPECT_EQ(back, GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(text, GetSysColor(COLOR_WINDOWTEXT));
  box->SetMultiLine(true);
  EXPECT_EQ(PaintColours(*box).first, GetSysColor(COLOR_WINDOW));
}

TEST_F(TextBoxTest, OutOfRangeValuesRaise380AndChangeNothing) {
  box->SetScrollBars(2);
  box->SetAlignment(1);
  const HWND edit = box->hWnd();
  EXPECT_EQ(ErrorOf([&] { box->SetScrollBars(4); }), 380);
  EXPECT_EQ(ErrorOf([&] { box->SetScrollBars(-1); }), 380);
  EXPECT_EQ(ErrorOf([&] { box->SetAlignment(3); }), 380);
  EXPECT_EQ(ErrorOf([&] { box->SetCharacterCasing(3); }), 380);
  EXPECT_EQ(ErrorOf([&] { box->SetBorderStyle(5); }), 380);
  EXPECT_EQ(ErrorOf([&] { box->SetRightToLeftMode(5); }), 380);
  EXPECT_EQ(ErrorOf([&] { box->SetIMEMode(11); }), 380);
  EXPECT_EQ(ErrorOf([&] { box->SetOLEDragMode(2); }), 380);
  EXPECT_EQ(ErrorOf([&] { box->SetOLEDropMode(3); }), 380);
  EXPECT_EQ(ErrorOf([&] { box->SetMousePointer(17); }), 380);
  EXPECT_EQ(ErrorOf([&] { box->SetNetAddressType(20); }), 380);
  EXPECT_EQ(ErrorOf([&] { box->SetMaxLength(-1); }), 380);
  EXPECT_EQ(ErrorOf([&] { box->SetPasswordChar(L"ab"); }), 380);
  EXPECT_EQ(box->ScrollBars(), 2);
  EXPECT_EQ(box->Alignment(), 1);
  EXPECT_EQ(box->CharacterCasing(), 0);
  EXPECT_EQ(box->BorderStyle(), 3);
  EXPECT_EQ(box->IMEMode(), 0);
  EXPECT_EQ(box->MaxLength(), 0);
  EXPECT_EQ(box->NetAddressType(), 0);
  EXPECT_EQ(box->PasswordChar(), std::wstring(1, L'\0'));
  EXPECT_EQ(box->hWnd(), edit) << "a refused value re-creates nothing";
  EXPECT_EQ(ErrorOf([&] { box->SetMousePointer(99); }), 0);
}

TEST_F(TextBoxTest, MaxLengthKeepsTheFirstCharactersAndNeverHalfAPair) {
  box->SetMaxLength(5);
  box->SetText(L"\u6BB5\u843Dabcdef");
  EXPECT_EQ(box->Text(), L"\u6BB5\u843Dabc");
  box->SetText(L"abcd" + kPair);
  EXPECT_EQ(box->Text(), L"abcd") << "the fifth code unit would split the pair";
  box->SetMaxLength(100000);
  EXPECT_EQ(SendMessageW(box->hWnd(), EM_GETLIMITTEXT, 0, 0), 100000);
}

TEST_F(TextBoxTest, PasswordCharIsOneCharacterAndIgnoredWithTheSystemOne) {
  box->SetPasswordChar(L"*");
  EXPECT_EQ(box->PasswordChar(), L"*");
  EXPECT_EQ(SendMessageW(box->hWnd(), EM_GETPASSWORDCHAR, 0, 0), L'*');
  box->SetPasswordChar(L"");
  EXPECT_EQ(box->PasswordChar(), std::wstring(1, L'\0'));
  box->SetUseSystemPasswordChar(true);
  form.SetModified(false);
  box->SetPasswordChar(L"#");
  EXPECT_FALSE(form.Modified()) << "ignored entirely, not even reported";
  EXPECT_NE(GetWindowLongW(box->hWnd(), GWL_STYLE) & ES_PASSWORD, 0);
}

TEST_F(TextBoxTest, SelectionCountsCodeUnitsAndKeepsPairsWhole) {
  box->SetText(L"\u6BB5\u843D" + kPair + L"xyz");
  box->SetSelStart(3);
  EXPECT_EQ(box->SelStart(), 2) << "inside a pair moves to its start";
  box->SetSelLength(1);
  EXPECT_EQ(box->SelLength(), 2) << "a selection ending inside a pair takes all of it";
  EXPECT_EQ(box->SelText(), kPair);
  box->SetSelStart(5);
  box->SetSelLength(2);
  EXPECT_EQ(box->SelText(), L"yz");
  EXPECT_EQ(ErrorOf([&] { box->SetSelStart(-1); }), 380);
  EXPECT_EQ(ErrorOf([&] { box->SetSelStart(8); }), 380);
  EXPECT_EQ(ErrorOf([&] { box->SetSelLength(3); }), 380);
  EXPECT_EQ(box->SelStart(), 5);
  EXPECT_EQ(box->SelLength(), 2);
  box->SetSelText(L"\u4E2D" + kPair);
  EXPECT_EQ(box->Text(), L"\u6BB5\u843D" + kPair + L"x\u4E2D" + kPair);
  EXPECT_TRUE(box->CanUndo());
  box->Undo();
  EXPECT_EQ(box->Text(), L"\u6BB5\u843D" + kPair + L"xyz");
}

TEST_F(TextBoxTest, LinesCountFromOneAndLineZeroIsTheCaretLine) {
  box->SetMultiLine(true);
  box->SetText(L"\u7B2C\u4E00" + kPair + L"\r\n\r\nthird line");
  EXPECT_EQ(box->GetLineCount(), 3);
  EXPECT_EQ(box->GetLine(1), L"\u7B2C\u4E00" + kPair);
  EXPECT_EQ(box->GetLine(2), L"");
  EXPECT_EQ(box->GetLine(3), L"third line");
  box->SetSelStart(12);
  EXPECT_EQ(box->GetLine(0), L"third line");
  EXPECT_EQ(box->GetLineFromChar(-1), 3);
  EXPECT_EQ(box->GetLineFromChar(1), 1);
  EXPECT_EQ(ErrorOf([&] { box->GetLine(4); }), 380);
  EXPECT_EQ(ErrorOf([&] { box->GetLine(-1); }), 380);
  EXPECT_EQ(ErrorOf([&] { box->GetLineFromChar(-2); }), 380);
  EXPECT_EQ(ErrorOf([&] { box->ScrollToLine(9); }), 380);
}

TEST_F(TextBoxTest, MultiLineWrapsUnlessItScrollsHorizontally) {
  box->SetMultiLine(true);
  box->SetText(std::wstring(200, L'w'));
  EXPECT_GT(box->GetLineCount(), 1);
  box->SetScrollBars(1);
  EXPECT_EQ(box->GetLineCount(), 1);
  box->SetScrollBars(2);
  EXPECT_GT(box->GetLineCount(), 1);
  box->SetScrollBars(3);
  EXPECT_EQ(box->GetLineCount(), 1);
}

TEST_F(TextBoxTest, RightMarginFromTheFontLeavesTheLeftAlone) {
  box->SetLeftMargin(static_cast<float>(form.ScaleX(4, ScaleUnit::kPixels, ScaleUnit::kTwips)));
  const float left = box->LeftMargin();
  EXPECT_NEAR(left, form.ScaleX(4, ScaleUnit::kPixels, ScaleUnit::kTwips), 1);
  box->SetRightMargin(-1);
  EXPECT_EQ(box->LeftMargin(), left);
  EXPECT_EQ(ErrorOf([&] { box->SetLeftMargin(-2); }), 380);
  EXPECT_EQ(ErrorOf([&] { box->SetLeftMargin(1e9f); }), 6);
  EXPECT_EQ(box->LeftMargin(), left);
}

TEST_F(TextBoxTest, OverTypeNeedsAllowOverType) {
  box->SetOverTypeMode(true);
  EXPECT_FALSE(box->OverTypeMode());
  box->SetAllowOverType(true);
  box->SetOverTypeMode(true);
  EXPECT_TRUE(box->OverTypeMode());
  box->SetAllowOverType(false);
  EXPECT_FALSE(box->OverTypeMode());
}

TEST_F(TextBoxTest, InsertKeySwitchesOverTypeWhichReplacesTheNextCharacterOfTheLine) {
  box->SetAllowOverType(true);
  box->SetText(L"abc");
  FocusBox(*box);
  box->SetSelStart(1);
  Type(VK_INSERT);
  ASSERT_TRUE(box->OverTypeMode());
  Type('X');
  EXPECT_EQ(box->Text(), L"axc");
  box->SetSelStart(3);
  Type('Y');
  EXPECT_EQ(box->Text(), L"axcy") << "at the end of the line nothing is replaced";
  box->SetSelStart(0);
  box->SetSelLength(2);
  Type('Z');
  EXPECT_EQ(box->Text(), L"zcy") << "a selection is replaced as usual";
}

TEST_F(TextBoxTest, ClipboardCarriesChineseAndPairs) {
  const std::wstring text = L"\u526A\u8D34" + kPair;
  box->SetText(text);
  box->SetSelStart(0);
  box->SetSelLength(static_cast<int32_t>(text.size()));
  box->Copy();
  EXPECT_EQ(ClipboardUnicodeText(), text);
  box->SetSelStart(static_cast<int32_t>(text.size()));
  box->Paste();
  EXPECT_EQ(box->Text(), text + text);
  box->SetSelStart(0);
  box->SetSelLength(2);
  box->Cut();
  EXPECT_EQ(box->Text(), kPair + text);
}

TEST_F(TextBoxTest, BalloonTipsAreNotShownWithoutCommonControls6) {
  // This process has no manifest, so the older controls answer: nothing is shown.
  EXPECT_FALSE(box->ShowBalloonTip(L"tip", L"title", 1));
  EXPECT_FALSE(box->HideBalloonTip());
}

TEST_F(TextBoxTest, LockedAndStylesFollowTheLiveWindow) {
  box->SetLocked(true);
  EXPECT_TRUE(box->Locked());
  EXPECT_NE(GetWindowLongW(box->hWnd(), GWL_STYLE) & ES_READONLY, 0);
  box->SetAllowOnlyNumbers(true);
  EXPECT_NE(GetWindowLongW(box->hWnd(), GWL_STYLE) & ES_NUMBER, 0);
  box->SetCharacterCasing(1);
  EXPECT_NE(GetWindowLongW(box->hWnd(), GWL_STYLE) & ES_UPPERCASE, 0);
  box->SetAlignment(2);
  EXPECT_EQ(GetWindowLongW(box->hWnd(), GWL_STYLE) & (ES_CENTER | ES_RIGHT), ES_CENTER);
  box->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(box->hWnd()));
  box->SetMultiLine(true);  // re-created with all of them
  EXPECT_NE(GetWindowLongW(box->hWnd(), GWL_STYLE) & ES_READONLY, 0);
  EXPECT_FALSE(IsWindowEnabled(box->hWnd()));
}

TEST_F(TextBoxTest, OverTypeReplacesAWholeCharacterOutsideTheBasicPlane) {
  box->SetAllowOverType(true);
  box->SetOverTypeMode(true);
  box->SetText(kPair + L"b");
  box->SetSelStart(0);
  SendMessageW(box->hWnd(), WM_CHAR, 'x', 1);
  EXPECT_EQ(box->Text(), L"xb");
}

TEST_F(TextBoxTest, AlignmentHoldsInARightToLeftBoxAfterARecreation) {
  box->SetRightToLeftMode(0);  // the box's own value, whatever the form reads
  box->SetRightToLeft(true);
  const struct {
    int32_t alignment;
    LONG style;
  } rows[] = {{0, 0}, {1, ES_RIGHT}, {2, ES_CENTER}};
  for (const auto& row : rows) {
    box->SetAlignment(row.alignment);
    box->SetMultiLine(!box->MultiLine());  // re-creates the edit
    EXPECT_EQ(GetWindowLongW(box->hWnd(), GWL_STYLE) & (ES_CENTER | ES_RIGHT), row.style)
        << row.alignment;
  }
}

TEST_F(TextBoxTest, AChangeInsideTheFontObjectIsAChangeOfFont) {
  box->SetFont(std::make_shared<FontObject>());
  form.SetModified(false);
  box->Font()->SetSize(20);
  EXPECT_TRUE(form.Modified());
}

}  // namespace
}  // namespace veltrin::controls::textbox_test
