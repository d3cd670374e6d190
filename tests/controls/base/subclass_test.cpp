// The subclassing core: receiver order, pass-down, install/remove bookkeeping, destruction and
// failing receivers, driven by real messages to real windows.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/run_time_error.h"
#include "controls/base/subclass.h"
#include "base/support/test_window.h"

namespace veltrin::controls {
namespace {

using testing::kProbeMessage;
using testing::kProbeResult;
using testing::TestWindow;

constexpr UINT kUahDestroyWindow = 0x90;

// One call as a receiver saw it.
struct Call {
  std::string receiver;
  UINT message;
  DWORD_PTR ref_data;
  bool operator==(const Call&) const = default;
};

void PrintTo(const Call& call, std::ostream* out) {
  *out << "{" << call.receiver << ", 0x" << std::hex << call.message << std::dec << ", "
       << call.ref_data << "}";
}

// Logs every message into a shared log; on the probe message it passes down and adds `add_`.
class LoggingReceiver : public SubclassReceiver {
 public:
  LoggingReceiver(std::string name, std::vector<Call>& log, LRESULT add = 0)
      : name_(std::move(name)), log_(log), add_(add) {}

  LRESULT STDMETHODCALLTYPE Message(HWND window, UINT message, WPARAM w_param, LPARAM l_param,
                                    DWORD_PTR ref_data) override {
    log_.push_back({name_, message, ref_data});
    if (throws_ && message == kProbeMessage) throw RunTimeError(kInvalidPropertyValue);
    const LRESULT result = DefaultWindowProc(window, message, w_param, l_param);
    return message == kProbeMessage ? result + add_ : result;
  }

  bool throws_ = false;  // throw on the probe message instead of answering

 private:
  std::string name_;
  std::vector<Call>& log_;
  LRESULT add_;
};

// Only the probe-message calls of a log.
std::vector<Call> Probes(const std::vector<Call>& log) {
  std::vector<Call> probes;
  for (const Call& call : log) {
    if (call.message == kProbeMessage) probes.push_back(call);
  }
  return probes;
}

// A COM object that is not a receiver: SubclassProc must fall back to the default procedure.
class NotAReceiver : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown)) {
      *object = this;
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

class SubclassTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(window_.Handle(), nullptr); }

  LRESULT Probe() { return SendMessageW(window_.Handle(), kProbeMessage, 0, 0); }
  HANDLE Property(const wchar_t* name) { return GetPropW(window_.Handle(), name); }

  TestWindow window_;
  std::vector<Call> log_;
};

TEST_F(SubclassTest, NewestReceiverFirstAndEachPassesDown) {
  LoggingReceiver older("older", log_, 10);
  LoggingReceiver newer("newer", log_, 100);
  SubclassWindow(window_.Handle(), &older, 1, L"First");
  SubclassWindow(window_.Handle(), &newer, 2, L"Second");

  EXPECT_EQ(Probe(), kProbeResult + 10 + 100);
  EXPECT_EQ(Probes(log_),
            (std::vector<Call>{{"newer", kProbeMessage, 2}, {"older", kProbeMessage, 1}}));
  EXPECT_EQ(window_.BaseCount(kProbeMessage), 1);
  UnsubclassWindow(window_.Handle(), L"First");
  UnsubclassWindow(window_.Handle(), L"Second");
}

TEST_F(SubclassTest, DefaultNameAndItsProperties) {
  LoggingReceiver receiver("r", log_);
  SubclassWindow(window_.Handle(), &receiver, 1);
  EXPECT_EQ(Property(L"ComCtlSubclassInit"), reinterpret_cast<HANDLE>(1));
  EXPECT_EQ(Property(L"ComCtlSubclassID"), static_cast<HANDLE>(static_cast<ISubclass*>(&receiver)));

  UnsubclassWindow(window_.Handle(), L"");  // empty means the default name too
  EXPECT_EQ(Property(L"ComCtlSubclassInit"), nullptr);
  EXPECT_EQ(Property(L"ComCtlSubclassID"), nullptr);
  EXPECT_EQ(Probe(), kProbeResult);
  EXPECT_TRUE(Probes(log_).empty());
}

TEST_F(SubclassTest, SecondInstallUnderSameNameIsIgnored) {
  LoggingReceiver first("first", log_);
  LoggingReceiver second("second", log_);
  SubclassWindow(window_.Handle(), &first, 1, L"Same");
  SubclassWindow(window_.Handle(), &second, 2, L"Same");
  SubclassWindow(window_.Handle(), &first, 3, L"Same");

  Probe();
  EXPECT_EQ(Probes(log_), (std::vector<Call>{{"first", kProbeMessage, 1}}));
  EXPECT_EQ(Property(L"SameSubclassID"), static_cast<HANDLE>(static_cast<ISubclass*>(&first)));
  UnsubclassWindow(window_.Handle(), L"Same");
}

TEST_F(SubclassTest, SameReceiverUnderTwoNamesIsOneSubclassWithTheLaterData) {
  LoggingReceiver receiver("r", log_);
  SubclassWindow(window_.Handle(), &receiver, 1, L"One");
  SubclassWindow(window_.Handle(), &receiver, 2, L"Two");

  Probe();
  EXPECT_EQ(Probes(log_), (std::vector<Call>{{"r", kProbeMessage, 2}}));
  UnsubclassWindow(window_.Handle(), L"One");
  UnsubclassWindow(window_.Handle(), L"Two");
}

// The common-dialog hooks number their windows -1 to -10; the number must come back signed at both
// pointer sizes, however it was given.
TEST_F(SubclassTest, NegativeReferenceNumbersComeBackSigned) {
  LoggingReceiver receiver("r", log_);
  SubclassWindow(window_.Handle(), &receiver, -10, L"Dialog");
  Probe();
  ASSERT_EQ(Probes(log_).size(), 1u);
  EXPECT_EQ(RefNumber(Probes(log_)[0].ref_data), -10);
  UnsubclassWindow(window_.Handle(), L"Dialog");

  log_.clear();
  const LONG_PTR number = -1;
  SubclassWindow(window_.Handle(), &receiver, number, L"Dialog");
  Probe();
  ASSERT_EQ(Probes(log_).size(), 1u);
  EXPECT_EQ(RefNumber(Probes(log_)[0].ref_data), -1);
  EXPECT_EQ(Probes(log_)[0].ref_data, RefData(-1));
  UnsubclassWindow(window_.Handle(), L"Dialog");

  EXPECT_EQ(RefNumber(RefData(-10)), -10);
  EXPECT_EQ(RefNumber(2), 2);
  EXPECT_LT(RefNumber(RefData(-3)), 0) << "a range check on the signed view works";
}

TEST_F(SubclassTest, RemovingWhatWasNeverInstalledDoesNothing) {
  LoggingReceiver receiver("r", log_);
  UnsubclassWindow(window_.Handle(), L"Missing");  // no property at all
  SubclassWindow(nullptr, &receiver, 1);           // null window: no-op, no crash
  UnsubclassWindow(nullptr);

  // An "Init" property with another value than 1 is not ours to remove.
  SubclassWindow(window_.Handle(), &receiver, 1, L"Odd");
  SetPropW(window_.Handle(), L"OddSubclassInit", reinterpret_cast<HANDLE>(2));
  UnsubclassWindow(window_.Handle(), L"Odd");
  Probe();
  EXPECT_EQ(Probes(log_).size(), 1u);
  EXPECT_NE(Property(L"OddSubclassID"), nullptr);

  SetPropW(window_.Handle(), L"OddSubclassInit", reinterpret_cast<HANDLE>(1));
  UnsubclassWindow(window_.Handle(), L"Odd");
  Probe();
  EXPECT_EQ(Probes(log_).size(), 1u);
}

TEST_F(SubclassTest, ReceiverErrorGivesZeroWithoutDefaultProcessing) {
  LoggingReceiver older("older", log_, 10);
  LoggingReceiver failing("failing", log_);
  failing.throws_ = true;
  SubclassWindow(window_.Handle(), &older, 1, L"Older");
  SubclassWindow(window_.Handle(), &failing, 2, L"Failing");

  EXPECT_EQ(Probe(), 0);
  EXPECT_EQ(Probes(log_), (std::vector<Call>{{"failing", kProbeMessage, 2}}));
  EXPECT_EQ(window_.BaseCount(kProbeMessage), 0);
  UnsubclassWindow(window_.Handle(), L"Failing");
  UnsubclassWindow(window_.Handle(), L"Older");
}

TEST_F(SubclassTest, ObjectWithoutTheInterfaceGetsDefaultProcessing) {
  NotAReceiver object;
  ASSERT_TRUE(
      SetWindowSubclass(window_.Handle(), SubclassProc, reinterpret_cast<UINT_PTR>(&object), 0));
  EXPECT_EQ(Probe(), kProbeResult);
  RemoveWindowSubclass(window_.Handle(), SubclassProc, reinterpret_cast<UINT_PTR>(&object));
}

TEST_F(SubclassTest, ThemeDestroyMessageRemovesTheSubclassButLeavesTheProperties) {
  LoggingReceiver receiver("r", log_);
  SubclassWindow(window_.Handle(), &receiver, 1);
  SendMessageW(window_.Handle(), kUahDestroyWindow, 0, 0);
  EXPECT_EQ(window_.BaseCount(kUahDestroyWindow), 1);

  Probe();
  EXPECT_TRUE(Probes(log_).empty());
  EXPECT_EQ(Property(L"ComCtlSubclassInit"), reinterpret_cast<HANDLE>(1));
  for (const Call& call : log_) EXPECT_NE(call.message, kUahDestroyWindow);
  UnsubclassWindow(window_.Handle());  // the chain no longer holds it: harmless
  EXPECT_EQ(Property(L"ComCtlSubclassInit"), nullptr);
}

TEST(SubclassDestruction, DyingWindowDropsItsSubclassesAndReceiversNeverSeeTheEnd) {
  std::vector<Call> log;
  LoggingReceiver first("first", log);
  LoggingReceiver second("second", log);
  TestWindow window;
  const HWND handle = window.Handle();
  SubclassWindow(handle, &first, 1, L"A");
  SubclassWindow(handle, &second, 2, L"B");

  DestroyWindow(handle);
  EXPECT_FALSE(IsWindow(handle));
  EXPECT_EQ(window.BaseCount(WM_DESTROY), 1);
  EXPECT_EQ(window.BaseCount(WM_NCDESTROY), 1);
  for (const Call& call : log) {
    EXPECT_NE(call.message, UINT{WM_DESTROY});
    EXPECT_NE(call.message, UINT{WM_NCDESTROY});
  }
  UnsubclassWindow(handle, L"A");
  UnsubclassWindow(handle, L"B");
}

}  // namespace
}  // namespace veltrin::controls
