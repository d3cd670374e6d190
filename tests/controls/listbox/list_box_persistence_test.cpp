// ListBoxW in the form's property bag: what a save writes, what a load restores and corrects, and
// design mode's sample item.
#include "list_box_fixture.h"
#include "tests/support/dialog_responder.h"

namespace veltrin::controls::list_box_test {
namespace {

PropertyBag SaveOf(ListBoxHost& host) {
  return host.GetForm().SaveControls().at(L"List1");
}

TEST(ListBoxPersistenceTest, SavedPropertiesComeBackAndItemsAreNotSaved) {
  PropertyBag saved;
  {
    ListBoxHost host;
    ListBoxW& list = host.List();
    list.AddItem(L"\u6BB5\U0001F600");
    list.SetSorted(true);
    list.SetMultiSelect(2);
    list.SetBorderStyle(1);
    list.SetInsertMarkColor(RGB(1, 2, 3));
    list.SetScrollTrack(false);
    list.SetMouseTrack(true);
    list.SetFont(std::make_shared<FontObject>(L"\u5B8B\u4F53", 12));
    saved = SaveOf(host);
  }
  EXPECT_EQ(saved.ReadProperty(L"Sorted").ToBoolean(), true);
  EXPECT_EQ(saved.ReadProperty(L"MultiSelect").ToLong(), 2);
  ListBoxHost loaded(nullptr, &saved);
  ListBoxW& list = loaded.List();
  EXPECT_TRUE(list.Sorted());
  EXPECT_EQ(list.MultiSelect(), 2);
  EXPECT_EQ(list.BorderStyle(), 1);
  EXPECT_EQ(list.InsertMarkColor(), RGB(1, 2, 3));
  EXPECT_FALSE(list.ScrollTrack());
  EXPECT_TRUE(list.MouseTrack());
  EXPECT_EQ(list.Font()->Name(), L"\u5B8B\u4F53");
  EXPECT_EQ(list.ListCount(), 0);
  EXPECT_TRUE(GetWindowLongW(list.ListHandle(), GWL_STYLE) & LBS_SORT);
}

TEST(ListBoxPersistenceTest, TheAmbientFontIsNotSaved) {
  ListBoxHost host;
  const PropertyBag saved = SaveOf(host);
  EXPECT_TRUE(saved.ReadProperty(L"Font").IsEmpty());
}

TEST(ListBoxPersistenceTest, LoadCorrectsConflictingAndOutOfRangeValues) {
  PropertyBag stored = StoredProperties({{L"Style", PropertyValue(int32_t{1})},
                                         {L"DrawMode", PropertyValue(int32_t{2})},
                                         {L"MultiColumn", PropertyValue(true)},
                                         {L"IntegralHeight", PropertyValue(true)},
                                         {L"BorderStyle", PropertyValue(int32_t{9})},
                                         {L"MultiSelect", PropertyValue(int32_t{-4})}});
  ListBoxHost host(nullptr, &stored);
  ListBoxW& list = host.List();
  EXPECT_EQ(list.Style(), 0);
  EXPECT_FALSE(list.MultiColumn());
  EXPECT_FALSE(list.IntegralHeight());
  EXPECT_EQ(list.BorderStyle(), 3);
  EXPECT_EQ(list.MultiSelect(), 0);
  const LONG style = GetWindowLongW(list.ListHandle(), GWL_STYLE);
  EXPECT_TRUE(style & LBS_OWNERDRAWVARIABLE);
  EXPECT_FALSE(style & LBS_MULTICOLUMN);
  EXPECT_EQ(ErrorOf([&] { list.SetMultiColumn(true); }), 383);
  // Variable owner draw measures every item and heights are per item.
  list.AddItem(L"a");
  list.AddItem(L"b");
  list.SetItemHeight(1, 300);  // twips: 20 pixels
  EXPECT_FLOAT_EQ(list.ItemHeight(1), 300);
  EXPECT_EQ(SendMessageW(list.ListHandle(), LB_GETITEMHEIGHT, 1, 0), 20);
  EXPECT_NE(list.ItemHeight(0), 300) << "the first item keeps its own height";
}

TEST(ListBoxPersistenceTest, ItemHeightAndColumnWidthRules) {
  ListBoxHost host;
  ListBoxW& list = host.List();
  host.Fill({L"a", L"b", L"c", L"d"});
  EXPECT_GT(list.ItemHeight(0), 0);
  EXPECT_EQ(ErrorOf([&] { (void)list.ItemHeight(3); }), 5);
  EXPECT_EQ(ErrorOf([&] { list.SetItemHeight(0, -1); }), 380);
  EXPECT_EQ(ErrorOf([&] { list.SetColumnWidth(0); }), 380);
  EXPECT_EQ(ErrorOf([&] { list.SetColumnWidth(5); }), 380) << "5 twips make no whole pixel";
  EXPECT_EQ(ErrorOf([&] { list.SetColumnWidth(-5); }), 380);
  list.SetMultiColumn(true);
  list.SetHorizontalExtent(1500);  // twips: 100 pixels
  EXPECT_FLOAT_EQ(list.HorizontalExtent(), 1500);
  EXPECT_EQ(SendMessageW(list.ListHandle(), LB_GETHORIZONTALEXTENT, 0, 0), 0);
  EXPECT_EQ(ErrorOf([&] { list.SetHorizontalExtent(-1); }), 380);
}

TEST(ListBoxPersistenceTest, KeyboardContextMenuIsNotConverted) {
  ListBoxHost host;
  ListBoxW& list = host.List();
  SendMessageW(list.ListHandle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list.ListHandle()),
               MAKELPARAM(-1, -1));
  EXPECT_EVENTS(host, L"ContextMenu:-1,-1");
}

}  // namespace
}  // namespace veltrin::controls::list_box_test

namespace veltrin::controls::list_box_test {
namespace {

TEST(ListBoxDesignModeTest, TheListShowsOnlyTheControlsNameAndAcceptsDesignTimeProperties) {
  Form form;
  form.SetUserMode(false);
  auto control = std::make_unique<ListBoxW>();
  ListBoxW& list = *control;
  form.AddControl(std::move(control), L"List1", {10, 10, 210, 170});
  EXPECT_TRUE(list.DesignMode());
  ASSERT_EQ(list.ListCount(), 1);
  EXPECT_EQ(list.List(0), L"List1");
  EXPECT_EQ(list.ListIndex(), -1);
  list.SetStyle(1);
  EXPECT_EQ(list.ListCount(), 1);
  EXPECT_TRUE(GetWindowLongW(list.ListHandle(), GWL_STYLE) & LBS_OWNERDRAWFIXED);
  EXPECT_EQ(ErrorOf([&] { list.SetDrawMode(1); }), 0);
  EXPECT_EQ(list.Style(), 0) << "an owner-drawn list is a standard one";

  form.ControlAt(0).SetName(L"BlockedWords");
  ASSERT_EQ(list.ListCount(), 1);
  EXPECT_EQ(list.List(0), L"BlockedWords");
  EXPECT_EQ(list.ListIndex(), -1);
}

TEST(ListBoxDesignModeTest, RefusedSettingsShowTheirMessageAndKeepTheOldValue) {
  Form form;
  form.SetUserMode(false);
  auto control = std::make_unique<ListBoxW>();
  ListBoxW& list = *control;
  form.AddControl(std::move(control), L"List1", {10, 10, 210, 170});
  list.SetDrawMode(2);
  list.SetHorizontalExtent(30);
  test::DialogResponder responder;
  responder.Then(test::DialogResponder::Press(IDOK))
      .Then(test::DialogResponder::Press(IDOK))
      .Then(test::DialogResponder::Press(IDOK));
  EXPECT_EQ(ErrorOf([&] { list.SetMultiColumn(true); }), 0);
  EXPECT_EQ(ErrorOf([&] { list.SetStyle(1); }), 0);
  EXPECT_EQ(ErrorOf([&] { list.SetHorizontalExtent(-1); }), 0);
  EXPECT_FALSE(list.MultiColumn());
  EXPECT_EQ(list.Style(), 0);
  EXPECT_FLOAT_EQ(list.HorizontalExtent(), 30);
  ASSERT_EQ(responder.Seen().size(), 3u);
  const wchar_t* const messages[] = {
      L"MultiColumn must be False when DrawMode is 2 - OwnerDrawVariable",
      L"Style must be 0 - Standard when DrawMode is not 0 - Normal", L"Invalid property value"};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(responder.Seen()[i].caption, L"List1");
    EXPECT_NE(responder.Seen()[i].text.find(messages[i]), std::wstring::npos) << i;
  }
}

}  // namespace
}  // namespace veltrin::controls::list_box_test
