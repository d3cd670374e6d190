// Word, byte and overflow-checked number helpers, and the input-state masks.
#include <gtest/gtest.h>

#include <limits>

#include "common/run_time_error.h"
#include "base/support/run_time_errors.h"
#include "controls/base/input_state.h"
#include "controls/base/words_numbers.h"

namespace veltrin::controls {
namespace {

using test::ErrorOf;

struct WordRow {
  LONG_PTR value;
  int16_t low, high;
  int32_t x, y;
  uint8_t low_byte, high_byte;
};

TEST(WordsNumbers, UnpacksWordsBytesAndCoordinates) {
  const WordRow rows[] = {
      {0x0001FFFF, -1, 1, -1, 1, 0xFF, 0xFF},
      {static_cast<LONG_PTR>(static_cast<int32_t>(0xFFFF0010)), 16, -1, 16, -1, 0x10, 0x00},
      {0x7FFF8000, -32768, 32767, -32768, 32767, 0x00, 0x80},
      {0, 0, 0, 0, 0, 0, 0},
      {0x12345678, 0x5678, 0x1234, 0x5678, 0x1234, 0x78, 0x56},
  };
  for (const WordRow& row : rows) {
    SCOPED_TRACE(testing::Message() << std::hex << row.value);
    EXPECT_EQ(LoWordSigned(row.value), row.low);
    EXPECT_EQ(HiWordSigned(row.value), row.high);
    EXPECT_EQ(XFromLParam(row.value), row.x);
    EXPECT_EQ(YFromLParam(row.value), row.y);
    EXPECT_EQ(LoByteOf(row.value), row.low_byte);
    EXPECT_EQ(HiByteOf(row.value), row.high_byte);
    EXPECT_EQ(MakeLong(row.low, row.high), static_cast<int32_t>(row.value));
  }
}

TEST(WordsNumbers, UnsignedSixteenBitConversions) {
  EXPECT_EQ(UnsignedToInteger(65535), -1);
  EXPECT_EQ(UnsignedToInteger(32768), -32768);
  EXPECT_EQ(UnsignedToInteger(32767), 32767);
  EXPECT_EQ(UnsignedToInteger(0), 0);
  EXPECT_EQ(ErrorOf([] { UnsignedToInteger(65536); }), kOverflow);
  EXPECT_EQ(ErrorOf([] { UnsignedToInteger(-1); }), kOverflow);
  EXPECT_EQ(IntegerToUnsigned(-1), 65535);
  EXPECT_EQ(IntegerToUnsigned(-32768), 32768);
  EXPECT_EQ(IntegerToUnsigned(5), 5);
}

TEST(WordsNumbers, PointerAddChecksSignedOverflow) {
  constexpr LONG_PTR kMax = std::numeric_limits<LONG_PTR>::max();
  EXPECT_EQ(PointerAdd(0x1000, 0x20), 0x1020);
  EXPECT_EQ(PointerAdd(0x1000, -0x20), 0xFE0);
  EXPECT_EQ(PointerAdd(kMax - 1, 1), kMax);
  EXPECT_EQ(ErrorOf([] { PointerAdd(kMax, 1); }), kOverflow);
  EXPECT_EQ(ErrorOf([] { PointerAdd(std::numeric_limits<LONG_PTR>::min(), -1); }), kOverflow);
}

class CountedObject : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }
  ULONG references_ = 1;
};

TEST(WordsNumbers, ObjectFromPointerHoldsItsOwnReference) {
  CountedObject object;
  {
    const ComPtr<IUnknown> reference = ObjectFromPointer(reinterpret_cast<LONG_PTR>(&object));
    EXPECT_EQ(reference.Get(), &object);
    EXPECT_EQ(object.references_, 2u);
  }
  EXPECT_EQ(object.references_, 1u);
  EXPECT_FALSE(ObjectFromPointer(0));
}

TEST(WordsNumbers, ProcedureAddressCanBeCalledBack) {
  const LONG_PTR address = ProcedureAddress(&UnsignedToInteger);
  ASSERT_NE(address, 0);
  const auto routine = reinterpret_cast<int16_t (*)(int32_t)>(reinterpret_cast<void*>(address));
  EXPECT_EQ(routine(65535), -1);
  EXPECT_NE(ProcedureAddress(&PointerAdd), address);
}

TEST(InputState, ButtonMaskFromMouseFlags) {
  const struct {
    WPARAM flags;
    int buttons;
  } rows[] = {
      {0, 0},
      {MK_LBUTTON, 1},
      {MK_RBUTTON, 2},
      {MK_MBUTTON, 4},
      {MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_SHIFT | MK_CONTROL, 7},
      {MK_SHIFT | MK_CONTROL | MK_XBUTTON1, 0},
  };
  for (const auto& row : rows) EXPECT_EQ(ButtonStateFromMouseFlags(row.flags), row.buttons);
}

// Sets the thread's key state as if the given keys were held down.
void HoldKeys(std::initializer_list<int> keys) {
  BYTE state[256] = {};
  for (const int key : keys) state[key] = 0x80;
  SetKeyboardState(state);
}

TEST(InputState, ShiftMasksReadTheKeyboardState) {
  const struct {
    std::initializer_list<int> keys;
    WPARAM flags;
    int now;
    int from_mouse;
  } rows[] = {
      {{}, 0, 0, 0},
      {{VK_SHIFT}, MK_SHIFT, 1, 1},
      {{VK_CONTROL}, MK_CONTROL, 2, 2},
      {{VK_MENU}, 0, 4, 4},  // Alt only from the keyboard
      {{VK_SHIFT, VK_CONTROL, VK_MENU}, MK_SHIFT | MK_CONTROL, 7, 7},
      {{}, MK_SHIFT | MK_CONTROL, 0, 3},  // mouse flags win for Shift/Ctrl
  };
  for (const auto& row : rows) {
    HoldKeys(row.keys);
    EXPECT_EQ(ShiftStateNow(), row.now);
    EXPECT_EQ(ShiftStateFromMouseFlags(row.flags), row.from_mouse);
  }
  HoldKeys({});
}

}  // namespace
}  // namespace veltrin::controls
