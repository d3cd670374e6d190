// The main window created in this process and driven by messages: layout, font, focus, every
// command, the dialogs answered by a responder.
#include "tests/desktop/main_window_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/pipeline.h"
#include "core/utf8.h"
#include "desktop/layout.h"
#include "desktop/window_font.h"
#include "bench/page_generator.h"
#include "common/utf16.h"
#include "controls/base/dpi.h"
#include "tests/core/support/loopback_http_server.h"
#include "tests/support/dialog_responder.h"

namespace veltrin::window {
namespace {

using test::DialogResponder;

TEST_F(MainWindowTest, CaptionClientSizeLayoutAndFocus) {
  EXPECT_EQ(TextOf(window_.hWnd()), L"Veltrin");
  RECT client{};
  GetClientRect(window_.hWnd(), &client);
  EXPECT_EQ(client.right, TwipsToPixelsX(9360));
  EXPECT_EQ(client.bottom, TwipsToPixelsY(7575));

  const auto bounds = [this](const wchar_t* name) {
    RECT rect{};
    GetWindowRect(Control(name), &rect);
    MapWindowPoints(nullptr, window_.hWnd(), reinterpret_cast<POINT*>(&rect), 2);
    return std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom};
  };
  if (controls::DpiScaleX() == 1.0 && controls::DpiScaleY() == 1.0) {
    EXPECT_EQ(client.right, 624);
    EXPECT_EQ(client.bottom, 505);
    EXPECT_EQ(bounds(L"Text1"), (std::vector<LONG>{8, 8, 209, 34}));
    EXPECT_EQ(bounds(L"Check1"), (std::vector<LONG>{544, 8, 617, 25}));
    EXPECT_EQ(bounds(L"Command4"), (std::vector<LONG>{392, 64, 441, 89}));  // inside the frame
    // The list keeps whole items (integral height): it may end up to one item short of 489.
    const std::vector<LONG> list = bounds(L"ListBoxW1");
    EXPECT_EQ(std::vector<LONG>(list.begin(), list.begin() + 3),
              (std::vector<LONG>{392, 128, 609}));
    const LONG item_height =
        static_cast<LONG>(SendMessageW(window_.WordList().ListHandle(), LB_GETITEMHEIGHT, 0, 0));
    EXPECT_LE(list[3], 489);
    EXPECT_GT(list[3], 489 - item_height);
    EXPECT_EQ(bounds(L"TextBoxW1"), (std::vector<LONG>{8, 40, 377, 497}));
  }
  EXPECT_EQ(TextOf(Control(L"Command1")), L"提取");
  EXPECT_EQ(TextOf(Control(L"Frame1")), L"屏蔽词");
  EXPECT_EQ(TextOf(Control(L"Check1")), L"窗口置顶");

  // The result box holds the focus; Tab walks the tab order.
  EXPECT_EQ(GetFocus(), window_.ResultBox().hWnd());
  ASSERT_TRUE(window_.TabToNextControl(false));
  EXPECT_EQ(GetFocus(), window_.AddressBox());
  ASSERT_TRUE(window_.TabToNextControl(false));
  EXPECT_EQ(GetFocus(), Control(L"Command1"));
}

TEST_F(MainWindowTest, EveryVisibleControlUsesTheChineseFontAndItHasTheGlyphs) {
  for (const ControlLayout& layout : kLayout) {
    SCOPED_TRACE(ToU16(layout.name).size());
    HWND window = Control(layout.name);
    if (layout.kind == ControlKind::kTextBoxW) window = window_.ResultBox().hWnd();
    if (std::wstring(layout.name) == L"TextBoxW2") window = window_.WordBox().hWnd();
    if (layout.kind == ControlKind::kListBoxW) window = GetWindow(Control(layout.name), GW_CHILD);
    auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr) << std::string(TextToUtf8(ToU16(layout.name)));
    LOGFONTW description{};
    GetObjectW(font, sizeof(description), &description);
    EXPECT_EQ(description.lfCharSet, 134);
    EXPECT_EQ(description.lfWeight, 400);
    EXPECT_EQ(std::wstring(description.lfFaceName), ChineseFaceName());

    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font);
    WORD glyphs[4] = {};
    GetGlyphIndicesW(dc, L"提取屏蔽", 4, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    for (WORD glyph : glyphs) EXPECT_NE(glyph, 0xFFFF) << "no Chinese glyph in the font";
  }
}

TEST_F(MainWindowTest, ExtractsAPageFromLoopbackWithTheBlockedWords) {
  test::LoopbackHttpServer server(
      [](const test::HttpRequest&) { return test::MakeReply(200, "OK", test::kSamplePage); });
  window_.WordList().AddItem(L"广告");
  SetAddress(ToWide(Utf8BytesToText(server.Url("/page.html"))));
  ClickExtract();
  EXPECT_EQ(Result(), Expected(test::kSamplePage, {u"广告"}));
  EXPECT_EQ(Result().find(L"广告"), std::wstring::npos);
}

TEST_F(MainWindowTest, ExtractsALocalFileWithAChineseName) {
  const std::wstring path = folder_.Write(L"章节 一.html", test::kSamplePage);
  SetAddress(path);
  ClickExtract();
  EXPECT_EQ(Result(), Expected(test::kSamplePage));
}

TEST_F(MainWindowTest, EmptyBoxAndMissingFileDoNothing) {
  window_.ResultBox().SetText(L"旧的结果");
  DialogResponder responder;
  SetAddress(L"");
  Click(L"Command1");
  SetAddress(folder_.Path(L"没有.html"));
  Click(L"Command1");
  EXPECT_EQ(Result(), L"旧的结果");
  EXPECT_TRUE(responder.Seen().empty());
}

TEST_F(MainWindowTest, FailuresShowWhatFailedAndKeepTheResult) {
  test::LoopbackHttpServer server([](const test::HttpRequest& request) {
    if (request.path == "/empty") return test::MakeReply(200, "OK", "");
    return test::MakeReply(404, "Not Found", "<p>不在这里。</p>\n");
  });
  const std::wstring refused =
      L"http://127.0.0.1:" + std::to_wstring(test::UnusedLoopbackPort()) + L"/";
  struct Case {
    std::wstring address;
    std::wstring message_part;
  };
  const std::vector<Case> cases = {
      {ToWide(Utf8BytesToText(server.Url("/missing"))), L"HTTP 404"},
      {ToWide(Utf8BytesToText(server.Url("/empty"))), L"下载的页面是空的"},
      {refused, L"无法下载"},
      // A file used as a folder: the search fails with ERROR_INVALID_NAME (123) under Wine.
      {folder_.Write(L"文件.html", "x") + L"\\页面.html", L"52"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(TextToUtf8(ToU16(c.address)));
    window_.ResultBox().SetText(L"旧的结果");
    DialogResponder responder;
    responder.Then(DialogResponder::Press(IDOK));
    SetAddress(c.address);
    ClickExtract();
    ASSERT_EQ(responder.Seen().size(), 1u);
    EXPECT_EQ(responder.Seen()[0].caption, L"提取");
    EXPECT_NE(responder.Seen()[0].text.find(c.message_part), std::wstring::npos)
        << TextToUtf8(ToU16(responder.Seen()[0].text));
    EXPECT_EQ(Result(), L"旧的结果");
    EXPECT_TRUE(IsWindow(window_.hWnd()));
  }
}

TEST_F(MainWindowTest, PickHtmlFileFillsTheAddressWithoutExtracting) {
  const std::wstring path = folder_.Write(L"页面.html", test::kSamplePage);
  {
    DialogResponder responder;
    responder.Then(DialogResponder::Press(IDCANCEL));
    Click(L"Command2");
    ASSERT_EQ(responder.Seen().size(), 1u);
    EXPECT_EQ(responder.Seen()[0].caption, L"导入");
    EXPECT_EQ(TextOf(window_.AddressBox()), L"");
  }
  DialogResponder responder;
  responder.Then(DialogResponder::TypeFileName(path));
  Click(L"Command2");
  EXPECT_EQ(TextOf(window_.AddressBox()), path);
  EXPECT_EQ(Result(), L"");
}

TEST_F(MainWindowTest, ExportingTheResultAsksBeforeReplacing) {
  {
    DialogResponder responder;
    Click(L"Command3");  // empty result: no dialog at all
    EXPECT_TRUE(responder.Seen().empty());
  }
  window_.ResultBox().SetText(L"　　结果。\r\n");
  const std::wstring path = folder_.Write(L"结果.txt", "old content that is longer");
  {
    DialogResponder responder;
    responder.Then(DialogResponder::TypeFileName(path)).Then(DialogResponder::Press(IDNO));
    Click(L"Command3");
    ASSERT_EQ(responder.Seen().size(), 2u);
    EXPECT_EQ(responder.Seen()[0].caption, L"导出");
    EXPECT_EQ(responder.Seen()[1].caption, L"导出文件");
    EXPECT_NE(responder.Seen()[1].text.find(L"文件 结果.txt 已存在。"), std::wstring::npos);
    EXPECT_EQ(folder_.Read(L"结果.txt"), "old content that is longer");
  }
  DialogResponder responder;
  responder.Then(DialogResponder::TypeFileName(path))
      .Then(DialogResponder::Press(IDYES))
      .Then(DialogResponder::Press(IDOK));
  Click(L"Command3");
  ASSERT_EQ(responder.Seen().size(), 3u);
  EXPECT_NE(responder.Seen()[2].text.find(L"已导出 结果.txt。"), std::wstring::npos);
  EXPECT_EQ(folder_.Read(L"结果.txt"), TextToUtf8(u"　　结果。\r\n"));
}

TEST_F(MainWindowTest, WordListsImportByLineAndExportWithCrLf) {
  const auto import = [this](const std::wstring& path) {
    DialogResponder responder;
    responder.Then(DialogResponder::TypeFileName(path));
    Click(L"Command6");
  };
  import(folder_.Write(L"lf.txt", "广告\n推广\n"));
  EXPECT_EQ(Words(), (std::vector<std::wstring>{L"广告", L"推广", L""}));
  import(folder_.Write(L"crlf.txt", "甲\r\n乙\r\n"));
  EXPECT_EQ(Words(), (std::vector<std::wstring>{L"甲", L"乙", L""}));
  import(folder_.Write(L"one.txt", "单词"));  // no line break: the list stays
  EXPECT_EQ(Words(), (std::vector<std::wstring>{L"甲", L"乙", L""}));

  window_.WordList().Clear();
  {
    DialogResponder responder;
    Click(L"Command7");  // empty list: no dialog
    EXPECT_TRUE(responder.Seen().empty());
  }
  window_.WordList().AddItem(L"广告");
  const std::wstring path = folder_.Path(L"词.txt");
  {
    DialogResponder responder;
    responder.Then(DialogResponder::TypeFileName(path)).Then(DialogResponder::Press(IDOK));
    Click(L"Command7");
    ASSERT_EQ(responder.Seen().size(), 2u);
    EXPECT_NE(responder.Seen()[1].text.find(L"已导出 词.txt。"), std::wstring::npos);
  }
  EXPECT_EQ(folder_.Read(L"词.txt"), TextToUtf8(u"广告\r\n"));
  import(path);
  EXPECT_EQ(Words(), (std::vector<std::wstring>{L"广告", L""}));
}

TEST_F(MainWindowTest, EnterAndSeparatorInTheWordBoxAddTheWord) {
  HWND box = window_.WordBox().hWnd();
  SetFocus(box);
  SendMessageW(box, WM_KEYDOWN, VK_RETURN, 0);  // empty box: nothing added
  EXPECT_TRUE(Words().empty());
  window_.WordBox().SetText(L"广告");
  SendMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
  window_.WordBox().SetText(L" 推广 ");
  SendMessageW(box, WM_KEYDOWN, VK_SEPARATOR, 0);
  EXPECT_EQ(Words(), (std::vector<std::wstring>{L"广告", L" 推广 "}));
  EXPECT_EQ(window_.WordBox().Text(), L"");
  EXPECT_EQ(GetFocus(), box);
}

TEST_F(MainWindowTest, DeleteRemovesOnlyTheSelectedWord) {
  window_.WordList().AddItem(L"甲");
  window_.WordList().AddItem(L"乙");
  Click(L"Command5");  // nothing selected
  EXPECT_EQ(Words(), (std::vector<std::wstring>{L"甲", L"乙"}));
  window_.WordList().SetListIndex(0);
  Click(L"Command5");
  EXPECT_EQ(Words(), std::vector<std::wstring>{L"乙"});
}

TEST_F(MainWindowTest, WindowOnTopFollowsTheCheckBox) {
  const auto topmost = [this] {
    return (GetWindowLongPtrW(window_.hWnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  };
  EXPECT_FALSE(topmost());
  Click(L"Check1");
  EXPECT_TRUE(topmost());
  Click(L"Check1");
  EXPECT_FALSE(topmost());
}

}  // namespace
}  // namespace veltrin::window

namespace veltrin::window {
namespace {

TEST_F(MainWindowTest, ATwoMegabytePageGivesTheCoreTextAndTheWindowPaintsAfterwards) {
  bench::PageOptions options;
  options.target_bytes = 2 << 20;
  const std::string page = bench::GenerateChapterPage(options);
  const std::wstring path = folder_.Write(L"大页面.html", page);
  std::vector<std::u16string> words(std::begin(bench::kBenchBlockedWords),
                                    std::end(bench::kBenchBlockedWords));
  for (const std::u16string& word : words) window_.WordList().AddItem(AsWide(word));
  SetAddress(path);
  ClickExtract();
  EXPECT_EQ(Result(), Expected(page, words));

  // The window repaints completely and still answers.
  RedrawWindow(window_.hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_FALSE(GetUpdateRect(window_.hWnd(), nullptr, FALSE));
  EXPECT_FALSE(GetUpdateRect(window_.ResultBox().hWnd(), nullptr, FALSE));
  DWORD_PTR answer = 0;
  EXPECT_NE(SendMessageTimeoutW(window_.hWnd(), WM_NULL, 0, 0, SMTO_BLOCK, 5000, &answer), 0);
}

}  // namespace
}  // namespace veltrin::window
