// Ordered jobs: the order of delivery and the bound on the work that runs ahead of a slow item.
#include "cli/ordered_jobs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace veltrin::cli {
namespace {

TEST(RunInOrderTest, DeliversInOrderAndStopsWhenAsked) {
  std::vector<std::size_t> delivered;
  RunInOrder(
      50, 4, 8, [](std::size_t) {},
      [&](std::size_t index) {
        delivered.push_back(index);
        return index < 20;
      });
  ASSERT_EQ(delivered.size(), 21u);
  for (std::size_t i = 0; i < delivered.size(); ++i) EXPECT_EQ(delivered[i], i);
}

TEST(RunInOrderTest, ASlowFirstItemHoldsBackTheOthersAtTheWindow) {
  constexpr std::size_t kWindow = 8;
  std::atomic<std::size_t> started{0};
  std::mutex mutex;
  std::condition_variable more;
  RunInOrder(
      200, 4, kWindow,
      [&](std::size_t index) {
        ++started;
        more.notify_all();
        if (index != 0) return;
        // The first item waits until the others could have run far past the window (or a while).
        std::unique_lock<std::mutex> lock(mutex);
        more.wait_for(lock, std::chrono::seconds(2), [&] { return started > kWindow; });
        EXPECT_LE(started.load(), kWindow);
      },
      [](std::size_t) { return true; });
  EXPECT_EQ(started.load(), 200u);
}

}  // namespace
}  // namespace veltrin::cli
