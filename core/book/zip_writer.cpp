// ZIP format as in APPNOTE 6.3: local headers carry sizes and CRC up front (each entry is
// compressed whole first, entries being single chapters), so no data descriptors are needed.
#include "core/book/zip_writer.h"

#include <zlib.h>

#include <algorithm>

namespace veltrin::book {

namespace {

constexpr std::uint64_t kZipLimit = 0xFFFFFFFFu;
// 1980-01-01 00:00 in DOS time and date: readers show no meaningful time for generated files.
constexpr std::uint16_t kDosTime = 0;
constexpr std::uint16_t kDosDate = (0 << 9) | (1 << 5) | 1;

void Put16(std::string& out, std::uint16_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8);
}

void Put32(std::string& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

std::uint32_t Crc(std::string_view data) {
  uLong crc = crc32(0L, Z_NULL, 0);
  while (!data.empty()) {
    const uInt piece = static_cast<uInt>(std::min<std::size_t>(data.size(), 1u << 30));
    crc = crc32(crc, reinterpret_cast<const Bytef*>(data.data()), piece);
    data.remove_prefix(piece);
  }
  return static_cast<std::uint32_t>(crc);
}

// Returns the raw deflate stream (no zlib header) of the data.
std::string Deflate(std::string_view data) {
  z_stream stream{};
  if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) !=
      Z_OK) {
    throw ZipError("cannot start compression");
  }
  std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int result = deflate(&stream, Z_FINISH);
  const std::size_t written = stream.total_out;
  deflateEnd(&stream);
  if (result != Z_STREAM_END) throw ZipError("compression failed");
  out.resize(written);
  return out;
}

}  // namespace

void ZipWriter::AddStored(std::string_view name, std::string_view data) {
  Add(name, data, data, 0);
}

void ZipWriter::AddDeflated(std::string_view name, std::string_view data) {
  if (data.size() >= kZipLimit) throw ZipError("an entry is larger than 4 GiB");
  const std::string packed = Deflate(data);
  Add(name, data, packed, 8);
}

void ZipWriter::Add(std::string_view name, std::string_view data, std::string_view stored,
                    std::uint16_t method) {
  if (offset_ + stored.size() + name.size() + 30 >= kZipLimit || data.size() >= kZipLimit) {
    throw ZipError("the book is larger than 4 GiB");
  }
  Entry entry;
  entry.name.assign(name);
  entry.crc = Crc(data);
  entry.compressed_size = static_cast<std::uint32_t>(stored.size());
  entry.size = static_cast<std::uint32_t>(data.size());
  entry.method = method;
  entry.offset = static_cast<std::uint32_t>(offset_);
  std::string header;
  Put32(header, 0x04034b50);
  Put16(header, 20);        // version needed: 2.0
  Put16(header, 1u << 11);  // names are UTF-8
  Put16(header, method);
  Put16(header, kDosTime);
  Put16(header, kDosDate);
  Put32(header, entry.crc);
  Put32(header, entry.compressed_size);
  Put32(header, entry.size);
  Put16(header, static_cast<std::uint16_t>(name.size()));
  Put16(header, 0);  // no extra field
  header += name;
  Put(header);
  Put(stored);
  entries_.push_back(std::move(entry));
}

void ZipWriter::Finish() {
  const std::uint64_t directory_start = offset_;
  std::string directory;
  for (const Entry& entry : entries_) {
    Put32(directory, 0x02014b50);
    Put16(directory, 20);  // made by: 2.0
    Put16(directory, 20);
    Put16(directory, 1u << 11);
    Put16(directory, entry.method);
    Put16(directory, kDosTime);
    Put16(directory, kDosDate);
    Put32(directory, entry.crc);
    Put32(directory, entry.compressed_size);
    Put32(directory, entry.size);
    Put16(directory, static_cast<std::uint16_t>(entry.name.size()));
    Put16(directory, 0);  // extra
    Put16(directory, 0);  // comment
    Put16(directory, 0);  // disk
    Put16(directory, 0);  // internal attributes
    Put32(directory, 0);  // external attributes
    Put32(directory, entry.offset);
    directory += entry.name;
  }
  if (entries_.size() > 0xFFFF || directory_start + directory.size() >= kZipLimit) {
    throw ZipError("the book has too many chapters for a ZIP archive");
  }
  const std::size_t directory_size = directory.size();
  Put32(directory, 0x06054b50);
  Put16(directory, 0);
  Put16(directory, 0);
  Put16(directory, static_cast<std::uint16_t>(entries_.size()));
  Put16(directory, static_cast<std::uint16_t>(entries_.size()));
  Put32(directory, static_cast<std::uint32_t>(directory_size));
  Put32(directory, static_cast<std::uint32_t>(directory_start));
  Put16(directory, 0);  // comment length
  Put(directory);
}

void ZipWriter::Put(std::string_view bytes) {
  output_(bytes);
  offset_ += bytes.size();
}

}  // namespace veltrin::book
