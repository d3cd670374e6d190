// The set of temporary files. It is made once and never destroyed, so that an interrupt during
// the process's exit still finds it.
#include "core/temporary_files.h"

#include <set>

#include "core/text_file.h"

namespace veltrin {
namespace detail {
namespace {

struct TemporaryFiles {
  std::mutex mutex;                // guards files
  std::set<RemovableFile*> files;  // not committed, not yet removed
};

TemporaryFiles& Files() {
  static TemporaryFiles* files = new TemporaryFiles;
  return *files;
}

}  // namespace

std::unique_lock<std::mutex> LockTemporaryFiles() {
  return std::unique_lock<std::mutex>(Files().mutex);
}

void KeepTemporaryFile(RemovableFile& file) {
  Files().files.insert(&file);
}

void ForgetTemporaryFile(RemovableFile& file) {
  Files().files.erase(&file);
}

}  // namespace detail

void AbandonReplacingWrites() noexcept {
  detail::TemporaryFiles& files = detail::Files();
  files.mutex.lock();  // kept: nothing is created or moved into place from now on
  for (detail::RemovableFile* file : files.files) file->RemoveNow();
}

}  // namespace veltrin
