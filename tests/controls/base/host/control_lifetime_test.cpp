// The lifetime of a hosted control: its window goes before it, Terminate follows Initialize
// whatever fails after it, and a control may remove itself inside one of its own messages.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/run_time_error.h"
#include "base/host/host_fixture.h"
#include "controls/base/interception/interception_state.h"
#include "controls/base/interception/vtable_handle.h"
#include "controls/base/native_control.h"

namespace veltrin::controls::host_test {
namespace {

// An EDIT control that logs its life into a log that outlives it.
class LifeControl : public NativeControl {
 public:
  enum class Failure { kNone, kReadProperties, kInitProperties };

  LifeControl(Log& log, Failure failure = Failure::kNone) : log_(log), failure_(failure) {}
  ~LifeControl() override {
    log_.push_back(IsWindow(container_) ? L"deleted, window alive" : L"deleted, window gone");
  }

 protected:
  const wchar_t* ChildClass() const override { return L"EDIT"; }
  void InitializeControl() override {
    container_ = hWnd();
    log_.push_back(L"Initialize");
  }
  void InitControlProperties() override {
    log_.push_back(L"InitProperties");
    if (failure_ == Failure::kInitProperties) throw RunTimeError(kInvalidPropertyValue);
  }
  void ReadControlProperties(PropertyBag&) override {
    log_.push_back(L"ReadProperties");
    if (failure_ == Failure::kReadProperties) throw RunTimeError(kInvalidPropertyValue);
  }
  void TerminateControl() override { log_.push_back(L"Terminate"); }

  // Typing '!' removes the control from its form, from inside the child's message.
  MessageResult OnChar(wchar_t code, UINT) override {
    if (code != L'!') return kNotHandled;
    Log& log = log_;
    ContainerForm()->RemoveControl(L"Life");
    log.push_back(L"handler returns");
    return 0;
  }

 private:
  Log& log_;
  Failure failure_;
  HWND container_ = nullptr;
};

class ControlLifetimeTest : public testing::Test {
 protected:
  void SetUp() override { form_ = std::make_unique<Form>(L"Lifetime test", 300, 200); }
  Log log_;  // declared first: the form's end still logs the controls' Terminate into it
  std::unique_ptr<Form> form_;
};

TEST_F(ControlLifetimeTest, TheWindowGoesBeforeTheControl) {
  form_->AddControl(std::make_unique<LifeControl>(log_), L"Life", RECT{10, 10, 110, 40});
  form_->RemoveControl(L"Life");
  const Log expected = {L"Initialize", L"InitProperties", L"Terminate", L"deleted, window gone"};
  EXPECT_EQ(log_, expected) << SideBySide(expected, log_);
}

TEST_F(ControlLifetimeTest, TerminateFollowsInitializeWhateverFailsAfterIt) {
  PropertyBag bag;
  for (const auto failure :
       {LifeControl::Failure::kReadProperties, LifeControl::Failure::kInitProperties}) {
    log_.clear();
    const bool read = failure == LifeControl::Failure::kReadProperties;
    EXPECT_THROW(form_->AddControl(std::make_unique<LifeControl>(log_, failure), L"Life",
                                   RECT{10, 10, 110, 40}, read ? &bag : nullptr),
                 RunTimeError);
    const Log expected = {L"Initialize", read ? L"ReadProperties" : L"InitProperties", L"Terminate",
                          L"deleted, window gone"};
    EXPECT_EQ(log_, expected) << SideBySide(expected, log_);
    // What Initialize registered is released again.
    EXPECT_EQ(AcceleratorCount(), 0);
    EXPECT_EQ(interception_detail::ControlPatch().RefCount(), 0);
    EXPECT_EQ(form_->ControlCount(), 0u);
  }
}

TEST_F(ControlLifetimeTest, AControlMayRemoveItselfInsideItsOwnMessage) {
  Extender& life =
      form_->AddControl(std::make_unique<LifeControl>(log_), L"Life", RECT{10, 10, 110, 40});
  auto* control = static_cast<NativeControl*>(life.Control());
  const HWND child = control->Child().Handle();
  log_.clear();
  SendMessageW(child, WM_CHAR, L'!', 1);
  const Log expected = {L"Terminate", L"handler returns", L"deleted, window gone"};
  EXPECT_EQ(log_, expected) << SideBySide(expected, log_);
  EXPECT_EQ(form_->ControlCount(), 0u);
  EXPECT_FALSE(IsWindow(child));
  // The form goes on working.
  form_->AddControl(std::make_unique<LifeControl>(log_), L"Life", RECT{10, 10, 110, 40});
  EXPECT_EQ(form_->ControlCount(), 1u);
}

}  // namespace
}  // namespace veltrin::controls::host_test
