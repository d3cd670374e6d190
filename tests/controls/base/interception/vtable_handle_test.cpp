// Interception through the host's shared tables: registration, the replacement methods' answers,
// and the installation markers.
#include "controls/base/interception/vtable_handle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/base/interception/interception_state.h"
#include "base/support/fake_ole_host.h"

namespace veltrin::controls {
namespace {

using interception_detail::AcceleratorCountRef;
using interception_detail::ControlPatch;
using interception_detail::PropertyBrowsingPatch;
using testing::FakeCompanionsHandle;
using testing::FakeHostControlHandle;
using testing::FakeSiteHandle;

// Reads the first `count` entries of the table of `object`.
std::vector<UINT_PTR> Entries(const void* object, int count) {
  const auto* table = *static_cast<const UINT_PTR* const*>(object);
  return {table, table + count};
}

// Leaves the process-wide interception state as it found it, whatever a test did.
void ResetInterception() {
  for (VTableSubclass* patch : {&ControlPatch(), &PropertyBrowsingPatch()}) {
    while (patch->RefCount() > 0) patch->Release();
    patch->UnSubclass();
  }
  RemoveInstallMarker(kControlInitMarker);
  RemoveInstallMarker(kPropertyBrowsingInitMarker);
  AcceleratorCountRef() = 0;
}

class InterceptionTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetInterception(); }
  void TearDown() override { ResetInterception(); }

  FakeSiteHandle site_;
  FakeCompanionsHandle companions_;
  FakeHostControlHandle control_{site_, &companions_};
  FakeCompanionsHandle other_companions_;
  FakeHostControlHandle other_control_{site_, &other_companions_};
  FakeHostControlHandle plain_control_{site_, nullptr};  // implements no companion
};

TEST_F(InterceptionTest, SupportNeedsTheStandardInterfaceAndItsCompanion) {
  struct Row {
    bool control_info, accelerators, property_browsing;
  };
  for (const Row row : {Row{true, true, true}, Row{false, true, false}, Row{true, false, true}}) {
    companions_.Script().control_info = row.control_info;
    companions_.Script().accelerators = row.accelerators;
    companions_.Script().property_browsing = row.property_browsing;
    EXPECT_EQ(SupportsInterception(control_.Unknown(), InterceptionKind::kControlInfo),
              row.control_info);
    EXPECT_EQ(SupportsInterception(control_.Unknown(), InterceptionKind::kAccelerators),
              row.accelerators);
    EXPECT_EQ(SupportsInterception(control_.Unknown(), InterceptionKind::kPropertyBrowsing),
              row.property_browsing);
  }
  EXPECT_FALSE(SupportsInterception(plain_control_.Unknown(), InterceptionKind::kControlInfo));
  EXPECT_FALSE(SupportsInterception(nullptr, InterceptionKind::kControlInfo));
  EXPECT_FALSE(SupportsInterception(control_.Unknown(), static_cast<InterceptionKind>(4)));
}

TEST_F(InterceptionTest, TwoControlsShareOnePatchUntilTheLastLeaves) {
  const auto before = Entries(control_.OleControl(), 7);
  EnableInterception(control_.Unknown(), InterceptionKind::kControlInfo);
  const auto patched = Entries(control_.OleControl(), 7);
  EXPECT_NE(patched[3], before[3]);
  EXPECT_NE(patched[4], before[4]);
  EXPECT_EQ(patched[5], before[5]);

  EnableInterception(other_control_.Unknown(), InterceptionKind::kControlInfo);
  EXPECT_EQ(ControlPatch().RefCount(), 2);
  EXPECT_EQ(Entries(control_.OleControl(), 7), patched);
  EXPECT_TRUE(InstallMarkerPresent(kControlInitMarker));

  DisableInterception(control_.Unknown(), InterceptionKind::kControlInfo);
  EXPECT_EQ(Entries(control_.OleControl(), 7), patched);
  EXPECT_TRUE(InstallMarkerPresent(kControlInitMarker));

  DisableInterception(other_control_.Unknown(), InterceptionKind::kControlInfo);
  EXPECT_EQ(Entries(control_.OleControl(), 7), before);
  EXPECT_EQ(ControlPatch().RefCount(), 0);
  EXPECT_FALSE(InstallMarkerPresent(kControlInitMarker));
}

TEST_F(InterceptionTest, ControlWithoutCompanionNeitherPatchesNorLosesHostBehaviour) {
  const auto before = Entries(control_.OleControl(), 7);
  EnableInterception(plain_control_.Unknown(), InterceptionKind::kControlInfo);
  EXPECT_EQ(Entries(control_.OleControl(), 7), before);
  EXPECT_EQ(ControlPatch().RefCount(), 0);

  // Patched by another control, the table still gives this one the host's answers.
  EnableInterception(control_.Unknown(), InterceptionKind::kControlInfo);
  CONTROLINFO info{};
  EXPECT_EQ(plain_control_.OleControl()->GetControlInfo(&info), testing::kHostGetControlInfo);
  MSG message{};
  EXPECT_EQ(plain_control_.OleControl()->OnMnemonic(&message), testing::kHostOnMnemonic);
  DisableInterception(plain_control_.Unknown(), InterceptionKind::kControlInfo);
  EXPECT_EQ(ControlPatch().RefCount(), 1);
  DisableInterception(control_.Unknown(), InterceptionKind::kControlInfo);
}

TEST_F(InterceptionTest, ExistingMarkerMeansNoSecondPatchButTheControlCounts) {
  const auto before = Entries(control_.OleControl(), 7);
  SetInstallMarker(kControlInitMarker);
  EnableInterception(control_.Unknown(), InterceptionKind::kControlInfo);
  EXPECT_EQ(Entries(control_.OleControl(), 7), before);
  EXPECT_EQ(ControlPatch().RefCount(), 1);
  DisableInterception(control_.Unknown(), InterceptionKind::kControlInfo);
  EXPECT_EQ(ControlPatch().RefCount(), 0);
  EXPECT_EQ(Entries(control_.OleControl(), 7), before);
}

TEST_F(InterceptionTest, GetControlInfoAnswers) {
  HACCEL table = CreateAcceleratorTableW(std::vector<ACCEL>{{FVIRTKEY, VK_RETURN, 1}}.data(), 1);
  ASSERT_NE(table, nullptr);
  struct Row {
    const char* name;
    bool handled;
    int32_t count;
    HACCEL table;
    bool throws;
    HRESULT expected;
    int host_calls;
  };
  const Row rows[] = {
      {"handled with a table", true, 1, table, false, S_OK, 0},
      {"handled without accelerators", true, 0, nullptr, false, S_OK, 0},
      {"accelerators without a table", true, 2, nullptr, false, E_OUTOFMEMORY, 0},
      {"not handled", false, 1, table, false, testing::kHostGetControlInfo, 1},
      {"companion fails", true, 1, table, true, testing::kHostGetControlInfo, 1},
  };
  EnableInterception(control_.Unknown(), InterceptionKind::kControlInfo);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    auto& script = companions_.Script();
    script.info_handled = row.handled;
    script.accel_count = row.count;
    script.accel_table = row.table;
    script.info_flags = CTRLINFO_EATS_RETURN;
    script.throws = row.throws;
    const int host_before = control_.Log().get_control_info;
    CONTROLINFO info{};
    EXPECT_EQ(control_.OleControl()->GetControlInfo(&info), row.expected);
    EXPECT_EQ(info.cb, sizeof(CONTROLINFO));
    EXPECT_EQ(control_.Log().get_control_info - host_before, row.host_calls);
    if (row.host_calls == 0) {
      EXPECT_EQ(info.cAccel, row.count);
      EXPECT_EQ(info.hAccel, row.table);
      EXPECT_EQ(info.dwFlags, static_cast<DWORD>(CTRLINFO_EATS_RETURN));
    }
    // The entry is back on after the host was called.
    EXPECT_TRUE(ControlPatch().SubclassEntry(4));
  }
  EXPECT_EQ(control_.OleControl()->GetControlInfo(nullptr), E_POINTER);
  DisableInterception(control_.Unknown(), InterceptionKind::kControlInfo);
  DestroyAcceleratorTable(table);
}

TEST_F(InterceptionTest, OnMnemonicAnswers) {
  EnableInterception(control_.Unknown(), InterceptionKind::kControlInfo);
  MSG message{nullptr, WM_SYSKEYDOWN, 'A', 0x20000001, 0, {}};
  companions_.Script().mnemonic_handled = true;
  EXPECT_EQ(control_.OleControl()->OnMnemonic(&message), S_OK);
  ASSERT_EQ(companions_.Mnemonics().size(), 1u);
  EXPECT_EQ(companions_.Mnemonics()[0], (testing::KeyCall{WM_SYSKEYDOWN, 'A', 0x20000001, 0}));
  EXPECT_EQ(control_.Log().on_mnemonic, 0);

  companions_.Script().mnemonic_handled = false;
  EXPECT_EQ(control_.OleControl()->OnMnemonic(&message), testing::kHostOnMnemonic);
  companions_.Script().throws = true;
  EXPECT_EQ(control_.OleControl()->OnMnemonic(&message), testing::kHostOnMnemonic);
  EXPECT_EQ(control_.Log().on_mnemonic, 2);
  EXPECT_EQ(control_.OleControl()->OnMnemonic(nullptr), E_INVALIDARG);
  DisableInterception(control_.Unknown(), InterceptionKind::kControlInfo);
}

class PropertyBrowsingTest : public InterceptionTest {
 protected:
  void SetUp() override {
    InterceptionTest::SetUp();
    EnableInterception(control_.Unknown(), InterceptionKind::kPropertyBrowsing);
  }
  IPerPropertyBrowsing* Browsing() { return control_.PropertyBrowsing(); }
};

TEST_F(PropertyBrowsingTest, OnlyTheThreeMethodsAreReplaced) {
  const auto patched = Entries(Browsing(), 7);
  DisableInterception(control_.Unknown(), InterceptionKind::kPropertyBrowsing);
  const auto before = Entries(Browsing(), 7);
  EXPECT_NE(patched[3], before[3]);
  EXPECT_EQ(patched[4], before[4]);
  EXPECT_NE(patched[5], before[5]);
  EXPECT_NE(patched[6], before[6]);
  EXPECT_FALSE(InstallMarkerPresent(kPropertyBrowsingInitMarker));
}

TEST_F(PropertyBrowsingTest, GetDisplayString) {
  BSTR text = nullptr;
  EXPECT_EQ(Browsing()->GetDisplayString(7, &text), E_NOTIMPL);
  EXPECT_EQ(control_.Log().get_display_string, 0);

  companions_.Script().display_handled = true;
  companions_.Script().display_name = L"3 - \u4E2D\u6587";
  EXPECT_EQ(Browsing()->GetDisplayString(7, &text), S_OK);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::wstring(text, SysStringLen(text)), L"3 - \u4E2D\u6587");
  SysFreeString(text);
  EXPECT_EQ(companions_.DispIds(), (std::vector<DISPID>{7, 7}));

  companions_.Script().throws = true;
  EXPECT_EQ(Browsing()->GetDisplayString(7, &text), E_NOTIMPL);
  EXPECT_EQ(Browsing()->GetDisplayString(7, nullptr), E_POINTER);
  CLSID page{};
  EXPECT_EQ(Browsing()->MapPropertyToPage(7, &page), testing::kHostMapPropertyToPage);
}

TEST_F(PropertyBrowsingTest, GetPredefinedStringsCopiesIntoTaskMemory) {
  auto& script = companions_.Script();
  script.strings_handled = true;
  script.strings = {L"0 - None", L"1 - \u4E2D", L""};
  script.cookies = {0, 1, -2};
  CALPOLESTR strings{};
  CADWORD cookies{};
  ASSERT_EQ(Browsing()->GetPredefinedStrings(-512, &strings, &cookies), S_OK);
  ASSERT_EQ(strings.cElems, 3u);
  ASSERT_EQ(cookies.cElems, 3u);
  for (ULONG i = 0; i < 3; ++i) {
    EXPECT_EQ(std::wstring(strings.pElems[i]), script.strings[i]);
    EXPECT_EQ(cookies.pElems[i], static_cast<DWORD>(script.cookies[i]));
    CoTaskMemFree(strings.pElems[i]);
  }
  CoTaskMemFree(strings.pElems);
  CoTaskMemFree(cookies.pElems);
  EXPECT_EQ(control_.Log().get_predefined_strings, 0);
}

TEST_F(PropertyBrowsingTest, CookieArrayOfAnotherSizeIsResizedToTheStrings) {
  auto& script = companions_.Script();
  script.strings_handled = true;
  script.strings = {L"a", L"b", L"c"};
  script.cookies = {5};
  script.cookie_bound = 1;
  CALPOLESTR strings{};
  CADWORD cookies{};
  ASSERT_EQ(Browsing()->GetPredefinedStrings(1, &strings, &cookies), S_OK);
  ASSERT_EQ(cookies.cElems, 3u);
  EXPECT_EQ(cookies.pElems[0], 5u);
  EXPECT_EQ(cookies.pElems[1], 0u);
  EXPECT_EQ(cookies.pElems[2], 0u);
  for (ULONG i = 0; i < strings.cElems; ++i) CoTaskMemFree(strings.pElems[i]);
  CoTaskMemFree(strings.pElems);
  CoTaskMemFree(cookies.pElems);
}

TEST_F(PropertyBrowsingTest, GetPredefinedStringsFallsBackToTheDefaultEditor) {
  struct Row {
    const char* name;
    bool handled;
    std::vector<std::wstring> strings;
    bool throws;
  };
  const Row rows[] = {
      {"upper bound 0", true, {}, false},
      {"not handled", false, {L"a"}, false},
      {"companion fails", true, {L"a"}, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    companions_.Script().strings_handled = row.handled;
    companions_.Script().strings = row.strings;
    companions_.Script().throws = row.throws;
    CALPOLESTR strings{};
    CADWORD cookies{};
    EXPECT_EQ(Browsing()->GetPredefinedStrings(1, &strings, &cookies), E_NOTIMPL);
    EXPECT_EQ(strings.pElems, nullptr);
    EXPECT_EQ(cookies.pElems, nullptr);
  }
  CALPOLESTR strings{};
  CADWORD cookies{};
  EXPECT_EQ(Browsing()->GetPredefinedStrings(1, nullptr, &cookies), E_POINTER);
  EXPECT_EQ(Browsing()->GetPredefinedStrings(1, &strings, nullptr), E_POINTER);
  EXPECT_EQ(control_.Log().get_predefined_strings, 0);
}

TEST_F(PropertyBrowsingTest, GetPredefinedValue) {
  VARIANT value;
  VariantInit(&value);
  EXPECT_EQ(Browsing()->GetPredefinedValue(3, 2, &value), E_NOTIMPL);
  companions_.Script().value_handled = true;
  companions_.Script().value = 40;
  EXPECT_EQ(Browsing()->GetPredefinedValue(3, 2, &value), S_OK);
  EXPECT_EQ(value.vt, VT_I4);
  EXPECT_EQ(value.lVal, 42);
  EXPECT_EQ(Browsing()->GetPredefinedValue(3, 2, nullptr), E_POINTER);
  EXPECT_EQ(control_.Log().get_predefined_value, 0);
}

TEST_F(InterceptionTest, AcceleratorRegistrationCounts) {
  EnableInterception(control_.Unknown(), InterceptionKind::kAccelerators);
  EnableInterception(other_control_.Unknown(), InterceptionKind::kAccelerators);
  EnableInterception(plain_control_.Unknown(), InterceptionKind::kAccelerators);
  EXPECT_EQ(AcceleratorCount(), 2);
  DisableInterception(control_.Unknown(), InterceptionKind::kAccelerators);
  DisableInterception(other_control_.Unknown(), InterceptionKind::kAccelerators);
  DisableInterception(other_control_.Unknown(), InterceptionKind::kAccelerators);
  EXPECT_EQ(AcceleratorCount(), 0);
}

// A top-level window of a registered class, destroyed (and its class unregistered) at the end.
class ScopedTopWindow {
 public:
  ScopedTopWindow(const wchar_t* class_name, HWND owner = nullptr) : class_name_(class_name) {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = class_name;
    RegisterClassW(&window_class);
    window_ = CreateWindowExW(0, class_name, L"", WS_POPUP, 0, 0, 10, 10, owner, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  }
  ~ScopedTopWindow() {
    DestroyWindow(window_);
    UnregisterClassW(class_name_.c_str(), GetModuleHandleW(nullptr));
  }
  HWND Get() const { return window_; }

 private:
  std::wstring class_name_;
  HWND window_ = nullptr;
};

TEST(HostMainWindowTest, ClassNameTest) {
  struct Row {
    const wchar_t* class_name;
    bool found;
  };
  const Row rows[] = {
      {L"ThunderHostMain", true},    {L"ThunderMain", true},          {L"ThunderHostForm", false},
      {L"ThunderMainWindow", false}, {L"ThunderMainHostMain", false}, {L"XThunderHostMain", false},
      {L"Thunder", false},
  };
  ASSERT_EQ(FindHostMainWindow(), nullptr);
  for (const Row& row : rows) {
    ScopedTopWindow window(row.class_name);
    ASSERT_NE(window.Get(), nullptr);
    EXPECT_EQ(FindHostMainWindow(), row.found ? window.Get() : nullptr)
        << std::string(row.class_name, row.class_name + wcslen(row.class_name));
  }
}

TEST(HostMainWindowTest, OwnedWindowIsNotTheMainWindow) {
  ScopedTopWindow owner(L"VeltrinTestOwner");
  ScopedTopWindow owned(L"ThunderHostMain", owner.Get());
  EXPECT_EQ(FindHostMainWindow(), nullptr);
}

TEST_F(InterceptionTest, MarkerLivesOnTheHostMainWindowWhenThereIsOne) {
  ScopedTopWindow main(L"ThunderHostMain");
  const auto before = Entries(control_.OleControl(), 7);
  EnableInterception(control_.Unknown(), InterceptionKind::kControlInfo);
  EXPECT_EQ(GetPropW(main.Get(), kControlInitMarker), reinterpret_cast<HANDLE>(1));
  DisableInterception(control_.Unknown(), InterceptionKind::kControlInfo);
  EXPECT_EQ(GetPropW(main.Get(), kControlInitMarker), nullptr);

  // Another copy of this code in the thread marked the table as patched.
  SetPropW(main.Get(), kControlInitMarker, reinterpret_cast<HANDLE>(1));
  EnableInterception(control_.Unknown(), InterceptionKind::kControlInfo);
  EXPECT_EQ(Entries(control_.OleControl(), 7), before);
  EXPECT_EQ(ControlPatch().RefCount(), 1);
  EXPECT_FALSE(InstallMarkerPresent(kPropertyBrowsingInitMarker));
  DisableInterception(control_.Unknown(), InterceptionKind::kControlInfo);
}

}  // namespace
}  // namespace veltrin::controls
