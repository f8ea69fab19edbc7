#include "shell/content_hash.h"

#include <xxhash.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

// On x86-64 the library picks the vector unit (SSE2, AVX2, AVX-512) when first called; the
// header makes the calls below go through that choice.
#if defined(__x86_64__) && __has_include(<xxh_x86dispatch.h>)
#include <xxh_x86dispatch.h>
#endif

#include "shell/error.h"

namespace likentor {

void ContentHash::Free::operator()(XXH3_state_s* state) const {
  XXH3_freeState(state);
}

ContentHash::ContentHash() : state_(XXH3_createState()) {
  if (!state_) throw std::bad_alloc();
  XXH3_64bits_reset(state_.get());
}

ContentHash::~ContentHash() = default;

void ContentHash::Add(const void* data, std::size_t size) {
  if (size > 0) XXH3_64bits_update(state_.get(), data, size);
}

std::uint64_t ContentHash::Value() const {
  return XXH3_64bits_digest(state_.get());
}

std::uint64_t HashBytes(std::string_view bytes) {
  ContentHash hash;
  hash.Add(bytes);
  return hash.Value();
}

std::uint64_t HashFile(const std::filesystem::path& file) {
  const auto fail = [&file](int error) {
    return Error("Cannot read \"" + file.string() + "\": " + std::strerror(error) + ".");
  };
  errno = 0;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(std::fopen(file.string().c_str(), "rb"),
                                                         &std::fclose);
  if (!stream) throw fail(errno != 0 ? errno : EIO);
  // Reads this large go straight into the buffer, past the stream's own; a megabyte takes few
  // system calls and still stays in the processor's cache until it is hashed.
  constexpr std::size_t kChunk = 1024 * 1024;
  const auto buffer = std::make_unique_for_overwrite<unsigned char[]>(kChunk);
  ContentHash hash;
  for (;;) {
    const std::size_t got = std::fread(buffer.get(), 1, kChunk, stream.get());
    hash.Add(buffer.get(), got);
    if (got < kChunk) {
      if (std::ferror(stream.get()) != 0) throw fail(errno != 0 ? errno : EIO);
      break;
    }
  }
  return hash.Value();
}

}  // namespace likentor
