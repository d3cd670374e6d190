// The host's user-interface thread: the thread that created the first form. The modeless-dialog
// hook is installed for it, and the form claims it.
#pragma once

#include <windows.h>

namespace veltrin::controls {

// Makes the calling thread the host thread unless one was claimed before (the first claim wins).
void ClaimHostThread() noexcept;

// Returns the claimed host thread, or the calling thread while none has been claimed.
DWORD HostThreadId() noexcept;

}  // namespace veltrin::controls
