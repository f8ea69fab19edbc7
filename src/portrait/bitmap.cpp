#include "portrait/bitmap.h"

#include <array>
#include <bit>

#include "portrait/image_file.h"
#include "shell/error.h"

namespace likentor {

namespace {

std::uint16_t U16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t U32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
void Put16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v) {
  Put16(p, v);
  Put16(p + 2, v >> 16);
}

// One channel of a bit-field pixel (16 and 32 bits per pixel), widened to 8 bits.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  explicit Channel(std::uint32_t m) : mask(m) {
    if (m == 0) return;
    shift = std::countr_zero(m);
    bits = std::popcount(m >> shift) > 16 ? 16 : std::popcount(m >> shift);
  }
  std::uint8_t Extract(std::uint32_t pixel) const {
    if (bits == 0) return 0;
    const std::uint32_t v = ((pixel & mask) >> shift) & ((1u << bits) - 1);
    if (bits >= 8) return static_cast<std::uint8_t>(v >> (bits - 8));
    const std::uint32_t max = (1u << bits) - 1;
    return static_cast<std::uint8_t>((v * 255 + max / 2) / max);
  }
};

}  // namespace

Bitmap::Bitmap(int width, int height) {
  if (width < 0 || height < 0 || static_cast<std::int64_t>(width) * height > kMaxImagePixels) {
    throw Error("Cannot create a bitmap of " + std::to_string(width) + " x " +
                std::to_string(height) + " pixels.");
  }
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<std::size_t>(width) * height * kChannels, 0);
}

void Bitmap::Fill(Rgb color) {
  for (std::size_t i = 0; i < pixels_.size(); i += kChannels) {
    pixels_[i] = color.r;
    pixels_[i + 1] = color.g;
    pixels_[i + 2] = color.b;
  }
}

Bitmap Bitmap::LoadBmp(const std::filesystem::path& file) {
  return DecodeBmp(ReadImageFile(file), file.string());
}

Bitmap Bitmap::DecodeBmp(std::span<const std::uint8_t> bytes, const std::string& name) {
  const std::uint8_t* data = bytes.data();
  const std::size_t size = bytes.size();
  if (size < 2 || data[0] != 'B' || data[1] != 'M') ThrowLoadError(name, "not a BMP file");
  if (size < 14 + 12) ThrowLoadError(name, "the BMP header is cut short");
  const std::uint32_t dataOffset = U32(data + 10);
  const std::uint32_t headerSize = U32(data + 14);

  std::int64_t width = 0;
  std::int64_t height = 0;
  int bitsPerPixel = 0;
  std::uint32_t compression = 0;
  std::uint32_t colorsUsed = 0;
  std::size_t paletteEntry = 4;
  std::size_t paletteStart = 14 + static_cast<std::size_t>(headerSize);
  std::array<std::uint32_t, 3> masks{};
  bool topDown = false;

  if (headerSize == 12) {  // OS/2 core header: 16-bit sizes, 3-byte palette entries
    width = U16(data + 18);
    height = U16(data + 20);
    bitsPerPixel = U16(data + 24);
    paletteEntry = 3;
  } else if (headerSize >= 40 && headerSize <= 124) {
    if (size < 14 + static_cast<std::size_t>(headerSize)) {
      ThrowLoadError(name, "the BMP header is cut short");
    }
    width = static_cast<std::int32_t>(U32(data + 18));
    height = static_cast<std::int32_t>(U32(data + 22));
    bitsPerPixel = U16(data + 28);
    compression = U32(data + 30);
    colorsUsed = U32(data + 46);
    if (height < 0) {
      topDown = true;
      height = -height;
    }
    if (compression == 3 || compression == 6) {
      // The masks follow a 40-byte header; later header versions hold them inside.
      if (headerSize == 40) paletteStart += compression == 3 ? 12 : 16;
      if (size < 14 + 40 + 12) ThrowLoadError(name, "the BMP header is cut short");
      masks = {U32(data + 54), U32(data + 58), U32(data + 62)};
    }
  } else {
    ThrowLoadError(name, "unsupported BMP header (" + std::to_string(headerSize) + " bytes)");
  }

  if (compression == 1 || compression == 2) {
    ThrowLoadError(name, "compressed (RLE) BMP data is not supported");
  }
  if (compression != 0 && compression != 3 && compression != 6) {
    ThrowLoadError(name, "unsupported BMP compression " + std::to_string(compression));
  }
  if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 16 &&
      bitsPerPixel != 24 && bitsPerPixel != 32) {
    ThrowLoadError(name, "unsupported BMP depth of " + std::to_string(bitsPerPixel) + " bits");
  }
  if (compression != 0 && bitsPerPixel != 16 && bitsPerPixel != 32) {
    ThrowLoadError(name, "bit fields in a BMP of " + std::to_string(bitsPerPixel) + " bits");
  }
  CheckImageSize(name, width, height);

  std::array<Rgb, 256> palette{};
  if (bitsPerPixel <= 8) {
    const std::size_t maxColors = std::size_t{1} << bitsPerPixel;
    const std::size_t count = colorsUsed == 0 || colorsUsed > maxColors
                                  ? maxColors
                                  : static_cast<std::size_t>(colorsUsed);
    if (paletteStart + count * paletteEntry > size) {
      ThrowLoadError(name, "the BMP colour table is cut short");
    }
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint8_t* e = data + paletteStart + i * paletteEntry;
      palette[i] = Rgb{e[2], e[1], e[0]};  // indexes beyond the table stay black
    }
  }
  if (compression == 0 && bitsPerPixel == 16) masks = {0x7C00, 0x03E0, 0x001F};
  if (compression == 0 && bitsPerPixel == 32) masks = {0xFF0000, 0xFF00, 0xFF};
  const Channel red(masks[0]), green(masks[1]), blue(masks[2]);

  const std::size_t stride = static_cast<std::size_t>((width * bitsPerPixel + 31) / 32 * 4);
  if (dataOffset > size || (size - dataOffset) / stride < static_cast<std::size_t>(height)) {
    ThrowLoadError(name, "the BMP pixel data is cut short");
  }

  Bitmap bitmap(static_cast<int>(width), static_cast<int>(height));
  for (int y = 0; y < bitmap.height_; ++y) {
    const int fileRow = topDown ? y : bitmap.height_ - 1 - y;
    const std::uint8_t* src = data + dataOffset + static_cast<std::size_t>(fileRow) * stride;
    std::uint8_t* dst = bitmap.Row(y);
    const int w = bitmap.width_;
    switch (bitsPerPixel) {
      case 24:
        for (int x = 0; x < w; ++x, src += 3, dst += 3) {
          dst[0] = src[2];
          dst[1] = src[1];
          dst[2] = src[0];
        }
        break;
      case 16:
      case 32: {
        const int step = bitsPerPixel / 8;
        for (int x = 0; x < w; ++x, src += step, dst += 3) {
          const std::uint32_t pixel = step == 2 ? U16(src) : U32(src);
          dst[0] = red.Extract(pixel);
          dst[1] = green.Extract(pixel);
          dst[2] = blue.Extract(pixel);
        }
        break;
      }
      default: {  // 1, 4 or 8 bits: indexes into the colour table, leftmost pixel in the high bits
        const int perByte = 8 / bitsPerPixel;
        const unsigned indexMask = (1u << bitsPerPixel) - 1;
        for (int x = 0; x < w; ++x, dst += 3) {
          const int shift = (perByte - 1 - x % perByte) * bitsPerPixel;
          const Rgb c = palette[(src[x / perByte] >> shift) & indexMask];
          dst[0] = c.r;
          dst[1] = c.g;
          dst[2] = c.b;
        }
        break;
      }
    }
  }
  return bitmap;
}

std::vector<std::uint8_t> Bitmap::EncodeBmp() const {
  const std::size_t stride = (RowBytes() + 3) / 4 * 4;
  const std::size_t dataSize = stride * static_cast<std::size_t>(height_);
  std::vector<std::uint8_t> out(54 + dataSize, 0);
  std::uint8_t* h = out.data();
  h[0] = 'B';
  h[1] = 'M';
  Put32(h + 2, static_cast<std::uint32_t>(out.size()));
  Put32(h + 10, 54);
  Put32(h + 14, 40);
  Put32(h + 18, static_cast<std::uint32_t>(width_));
  Put32(h + 22, static_cast<std::uint32_t>(height_));
  Put16(h + 26, 1);
  Put16(h + 28, 24);
  Put32(h + 34, static_cast<std::uint32_t>(dataSize));
  Put32(h + 38, 2835);  // 72 dots per inch
  Put32(h + 42, 2835);
  for (int y = 0; y < height_; ++y) {
    const std::uint8_t* src = Row(y);
    std::uint8_t* dst = out.data() + 54 + static_cast<std::size_t>(height_ - 1 - y) * stride;
    for (int x = 0; x < width_; ++x, src += 3, dst += 3) {
      dst[0] = src[2];
      dst[1] = src[1];
      dst[2] = src[0];
    }
  }
  return out;
}

void Bitmap::SaveBmp(const std::filesystem::path& file) const {
  WriteImageFile(file, EncodeBmp());
}

}  // namespace likentor
