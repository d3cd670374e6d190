// A ZIP archive written front to back through a byte callback: stored and deflated entries (zlib),
// with the central directory at the end. Only the directory entries are kept in memory.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace veltrin::book {

// An archive that cannot be made (compression failed, or it grew past the 4 GiB of plain ZIP).
class ZipError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ZipWriter {
 public:
  using Output = std::function<void(std::string_view bytes)>;

  // `output` receives the archive's bytes in order; what it throws passes through.
  explicit ZipWriter(Output output) : output_(std::move(output)) {}

  // Adds an entry holding `data` as it is (the EPUB mimetype must be stored).
  void AddStored(std::string_view name, std::string_view data);
  // Adds an entry holding `data` deflated. Throws ZipError.
  void AddDeflated(std::string_view name, std::string_view data);
  // Writes the central directory; nothing may be added afterwards. Throws ZipError.
  void Finish();

 private:
  struct Entry {
    std::string name;
    std::uint32_t crc = 0;
    std::uint32_t compressed_size = 0;
    std::uint32_t size = 0;
    std::uint16_t method = 0;  // 0 stored, 8 deflated
    std::uint32_t offset = 0;  // of its local header
  };
  void Add(std::string_view name, std::string_view data, std::string_view stored,
           std::uint16_t method);
  void Put(std::string_view bytes);

  Output output_;
  std::vector<Entry> entries_;  // the central directory to come
  std::uint64_t offset_ = 0;    // bytes written so far
};

}  // namespace veltrin::book
