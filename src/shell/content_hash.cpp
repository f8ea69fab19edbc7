#include "shell/content_hash.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "shell/error.h"

namespace likentor {

namespace {

constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr std::uint64_t kPrime3 = 0x165667B19E3779F9ULL;
constexpr std::uint64_t kPrime4 = 0x85EBCA77C2B2AE63ULL;
constexpr std::uint64_t kPrime5 = 0x27D4EB2F165667C5ULL;

// Little-endian reads, whatever the machine's order.
std::uint64_t Read64(const unsigned char* p) {
  std::uint64_t v = 0;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
  return v;
}
std::uint32_t Read32(const unsigned char* p) {
  std::uint32_t v = 0;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap32(v);
  return v;
}

std::uint64_t Round(std::uint64_t lane, std::uint64_t input) {
  lane += input * kPrime2;
  lane = std::rotl(lane, 31);
  return lane * kPrime1;
}

std::uint64_t MergeRound(std::uint64_t hash, std::uint64_t lane) {
  hash ^= Round(0, lane);
  return hash * kPrime1 + kPrime4;
}

// Feeds whole 32-byte stripes; returns the bytes used.
std::size_t Stripes(std::uint64_t (&lanes)[4], const unsigned char* p, std::size_t size) {
  std::uint64_t a = lanes[0], b = lanes[1], c = lanes[2], d = lanes[3];
  std::size_t used = 0;
  for (; size - used >= 32; used += 32, p += 32) {
    a = Round(a, Read64(p));
    b = Round(b, Read64(p + 8));
    c = Round(c, Read64(p + 16));
    d = Round(d, Read64(p + 24));
  }
  lanes[0] = a;
  lanes[1] = b;
  lanes[2] = c;
  lanes[3] = d;
  return used;
}

}  // namespace

void ContentHash::Add(const void* data, std::size_t size) {
  if (!started_) {
    lanes_[0] = kPrime1 + kPrime2;
    lanes_[1] = kPrime2;
    lanes_[2] = 0;
    lanes_[3] = 0 - kPrime1;
    started_ = true;
  }
  const auto* p = static_cast<const unsigned char*>(data);
  total_ += size;
  if (pendingSize_ > 0) {
    const std::size_t take = std::min(size, sizeof pending_ - pendingSize_);
    std::memcpy(pending_ + pendingSize_, p, take);
    pendingSize_ += take;
    p += take;
    size -= take;
    if (pendingSize_ < sizeof pending_) return;
    Stripes(lanes_, pending_, sizeof pending_);
    pendingSize_ = 0;
  }
  const std::size_t used = Stripes(lanes_, p, size);
  std::memcpy(pending_, p + used, size - used);
  pendingSize_ = size - used;
}

std::uint64_t ContentHash::Value() const {
  std::uint64_t hash = 0;
  if (total_ >= 32) {
    hash = std::rotl(lanes_[0], 1) + std::rotl(lanes_[1], 7) + std::rotl(lanes_[2], 12) +
           std::rotl(lanes_[3], 18);
    for (const std::uint64_t lane : lanes_) hash = MergeRound(hash, lane);
  } else {
    hash = kPrime5;
  }
  hash += total_;
  const unsigned char* p = pending_;
  std::size_t left = pendingSize_;
  for (; left >= 8; left -= 8, p += 8) {
    hash ^= Round(0, Read64(p));
    hash = std::rotl(hash, 27) * kPrime1 + kPrime4;
  }
  if (left >= 4) {
    hash ^= std::uint64_t{Read32(p)} * kPrime1;
    hash = std::rotl(hash, 23) * kPrime2 + kPrime3;
    left -= 4;
    p += 4;
  }
  for (; left > 0; --left, ++p) {
    hash ^= *p * kPrime5;
    hash = std::rotl(hash, 11) * kPrime1;
  }
  hash ^= hash >> 33;
  hash *= kPrime2;
  hash ^= hash >> 29;
  hash *= kPrime3;
  hash ^= hash >> 32;
  return hash;
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
  constexpr std::size_t kChunk = 256 * 1024;
  const auto buffer = std::make_unique<unsigned char[]>(kChunk);
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
