#pragma once

// A fast 64-bit hash of a file's bytes, to tell whether a file changed since it was last read
// without keeping a copy of it. The hash is XXH64 (seed 0): four 64-bit lanes of multiply and
// rotate, several gigabytes a second, so that tens of megabytes cost a few milliseconds. It is no
// defence against a file made to collide on purpose; it tells an edited file from the one read.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace likentor {

// The hash of bytes given piece by piece: the same value however the bytes are cut.
class ContentHash {
 public:
  void Add(const void* data, std::size_t size);
  void Add(std::string_view bytes) { Add(bytes.data(), bytes.size()); }
  std::uint64_t Value() const;

 private:
  std::uint64_t lanes_[4] = {};
  std::uint64_t total_ = 0;
  unsigned char pending_[32] = {};  // bytes of a stripe not yet whole
  std::size_t pendingSize_ = 0;
  bool started_ = false;
};

std::uint64_t HashBytes(std::string_view bytes);

// The hash of a whole file's bytes, read as they are now. Error naming the file when it cannot be
// read.
std::uint64_t HashFile(const std::filesystem::path& file);

}  // namespace likentor
