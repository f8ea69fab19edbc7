#pragma once

// A fast 64-bit hash of a file's bytes, to tell whether a file changed since it was last read
// without keeping a copy of it. The hash is xxHash's XXH3 (64 bits, seed 0), from the system's
// xxHash library, which picks the widest vector unit the processor has: tens of gigabytes a second,
// so that the cost of hashing tens of megabytes is mostly that of reading them. It is no defence
// against a file made to collide on purpose; it tells an edited file from the one read.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>

struct XXH3_state_s;

namespace likentor {

// The hash of bytes given piece by piece: the same value however the bytes are cut.
class ContentHash {
 public:
  ContentHash();
  ~ContentHash();
  ContentHash(const ContentHash&) = delete;
  ContentHash& operator=(const ContentHash&) = delete;

  void Add(const void* data, std::size_t size);
  void Add(std::string_view bytes) { Add(bytes.data(), bytes.size()); }
  std::uint64_t Value() const;

 private:
  struct Free {
    void operator()(XXH3_state_s* state) const;
  };
  std::unique_ptr<XXH3_state_s, Free> state_;
};

std::uint64_t HashBytes(std::string_view bytes);

// The hash of a whole file's bytes, read as they are now. Error naming the file when it cannot be
// read.
std::uint64_t HashFile(const std::filesystem::path& file);

}  // namespace likentor
