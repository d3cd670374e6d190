// Ordered jobs: workers take the next index under one lock and wait while it is too far ahead; the
// calling thread waits for each index in turn.
#include "cli/ordered_jobs.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace veltrin::cli {

void RunInOrder(std::size_t count, unsigned jobs, std::size_t window,
                const std::function<void(std::size_t)>& work,
                const std::function<bool(std::size_t)>& deliver) {
  std::vector<char> done(count, 0);  // set once an index's work has finished
  std::mutex mutex;
  std::condition_variable changed;
  std::size_t next = 0;        // the next index to start
  std::size_t delivering = 0;  // the next index to deliver
  bool stopped = false;
  auto worker = [&] {
    for (;;) {
      std::size_t index = 0;
      {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return stopped || next >= count || next < delivering + window; });
        if (stopped || next >= count) return;
        index = next++;
      }
      work(index);
      {
        std::lock_guard<std::mutex> lock(mutex);
        done[index] = 1;
      }
      changed.notify_all();
    }
  };
  std::vector<std::thread> threads;
  auto stop_and_join = [&] {
    {
      std::lock_guard<std::mutex> lock(mutex);
      stopped = true;
    }
    changed.notify_all();
    for (std::thread& thread : threads) thread.join();
  };
  const std::size_t thread_count = std::min<std::size_t>(std::max(jobs, 1u), count);
  try {
    for (std::size_t i = 0; i < thread_count; ++i) threads.emplace_back(worker);
    for (std::size_t index = 0; index < count; ++index) {
      {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return done[index] != 0; });
      }
      const bool go_on = deliver(index);
      {
        std::lock_guard<std::mutex> lock(mutex);
        delivering = index + 1;
      }
      changed.notify_all();
      if (!go_on) break;
    }
  } catch (...) {
    stop_and_join();
    throw;
  }
  stop_and_join();
}

}  // namespace veltrin::cli
