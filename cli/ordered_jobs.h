// Work on numbered items by several threads at once, with the items finished in their own order.
#pragma once

#include <cstddef>
#include <functional>

namespace veltrin::cli {

// Runs `work` on every index below `count` with up to `jobs` threads, and hands each finished index
// to `deliver` on the calling thread, in index order. No index is started while it is `window` or
// more ahead of the next one to deliver, so that at most `window` finished items wait for their
// turn however slow one item is. When `deliver` returns false, no further index is started.
// `work` must not throw; what `deliver` throws passes through once the threads have stopped.
void RunInOrder(std::size_t count, unsigned jobs, std::size_t window,
                const std::function<void(std::size_t)>& work,
                const std::function<bool(std::size_t)>& deliver);

}  // namespace veltrin::cli
