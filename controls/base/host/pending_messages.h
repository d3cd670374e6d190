// Dispatching the messages already queued for the thread, outside a form's message loop.
#pragma once

namespace veltrin::controls {

// Dispatches every message already queued for the thread (without waiting), for code that runs
// outside a form's loop. Returns false when WM_QUIT came; the quit is posted again for the loop
// that owns it.
bool ProcessPendingMessages();

}  // namespace veltrin::controls
