// The claimed host thread, kept in one atomic so that any thread may ask.
#include "controls/base/host_thread.h"

#include <atomic>

namespace veltrin::controls {
namespace {

std::atomic<DWORD> g_host_thread{0};  // 0 until the first claim

}  // namespace

void ClaimHostThread() noexcept {
  DWORD expected = 0;
  g_host_thread.compare_exchange_strong(expected, GetCurrentThreadId());
}

DWORD HostThreadId() noexcept {
  const DWORD thread = g_host_thread.load();
  return thread ? thread : GetCurrentThreadId();
}

}  // namespace veltrin::controls
