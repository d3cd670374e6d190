// The main window while it reads a page and around it: a slow download keeps the window
// answering and can be cancelled, real drags get truthful effects, the focus survives
// deactivation, pages in Chinese charsets, failed exports, typed paths, Enter and resizing.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <atomic>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "controls/base/host/data_object.h"
#include "tests/core/support/loopback_http_server.h"
#include "tests/desktop/main_window_fixture.h"
#include "tests/support/dialog_responder.h"

namespace veltrin::window {
namespace {

using test::DialogResponder;

std::wstring Url(const test::LoopbackHttpServer& server, const std::string& path) {
  return ToWide(Utf8BytesToText(server.Url(path)));
}

// A page of about 400 KB that a slow server sends in 8 KB pieces every 40 ms (about 2 s).
test::HttpReply SlowReply() {
  std::string page = test::kSamplePage;
  while (page.size() < (400 << 10)) page += "<p>很长的一段文字，慢慢地到来。</p>\n";
  test::HttpReply reply = test::MakeReply(200, "OK", page);
  reply.piece_bytes = 8 << 10;
  reply.piece_delay_ms = 40;
  return reply;
}

TEST_F(MainWindowTest, ASlowDownloadKeepsTheWindowAnsweringAndEscCancelsIt) {
  test::LoopbackHttpServer server([](const test::HttpRequest&) { return SlowReply(); });
  window_.ResultBox().SetText(L"旧的结果");
  SetAddress(Url(server, "/slow.html"));
  Click(L"Command1");
  ASSERT_TRUE(window_.Busy());
  EXPECT_EQ(TextOf(Control(L"Command1")), L"取消");
  EXPECT_FALSE(IsWindowEnabled(Control(L"Command2")));
  EXPECT_FALSE(IsWindowEnabled(Control(L"Command7")));

  // Another thread asks the window while this one runs its loop.
  std::atomic<bool> answered{false};
  std::thread asker([&] {
    DWORD_PTR answer = 0;
    answered =
        SendMessageTimeoutW(window_.hWnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer) != 0;
  });
  const bool progress_shown = PumpUntil([this] {
    const std::wstring caption = TextOf(window_.hWnd());
    return caption.find(L"正在读取") != std::wstring::npos &&
           caption.find(L"%") != std::wstring::npos;
  });
  PumpUntil([&] { return answered.load(); });
  asker.join();
  EXPECT_TRUE(answered);
  EXPECT_TRUE(progress_shown) << TextToUtf8(AsU16(TextOf(window_.hWnd())));
  EXPECT_TRUE(window_.Busy()) << "the page ended before Esc";

  // Esc through the window's own loop, as a key press comes.
  PostMessageW(GetFocus() ? GetFocus() : Control(L"Command1"), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(PumpUntil([this] { return !window_.Busy(); }));
  EXPECT_EQ(Result(), L"旧的结果");
  EXPECT_EQ(TextOf(window_.hWnd()), L"Veltrin");
  EXPECT_EQ(TextOf(Control(L"Command1")), L"提取");
  EXPECT_TRUE(IsWindowEnabled(Control(L"Command2")));
  // Nothing of the cancelled download arrives later.
  Sleep(300);
  window_.PumpPendingMessages();
  EXPECT_EQ(Result(), L"旧的结果");
}

// A drop source that lets go at its third question, with the cursor over the target by then.
class ReleasingSource : public IDropSource {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid != IID_IUnknown && iid != IID_IDropSource) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    *out = this;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on the test's stack
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override {
    return ++questions_ < 3 ? S_OK : DRAGDROP_S_DROP;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

 private:
  int questions_ = 0;
};

TEST_F(MainWindowTest, RealDragsGetNoEffectForWhatIsIgnoredAndCopyForAnHtmlFile) {
  const std::wstring html = folder_.Write(L"章节.html", test::kSamplePage);
  const std::wstring text_file = folder_.Write(L"章节.txt", "x");
  RECT box{};
  GetWindowRect(window_.ResultBox().hWnd(), &box);
  const auto drag = [&](const std::wstring& file) {
    SetCursorPos((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    controls::DataObject data;
    data.SetFiles({file});
    ReleasingSource source;
    DWORD effect = 0;
    const HRESULT result =
        DoDragDrop(data.Get(), &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
    return std::pair{result, effect};
  };

  EXPECT_EQ(drag(text_file), std::pair(DRAGDROP_S_DROP, DWORD{DROPEFFECT_NONE}));
  const auto [result, effect] = drag(html);
  EXPECT_EQ(result, DRAGDROP_S_DROP);
  EXPECT_EQ(effect, DWORD{DROPEFFECT_COPY});
  // DoDragDrop returned before the extraction began: the page comes through the window's loop.
  EXPECT_EQ(Result(), L"");
  EXPECT_TRUE(PumpUntil([this] { return !Result().empty(); }));
  EXPECT_EQ(TextOf(window_.AddressBox()), html);
  EXPECT_EQ(Result(), Expected(test::kSamplePage));
}

TEST_F(MainWindowTest, TheFocusComesBackAfterAnotherWindowWasActive) {
  HWND other = CreateWindowExW(0, L"Static", L"其他窗口", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                               200, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  SetForegroundWindow(window_.hWnd());
  SetFocus(window_.WordBox().hWnd());
  SetActiveWindow(other);
  window_.PumpPendingMessages();
  SetActiveWindow(window_.hWnd());
  window_.PumpPendingMessages();
  EXPECT_EQ(GetFocus(), window_.WordBox().hWnd());
  // Typing goes to the word box.
  SendMessageW(GetFocus(), WM_CHAR, L'词', 0);
  EXPECT_EQ(window_.WordBox().Text(), L"词");
  DestroyWindow(other);
}

// A UTF-8 page re-encoded in a code page, declaring that charset (its results must not differ).
std::string Encoded(const std::string& utf8_page, UINT code_page) {
  const std::wstring text = ToWide(Utf8BytesToText(utf8_page));
  const int size = WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                      nullptr, nullptr);
  return bytes;
}

TEST_F(MainWindowTest, PagesInGbkGb18030AndBig5GiveTheTextOfTheirUtf8Page) {
  const auto page = [](const char* charset, const char* body) {
    return std::string("<html><head><meta charset=\"") + charset + "\"></head>\n" + body;
  };
  const char kSimplified[] = "<p>第一段，简体文字。</p>\n<p>第二段\n继续！</p>\n";
  const char kTraditional[] = "<p>第一段，繁體文字。</p>\n<p>第二段\n繼續！</p>\n";
  // GB18030 keeps GBK's bytes for these characters (Wine's converter cannot write code page 54936,
  // and Wine 8 cannot read it either: there the GB18030 rows are left out).
  const struct {
    const char* charset;
    UINT code_page;
    const char* body;
  } rows[] = {
      {"GBK", 936, kSimplified}, {"GB18030", 936, kSimplified}, {"Big5", 950, kTraditional}};
  for (const auto& row : rows) {
    if (std::string(row.charset) == "GB18030" && !IsValidCodePage(54936)) {
      std::cout << "GB18030 left out: this system has no code page 54936\n";
      continue;
    }
    const std::string bytes = Encoded(page(row.charset, row.body), row.code_page);
    const std::wstring expected = Expected(page("UTF-8", row.body));
    for (const bool header : {true, false}) {
      SCOPED_TRACE(std::string(row.charset) + (header ? " in the Content-Type" : " declared"));
      test::LoopbackHttpServer server([&](const test::HttpRequest&) {
        const std::string type =
            header ? std::string("text/html; charset=") + row.charset : std::string("text/html");
        return test::MakeReply(200, "OK", bytes, {{"Content-Type", type}});
      });
      window_.ResultBox().SetText(L"");
      SetAddress(Url(server, "/page.html"));
      DialogResponder responder;  // none expected; a failure message would show here
      ClickExtract();
      for (const auto& seen : responder.Seen()) ADD_FAILURE() << TextToUtf8(AsU16(seen.text));
      EXPECT_EQ(Result(), expected);
    }
  }
}

TEST_F(MainWindowTest, AFailedExportNamesTheFileAndItsReasonAndLeavesTheFile) {
  window_.ResultBox().SetText(L"　　新的结果。\r\n");
  const std::wstring path = folder_.Write(L"只读.txt", "old");
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  DialogResponder responder;
  responder.Then(DialogResponder::TypeFileName(path))
      .Then(DialogResponder::Press(IDYES))
      .Then(DialogResponder::Press(IDOK));
  Click(L"Command3");
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  ASSERT_EQ(responder.Seen().size(), 3u);
  EXPECT_EQ(responder.Seen()[2].caption, L"导出");
  EXPECT_NE(responder.Seen()[2].text.find(L"无法导出文件 " + path), std::wstring::npos)
      << TextToUtf8(AsU16(responder.Seen()[2].text));
  EXPECT_EQ(folder_.Read(L"只读.txt"), "old");
}

TEST_F(MainWindowTest, LocalPathsWithDotDotAndForwardSlashesAreRead) {
  const std::wstring path = folder_.Write(L"页面.html", test::kSamplePage);
  const std::wstring folder = path.substr(0, path.rfind(L'\\'));
  const std::wstring leaf = folder.substr(folder.rfind(L'\\') + 1);
  const std::wstring dotted = folder + L"\\..\\" + leaf + L"\\.\\页面.html";
  std::wstring slashes = path;
  for (wchar_t& c : slashes) c = c == L'\\' ? L'/' : c;
  for (const std::wstring& typed : {dotted, slashes}) {
    SCOPED_TRACE(TextToUtf8(AsU16(typed)));
    window_.ResultBox().SetText(L"");
    SetAddress(typed);
    ClickExtract();
    EXPECT_EQ(Result(), Expected(test::kSamplePage));
  }
  // A relative path still names nothing.
  window_.ResultBox().SetText(L"旧的结果");
  SetAddress(L"页面.html");
  ClickExtract();
  EXPECT_EQ(Result(), L"旧的结果");
}

TEST_F(MainWindowTest, EnterInTheAddressBoxExtracts) {
  const std::wstring path = folder_.Write(L"回车.html", test::kSamplePage);
  SetAddress(path);
  SetFocus(window_.AddressBox());
  PostMessageW(window_.AddressBox(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(PumpUntil([this] { return !Result().empty() && !window_.Busy(); }));
  EXPECT_EQ(Result(), Expected(test::kSamplePage));
}

TEST_F(MainWindowTest, TheResultBoxAndTheFrameFollowTheWindowSize) {
  const auto client_rect = [this](HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, window_.hWnd(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  };
  const RECT box = client_rect(Control(L"TextBoxW1"));
  const RECT frame = client_rect(Control(L"Frame1"));
  const RECT extract = client_rect(Control(L"Command1"));
  RECT window{};
  GetWindowRect(window_.hWnd(), &window);
  SetWindowPos(window_.hWnd(), nullptr, 0, 0, window.right - window.left + 200,
               window.bottom - window.top + 100, SWP_NOMOVE | SWP_NOZORDER);
  const RECT wider_box = client_rect(Control(L"TextBoxW1"));
  const RECT moved_frame = client_rect(Control(L"Frame1"));
  EXPECT_EQ(wider_box.right - wider_box.left, box.right - box.left + 200);
  EXPECT_EQ(wider_box.bottom - wider_box.top, box.bottom - box.top + 100);
  EXPECT_EQ(moved_frame.left, frame.left + 200);
  EXPECT_EQ(moved_frame.right - moved_frame.left, frame.right - frame.left);
  EXPECT_EQ(moved_frame.bottom, frame.bottom + 100);
  const RECT same_button = client_rect(Control(L"Command1"));
  EXPECT_EQ(same_button.left, extract.left);

  // The layout's size is the smallest the window takes.
  MINMAXINFO limits{};
  SendMessageW(window_.hWnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMinTrackSize.x, window.right - window.left);
  EXPECT_EQ(limits.ptMinTrackSize.y, window.bottom - window.top);
}

}  // namespace
}  // namespace veltrin::window
