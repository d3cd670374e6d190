// Mounting with mount(2) directly: no mount program and no shell between the test and the system.
#include "tests/core/support/small_mount_posix.h"

#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace veltrin::test {

SmallMount::SmallMount(const std::filesystem::path& folder, std::size_t bytes) : folder_(folder) {
  if (::geteuid() != 0) {
    reason_ = "mounting a small file system needs root";
    return;
  }
  std::error_code ignored;
  std::filesystem::create_directories(folder_, ignored);
  const std::string options = "size=" + std::to_string(bytes);
  if (::mount("tmpfs", folder_.c_str(), "tmpfs", 0, options.c_str()) != 0) {
    reason_ = std::string("cannot mount a small file system: ") + std::strerror(errno);
    return;
  }
  mounted_ = true;
}

bool SmallMount::MakeReadOnly() {
  return mounted_ &&
         ::mount(nullptr, folder_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

SmallMount::~SmallMount() {
  if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
}

}  // namespace veltrin::test
