#include "portrait/portrait_png.h"

#include <libdeflate.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <string_view>
#include <system_error>

#include "portrait/image_deflate.h"
#include "portrait/image_file.h"
#include "shell/error.h"

namespace likentor {

namespace {

constexpr std::uint8_t kUpFilter = 2;
constexpr std::array<std::uint8_t, 8> kSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// The mark check gives up after this many chunks before the image data; ours is the second.
constexpr int kMarkSearchChunks = 64;

void PutUint32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value >> 24));
  out.push_back(static_cast<std::uint8_t>(value >> 16));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value));
}

// Appends a chunk whose data the caller has already appended after a placeholder length and type:
// fills in the length and appends the CRC of type and data.
void CloseChunk(std::vector<std::uint8_t>& out, std::size_t start) {
  const std::size_t length = out.size() - start - 8;
  for (int i = 0; i < 4; ++i) {
    out[start + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(length >> (24 - 8 * i));
  }
  PutUint32(out, libdeflate_crc32(0, out.data() + start + 4, length + 4));
}

std::size_t OpenChunk(std::vector<std::uint8_t>& out, std::string_view type) {
  const std::size_t start = out.size();
  PutUint32(out, 0);
  out.insert(out.end(), type.begin(), type.end());
  return start;
}

std::uint32_t GetUint32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
         static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

// The data of a tEXt chunk that is our mark: keyword, a zero byte, the value.
bool IsMarkText(const std::vector<std::uint8_t>& data) {
  std::string mark(kPortraitMarkKeyword);
  mark.push_back('\0');
  mark.append(kPortraitMarkValue);
  return data.size() == mark.size() && std::equal(mark.begin(), mark.end(), data.begin());
}

}  // namespace

std::vector<std::uint8_t> EncodePortraitPng(const PngImage& image) {
  if (image.Empty()) throw Error("Cannot encode an empty image as PNG.");
  const std::size_t rowBytes = image.RowBytes();
  const auto height = static_cast<std::size_t>(image.Height());

  // Each row: the filter byte, then every sample minus the one above it (modulo 256). The
  // filtered rows go to a buffer each thread keeps from one portrait to the next: every byte is
  // written before it is read, so it is neither cleared nor given back.
  thread_local std::vector<std::uint8_t> filtered;
  filtered.resize((rowBytes + 1) * height);
  std::uint8_t* f = filtered.data();
  for (std::size_t y = 0; y < height; ++y) {
    *f++ = kUpFilter;
    const std::uint8_t* row = image.Row(static_cast<int>(y));
    if (y == 0) {
      std::copy(row, row + rowBytes, f);
    } else {
      const std::uint8_t* above = image.Row(static_cast<int>(y - 1));
      for (std::size_t i = 0; i < rowBytes; ++i) {
        f[i] = static_cast<std::uint8_t>(row[i] - above[i]);
      }
    }
    f += rowBytes;
  }

  std::vector<std::uint8_t> out(kSignature.begin(), kSignature.end());
  out.reserve(filtered.size() / 2);

  std::size_t chunk = OpenChunk(out, "IHDR");
  PutUint32(out, static_cast<std::uint32_t>(image.Width()));
  PutUint32(out, static_cast<std::uint32_t>(image.Height()));
  out.push_back(8);                         // bit depth
  out.push_back(image.HasAlpha() ? 6 : 2);  // colour type
  out.insert(out.end(), {0, 0, 0});         // deflate, adaptive filtering, no interlace
  CloseChunk(out, chunk);

  chunk = OpenChunk(out, "tEXt");  // the mark, where IsLikentorPortrait reads it first
  out.insert(out.end(), kPortraitMarkKeyword.begin(), kPortraitMarkKeyword.end());
  out.push_back(0);
  out.insert(out.end(), kPortraitMarkValue.begin(), kPortraitMarkValue.end());
  CloseChunk(out, chunk);

  if (!image.HasAlpha() && image.TransparentColor()) {
    chunk = OpenChunk(out, "tRNS");
    const Rgb key = *image.TransparentColor();
    out.insert(out.end(), {0, key.r, 0, key.g, 0, key.b});
    CloseChunk(out, chunk);
  }

  // The image data in one chunk, compressed straight into the file's bytes.
  chunk = OpenChunk(out, "IDAT");
  AppendImageDeflate(filtered, static_cast<std::size_t>(image.Channels()), out);
  CloseChunk(out, chunk);

  CloseChunk(out, OpenChunk(out, "IEND"));
  return out;
}

WrittenImage SavePortraitPng(const PngImage& image, const std::filesystem::path& file,
                             bool leaveSame) {
  return WriteImageFile(file, EncodePortraitPng(image), leaveSame);
}

bool IsLikentorPortrait(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return false;
  std::ifstream in(file, std::ios::binary);
  std::array<std::uint8_t, 8> head{};
  if (!in.read(reinterpret_cast<char*>(head.data()), head.size()) || head != kSignature) {
    return false;
  }
  // Chunks: length, type, data, CRC of type and data. The mark is a short tEXt chunk; anything
  // longer is passed over unread.
  const std::size_t markSize = kPortraitMarkKeyword.size() + 1 + kPortraitMarkValue.size();
  for (int i = 0; i < kMarkSearchChunks; ++i) {
    if (!in.read(reinterpret_cast<char*>(head.data()), head.size())) return false;
    const std::uint32_t length = GetUint32(head.data());
    const std::string_view type(reinterpret_cast<const char*>(head.data() + 4), 4);
    if (type == "IDAT" || type == "IEND" || length > 0x7FFFFFFFu) return false;
    if (type != "tEXt" || length != markSize) {
      if (!in.seekg(static_cast<std::streamoff>(length) + 4, std::ios::cur)) return false;
      continue;
    }
    std::vector<std::uint8_t> chunk(head.begin() + 4, head.end());
    chunk.resize(4 + length + 4);
    if (!in.read(reinterpret_cast<char*>(chunk.data() + 4), length + 4)) return false;
    const std::uint32_t crc = GetUint32(chunk.data() + 4 + length);
    if (libdeflate_crc32(0, chunk.data(), 4 + length) != crc) continue;
    if (IsMarkText(std::vector<std::uint8_t>(chunk.begin() + 4, chunk.begin() + 4 + length))) {
      return true;
    }
  }
  return false;
}

}  // namespace likentor
