// The COM side of the host: shared interface tables, member identifiers, the in-place site and
// frame, and the message loop offering keys to the active object first.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "host_fixture.h"

namespace veltrin::controls::host_test {
namespace {

// An active object that keeps the keys it is told to keep and logs every offer.
class KeyKeeper : public IOleInPlaceActiveObject {
 public:
  explicit KeyKeeper(WPARAM kept) : kept_(kept) {}
  std::vector<std::pair<UINT, WPARAM>> offered;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IOleWindow && iid != IID_IOleInPlaceActiveObject) {
      return E_NOINTERFACE;
    }
    *object = this;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }  // lives on the stack
  HRESULT STDMETHODCALLTYPE GetWindow(HWND*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG message) override {
    offered.emplace_back(message->message, message->wParam);
    return message->message == WM_KEYDOWN && message->wParam == kept_ ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }

  ULONG references = 1;

 private:
  WPARAM kept_;
};

// An interface identifier the host does not know.
constexpr IID kCompanionIid = {
    0x5A1D0C11, 0x7E3B, 0x4C2A, {0x9F, 0x10, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}};

// A control that answers one extra interface through the companion hook.
class CompanionControl : public LoggingControl {
 public:
  using LoggingControl::LoggingControl;
  KeyKeeper companion{0};

 protected:
  HRESULT QueryCompanion(REFIID iid, void** object) override {
    *object = nullptr;
    if (iid != kCompanionIid) return E_NOINTERFACE;
    *object = static_cast<IUnknown*>(&companion);
    companion.AddRef();
    return S_OK;
  }
};

LRESULT CALLBACK LogKeys(HWND window, UINT message, WPARAM w_param, LPARAM l_param, UINT_PTR,
                         DWORD_PTR data) {
  if (message == WM_KEYDOWN) reinterpret_cast<std::vector<WPARAM>*>(data)->push_back(w_param);
  return DefSubclassProc(window, message, w_param, l_param);
}

template <typename T>
ComPtr<T> Query(IUnknown* object, REFIID iid) {
  ComPtr<T> result;
  EXPECT_EQ(object->QueryInterface(iid, result.PutVoid()), S_OK);
  return result;
}

void* VTableOf(IUnknown* object) {
  return *reinterpret_cast<void**>(object);
}

class ComTest : public testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<Form>(L"COM test", 400, 300);
    form_->Show();
    SetForegroundWindow(form_->hWnd());
    a_ = &form_->AddControl(std::make_unique<LoggingControl>(nullptr, L"A"), L"A",
                            RECT{10, 10, 110, 40});
    b_ = &form_->AddControl(std::make_unique<LoggingControl>(nullptr, L"B"), L"B",
                            RECT{150, 10, 250, 40});
  }
  IUnknown* ObjectOf(Extender* item) { return item->Control()->ControlUnknown(); }

  std::unique_ptr<Form> form_;
  Extender* a_ = nullptr;
  Extender* b_ = nullptr;
};

TEST_F(ComTest, EveryControlSharesOneTablePerInterface) {
  const IID* interfaces[] = {&IID_IOleObject,           &IID_IOleControl,
                             &IID_IOleInPlaceObject,    &IID_IOleInPlaceActiveObject,
                             &IID_IPerPropertyBrowsing, &IID_IDispatch};
  for (const IID* iid : interfaces) {
    auto in_a = Query<IUnknown>(ObjectOf(a_), *iid);
    auto in_b = Query<IUnknown>(ObjectOf(b_), *iid);
    ASSERT_TRUE(in_a && in_b);
    EXPECT_NE(in_a.Get(), in_b.Get());
    EXPECT_EQ(VTableOf(in_a.Get()), VTableOf(in_b.Get()));
  }
  auto unknown = Query<IUnknown>(ObjectOf(a_), IID_IUnknown);
  EXPECT_EQ(unknown.Get(), ObjectOf(a_));  // one identity
  ComPtr<IUnknown> none;
  EXPECT_EQ(ObjectOf(a_)->QueryInterface(IID_IStream, none.PutVoid()), E_NOINTERFACE);
}

TEST_F(ComTest, HostDefaultsOfThePatchableInterfaces) {
  auto control = Query<IOleControl>(ObjectOf(a_), IID_IOleControl);
  CONTROLINFO info{};
  EXPECT_EQ(control->GetControlInfo(&info), S_OK);
  EXPECT_EQ(info.cb, sizeof(CONTROLINFO));
  EXPECT_EQ(info.dwFlags, 0u);
  EXPECT_EQ(control->GetControlInfo(nullptr), E_POINTER);
  auto browsing = Query<IPerPropertyBrowsing>(ObjectOf(a_), IID_IPerPropertyBrowsing);
  BSTR text = nullptr;
  EXPECT_EQ(browsing->GetDisplayString(42, &text), E_NOTIMPL);
  CALPOLESTR strings{};
  CADWORD cookies{};
  EXPECT_EQ(browsing->GetPredefinedStrings(42, &strings, &cookies), E_NOTIMPL);
  auto active = Query<IOleInPlaceActiveObject>(ObjectOf(a_), IID_IOleInPlaceActiveObject);
  MSG message{a_->hWnd(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_EQ(active->TranslateAccelerator(&message), S_FALSE);
  HWND window = nullptr;
  EXPECT_EQ(active->GetWindow(&window), S_OK);
  EXPECT_EQ(window, a_->hWnd());
}

TEST_F(ComTest, GetIDsOfNamesKnowsTheControlsMembers) {
  auto dispatch = Query<IDispatch>(ObjectOf(a_), IID_IDispatch);
  struct Row {
    const wchar_t* name;
    HRESULT result;
    DISPID id;
  };
  const Row rows[] = {{L"MousePointer", S_OK, 42},
                      {L"mousepointer", S_OK, 42},
                      {L"Text", S_OK, 0},
                      {L"NoSuchMember", DISP_E_UNKNOWNNAME, DISPID_UNKNOWN}};
  for (const Row& row : rows) {
    LPOLESTR name = const_cast<LPOLESTR>(row.name);
    DISPID id = 12345;
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), row.result) << row.name;
    EXPECT_EQ(id, row.id) << row.name;
  }
}

TEST_F(ComTest, CompanionInterfacesComeFromTheControl) {
  auto& c = form_->AddControl(std::make_unique<CompanionControl>(nullptr, L"C"), L"C",
                              RECT{10, 100, 110, 130});
  auto* control = static_cast<CompanionControl*>(c.Control());
  ComPtr<IUnknown> companion;
  ASSERT_EQ(ObjectOf(&c)->QueryInterface(kCompanionIid, companion.PutVoid()), S_OK);
  EXPECT_EQ(companion.Get(), static_cast<IUnknown*>(&control->companion));
  ComPtr<IUnknown> none;
  EXPECT_EQ(ObjectOf(a_)->QueryInterface(kCompanionIid, none.PutVoid()), E_NOINTERFACE);
}

TEST_F(ComTest, TheMessageLoopOffersKeysToTheActiveObjectFirst) {
  KeyKeeper keeper(VK_F2);
  a_->SetFocus();
  std::vector<WPARAM> reached;
  ASSERT_TRUE(SetWindowSubclass(a_->hWnd(), LogKeys, 1, reinterpret_cast<DWORD_PTR>(&reached)));
  ASSERT_EQ(form_->Frame()->SetActiveObject(&keeper, nullptr), S_OK);
  EXPECT_EQ(form_->ActiveObject(), &keeper);

  PressKey(*form_, VK_F2);   // kept by the active object: never dispatched
  PressKey(*form_, 'X');     // not kept: dispatched to the focused control
  PressKey(*form_, VK_TAB);  // not kept: the form moves the focus
  RemoveWindowSubclass(a_->hWnd(), LogKeys, 1);

  const std::vector<std::pair<UINT, WPARAM>> expected = {
      {WM_KEYDOWN, VK_F2},
      {WM_KEYUP, VK_F2},
      {WM_KEYDOWN, 'X'},
      {WM_KEYUP, 'X'},
      {WM_CHAR, 'x'},  // translated from the dispatched key-down, offered in
                       // its turn
      {WM_KEYDOWN, VK_TAB},
      {WM_KEYUP, VK_TAB}};
  EXPECT_EQ(keeper.offered, expected);
  EXPECT_EQ(reached, std::vector<WPARAM>{'X'});
  EXPECT_EQ(form_->ActiveControl(), b_);

  ASSERT_EQ(form_->Frame()->SetActiveObject(nullptr, nullptr), S_OK);
  EXPECT_EQ(form_->ActiveObject(), nullptr);
  EXPECT_EQ(keeper.references, 1u);
}

TEST_F(ComTest, RemovingTheActiveControlClearsTheActiveObject) {
  auto active = Query<IOleInPlaceActiveObject>(ObjectOf(a_), IID_IOleInPlaceActiveObject);
  form_->Frame()->SetActiveObject(active.Get(), nullptr);
  form_->RemoveControl(L"A");
  EXPECT_EQ(form_->ActiveObject(), nullptr);
  // The object outlives its control for whoever still holds it, and answers without it.
  HWND window = nullptr;
  EXPECT_EQ(active->GetWindow(&window), E_FAIL);
}

TEST_F(ComTest, TheSiteGivesTheFormsFrameAndRectangles) {
  auto object = Query<IOleObject>(ObjectOf(a_), IID_IOleObject);
  ComPtr<IOleClientSite> client;
  ASSERT_EQ(object->GetClientSite(client.Put()), S_OK);
  ASSERT_TRUE(client);
  auto site = Query<IOleInPlaceSite>(client.Get(), IID_IOleInPlaceSite);
  ComPtr<IOleInPlaceFrame> frame;
  ComPtr<IOleInPlaceUIWindow> document;
  RECT position{}, clip{};
  OLEINPLACEFRAMEINFO frame_info{};
  frame_info.cb = sizeof(OLEINPLACEFRAMEINFO);
  ASSERT_EQ(site->GetWindowContext(frame.Put(), document.Put(), &position, &clip, &frame_info),
            S_OK);
  EXPECT_EQ(frame.Get(), form_->Frame());
  EXPECT_FALSE(document);
  EXPECT_EQ(position.left, 10);
  EXPECT_EQ(position.right, 110);
  EXPECT_EQ(clip.right, 400);
  EXPECT_EQ(frame_info.hwndFrame, form_->hWnd());

  // The interception re-applies those rectangles through the in-place object.
  position.left += 5;
  position.right += 5;
  auto in_place = Query<IOleInPlaceObject>(ObjectOf(a_), IID_IOleInPlaceObject);
  EXPECT_EQ(in_place->SetObjectRects(&position, &clip), S_OK);
  form_->SetScaleMode(ScaleUnit::kPixels);
  EXPECT_DOUBLE_EQ(a_->Left(), 15);

  auto control_site = Query<IOleControlSite>(client.Get(), IID_IOleControlSite);
  EXPECT_EQ(control_site->OnControlInfoChanged(), S_OK);
  EXPECT_EQ(control_site->OnFocus(TRUE), S_OK);
  EXPECT_EQ(a_->Site()->ControlInfoChanges(), 1);
  EXPECT_TRUE(a_->Site()->ReportedFocus());
}

}  // namespace
}  // namespace veltrin::controls::host_test
