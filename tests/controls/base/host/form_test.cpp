// The form and user-control host driven by messages: notification order, persistence, modified
// flag, validation, tab order, default and cancel buttons, and the handle balance.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "common/run_time_error.h"
#include "controls/base/host_thread.h"
#include "controls/base/screen_metrics.h"
#include "host_fixture.h"
#include "tests/support/gui_objects.h"

namespace veltrin::controls::host_test {
namespace {

class ClickLog : public ExtenderEvents {
 public:
  ClickLog(Log& log, std::wstring name) : log_(log), name_(std::move(name)) {}
  bool cancel_validation = false;
  void Validate(bool& cancel) override {
    log_.push_back(name_ + L".Validate");
    cancel = cancel_validation;
  }
  void Click() override { log_.push_back(name_ + L".Click"); }

 private:
  Log& log_;
  std::wstring name_;
};

class FormTest : public testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<Form>(L"Host test", 400, 300);
    form_->Show();
    SetForegroundWindow(form_->hWnd());
    Pump(*form_);
  }
  Extender& AddLogged(const std::wstring& name, int x, PropertyBag* bag = nullptr) {
    return form_->AddControl(std::make_unique<LoggingControl>(&log_, name), name,
                             RECT{x, 10, x + 100, 40}, bag);
  }

  Log log_;
  std::unique_ptr<Form> form_;
};

TEST_F(FormTest, NotificationsComeInTheirOrder) {
  form_->AddButton(L"Command1", L"OK", RECT{10, 200, 90, 225});
  AddLogged(L"A", 10);
  PropertyBag bag;
  bag.WriteProperty(L"Caption", PropertyValue(L"从包里"), PropertyValue(L""));
  AddLogged(L"B", 150, &bag);
  form_->Find(L"A")->SetWidth(form_->Find(L"A")->Width() * 2);
  form_->SetUserMode(false);
  auto bags = form_->SaveControls();
  form_.reset();

  const Log expected = {
      L"A.Initialize",      L"A.InitProperties",          L"A.Resize",
      L"B.Initialize",      L"B.ReadProperties",          L"B.Resize",
      L"A.Resize",          L"A.AmbientChanged:UserMode", L"B.AmbientChanged:UserMode",
      L"A.WriteProperties", L"B.WriteProperties",         L"B.Terminate",
      L"A.Terminate"};
  EXPECT_EQ(log_, expected) << SideBySide(expected, log_);
  EXPECT_EQ(bags[L"A"].ReadProperty(L"Caption").ToString(), L"A");  // new: its own name
  EXPECT_EQ(bags[L"B"].ReadProperty(L"Caption").ToString(), L"从包里");
  EXPECT_EQ(bags.count(L"Command1"), 0u);
}

TEST_F(FormTest, PropertyChangedMarksTheFormModifiedUntilSaved) {
  auto& a = AddLogged(L"A", 10);
  EXPECT_FALSE(form_->Modified());
  static_cast<LoggingControl*>(a.Control())->PropertyChanged(L"Caption");
  EXPECT_TRUE(form_->Modified());
  form_->SaveControls();
  EXPECT_FALSE(form_->Modified());
}

TEST_F(FormTest, CancelledValidationKeepsTheFocusAndRaises380) {
  auto& a = AddLogged(L"A", 10);
  auto& b = AddLogged(L"B", 150);
  ClickLog events_a(log_, L"A");
  a.Events().Connect(&events_a);
  a.SetFocus();
  ASSERT_EQ(form_->ActiveControl(), &a);
  log_.clear();

  events_a.cancel_validation = true;
  try {
    b.SetFocus();
    FAIL() << "no error";
  } catch (const RunTimeError& e) {
    EXPECT_EQ(e.Number(), 380);
  }
  EXPECT_EQ(form_->ActiveControl(), &a);
  EXPECT_THROW(form_->ValidateControls(), RunTimeError);

  b.SetCausesValidation(false);  // a control that does not ask for validation gets the focus
  b.SetFocus();
  EXPECT_EQ(form_->ActiveControl(), &b);
  EXPECT_EQ(log_, (Log{L"A.Validate", L"A.Validate"}));
}

TEST_F(FormTest, TabAndShiftTabFollowTabIndexAcrossControlsAndButtons) {
  auto& a = AddLogged(L"A", 10);
  auto& button = form_->AddButton(L"Command1", L"OK", RECT{10, 200, 90, 225});
  auto& b = AddLogged(L"B", 150);
  form_->AddFrame(L"Frame1", L"Frame", RECT{200, 100, 300, 180});  // never takes the focus
  b.SetTabIndex(1);
  EXPECT_EQ(a.TabIndex(), 0);
  EXPECT_EQ(b.TabIndex(), 1);
  EXPECT_EQ(button.TabIndex(), 2);

  a.SetFocus();
  std::vector<std::wstring> visited;
  for (int i = 0; i < 3; ++i) {
    PressKey(*form_, VK_TAB);
    visited.push_back(form_->ActiveControl() ? form_->ActiveControl()->Name() : L"?");
  }
  EXPECT_EQ(visited, (std::vector<std::wstring>{L"B", L"Command1", L"A"}));

  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  PressKey(*form_, VK_TAB);
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(form_->ActiveControl(), &button);
}

TEST_F(FormTest, ReturnAndEscapeClickTheDefaultAndCancelButtons) {
  auto& a = AddLogged(L"A", 10);
  auto& ok = form_->AddButton(L"OK", L"OK", RECT{10, 200, 90, 225});
  auto& cancel = form_->AddButton(L"Cancel", L"Cancel", RECT{100, 200, 180, 225});
  ClickLog ok_events(log_, L"OK"), cancel_events(log_, L"Cancel");
  ok.Events().Connect(&ok_events);
  cancel.Events().Connect(&cancel_events);
  form_->SetDefaultButton(&ok);
  form_->SetCancelButton(&cancel);
  a.SetFocus();
  log_.clear();

  PressKey(*form_, VK_RETURN);
  PressKey(*form_, VK_ESCAPE);
  cancel.SetFocus();
  PressKey(*form_, VK_RETURN);  // a focused button answers Return itself
  EXPECT_EQ(log_, (Log{L"OK.Click", L"Cancel.Click", L"Cancel.Click"}));
}

TEST_F(FormTest, ExtenderPositionIsInTheFormsScaleMode) {
  auto& a = AddLogged(L"A", 10);
  form_->SetScaleMode(ScaleUnit::kPixels);
  EXPECT_DOUBLE_EQ(a.Left(), 10);
  EXPECT_DOUBLE_EQ(a.Width(), 100);
  a.Move(20, 30, 50, 60);
  EXPECT_EQ(a.Control()->ClientWidth(), 50);
  EXPECT_EQ(a.Control()->ClientHeight(), 60);
  form_->SetScaleMode(ScaleUnit::kTwips);
  EXPECT_DOUBLE_EQ(a.Left(), 20 * TwipsPerPixelX());
  EXPECT_DOUBLE_EQ(a.Control()->ScaleY(60, ScaleUnit::kPixels, ScaleUnit::kContainerSize),
                   60 * TwipsPerPixelY());
  EXPECT_THROW(a.SetWidth(-1), RunTimeError);
  EXPECT_THROW(form_->SetScaleMode(ScaleUnit::kContainerSize), RunTimeError);
}

TEST_F(FormTest, AmbientValuesReachTheControls) {
  auto& a = AddLogged(L"A", 10);
  UserControl& control = *a.Control();
  EXPECT_TRUE(control.Ambient().UserMode());
  EXPECT_EQ(control.Ambient().DisplayName(), L"A");
  log_.clear();
  form_->Font()->SetBold(true);  // a change of the form's font is an ambient change too
  form_->SetRightToLeft(true);
  EXPECT_TRUE(control.Ambient().RightToLeft());
  EXPECT_TRUE(control.Ambient().Font()->Bold());
  EXPECT_EQ(log_, (Log{L"A.AmbientChanged:Font", L"A.AmbientChanged:RightToLeft"}));
}

TEST_F(FormTest, ParentControlsStartWithTheForm) {
  auto& a = AddLogged(L"A", 10);
  form_->AddCheckBox(L"Check1", L"Check", RECT{10, 100, 120, 120});
  ParentControls parents = a.Control()->ParentControlsCollection();
  ASSERT_EQ(parents.Count(), 3u);
  EXPECT_EQ(parents.Item(0).kind, ParentControlEntry::Kind::kForm);
  EXPECT_FALSE(parents.Item(0).HostsUserControls());
  EXPECT_EQ(parents.Item(1).control, nullptr);  // extenders by default
  parents.SetType(ParentControlsType::kControl);
  EXPECT_EQ(a.Control()->ParentControlsCollection().Type(), ParentControlsType::kControl);
  EXPECT_EQ(parents.Item(1).control, a.Control());
  EXPECT_EQ(parents.Item(2).kind, ParentControlEntry::Kind::kNativeControl);
  EXPECT_THROW(parents.Item(3), RunTimeError);
}

TEST_F(FormTest, HostingAThousandTimesLeavesNoHandles) {
  HWND last_container = nullptr;
  auto cycle = [&] {
    last_container = AddLogged(L"Box", 10).hWnd();
    form_->Find(L"Box")->Control()->Refresh();  // paints, making the colour brush
    form_->RemoveControl(L"Box");
  };
  cycle();  // the window class and any lazily made system objects come first
  const veltrin::test::GuiObjectCounts before = veltrin::test::CurrentGuiObjectCounts();
  for (int i = 0; i < 1000; ++i) cycle();
  Pump(*form_);
  const veltrin::test::GuiObjectCounts after = veltrin::test::CurrentGuiObjectCounts();
  EXPECT_EQ(after.user, before.user);
  EXPECT_EQ(after.gdi, before.gdi);
  EXPECT_EQ(form_->ControlCount(), 0u);
  EXPECT_FALSE(IsWindow(last_container));
}

TEST(HostThread, IsTheThreadOfTheFirstFormWhoeverAsks) {
  Form form;
  DWORD seen_elsewhere = 0;
  std::thread([&] {
    ClaimHostThread();  // a later claim changes nothing
    seen_elsewhere = HostThreadId();
  }).join();
  EXPECT_EQ(seen_elsewhere, GetCurrentThreadId());
}

TEST(Scale, ConvertsThroughTwips) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  EXPECT_DOUBLE_EQ(TwipsPerPixelX(), 1440.0 / dpi);
  struct Row {
    double value;
    ScaleUnit from, to;
    double expected;
  };
  const Row rows[] = {
      {1, ScaleUnit::kInches, ScaleUnit::kTwips, 1440},
      {2540, ScaleUnit::kHimetric, ScaleUnit::kTwips, 1440},
      {10, ScaleUnit::kMillimeters, ScaleUnit::kCentimeters, 1},
      {72, ScaleUnit::kPoints, ScaleUnit::kInches, 1},
      {2, ScaleUnit::kCharacters, ScaleUnit::kTwips, 240},
      {static_cast<double>(dpi), ScaleUnit::kPixels, ScaleUnit::kInches, 1},
  };
  for (const Row& row : rows) {
    EXPECT_NEAR(ConvertScale(row.value, row.from, row.to, true), row.expected, 1e-9);
  }
  EXPECT_NEAR(ConvertScale(2, ScaleUnit::kCharacters, ScaleUnit::kTwips, false), 480, 1e-9);
  EXPECT_THROW(ConvertScale(1, ScaleUnit::kContainerSize, ScaleUnit::kTwips, true), RunTimeError);
}

}  // namespace
}  // namespace veltrin::controls::host_test
