// The temporary files that replacing writes keep beside their targets, known process-wide so that
// an interrupt can remove every one of them before the process ends.
#pragma once

#include <mutex>

namespace veltrin::detail {

// A temporary file that can be removed at once from any thread.
class RemovableFile {
 public:
  virtual void RemoveNow() noexcept = 0;

 protected:
  ~RemovableFile() = default;
};

// Returns the lock over the process's temporary files: while it is held, no other thread creates,
// moves into place or removes one. After AbandonReplacingWrites it is never granted again.
std::unique_lock<std::mutex> LockTemporaryFiles();

// Adds or removes a file of the set; the caller holds the lock.
void KeepTemporaryFile(RemovableFile& file);
void ForgetTemporaryFile(RemovableFile& file);

}  // namespace veltrin::detail
