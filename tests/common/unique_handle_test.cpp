// UniqueHandle over a counting traits type: what a move, a reset and the destructor close.
#include "common/unique_handle.h"

#include <gtest/gtest.h>

#include <vector>

namespace veltrin {
namespace {

std::vector<int> closed;  // the handles CountingTraits closed, in order

struct CountingTraits {
  using Handle = int;
  static Handle Empty() noexcept { return -1; }
  static void Close(Handle handle) noexcept { closed.push_back(handle); }
};
using Owned = UniqueHandle<CountingTraits>;

class UniqueHandleTest : public ::testing::Test {
 protected:
  void SetUp() override { closed.clear(); }
};

TEST_F(UniqueHandleTest, DestructorClosesAndEmptyClosesNothing) {
  {
    Owned owned(7);
    Owned empty;
    EXPECT_TRUE(owned);
    EXPECT_TRUE(empty.Empty());
    EXPECT_EQ(empty.Get(), -1);
  }
  EXPECT_EQ(closed, std::vector<int>{7});
}

TEST_F(UniqueHandleTest, MoveEmptiesTheSourceAndMoveAssignmentClosesTheOldHandle) {
  Owned first(1);
  Owned second(std::move(first));
  EXPECT_TRUE(first.Empty());
  EXPECT_EQ(second.Get(), 1);
  EXPECT_TRUE(closed.empty());

  Owned third(3);
  third = std::move(second);
  EXPECT_EQ(closed, std::vector<int>{3});
  EXPECT_EQ(third.Get(), 1);
  EXPECT_TRUE(second.Empty());
  Owned& same = third;
  third = std::move(same);
  EXPECT_EQ(third.Get(), 1) << "self-move keeps the handle";
  EXPECT_EQ(closed, std::vector<int>{3});
}

TEST_F(UniqueHandleTest, ResetClosesDetachGivesUp) {
  Owned owned(4);
  owned.Reset(5);
  EXPECT_EQ(closed, std::vector<int>{4});
  EXPECT_EQ(owned.Detach(), 5);
  EXPECT_TRUE(owned.Empty());
  owned.Reset();
  EXPECT_EQ(closed, std::vector<int>{4}) << "a detached handle is not closed";
}

}  // namespace
}  // namespace veltrin
