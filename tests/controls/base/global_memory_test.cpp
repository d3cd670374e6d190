// The owners of global memory and storage media: what they free, when, and what a move leaves.
#include "controls/base/global_memory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

namespace veltrin::controls {
namespace {

bool IsLiveBlock(HGLOBAL block) {
  return GlobalFlags(block) != GMEM_INVALID_HANDLE;
}

TEST(GlobalMemoryTest, OwnsCopiesAndTakesBackAReplacedBlock) {
  const char kText[] = "DEVNAMES";
  GlobalMemory memory = GlobalMemory::Copy(kText, sizeof(kText));
  ASSERT_TRUE(memory);
  EXPECT_GE(memory.Size(), sizeof(kText));
  {
    const GlobalLockScope lock(memory.Get());
    ASSERT_TRUE(lock);
    EXPECT_STREQ(lock.As<const char>(), kText);
  }
  EXPECT_EQ(GlobalFlags(memory.Get()) & GMEM_LOCKCOUNT, 0u) << "the scope unlocked";

  // A move empties the source; move-assignment frees the block it replaces.
  const HGLOBAL first = memory.Get();
  GlobalMemory moved = std::move(memory);
  EXPECT_TRUE(memory.Empty());
  EXPECT_EQ(moved.Get(), first);
  moved = GlobalMemory::Allocate(16);
  EXPECT_FALSE(IsLiveBlock(first));

  // A dialog that hands back the same block keeps it; a new block replaces (and frees) the old.
  const HGLOBAL second = moved.Get();
  moved.TakeBack(second);
  EXPECT_TRUE(IsLiveBlock(second));
  const HGLOBAL replacement = GlobalAlloc(GMEM_MOVEABLE, 8);
  moved.TakeBack(replacement);
  EXPECT_FALSE(IsLiveBlock(second));
  EXPECT_EQ(moved.Get(), replacement);

  // Detach hands the block on; the owner no longer frees it.
  const HGLOBAL detached = moved.Detach();
  moved.Reset();
  EXPECT_TRUE(IsLiveBlock(detached));
  GlobalFree(detached);
}

TEST(StorageMediumTest, ReleasesWhatACallFilledIn) {
  StorageMedium medium;
  STGMEDIUM* out = medium.Put();
  out->tymed = TYMED_HGLOBAL;
  out->hGlobal = GlobalMemory::Allocate(4).Detach();
  const HGLOBAL block = medium.Get().hGlobal;
  EXPECT_TRUE(IsLiveBlock(block));
  medium.Put();  // filling again releases the first medium
  EXPECT_FALSE(IsLiveBlock(block));
  EXPECT_EQ(medium.Get().tymed, static_cast<DWORD>(TYMED_NULL));
}

}  // namespace
}  // namespace veltrin::controls
