// Container validation from a hosted control: the form validates the focused control, and a
// cancelled validation reaches the caller as error 380.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "common/run_time_error.h"
#include "controls/base/container_validation.h"
#include "controls/base/host/extender.h"
#include "controls/base/host/form.h"
#include "controls/base/host/user_control.h"

namespace veltrin::controls {
namespace {

class PlainControl : public UserControl {};

class ValidateLog : public ExtenderEvents {
 public:
  void Validate(bool& cancel) override {
    ++calls;
    cancel = cancel_next;
  }
  int calls = 0;
  bool cancel_next = false;
};

TEST(ContainerValidation, RunsTheFormsValidationAndLetsItsCancelThrough) {
  Form form(L"validation", 300, 200);
  Extender& first =
      form.AddControl(std::make_unique<PlainControl>(), L"First", RECT{10, 10, 90, 40});
  Extender& second =
      form.AddControl(std::make_unique<PlainControl>(), L"Second", RECT{10, 60, 90, 90});
  ValidateLog events;
  first.Events().Connect(&events);
  first.SetFocus();
  UserControl& asking = *second.Control();
  EXPECT_EQ(&OutermostUserControl(asking), &asking) << "this host nests no user controls";

  ValidateContainerControls(asking);
  EXPECT_EQ(events.calls, 1);

  events.cancel_next = true;
  try {
    ValidateContainerControls(asking);
    ADD_FAILURE() << "a cancelled validation must raise";
  } catch (const RunTimeError& e) {
    EXPECT_EQ(e.Number(), kInvalidPropertyValue);
  }
  EXPECT_EQ(events.calls, 2);
  first.Events().Connect(nullptr);
}

TEST(ContainerValidation, UnhostedControlHasNothingToValidate) {
  PlainControl alone;
  EXPECT_EQ(&OutermostUserControl(alone), &alone);
  ValidateContainerControls(alone);
}

}  // namespace
}  // namespace veltrin::controls
