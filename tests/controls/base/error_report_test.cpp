// Errors that no caller can receive are reported with their number and text: from a message
// handler, a subclass receiver and the form's close handlers.
#include "controls/base/error_report.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "common/run_time_error.h"
#include "controls/base/host/form.h"
#include "controls/base/subclass.h"

namespace veltrin::controls {
namespace {

std::vector<std::pair<int32_t, std::wstring>> reported;

void Record(int32_t number, std::wstring_view text) noexcept {
  try {
    reported.emplace_back(number, std::wstring(text));
  } catch (...) {
  }
}

// Installs the recording observer for a test and puts the previous one back.
class ErrorReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reported.clear();
    previous_ = SetErrorObserver(Record);
  }
  void TearDown() override { SetErrorObserver(previous_); }

 private:
  ErrorObserver previous_ = nullptr;
};

class ThrowingReceiver final : public SubclassReceiver {
 public:
  LRESULT STDMETHODCALLTYPE Message(HWND, UINT message, WPARAM, LPARAM, DWORD_PTR) override {
    if (message == WM_APP) throw RunTimeError(kInvalidProcedureCall, u"receiver failed");
    return 0;
  }
};

class FailingForm final : public Form {
 protected:
  void Resize() override { throw RunTimeError(kInvalidPropertyValue, u"resize failed"); }
  void QueryUnload(bool&, UnloadMode) override { throw std::runtime_error("no unload"); }
};

TEST_F(ErrorReportTest, EveryCatchingPlaceReportsNumberAndText) {
  FailingForm form;
  ThrowingReceiver receiver;
  SubclassWindow(form.hWnd(), &receiver, 0, L"ErrorReportTest");
  SendMessageW(form.hWnd(), WM_APP, 0, 0);
  UnsubclassWindow(form.hWnd(), L"ErrorReportTest");
  SetWindowPos(form.hWnd(), nullptr, 0, 0, 321, 123, SWP_NOMOVE | SWP_NOZORDER);
  SendMessageW(form.hWnd(), WM_CLOSE, 0, 0);
  ASSERT_GE(reported.size(), 3U);
  EXPECT_EQ(reported[0], (std::pair<int32_t, std::wstring>{5, L"receiver failed"}));
  EXPECT_EQ(reported[1], (std::pair<int32_t, std::wstring>{380, L"resize failed"}));
  EXPECT_EQ(reported.back(), (std::pair<int32_t, std::wstring>{0, L"no unload"}));
}

}  // namespace
}  // namespace veltrin::controls
