// The typed window layer driven by messages: the Window view, the unpacking of messages into
// typed handlers and the fall-through to the next procedure, the window, subclass and dialog glue,
// and the deferred deletion of a handler that is let go inside its own message.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "controls/base/host/window_handles.h"
#include "controls/base/window/message_handler.h"
#include "controls/base/window/scoped_subclass.h"
#include "controls/base/window/window.h"
#include "controls/base/window/window_procedure.h"

namespace veltrin::controls {
namespace {

constexpr wchar_t kTestClass[] = L"VeltrinWindowLayerTest";

// Records what the typed handlers were given; some messages are answered, some passed on.
class RecordingHandler : public MessageHandler {
 public:
  std::vector<std::wstring> log;
  bool throw_on_char = false;

 protected:
  MessageResult OnCommand(WORD id, WORD code, HWND control) override {
    log.push_back(L"Command " + std::to_wstring(id) + L" " + std::to_wstring(code) +
                  (control ? L" control" : L" menu"));
    return 0;
  }
  MessageResult OnKeyDown(UINT key, UINT flags) override {
    log.push_back(L"KeyDown " + std::to_wstring(key) + L" " + std::to_wstring(flags));
    return kNotHandled;
  }
  MessageResult OnChar(wchar_t code, UINT) override {
    if (throw_on_char) throw std::runtime_error("handler failed");
    if (code == L'x') return 0;  // swallowed
    return kNotHandled;
  }
  MessageResult OnMouseMove(UINT keys, POINT point) override {
    log.push_back(L"MouseMove " + std::to_wstring(keys) + L" " + std::to_wstring(point.x) + L"," +
                  std::to_wstring(point.y));
    return 0;
  }
  MessageResult OnSize(UINT kind, int width, int height) override {
    log.push_back(L"Size " + std::to_wstring(kind) + L" " + std::to_wstring(width) + L"x" +
                  std::to_wstring(height));
    return kNotHandled;
  }
  MessageResult OnCtlColor(CtlColorKind kind, HDC, HWND) override {
    log.push_back(L"CtlColor " + std::to_wstring(static_cast<int>(kind)));
    return kNotHandled;
  }
  MessageResult OnMessage(UINT message, WPARAM, LPARAM) override {
    if (message == WM_SETTEXT) {
      // Adds to the default: the text is stored first, then reported.
      const LRESULT stored = CallNext();
      log.push_back(L"SetText " + std::to_wstring(stored) + L" " +
                    Window(MessageWindow()).GetText());
      return stored;
    }
    return kNotHandled;
  }
  MessageResult OnNcDestroy() override {
    log.push_back(L"NcDestroy");
    return kNotHandled;
  }
};

UniqueWindow CreateTestWindow(MessageHandler& handler, HWND parent = nullptr) {
  RegisterHandlerClass({kTestClass});
  WindowCreation creation{kTestClass, L"start",
                          static_cast<DWORD>(parent ? WS_CHILD : WS_OVERLAPPEDWINDOW)};
  creation.parent = parent;
  return CreateHandlerWindow(handler, creation.At(RECT{0, 0, 200, 100}));
}

TEST(WindowViewTest, NamesWhatItSends) {
  RecordingHandler handler;
  UniqueWindow owned = CreateTestWindow(handler);
  const Window window(owned.Get());
  const std::wstring text = L"\u6BB5\u843D \U0001F600";
  EXPECT_TRUE(window.SetText(text));
  EXPECT_EQ(window.GetText(), text);
  EXPECT_EQ(window.GetTextLength(), static_cast<int>(text.size()));
  EXPECT_EQ(window.ClassName(), kTestClass);

  EXPECT_TRUE(window.ModifyStyle(WS_MAXIMIZEBOX, WS_VSCROLL));
  EXPECT_FALSE(window.Style() & WS_MAXIMIZEBOX);
  EXPECT_TRUE(window.Style() & WS_VSCROLL);
  EXPECT_FALSE(window.ModifyStyle(0, WS_VSCROLL)) << "no change, no report";

  EXPECT_TRUE(window.Move(RECT{5, 6, 125, 86}));
  const RECT client = window.GetClientRect();
  EXPECT_GT(client.right, 0);
  EXPECT_EQ(window.BoundsInParent().left, 5);  // a top-level window's parent is the screen

  EXPECT_TRUE(window.Destroy());
  EXPECT_FALSE(window.Exists());
  EXPECT_FALSE(window.Destroy()) << "a destroyed window is not destroyed twice";
  EXPECT_EQ(window.GetText(), L"");
  owned.Detach();

  // A null view sends nothing and fails politely.
  const Window none;
  EXPECT_EQ(none.Send(WM_GETTEXTLENGTH), 0);
  EXPECT_FALSE(none.Post(WM_NULL));
  EXPECT_FALSE(none.SetText(L"x"));
}

TEST(MessageHandlerTest, UnpacksIntoTypedHandlersAndPassesTheRestOn) {
  RecordingHandler handler;
  UniqueWindow owned = CreateTestWindow(handler);
  const Window window(owned.Get());
  handler.log.clear();

  window.Send(WM_COMMAND, MAKEWPARAM(1001, EN_CHANGE), reinterpret_cast<LPARAM>(window.Handle()));
  window.Send(WM_COMMAND, MAKEWPARAM(7, 0), 0);
  window.Send(WM_KEYDOWN, VK_F5, 0x003F0001);
  // Negative client coordinates (a captured mouse left of the window) keep their sign.
  window.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-3), 40));
  window.Send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(120, 80));
  window.Send(WM_CTLCOLORLISTBOX, 0, 0);
  EXPECT_EQ(handler.log,
            (std::vector<std::wstring>{L"Command 1001 768 control", L"Command 7 0 menu",
                                       L"KeyDown 116 4128769", L"MouseMove 1 -3,40",
                                       L"Size 0 120x80", L"CtlColor 2"}));

  // Not handled: DefWindowProc answers (the text comes back); CallNext runs the default once.
  handler.log.clear();
  EXPECT_TRUE(window.SetText(L"next"));
  EXPECT_EQ(handler.log, (std::vector<std::wstring>{L"SetText 1 next"}));
  EXPECT_EQ(window.GetText(), L"next");

  // An exception never leaves the window procedure: the message goes on to the default.
  handler.throw_on_char = true;
  EXPECT_EQ(window.Send(WM_CHAR, L'a', 1), 0);

  handler.log.clear();
  owned.Reset();
  EXPECT_EQ(handler.log, (std::vector<std::wstring>{L"NcDestroy"}));
}

TEST(MessageHandlerTest, SubclassedWindowFallsToTheNextSubclass) {
  RecordingHandler parent_handler;
  UniqueWindow parent = CreateTestWindow(parent_handler);
  UniqueWindow edit(CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20,
                                    parent.Get(), nullptr, GetModuleHandleW(nullptr), nullptr));
  ASSERT_TRUE(edit);
  RecordingHandler handler;
  HandlerSubclass receiver(handler);
  {
    const ScopedSubclass subclass(edit.Get(), receiver, 1);
    SendMessageW(edit.Get(), WM_CHAR, L'a', 1);
    SendMessageW(edit.Get(), WM_CHAR, L'x', 1);  // swallowed by the handler
    SendMessageW(edit.Get(), WM_CHAR, L'b', 1);
    EXPECT_EQ(Window(edit.Get()).GetText(), L"ab");
    EXPECT_NE(GetPropW(edit.Get(), L"ComCtlSubclassInit"), nullptr);
  }
  // The scope removed the subclass: the EDIT handles 'x' itself again.
  EXPECT_EQ(GetPropW(edit.Get(), L"ComCtlSubclassInit"), nullptr);
  SendMessageW(edit.Get(), WM_CHAR, L'x', 1);
  EXPECT_EQ(Window(edit.Get()).GetText(), L"abx");
}

// A dialog whose handler is found from WM_INITDIALOG.
class DialogHandler : public MessageHandler {
 public:
  HWND focus_at_init = reinterpret_cast<HWND>(1);
  int commands = 0;

 protected:
  MessageResult OnInitDialog(HWND focus, LPARAM) override {
    focus_at_init = focus;
    return TRUE;
  }
  MessageResult OnCommand(WORD, WORD, HWND) override {
    ++commands;
    return TRUE;
  }
};

TEST(MessageHandlerTest, DialogProcedureFindsItsHandler) {
  // An empty in-memory dialog template.
  alignas(DWORD) WORD dialog_template[32] = {};
  auto* header = reinterpret_cast<DLGTEMPLATE*>(dialog_template);
  header->style = WS_POPUP | WS_CAPTION;
  header->cx = 100;
  header->cy = 50;
  DialogHandler handler;
  const UniqueWindow dialog(CreateDialogIndirectParamW(GetModuleHandleW(nullptr), header, nullptr,
                                                       HandlerDialogProc,
                                                       reinterpret_cast<LPARAM>(&handler)));
  ASSERT_TRUE(dialog);
  EXPECT_EQ(handler.focus_at_init, nullptr) << "the dialog has no controls to focus";
  EXPECT_EQ(HandlerOfWindow(dialog.Get()), &handler);
  SendMessageW(dialog.Get(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_EQ(handler.commands, 1);
}

// A handler of a subclassed window that its owner lets go of inside one of its own messages; like
// a control, it removes its subclass when it goes.
class SelfRemovingHandler : public MessageHandler {
 public:
  SelfRemovingHandler(HWND window, std::unique_ptr<SelfRemovingHandler>* owner,
                      std::vector<std::wstring>* log)
      : owner_(owner), log_(log), subclass_(window, receiver_, 1) {}
  ~SelfRemovingHandler() override { log_->push_back(L"deleted"); }

 protected:
  MessageResult OnChar(wchar_t, UINT) override {
    CallGuarded::Delete(std::move(*owner_));
    log_->push_back(L"still alive after the owner let go");
    return kNotHandled;
  }

 private:
  std::unique_ptr<SelfRemovingHandler>* owner_;
  std::vector<std::wstring>* log_;
  HandlerSubclass receiver_{*this};
  ScopedSubclass subclass_;
};

TEST(MessageHandlerTest, AHandlerLetGoInsideItsMessageLivesUntilTheMessageReturns) {
  RecordingHandler parent_handler;
  UniqueWindow parent = CreateTestWindow(parent_handler);
  UniqueWindow edit(CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 100, 20, parent.Get(), nullptr,
                                    GetModuleHandleW(nullptr), nullptr));
  std::vector<std::wstring> log;
  std::unique_ptr<SelfRemovingHandler> owned;
  owned = std::make_unique<SelfRemovingHandler>(edit.Get(), &owned, &log);
  SendMessageW(edit.Get(), WM_CHAR, L'a', 1);
  EXPECT_EQ(log, (std::vector<std::wstring>{L"still alive after the owner let go", L"deleted"}));
  EXPECT_EQ(owned, nullptr);
  EXPECT_EQ(GetPropW(edit.Get(), L"ComCtlSubclassInit"), nullptr) << "the subclass went with it";
  EXPECT_EQ(Window(edit.Get()).GetText(), L"a") << "the message still reached the EDIT";
}

}  // namespace
}  // namespace veltrin::controls
