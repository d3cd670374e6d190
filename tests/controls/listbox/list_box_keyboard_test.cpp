// ListBoxW and the keyboard: the selection state after each step for every MultiSelect and Style,
// the host's accelerator hook (PreviewKeyDown/Up, navigation keys, IsInputKey), and KeyPress with
// the character peeked after a key message.
#include <algorithm>
#include <functional>
#include <vector>

#include "list_box_fixture.h"

namespace veltrin::controls::list_box_test {
namespace {

// What a list's selection looks like from outside, as the native list reports it.
struct State {
  int32_t list_index, caret, anchor, sel_count, top;
  bool operator==(const State&) const = default;
};

std::ostream& operator<<(std::ostream& out, const State& s) {
  return out << "{ListIndex " << s.list_index << ", caret " << s.caret << ", anchor " << s.anchor
             << ", SelCount " << s.sel_count << ", TopIndex " << s.top << "}";
}

State StateOf(const ListBoxW& list) {
  const HWND native = list.ListHandle();
  return {list.ListIndex(), static_cast<int32_t>(SendMessageW(native, LB_GETCARETINDEX, 0, 0)),
          list.AnchorIndex(), list.SelCount(), list.TopIndex()};
}

void Key(const ListBoxW& list, UINT key) {
  SendMessageW(list.ListHandle(), WM_KEYDOWN, key, 1);
  SendMessageW(list.ListHandle(), WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
}

TEST(ListBoxKeyboardTest, SelectionStateAfterEachStepForEveryMultiSelectAndStyle) {
  // Steps: a new list of 30 items; ListIndex = 3; Down; End; Space; ListIndex = -1. Check-box and
  // option lists select one item only, and their items are taller (ten in view, not twelve).
  struct Row {
    int32_t multi_select, style;
    State after[6];
    int clear_error;  // of ListIndex = -1
  };
  const Row rows[] = {
      {0,
       0,
       {{-1, 0, -1, 0, 0},
        {3, 3, -1, 1, 0},
        {4, 4, 4, 1, 0},
        {29, 29, 29, 1, 18},
        {29, 29, 29, 1, 18},
        {-1, 29, 29, 0, 18}},
       0},
      {0,
       1,
       {{-1, 0, -1, 0, 0},
        {3, 3, -1, 1, 0},
        {4, 4, 4, 1, 0},
        {29, 29, 29, 1, 20},
        {29, 29, 29, 1, 20},
        {-1, 29, 29, 0, 20}},
       0},
      {0,
       2,
       {{-1, 0, -1, 0, 0},
        {3, 3, -1, 1, 0},
        {4, 4, 4, 1, 0},
        {29, 29, 29, 1, 20},
        {29, 29, 29, 1, 20},
        {-1, 29, 29, 0, 20}},
       0},
      // Simple: keys move the caret only, Space toggles the caret's item.
      {1,
       0,
       {{0, 0, -1, 0, 0},
        {3, 3, -1, 0, 0},
        {4, 4, -1, 0, 0},
        {29, 29, -1, 0, 18},
        {29, 29, -1, 1, 18},
        {29, 29, -1, 1, 18}},
       380},
      // Extended: keys select the caret's item.
      {2,
       0,
       {{0, 0, -1, 0, 0},
        {3, 3, -1, 0, 0},
        {4, 4, 4, 1, 0},
        {29, 29, 29, 1, 18},
        {29, 29, 29, 1, 18},
        {29, 29, 29, 1, 18}},
       380},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE("MultiSelect " + std::to_string(row.multi_select) + ", Style " +
                 std::to_string(row.style));
    PropertyBag stored = StoredProperties(
        {{L"Style", PropertyValue(row.style)}, {L"MultiSelect", PropertyValue(row.multi_select)}});
    ListBoxHost host(nullptr, &stored);
    ListBoxW& list = host.List();
    for (int i = 0; i < 30; ++i) list.AddItem(L"item " + std::to_wstring(i));
    int error = 0;
    const std::function<void()> steps[] = {
        [] {},
        [&] { list.SetListIndex(3); },
        [&] { Key(list, VK_DOWN); },
        [&] { Key(list, VK_END); },
        [&] { Key(list, VK_SPACE); },
        [&] { error = ErrorOf([&] { list.SetListIndex(-1); }); },
    };
    for (size_t step = 0; step < std::size(steps); ++step) {
      steps[step]();
      EXPECT_EQ(StateOf(list), row.after[step]) << "after step " << step;
    }
    EXPECT_EQ(error, row.clear_error);
    // Space checked the current item, or made it the option.
    EXPECT_EQ(list.CheckedIndices(),
              row.style == 0 ? std::vector<int32_t>{} : std::vector<int32_t>{29});
    EXPECT_EQ(list.OptionIndex(), row.style == 2 ? 29 : -1);
  }
}

// Logs the preview events too, and marks the keys in `input_keys` as input keys.
class PreviewRecorder : public EventRecorder {
 public:
  std::vector<int16_t> input_keys;
  void PreviewKeyDown(int16_t key_code, bool& is_input_key) override {
    log.push_back(L"PreviewKeyDown:" + std::to_wstring(key_code));
    is_input_key = std::find(input_keys.begin(), input_keys.end(), key_code) != input_keys.end();
  }
  void PreviewKeyUp(int16_t key_code, bool&) override {
    log.push_back(L"PreviewKeyUp:" + std::to_wstring(key_code));
  }
};

TEST(ListBoxKeyboardTest, TheHostsHookSendsNavigationKeysAndTabOnlyAsAnInputKey) {
  ListBoxHost host;
  ListBoxW& list = host.List();
  auto second_control = std::make_unique<ListBoxW>();
  ListBoxW& second = *second_control;
  host.GetForm().AddControl(std::move(second_control), L"List2", {220, 10, 400, 170});
  host.Fill({L"one", L"two", L"three"});
  PreviewRecorder events;
  list.Events().Connect(&events);
  list.SetListIndex(0);
  SetForegroundWindow(host.GetForm().hWnd());
  SetFocus(list.ListHandle());
  Pump(host.GetForm());
  events.log.clear();

  host_test::PressKey(host.GetForm(), VK_DOWN);
  EXPECT_EQ(list.ListIndex(), 1);
  EXPECT_EQ(events.log,
            (Log{L"PreviewKeyDown:40", L"KeyDown:40", L"Click", L"PreviewKeyUp:40", L"KeyUp:40"}));
  events.log.clear();

  events.input_keys = {VK_TAB};
  host_test::PressKey(host.GetForm(), VK_TAB);
  EXPECT_EQ(GetFocus(), list.ListHandle());
  EXPECT_EQ(events.log, (Log{L"PreviewKeyDown:9", L"KeyDown:9", L"PreviewKeyUp:9", L"KeyUp:9"}));
  events.input_keys.clear();
  host_test::PressKey(host.GetForm(), VK_TAB);
  EXPECT_EQ(GetFocus(), second.ListHandle());
}

// Rewrites every character to `replacement` in KeyPress.
class ReplacingKeyPress : public EventRecorder {
 public:
  int16_t replacement = 0;
  void KeyPress(int16_t& key_char) override {
    EventRecorder::KeyPress(key_char);
    if (replacement != 0) key_char = replacement;
  }
};

TEST(ListBoxKeyboardTest, KeyPressSeesTheCharacterPeekedAtTheKeyAndRewritesWhatTheListGets) {
  ListBoxHost host;
  ListBoxW& list = host.List();
  host.Fill({L"apple", L"banana", L"cherry"});
  ReplacingKeyPress events;
  list.Events().Connect(&events);
  const HWND native = list.ListHandle();

  PostMessageW(native, WM_CHAR, 'b', 1);
  SendMessageW(native, WM_KEYDOWN, 'B', 1);  // peeks the waiting 'b'
  SendMessageW(native, WM_CHAR, 'x', 1);     // reported as the peeked character
  SendMessageW(native, WM_CHAR, 'c', 1);     // the peeked one is used once
  EXPECT_EQ(events.log, (Log{L"KeyDown:66", L"KeyPress:98", L"Click", L"KeyPress:99", L"Click"}));
  EXPECT_EQ(list.ListIndex(), 2) << "the list searched for the characters it received";
  MSG waiting{};
  while (PeekMessageW(&waiting, native, WM_CHAR, WM_CHAR, PM_REMOVE)) {
  }
  events.log.clear();

  events.replacement = 'a';
  SendMessageW(native, WM_CHAR, 'c', 1);
  EXPECT_EQ(list.ListIndex(), 0) << "the list searched for the character KeyPress returned";
}

}  // namespace
}  // namespace veltrin::controls::list_box_test
