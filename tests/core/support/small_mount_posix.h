// A small tmpfs file system mounted by a test, for failures that root cannot bypass: a full disk
// and a read-only file system.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace veltrin::test {

class SmallMount {
 public:
  // Mounts a tmpfs of `bytes` on the folder (created when missing). Mounting needs root; when it
  // fails, Mounted() is false and Reason() says why, for the test's skip.
  SmallMount(const std::filesystem::path& folder, std::size_t bytes);
  // Unmounts.
  ~SmallMount();
  SmallMount(const SmallMount&) = delete;
  SmallMount& operator=(const SmallMount&) = delete;

  // Mounts the file system again read-only, keeping what it holds; false when that fails.
  bool MakeReadOnly();

  bool Mounted() const { return mounted_; }
  const std::string& Reason() const { return reason_; }

 private:
  std::filesystem::path folder_;  // the mount point
  bool mounted_ = false;          // whether the file system is mounted there
  std::string reason_;            // why not
};

}  // namespace veltrin::test
