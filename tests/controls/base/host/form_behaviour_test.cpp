// The form as a real window: its events and the cancel of a close, the font of plain controls,
// frames as containers, and processing pending messages outside a form's loop.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "common/run_time_error.h"
#include "base/host/host_fixture.h"
#include "controls/base/window/window.h"

namespace veltrin::controls::host_test {
namespace {

class FormLog : public FormEvents {
 public:
  explicit FormLog(Log& log) : log_(log) {}
  bool cancel_query = false;
  bool cancel_unload = false;
  void Load() override { log_.push_back(L"Load"); }
  void QueryUnload(bool& cancel, UnloadMode mode) override {
    log_.push_back(L"QueryUnload " + std::to_wstring(static_cast<int>(mode)));
    cancel = cancel_query;
  }
  void Unload(bool& cancel) override {
    log_.push_back(L"Unload");
    cancel = cancel_unload;
  }
  void Resize() override { log_.push_back(L"Resize"); }

 private:
  Log& log_;
};

class ClickCount : public ExtenderEvents {
 public:
  int clicks = 0;
  void Click() override { ++clicks; }
};

bool QuitIsQueued() {
  MSG message{};
  return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

TEST(FormBehaviourTest, LoadOnFirstShowAndAClosingThatCanBeCancelled) {
  Log log;
  FormLog events(log);
  Form form(L"Events", 200, 100);
  form.Events().Connect(&events);
  form.Show();
  form.Show();
  EXPECT_EQ(std::count(log.begin(), log.end(), L"Load"), 1);
  EXPECT_TRUE(form.Loaded());

  log.clear();
  SetWindowPos(form.hWnd(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(log, (Log{L"Resize"}));

  // The close button asks, and a cancel keeps the form and the loop.
  log.clear();
  events.cancel_query = true;
  SendMessageW(form.hWnd(), WM_CLOSE, 0, 0);
  events.cancel_query = false;
  events.cancel_unload = true;
  EXPECT_FALSE(form.Close());
  EXPECT_EQ(log, (Log{L"QueryUnload 0", L"QueryUnload 1", L"Unload"}));
  EXPECT_TRUE(IsWindowVisible(form.hWnd()));
  EXPECT_FALSE(QuitIsQueued());

  // A form that does not end the loop closes without WM_QUIT.
  events.cancel_unload = false;
  form.SetEndsLoopOnClose(false);
  EXPECT_TRUE(form.Close());
  EXPECT_FALSE(IsWindowVisible(form.hWnd()));
  EXPECT_FALSE(form.Loaded());
  EXPECT_FALSE(QuitIsQueued());
  form.Show();
  form.SetEndsLoopOnClose(true);
  SendMessageW(form.hWnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(QuitIsQueued());
}

TEST(FormBehaviourTest, PlainControlsDrawWithTheFormsFont) {
  Form form(L"Fonts", 200, 100);
  Extender& button = form.AddButton(L"Command1", L"OK", RECT{10, 10, 90, 40});
  auto font = std::make_shared<FontObject>();
  font->SetName(L"Arial");
  font->SetSize(14);
  font->SetBold(true);
  form.SetFont(font);
  auto described = [&] {
    LOGFONTW description{};
    GetObjectW(Window(button.hWnd()).GetFont(), sizeof(description), &description);
    return description;
  };
  EXPECT_EQ(std::wstring(described().lfFaceName), L"Arial");
  EXPECT_EQ(described().lfWeight, FW_BOLD);
  const LONG height = described().lfHeight;
  // A change of the font's attributes reaches the controls too.
  font->SetBold(false);
  EXPECT_EQ(described().lfWeight, FW_NORMAL);
  EXPECT_EQ(described().lfHeight, height);
  // A control added later gets the same font.
  Extender& check = form.AddCheckBox(L"Check1", L"On", RECT{10, 50, 90, 70});
  EXPECT_EQ(Window(check.hWnd()).GetFont(), Window(button.hWnd()).GetFont());
}

TEST(FormBehaviourTest, FramesContainTheirControls) {
  Form form(L"Frames", 300, 200);
  form.Show();
  Extender& frame = form.AddFrame(L"Frame1", L"Group", RECT{20, 20, 220, 160});
  Extender& before = form.AddButton(L"Command0", L"Before", RECT{230, 20, 290, 50});
  Extender& inside = form.AddButton(L"Command1", L"Inside", RECT{10, 20, 90, 50});
  form.PlaceInFrame(inside, frame);
  form.SetScaleMode(ScaleUnit::kPixels);
  EXPECT_EQ(GetParent(inside.hWnd()), frame.hWnd());
  EXPECT_DOUBLE_EQ(inside.Left(), 10) << "relative to the frame";
  RECT screen{};
  GetWindowRect(inside.hWnd(), &screen);
  POINT origin{0, 0};
  ClientToScreen(form.hWnd(), &origin);
  EXPECT_EQ(screen.left - origin.x, 30);

  // Clicks inside the frame reach the form's events.
  ClickCount clicks;
  inside.Events().Connect(&clicks);
  SendMessageW(inside.hWnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks.clicks, 1);

  // Moved and hidden with the frame, and out of the tab order while hidden.
  frame.Move(40, 20, 200, 140);
  GetWindowRect(inside.hWnd(), &screen);
  EXPECT_EQ(screen.left - origin.x, 50);
  form.FocusControl(before);
  frame.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(inside.hWnd()));
  form.TabToNextControl(false);
  EXPECT_NE(GetFocus(), inside.hWnd());
  frame.SetVisible(true);
  form.FocusControl(before);
  EXPECT_TRUE(form.TabToNextControl(false));
  EXPECT_EQ(GetFocus(), inside.hWnd()) << "the frame's control follows in the tab order";

  EXPECT_THROW(form.PlaceInFrame(inside, before), RunTimeError) << "a button is no frame";
  EXPECT_THROW(form.PlaceInFrame(frame, frame), RunTimeError);
}

TEST(FormBehaviourTest, RemovingAFrameRemovesTheControlsInItFirst) {
  Form form(L"Frames", 300, 200);
  Log log;
  Extender& frame = form.AddFrame(L"Frame1", L"Group", RECT{20, 20, 220, 160});
  Extender& button = form.AddButton(L"Command1", L"Inside", RECT{10, 20, 90, 50});
  Extender& user = form.AddControl(std::make_unique<LoggingControl>(&log, L"Inner"), L"Inner1",
                                   RECT{10, 60, 90, 90});
  form.AddButton(L"Command2", L"Outside", RECT{230, 20, 290, 50});
  form.PlaceInFrame(button, frame);
  form.PlaceInFrame(user, frame);
  log.clear();

  form.RemoveControl(L"Frame1");
  ASSERT_EQ(form.ControlCount(), 1u);
  EXPECT_EQ(form.ControlAt(0).Name(), L"Command2");
  EXPECT_EQ(log, (Log{L"Inner.Terminate"})) << "the control inside was ended, not orphaned";
}

TEST(FormBehaviourTest, ProcessPendingMessagesDispatchesAndKeepsTheQuit) {
  Form form(L"Pending", 100, 100);
  Log log;
  FormLog events(log);
  form.Events().Connect(&events);
  PostMessageW(form.hWnd(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(50, 50));
  EXPECT_TRUE(ProcessPendingMessages());
  EXPECT_EQ(log, (Log{L"Resize"}));
  PostQuitMessage(3);
  EXPECT_FALSE(ProcessPendingMessages());
  MSG message{};
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 3u) << "the quit is posted again for the loop that owns it";
}

}  // namespace
}  // namespace veltrin::controls::host_test
