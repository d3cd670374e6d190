// Property values, fonts and the property bag: conversions, defaults, Unicode text as bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/run_time_error.h"
#include "common/utf16.h"
#include "base/support/run_time_errors.h"
#include "controls/base/host/font_object.h"
#include "controls/base/host/picture_object.h"
#include "controls/base/host/property_bag.h"

namespace veltrin::controls {
namespace {

using test::ErrorOf;

TEST(PropertyValue, ConvertsLikeTheRuntime) {
  EXPECT_EQ(PropertyValue(true).ToLong(), -1);
  EXPECT_EQ(PropertyValue(int16_t{-1}).ToBoolean(), true);
  EXPECT_EQ(PropertyValue().ToLong(), 0);
  EXPECT_EQ(PropertyValue(L"42").ToInteger(), 42);
  EXPECT_EQ(PropertyValue(2.5).ToLong(), 2);  // half to even
  EXPECT_EQ(PropertyValue(3.5).ToLong(), 4);
  EXPECT_EQ(PropertyValue(100000).ToString(), L"100000");
  EXPECT_EQ(PropertyValue(false).ToString(), L"False");
  EXPECT_EQ(PropertyValue(L"Text").ToBytes(), (ByteArray{'T', 0, 'e', 0, 'x', 0, 't', 0}));
  EXPECT_TRUE(PropertyValue().ToBytes().empty());
  EXPECT_EQ(PropertyValue().ToFont(), nullptr);
  EXPECT_EQ(PropertyValue(uint8_t{255}).ToLong(), 255);
  EXPECT_EQ(PropertyValue(uint8_t{255}).ToString(), L"255");
  EXPECT_EQ(PropertyValue(uint8_t{7}).Type(), ValueType::kByte);
}

TEST(PropertyValue, RaisesTypeMismatchAndOverflow) {
  EXPECT_EQ(ErrorOf([] { (void)PropertyValue(L"abc").ToLong(); }), kTypeMismatch);
  EXPECT_EQ(ErrorOf([] { (void)PropertyValue(ByteArray{1}).ToString(); }), kTypeMismatch);
  EXPECT_EQ(ErrorOf([] { (void)PropertyValue(40000).ToInteger(); }), kOverflow);
  EXPECT_EQ(ErrorOf([] { (void)PropertyValue(1).ToFont(); }), kTypeMismatch);
}

TEST(PropertyValue, EqualityComparesNumbersByValueAndFontsByAttributes) {
  EXPECT_EQ(PropertyValue(int16_t{0}), PropertyValue(0));
  EXPECT_EQ(PropertyValue(true), PropertyValue(-1));
  EXPECT_EQ(PropertyValue(uint8_t{200}), PropertyValue(200));
  EXPECT_NE(PropertyValue(), PropertyValue(0));
  EXPECT_NE(PropertyValue(L""), PropertyValue());
  auto a = std::make_shared<FontObject>(L"Arial", 10);
  auto b = a->Clone();
  EXPECT_EQ(PropertyValue(a), PropertyValue(b));
  b->SetName(L"arial");  // names compare code unit by code unit
  EXPECT_NE(PropertyValue(a), PropertyValue(b));
  EXPECT_EQ(PropertyValue(FontRef()), PropertyValue(FontRef()));
  EXPECT_NE(PropertyValue(a), PropertyValue(FontRef()));
}

TEST(FontObject, NotifiesChangesOnlyWhileSubscribed) {
  FontObject font(L"Tahoma", 9);
  std::vector<std::wstring> changes;
  auto subscription = font.Subscribe([&](const std::wstring& name) { changes.push_back(name); });
  font.SetBold(true);
  font.SetBold(true);  // no change, no notification
  font.SetSize(12.12345);
  font.SetName(L"宋体");
  EXPECT_EQ(font.Weight(), 700);
  EXPECT_DOUBLE_EQ(font.Size(), 12.1235);  // kept to four decimals
  subscription.Reset();
  font.SetItalic(true);
  EXPECT_EQ(changes, (std::vector<std::wstring>{L"Bold", L"Size", L"Name"}));
  EXPECT_EQ(ErrorOf([&] { font.SetSize(-1); }), kInvalidPropertyValue);
  EXPECT_EQ(ErrorOf([&] { font.SetWeight(1001); }), kInvalidPropertyValue);
}

TEST(FontObject, SubscriptionMayOutliveTheFontAndCloneHasNoSubscribers) {
  FontSubscription survivor;
  int calls = 0;
  {
    auto font = std::make_shared<FontObject>();
    survivor = font->Subscribe([&](const std::wstring&) { ++calls; });
    auto copy = font->Clone();
    copy->SetUnderline(true);
    EXPECT_TRUE(copy->Underline());
    EXPECT_FALSE(font->Underline());
  }
  EXPECT_FALSE(survivor.Active());
  survivor.Reset();
  EXPECT_EQ(calls, 0);
}

TEST(PropertyBag, ChineseTextSurvivesAsUtf16Bytes) {
  const std::wstring text = L"第一章　风起云涌";
  PropertyBag bag;
  bag.WriteProperty(L"Text", PropertyValue(PropertyValue(text).ToBytes()), PropertyValue());
  const PropertyValue stored = bag.ReadProperty(L"Text", PropertyValue(L""));
  ASSERT_EQ(stored.Type(), ValueType::kByteArray);
  const ByteArray bytes = stored.ToBytes();
  ASSERT_EQ(bytes.size(), text.size() * 2);
  EXPECT_EQ(bytes[0], 0x2C);  // U+7B2C, low byte first
  EXPECT_EQ(bytes[1], 0x7B);
  EXPECT_EQ(ToWide(FromUtf16LeBytes(bytes)), text);
}

TEST(PropertyBag, DefaultsAreNotStoredAndReadBack) {
  PropertyBag bag;
  bag.WriteProperty(L"MaxLength", PropertyValue(100000), PropertyValue(int16_t{0}));
  bag.WriteProperty(L"Locked", PropertyValue(false), PropertyValue(false));
  EXPECT_EQ(bag.Count(), 1u);
  EXPECT_EQ(bag.ReadProperty(L"MaxLength", PropertyValue(int16_t{0})).ToLong(), 100000);
  EXPECT_EQ(bag.ReadProperty(L"Locked", PropertyValue(true)).ToBoolean(), true);
  bag.WriteProperty(L"MaxLength", PropertyValue(0), PropertyValue(int16_t{0}));  // back to default
  EXPECT_FALSE(bag.Contains(L"MaxLength"));
}

TEST(PropertyBag, FontsAreStoredAsCopies) {
  PropertyBag bag;
  auto font = std::make_shared<FontObject>(L"Tahoma", 10);
  bag.WriteProperty(L"Font", PropertyValue(font), PropertyValue(FontRef()));
  font->SetBold(true);
  const FontRef read = bag.ReadProperty(L"Font", PropertyValue(FontRef())).ToFont();
  ASSERT_NE(read, nullptr);
  EXPECT_NE(read, font);
  EXPECT_FALSE(read->Bold());
  bag.WriteProperty(L"Font", PropertyValue(FontRef()), PropertyValue(FontRef()));
  EXPECT_FALSE(bag.Contains(L"Font"));
}

TEST(PictureObject, OwnsItsIconAndDetachGivesItBack) {
  HICON icon = CopyIcon(LoadIconW(nullptr, IDI_APPLICATION));
  ASSERT_NE(icon, nullptr);
  PictureObject picture(icon, PictureType::kIcon);
  EXPECT_EQ(picture.Type(), PictureType::kIcon);
  HICON back = static_cast<HICON>(picture.Detach());
  EXPECT_EQ(picture.Type(), PictureType::kNone);
  EXPECT_TRUE(DestroyIcon(back));
}

}  // namespace
}  // namespace veltrin::controls
