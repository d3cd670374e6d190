// Text persisted as UTF-16LE byte arrays, and Unicode text read from the clipboard.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "common/run_time_error.h"
#include "controls/base/clipboard_text.h"
#include "controls/base/text_persistence.h"

namespace veltrin::controls {
namespace {

TEST(TextPersistence, EmptyTextIsAnEmptyValue) {
  EXPECT_TRUE(TextToStoredValue(L"").IsEmpty());
  EXPECT_EQ(StoredValueToText(PropertyValue()), L"");
}

TEST(TextPersistence, TextIsStoredAsItsUtf16Bytes) {
  const PropertyValue stored = TextToStoredValue(L"Text");
  ASSERT_EQ(stored.Type(), ValueType::kByteArray);
  EXPECT_EQ(stored.ToBytes(), (ByteArray{'T', 0, 'e', 0, 'x', 0, 't', 0}));

  const std::wstring chinese = L"第一章\U0001F600";  // includes a surrogate pair
  const PropertyValue round = TextToStoredValue(chinese);
  EXPECT_EQ(round.ToBytes().size(), chinese.size() * 2);
  EXPECT_EQ(StoredValueToText(round), chinese);
}

TEST(TextPersistence, OtherStoredValuesAreReadAsBytes) {
  EXPECT_EQ(StoredValueToText(PropertyValue(L"plain")), L"plain");
  EXPECT_EQ(StoredValueToText(PropertyValue(ByteArray{'A', 0, 'B'})), L"A") << "odd byte dropped";
  try {
    StoredValueToText(PropertyValue(int16_t{5}));
    ADD_FAILURE() << "a number has no byte form";
  } catch (const RunTimeError& e) {
    EXPECT_EQ(e.Number(), kTypeMismatch);
  }
}

// Puts a CF_UNICODETEXT block of `bytes` bytes holding `text` on the clipboard.
bool PutClipboardBlock(const std::wstring& text, size_t bytes) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  if (!block) {
    CloseClipboard();
    return false;
  }
  std::memcpy(GlobalLock(block), text.c_str(), std::min(bytes, text.size() * 2));
  GlobalUnlock(block);
  const bool put = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
  if (!put) GlobalFree(block);
  CloseClipboard();
  return put;
}

TEST(ClipboardText, ReadsTheBlockWithoutItsLastCharacter) {
  ASSERT_TRUE(PutClipboardBlock(L"Hello 世界", (8 + 1) * 2));
  EXPECT_EQ(ClipboardUnicodeText(), L"Hello 世界");

  // A block larger than its text: the spare characters come back as NULs.
  ASSERT_TRUE(PutClipboardBlock(L"Hi", 6 * 2));
  EXPECT_EQ(ClipboardUnicodeText(), std::wstring(L"Hi\0\0\0", 5));

  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  EXPECT_EQ(ClipboardUnicodeText(), L"");
}

TEST(ClipboardText, ClipboardHeldByAnotherWindowGivesEmptyText) {
  ASSERT_TRUE(PutClipboardBlock(L"kept", 5 * 2));
  const HWND holder = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(holder, nullptr);
  ASSERT_TRUE(OpenClipboard(holder));
  EXPECT_EQ(ClipboardUnicodeText(), L"") << "OpenClipboard fails while another window holds it";
  CloseClipboard();
  DestroyWindow(holder);
  EXPECT_EQ(ClipboardUnicodeText(), L"kept");
}

}  // namespace
}  // namespace veltrin::controls
