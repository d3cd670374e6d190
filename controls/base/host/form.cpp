// The form: hosting and removing controls, ambient values, scale, focus, tab order, validation,
// default and cancel buttons, and the message loop.
#include "controls/base/host/form.h"

#include <algorithm>
#include <utility>

#include "common/run_time_error.h"
#include "controls/base/error_report.h"
#include "controls/base/fonts.h"
#include "controls/base/host/control_site.h"
#include "controls/base/host/user_control.h"
#include "controls/base/host/user_control_object.h"
#include "controls/base/host_thread.h"
#include "controls/base/window/window_procedure.h"

namespace veltrin::controls {

namespace {

constexpr wchar_t kFormClass[] = L"VeltrinForm";
constexpr wchar_t kUserControlClass[] = L"VeltrinUserControl";

void RegisterWindowClasses() {
  RegisterHandlerClass(
      {kFormClass, CS_DBLCLKS, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1))});
  // The control's BackColor paints the container.
  RegisterHandlerClass({kUserControlClass, CS_DBLCLKS, nullptr});
}

bool SameObject(IUnknown* a, IUnknown* b) noexcept {
  if (!a || !b) return false;
  ComPtr<IUnknown> identity_a;
  ComPtr<IUnknown> identity_b;
  if (FAILED(a->QueryInterface(IID_IUnknown, identity_a.PutVoid())) ||
      FAILED(b->QueryInterface(IID_IUnknown, identity_b.PutVoid()))) {
    return false;
  }
  return identity_a.Get() == identity_b.Get();
}

bool IsPushButton(HWND window) noexcept {
  wchar_t name[16] = {};
  if (!GetClassNameW(window, name, 16) ||
      CompareStringOrdinal(name, -1, L"Button", -1, TRUE) != CSTR_EQUAL) {
    return false;
  }
  const LONG_PTR type = GetWindowLongPtrW(window, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

bool CanTakeFocus(const Extender& item) noexcept {
  const HWND window = item.hWnd();
  // IsWindowVisible: a control in a hidden frame is not visible.
  return item.TabStop() && window && IsWindowVisible(window) && IsWindowEnabled(window);
}

}  // namespace

Form::Form(std::wstring caption, int client_width, int client_height)
    : ole_init_(OleInitialize(nullptr)) {
  ClaimHostThread();
  try {
    RegisterWindowClasses();
    RECT frame{0, 0, client_width, client_height};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    WindowCreation creation{kFormClass, std::move(caption), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                            WS_EX_CONTROLPARENT};
    creation.width = frame.right - frame.left;
    creation.height = frame.bottom - frame.top;
    window_ = CreateHandlerWindow(*this, creation);
    frame_ = ComPtr<FormFrame>::Attach(new FormFrame(*this));
    SetFont(std::make_shared<FontObject>());
  } catch (...) {
    window_.Reset();
    if (SUCCEEDED(ole_init_)) OleUninitialize();
    throw;
  }
}

Form::~Form() {
  while (!items_.empty()) DestroyWithPlacedControls(*items_.back());
  if (frame_) frame_->Detach();
  frame_.Reset();
  window_.Reset();
  if (SUCCEEDED(ole_init_)) OleUninitialize();
}

Extender& Form::AddItem(std::unique_ptr<Extender> item) {
  item->tab_index_ = static_cast<int16_t>(items_.size());
  items_.push_back(std::move(item));
  return *items_.back();
}

Extender& Form::AddControl(std::unique_ptr<UserControl> control, std::wstring name, RECT bounds,
                           PropertyBag* bag) {
  if (!control || Find(name)) throw RunTimeError(kInvalidProcedureCall);
  UserControl& hosted = *control;
  auto item = std::unique_ptr<Extender>(new Extender(*this, std::move(name)));
  WindowCreation creation{kUserControlClass, L"",
                          WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP,
                          WS_EX_CONTROLPARENT};
  creation.parent = hWnd();
  item->window_ = CreateHandlerWindow(hosted.container_, creation.At(bounds));
  const HWND window = item->window_.Get();
  item->control_ = std::move(control);
  hosted.form_ = this;
  hosted.extender_ = item.get();
  hosted.object_ = CreateUserControlObject(hosted);
  item->site_ = ComPtr<ControlSite>::Attach(new ControlSite(*this, *item));
  ComPtr<IOleObject> ole_object;
  if (SUCCEEDED(hosted.object_->QueryInterface(IID_IOleObject, ole_object.PutVoid()))) {
    ole_object->SetClientSite(static_cast<IOleClientSite*>(item->site_.Get()));
  }
  Extender& added = AddItem(std::move(item));
  try {
    hosted.Initialize();
    hosted.initialized_ = true;  // from here on, Terminate follows whatever fails
    if (bag) {
      hosted.ReadProperties(*bag);
    } else {
      hosted.InitProperties();
    }
    hosted.live_ = true;
    hosted.Resize();
    hosted.UpdateDropRegistration();
    added.site_->RefreshControlInfo();
    ShowWindow(window, SW_SHOWNA);
  } catch (...) {
    RemoveControl(added.Name());
    throw;
  }
  return added;
}

Extender& Form::AddNativeControl(const wchar_t* window_class, std::wstring name,
                                 std::wstring caption, DWORD style, RECT bounds) {
  if (Find(name)) throw RunTimeError(kInvalidProcedureCall);
  auto item = std::unique_ptr<Extender>(new Extender(*this, std::move(name)));
  const HWND window = CreateWindowExW(
      0, window_class, caption.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style,
      bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, hWnd(),
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(next_control_id_++)), GetModuleHandleW(nullptr),
      nullptr);
  if (!window) throw RunTimeError(kInvalidProcedureCall);
  item->window_.Reset(window);
  HGDIOBJ font = plain_font_ ? plain_font_.Get() : GetStockObject(DEFAULT_GUI_FONT);
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  item->tab_stop_ = (style & WS_TABSTOP) != 0;
  return AddItem(std::move(item));
}

Extender& Form::AddButton(std::wstring name, std::wstring caption, RECT bounds) {
  return AddNativeControl(L"Button", std::move(name), std::move(caption),
                          WS_TABSTOP | BS_PUSHBUTTON, bounds);
}

Extender& Form::AddCheckBox(std::wstring name, std::wstring caption, RECT bounds) {
  return AddNativeControl(L"Button", std::move(name), std::move(caption),
                          WS_TABSTOP | BS_AUTOCHECKBOX, bounds);
}

Extender& Form::AddFrame(std::wstring name, std::wstring caption, RECT bounds) {
  return AddNativeControl(L"Button", std::move(name), std::move(caption), BS_GROUPBOX, bounds);
}

void Form::RemoveControl(std::wstring_view name) {
  const auto named = [&] {
    return std::find_if(items_.begin(), items_.end(),
                        [&](const auto& item) { return item->Name() == name; });
  };
  const auto found = named();
  if (found != items_.end()) DestroyWithPlacedControls(**found);
}

void Form::DestroyWithPlacedControls(Extender& item) noexcept {
  // The controls placed in a frame go first, each as a whole, before the frame's window takes
  // their windows with it.
  const HWND window = item.hWnd();
  const auto placed = [&] {
    return std::find_if(items_.begin(), items_.end(), [&](const auto& other) {
      return window && other->hWnd() && GetParent(other->hWnd()) == window;
    });
  };
  for (auto inside = placed(); inside != items_.end(); inside = placed()) {
    DestroyWithPlacedControls(**inside);
  }
  const auto found = std::find_if(items_.begin(), items_.end(),
                                  [&](const auto& other) { return other.get() == &item; });
  if (found != items_.end()) DestroyItem(found);
}

void Form::DestroyItem(std::vector<std::unique_ptr<Extender>>::iterator position) noexcept {
  std::unique_ptr<Extender> item = std::move(*position);
  items_.erase(position);
  if (default_button_ == item.get()) default_button_ = nullptr;
  if (cancel_button_ == item.get()) cancel_button_ = nullptr;
  auto order = TabOrder();
  for (size_t i = 0; i < order.size(); ++i) order[i]->tab_index_ = static_cast<int16_t>(i);

  if (UserControl* control = item->Control()) {
    IUnknown* object = control->ControlUnknown();
    if (frame_ && SameObject(frame_->ActiveObject(), object)) {
      frame_->SetActiveObject(nullptr, nullptr);
    }
    control->live_ = false;
    if (std::exchange(control->initialized_, false)) {
      try {
        control->Terminate();
      } catch (...) {
        // Terminate has no caller to report to; the control goes all the same.
      }
    }
    if (control->drop_registered_) {
      RevokeDragDrop(control->hWnd());
      control->drop_registered_ = false;
    }
    ComPtr<IOleObject> ole_object;
    if (object && SUCCEEDED(object->QueryInterface(IID_IOleObject, ole_object.PutVoid()))) {
      ole_object->SetClientSite(nullptr);
    }
    ole_object.Reset();
    DetachUserControlObject(object);
    control->object_.Reset();
  }
  if (item->site_) item->site_->Detach();
  item->site_.Reset();
  // The window goes first: what it sends while it is destroyed reaches a live control. A control
  // removed from inside one of its own messages is deleted when that message returns.
  item->window_.Reset();
  if (UserControl* control = item->Control()) {
    control->form_ = nullptr;
    control->extender_ = nullptr;
  }
  CallGuarded::Delete(std::move(item->control_));
}

Extender* Form::Find(std::wstring_view name) const noexcept {
  for (const auto& item : items_) {
    if (item->Name() == name) return item.get();
  }
  return nullptr;
}

Extender* Form::ItemOfWindow(HWND window) const noexcept {
  if (!window) return nullptr;
  // The window itself first: a control in a frame is also a child of the frame.
  for (const auto& item : items_) {
    if (item->hWnd() == window) return item.get();
  }
  for (HWND ancestor = GetParent(window); ancestor && ancestor != hWnd();
       ancestor = GetParent(ancestor)) {
    for (const auto& item : items_) {
      if (item->hWnd() == ancestor) return item.get();
    }
  }
  return nullptr;
}

void Form::PlaceInFrame(Extender& control, Extender& frame) {
  const bool is_frame = Find(frame.Name()) == &frame && !frame.Control() &&
                        (GetWindowLongPtrW(frame.hWnd(), GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
  if (!is_frame || &control == &frame || Find(control.Name()) != &control) {
    throw RunTimeError(kInvalidProcedureCall);
  }
  const HWND frame_window = frame.hWnd();
  // Children of the frame talk to it; the forwarder hands that on to the form.
  SubclassWindow(frame_window, &frame_receiver_, 0, L"VeltrinFrame");
  SetWindowLongPtrW(frame_window, GWL_EXSTYLE,
                    GetWindowLongPtrW(frame_window, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
  const RECT bounds = control.PixelBounds();  // taken as relative to the frame
  SetParent(control.hWnd(), frame_window);
  SetWindowPos(control.hWnd(), HWND_TOP, bounds.left, bounds.top, 0, 0,
               SWP_NOSIZE | SWP_NOACTIVATE);
}

MessageResult Form::FrameForwarder::OnMessage(UINT message, WPARAM w_param, LPARAM l_param) {
  if (IsCtlColorMessage(message)) return SendMessageW(form_.hWnd(), message, w_param, l_param);
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM:
      return SendMessageW(form_.hWnd(), message, w_param, l_param);
    default:
      return kNotHandled;
  }
}

Extender* Form::ActiveControl() const noexcept {
  return ItemOfWindow(GetFocus());
}

std::vector<Extender*> Form::TabOrder() const {
  std::vector<Extender*> order;
  for (const auto& item : items_) order.push_back(item.get());
  std::stable_sort(order.begin(), order.end(), [](const Extender* a, const Extender* b) {
    return a->tab_index_ < b->tab_index_;
  });
  return order;
}

void Form::RenumberTabOrder(Extender* moved, int16_t index) {
  auto order = TabOrder();
  order.erase(std::remove(order.begin(), order.end(), moved), order.end());
  const size_t at = std::min(static_cast<size_t>(index), order.size());
  order.insert(order.begin() + static_cast<std::ptrdiff_t>(at), moved);
  for (size_t i = 0; i < order.size(); ++i) order[i]->tab_index_ = static_cast<int16_t>(i);
}

std::map<std::wstring, PropertyBag> Form::SaveControls() {
  std::map<std::wstring, PropertyBag> bags;
  for (const auto& item : items_) {
    if (UserControl* control = item->Control()) control->WriteProperties(bags[item->Name()]);
  }
  modified_ = false;
  return bags;
}

void Form::PropertyChangedBy(UserControl&) {
  modified_ = true;
}

void Form::NotifyAmbientChanged(DISPID dispid) {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (UserControl* control = items_[i]->Control()) NotifyAmbientChanged(*control, dispid);
  }
}

void Form::NotifyAmbientChanged(UserControl& control, DISPID dispid) {
  if (!control.ControlUnknown()) return;
  ComPtr<IOleControl> ole_control;
  if (SUCCEEDED(control.ControlUnknown()->QueryInterface(IID_IOleControl, ole_control.PutVoid()))) {
    ole_control->OnAmbientPropertyChange(dispid);
  }
}

void Form::SetUserMode(bool user_mode) {
  if (user_mode == user_mode_) return;
  user_mode_ = user_mode;
  NotifyAmbientChanged(DISPID_AMBIENT_USERMODE);
}

void Form::SetFont(FontRef font) {
  if (!font) throw RunTimeError(kInvalidPropertyValue);
  font_subscription_.Reset();
  font_ = std::move(font);
  font_subscription_ = font_->Subscribe([this](const std::wstring&) {
    ApplyFontToPlainControls();
    NotifyAmbientChanged(DISPID_AMBIENT_FONT);
  });
  ApplyFontToPlainControls();
  NotifyAmbientChanged(DISPID_AMBIENT_FONT);
}

void Form::SetRightToLeft(bool right_to_left) {
  if (right_to_left == right_to_left_) return;
  right_to_left_ = right_to_left;
  NotifyAmbientChanged(DISPID_AMBIENT_RIGHTTOLEFT);
}

void Form::SetScaleMode(ScaleUnit mode) {
  if (mode == ScaleUnit::kContainerPosition || mode == ScaleUnit::kContainerSize ||
      static_cast<int>(mode) < 1 || static_cast<int>(mode) > 8) {
    throw RunTimeError(kInvalidPropertyValue);
  }
  scale_mode_ = mode;
}

double Form::ScaleX(double value, ScaleUnit from, ScaleUnit to) const {
  auto resolve = [this](ScaleUnit unit) {
    return unit == ScaleUnit::kContainerPosition || unit == ScaleUnit::kContainerSize ? scale_mode_
                                                                                      : unit;
  };
  return ConvertScale(value, resolve(from), resolve(to), true);
}

double Form::ScaleY(double value, ScaleUnit from, ScaleUnit to) const {
  auto resolve = [this](ScaleUnit unit) {
    return unit == ScaleUnit::kContainerPosition || unit == ScaleUnit::kContainerSize ? scale_mode_
                                                                                      : unit;
  };
  return ConvertScale(value, resolve(from), resolve(to), false);
}

void Form::ValidateControls() {
  Extender* active = ActiveControl();
  if (!active) return;
  bool cancel = false;
  active->Events().Raise(&ExtenderEvents::Validate, cancel);
  if (cancel) throw RunTimeError(kInvalidPropertyValue);
}

void Form::FocusControl(Extender& target) {
  Extender* active = ActiveControl();
  if (active && active != &target && target.CausesValidation()) ValidateControls();
  ::SetFocus(target.hWnd());
}

bool Form::TabToNextControl(bool backwards) {
  const auto order = TabOrder();
  if (order.empty()) return false;
  Extender* active = ActiveControl();
  const auto found = std::find(order.begin(), order.end(), active);
  const size_t count = order.size();
  size_t at = found == order.end() ? (backwards ? 0 : count - 1)
                                   : static_cast<size_t>(found - order.begin());
  for (size_t step = 0; step < count; ++step) {
    at = backwards ? (at + count - 1) % count : (at + 1) % count;
    Extender* candidate = order[at];
    if (candidate == active || !CanTakeFocus(*candidate)) continue;
    try {
      FocusControl(*candidate);
    } catch (const RunTimeError&) {
      return false;  // the validation was cancelled: the focus stays where it is
    }
    return true;
  }
  return false;
}

IOleInPlaceActiveObject* Form::ActiveObject() const noexcept {
  return frame_ ? frame_->ActiveObject() : nullptr;
}

IOleInPlaceFrame* Form::Frame() const noexcept {
  return frame_.Get();
}

void Form::ClickButton(Extender& button) {
  SendMessageW(hWnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button.hWnd()), BN_CLICKED),
               reinterpret_cast<LPARAM>(button.hWnd()));
}

bool Form::HandleFormKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || GetKeyState(VK_MENU) < 0) return false;
  Extender* active = ActiveControl();
  const DWORD flags = active && active->site_ ? active->site_->ControlInfo().dwFlags : 0;
  switch (message.wParam) {
    case VK_TAB:
      if (GetKeyState(VK_CONTROL) < 0) return false;
      TabToNextControl(GetKeyState(VK_SHIFT) < 0);
      return true;
    case VK_RETURN:
      if (active && !active->Control() && IsPushButton(active->hWnd())) {
        ClickButton(*active);
        return true;
      }
      if (flags & CTRLINFO_EATS_RETURN) return false;
      if (default_button_ && IsWindowEnabled(default_button_->hWnd())) {
        ClickButton(*default_button_);
        return true;
      }
      return false;
    case VK_ESCAPE:
      if (flags & CTRLINFO_EATS_ESCAPE) return false;
      if (cancel_button_ && IsWindowEnabled(cancel_button_->hWnd())) {
        ClickButton(*cancel_button_);
        return true;
      }
      return false;
    default:
      return false;
  }
}

bool Form::PreTranslate(MSG& message) {
  if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
  if (message.hwnd != hWnd() && !IsChild(hWnd(), message.hwnd)) return false;
  if (IOleInPlaceActiveObject* active = ActiveObject()) {
    // The object may be replaced while it translates; keep it alive for the call. The reference
    // goes to its identity: an accelerator wrapper counts on whatever it wraps at the moment, and
    // a key that moves the focus changes that between AddRef and Release.
    ComPtr<IUnknown> keep;
    if (FAILED(active->QueryInterface(IID_IUnknown, keep.PutVoid()))) return false;
    if (active->TranslateAccelerator(&message) == S_OK) return true;
  }
  try {
    return HandleFormKey(message);
  } catch (...) {
    return true;  // an event handler failed; the key has been acted on
  }
}

bool Form::Dispatch(MSG& message) {
  if (message.message == WM_QUIT) {
    quit_code_ = static_cast<int>(message.wParam);
    return false;
  }
  if (!PreTranslate(message)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return true;
}

bool Form::PumpMessage() {
  MSG message{};
  const BOOL got = GetMessageW(&message, nullptr, 0, 0);
  if (got == -1) return false;
  if (got == 0) {
    quit_code_ = static_cast<int>(message.wParam);
    return false;
  }
  return Dispatch(message);
}

bool Form::PumpPendingMessages() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (!Dispatch(message)) return false;
  }
  return true;
}

int Form::RunMessageLoop() {
  while (PumpMessage()) {
  }
  return quit_code_;
}

void Form::ApplyFontToPlainControls() noexcept {
  UniqueFont font = CreateGdiFont(*font_);
  if (!font) return;  // GDI refused: the controls keep the font they have
  for (const auto& item : items_) {
    if (!item->Control()) {
      SendMessageW(item->hWnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    }
  }
  plain_font_ = std::move(font);  // the old font is deleted after no control uses it
}

void Form::Show(int command) {
  if (command != SW_HIDE && !loaded_) {
    loaded_ = true;
    Load();
  }
  ShowWindow(hWnd(), command);
}

bool Form::Close(UnloadMode mode) {
  bool cancel = false;
  QueryUnload(cancel, mode);
  if (cancel) return false;
  Unload(cancel);
  if (cancel) return false;
  ShowWindow(hWnd(), SW_HIDE);
  loaded_ = false;
  if (ends_loop_on_close_) PostQuitMessage(0);
  return true;
}

MessageResult Form::OnSize(UINT, int, int) {
  Resize();
  return kNotHandled;
}

MessageResult Form::OnActivate(UINT state, bool minimized, HWND) {
  const bool focus_restored = KeepFocusAcrossActivation(state, minimized);
  if (state == WA_INACTIVE) {
    Deactivate();
  } else {
    Activate();
  }
  if (focus_restored) return 0;  // the default would put the focus on the form itself
  return kNotHandled;            // the default activation (and focus) goes on
}

bool Form::KeepFocusAcrossActivation(UINT state, bool minimized) noexcept {
  if (state == WA_INACTIVE) {
    const HWND focus = GetFocus();
    focus_before_deactivation_ = focus && IsChild(hWnd(), focus) ? focus : nullptr;
    return false;
  }
  const HWND focus = std::exchange(focus_before_deactivation_, nullptr);
  if (minimized || !focus || !IsChild(hWnd(), focus) || !IsWindowEnabled(focus) ||
      !IsWindowVisible(focus)) {
    return false;
  }
  ::SetFocus(focus);
  return true;
}

bool ProcessPendingMessages() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return true;
}

MessageResult Form::OnCommand(WORD, WORD code, HWND control) {
  if (code != BN_CLICKED) return kNotHandled;
  Extender* item = ItemOfWindow(control);
  if (!item) return kNotHandled;
  item->Events().Raise(&ExtenderEvents::Click);
  return 0;
}

MessageResult Form::OnClose() {
  try {
    Close(UnloadMode::kControlMenu);
  } catch (...) {
    // A failed close handler cancels the close: passed on, WM_CLOSE would destroy the window
    // with the message loop still running.
    ReportCaughtError(L"the form's close handlers");
  }
  return 0;
}

}  // namespace veltrin::controls
