// The accelerator wrapper on the frame, and the other conversations with the control's site.
#include <gtest/gtest.h>

#include <string>

#include "common/run_time_error.h"
#include "base/support/fake_ole_host.h"
#include "controls/base/interception/interception_state.h"
#include "controls/base/interception/vtable_handle.h"

namespace veltrin::controls {
namespace {

using testing::FakeCompanionsHandle;
using testing::FakeHostControlHandle;
using testing::FakeSiteHandle;

class AcceleratorTest : public ::testing::Test {
 protected:
  void SetUp() override { interception_detail::AcceleratorCountRef() = 0; }
  void TearDown() override {
    DeactivateAccelerators();
    interception_detail::AcceleratorCountRef() = 0;
  }
  // Activates with the control registered for accelerators and returns the frame's object.
  IOleInPlaceActiveObject* ActivateWrapped() {
    EnableInterception(control_.Unknown(), InterceptionKind::kAccelerators);
    ActivateAccelerators(control_.Unknown());
    return site_.FrameActiveObject();
  }

  FakeSiteHandle site_;
  FakeCompanionsHandle companions_;
  FakeHostControlHandle control_{site_, &companions_};
};

TEST_F(AcceleratorTest, WithoutRegisteredControlsTheControlItselfIsActive) {
  ActivateAccelerators(control_.Unknown());
  ASSERT_EQ(site_.Log().frame_active.size(), 1u);
  EXPECT_EQ(site_.Log().frame_active[0], control_.ActiveObject());
  EXPECT_EQ(site_.Log().document_active, site_.Log().frame_active);
  // Nothing is wrapped, so there is nothing to take back.
  DeactivateAccelerators();
  EXPECT_EQ(site_.Log().frame_active.size(), 1u);
}

TEST_F(AcceleratorTest, RegisteredControlGetsTheWrapperUntilDeactivated) {
  const ULONG refs_before = control_.RefCount();
  IOleInPlaceActiveObject* wrapper = ActivateWrapped();
  ASSERT_NE(wrapper, nullptr);
  EXPECT_NE(wrapper, control_.ActiveObject());
  EXPECT_EQ(site_.Log().document_active, site_.Log().frame_active);

  DeactivateAccelerators();
  EXPECT_EQ(site_.Log().frame_active.back(), nullptr);
  EXPECT_EQ(site_.Log().document_active.back(), nullptr);
  EXPECT_EQ(control_.RefCount(), refs_before);
  EXPECT_EQ(companions_.RefCount(), 1u);
}

TEST_F(AcceleratorTest, FrameWithoutDocumentWindow) {
  FakeSiteHandle site(false);
  FakeHostControlHandle control(site, &companions_);
  EnableInterception(control.Unknown(), InterceptionKind::kAccelerators);
  ActivateAccelerators(control.Unknown());
  EXPECT_EQ(site.Log().frame_active.size(), 1u);
  EXPECT_TRUE(site.Log().document_active.empty());
  DeactivateAccelerators();
  EXPECT_EQ(site.Log().frame_active.back(), nullptr);
}

TEST_F(AcceleratorTest, ActivatingAnotherControlReleasesTheFirst) {
  FakeCompanionsHandle other_companions;
  FakeHostControlHandle other(site_, &other_companions);
  const ULONG first_refs = control_.RefCount();
  const ULONG other_refs = other.RefCount();
  ActivateWrapped();
  ActivateAccelerators(other.Unknown());
  EXPECT_EQ(control_.RefCount(), first_refs);
  DeactivateAccelerators();
  EXPECT_EQ(other.RefCount(), other_refs);
}

TEST_F(AcceleratorTest, WrapperIdentityAndForwarding) {
  IOleInPlaceActiveObject* wrapper = ActivateWrapped();
  ASSERT_NE(wrapper, nullptr);
  void* result = nullptr;
  EXPECT_EQ(wrapper->QueryInterface(IID_IOleInPlaceActiveObject, nullptr), E_POINTER);
  ASSERT_EQ(wrapper->QueryInterface(IID_IOleInPlaceActiveObject, &result), S_OK);
  EXPECT_EQ(result, wrapper);
  wrapper->Release();
  ASSERT_EQ(wrapper->QueryInterface(IID_IOleObject, &result), S_OK);
  EXPECT_EQ(result, control_.OleObject());
  static_cast<IUnknown*>(result)->Release();

  const ULONG refs = control_.RefCount();
  wrapper->AddRef();
  EXPECT_EQ(control_.RefCount(), refs + 1);
  wrapper->Release();
  EXPECT_EQ(control_.RefCount(), refs);

  HWND window = nullptr;
  EXPECT_EQ(wrapper->GetWindow(&window), S_OK);
  EXPECT_EQ(window, control_.Window());
  EXPECT_EQ(wrapper->EnableModeless(TRUE), S_OK);
  EXPECT_EQ(control_.Log().enable_modeless, 1);
}

TEST_F(AcceleratorTest, TranslateAcceleratorAsksTheCompanionFirst) {
  IOleInPlaceActiveObject* wrapper = ActivateWrapped();
  ASSERT_NE(wrapper, nullptr);
  struct Row {
    const char* name;
    bool handled;
    HRESULT result;
    bool throws;
    HRESULT expected;
    int host_calls;
  };
  const Row rows[] = {
      {"handled, translated", true, S_OK, false, S_OK, 0},
      {"handled, not translated", true, S_FALSE, false, S_FALSE, 0},
      {"not handled", false, S_OK, false, testing::kHostTranslateAccelerator, 1},
      {"companion fails", true, S_OK, true, testing::kHostTranslateAccelerator, 1},
  };
  MSG message{nullptr, WM_KEYDOWN, VK_TAB, 0x000F0001, 0, {}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    companions_.Script().translate_handled = row.handled;
    companions_.Script().translate_result = row.result;
    companions_.Script().throws = row.throws;
    const int host_before = control_.Log().translate_accelerator;
    EXPECT_EQ(wrapper->TranslateAccelerator(&message), row.expected);
    EXPECT_EQ(control_.Log().translate_accelerator - host_before, row.host_calls);
  }
  ASSERT_FALSE(companions_.Translations().empty());
  EXPECT_EQ(companions_.Translations()[0], (testing::KeyCall{WM_KEYDOWN, VK_TAB, 0x000F0001, 0}));
  EXPECT_EQ(wrapper->TranslateAccelerator(nullptr), E_INVALIDARG);
}

TEST_F(AcceleratorTest, ControlWithoutCompanionKeepsItsOwnActiveObject) {
  FakeHostControlHandle plain(site_, nullptr);
  interception_detail::AcceleratorCountRef() = 1;
  ActivateAccelerators(plain.Unknown());
  EXPECT_EQ(site_.FrameActiveObject(), plain.ActiveObject());
}

TEST_F(AcceleratorTest, SyncObjectRectsPassesTheSiteRectangles) {
  site_.SetRects({10, 20, 110, 70}, {10, 20, 60, 70});
  SyncObjectRects(control_.Unknown());
  EXPECT_TRUE(EqualRect(&control_.Log().position, std::data({RECT{10, 20, 110, 70}})));
  EXPECT_TRUE(EqualRect(&control_.Log().clip, std::data({RECT{10, 20, 60, 70}})));
  SyncObjectRects(nullptr);  // ignored
}

TEST_F(AcceleratorTest, NotifyControlInfoChanged) {
  NotifyControlInfoChanged(control_.Unknown(), false);
  EXPECT_EQ(site_.Log().control_info_changed, 1);
  EXPECT_TRUE(site_.Log().focus.empty());
  NotifyControlInfoChanged(control_.Unknown(), true);
  EXPECT_EQ(site_.Log().control_info_changed, 2);
  EXPECT_EQ(site_.Log().focus, std::vector<BOOL>{TRUE});
  NotifyControlInfoChanged(nullptr, true);  // ignored
}

// An automation object that knows one member.
class OneMemberDispatch final : public IDispatch {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override {
    *result = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch)) return E_NOINTERFACE;
    *result = this;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    if (!IsEqualIID(iid, IID_NULL) || count != 1 || locale != 0) return E_INVALIDARG;
    if (std::wstring(names[0]) != L"MousePointer") return DISP_E_UNKNOWNNAME;
    ids[0] = 0x68030001;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }
};

TEST(GetDispIdTest, NamesAMemberOrRaises) {
  OneMemberDispatch object;
  EXPECT_EQ(GetDispId(&object, L"MousePointer"), 0x68030001);
  try {
    GetDispId(&object, L"NoSuchMember");
    FAIL() << "no error raised";
  } catch (const RunTimeError& error) {
    EXPECT_EQ(error.Number(), 438);
  }
  EXPECT_THROW(GetDispId(nullptr, L"MousePointer"), RunTimeError);
}

}  // namespace
}  // namespace veltrin::controls
