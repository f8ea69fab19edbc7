// PNG decoding and encoding with libpng, and a fast path for the plainest files.
//
// Most pictures a run decodes (a face per portrait, thousands of them) are 8-bit RGB or RGBA
// files without interlacing or transparency chunks. Those are decoded here directly: the chunks
// walked and their CRCs checked, the image data inflated in one call by libdeflate (about twice as
// fast as zlib's inflate on these files) and the rows unfiltered. Anything else, and any file the
// fast path finds fault with, goes through libpng, so every other file and every error message is
// as libpng has it.
//
// libpng reports errors by calling our error function, which must not return: it records the
// message and longjmps back to the setjmp in one of the *Guarded functions below. Those functions
// and the callbacks that libpng calls hold only plain data, so the jump skips no destructor; every
// vector is owned by a caller outside the guarded region, and the libpng structures are freed by a
// handle object that also lives outside it. Each call has its own structures and state, so decoding
// and encoding can run on several threads at once.

#include <libdeflate.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

#include "portrait/image_file.h"
#include "portrait/png_image.h"
#include "shell/error.h"

namespace likentor {

namespace {

struct ErrorState {
  char message[256] = "";
};

[[noreturn]] void OnPngError(png_structp png, png_const_charp message) {
  auto* state = static_cast<ErrorState*>(png_get_error_ptr(png));
  std::snprintf(state->message, sizeof state->message, "%s", message);
  png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// libpng takes a chunk's length from the file and asks for that much memory before it reads the
// chunk, and a chunk longer than png_set_chunk_malloc_max allows is only warned about: a file of
// a few dozen bytes with a damaged length would have it ask for gigabytes. Nothing libpng needs
// for a picture within our limits comes near this (a row of the widest picture is half a
// megabyte); a larger request is refused, and libpng then fails on the chunk as on damaged data.
constexpr png_alloc_size_t kMaxLibpngAllocation = 8u << 20;

png_voidp LimitedMalloc(png_structp, png_alloc_size_t size) {
  return size <= kMaxLibpngAllocation ? std::malloc(size) : nullptr;
}

void LibpngFree(png_structp, png_voidp memory) {
  std::free(memory);
}

struct MemoryReader {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t position;
};

void ReadFromMemory(png_structp png, png_bytep out, std::size_t count) {
  auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (count > reader->size - reader->position) png_error(png, "the file is cut short");
  std::memcpy(out, reader->data + reader->position, count);
  reader->position += count;
}

void WriteToMemory(png_structp png, png_bytep data, std::size_t count) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  bool failed = false;
  try {
    out->insert(out->end(), data, data + count);
  } catch (...) {
    failed = true;
  }
  if (failed) png_error(png, "out of memory");
}

void FlushNothing(png_structp) {}

// Owns the libpng structures of one read (kWrite false) or one write, freed whatever happens.
template <bool kWrite>
class PngHandle {
 public:
  explicit PngHandle(ErrorState* state) : png_(Create(state)) {
    if (png_ != nullptr) info_ = png_create_info_struct(png_);
  }
  ~PngHandle() {
    if constexpr (kWrite) {
      png_destroy_write_struct(&png_, &info_);
    } else {
      png_destroy_read_struct(&png_, &info_, nullptr);
    }
  }
  PngHandle(const PngHandle&) = delete;
  PngHandle& operator=(const PngHandle&) = delete;

  bool Valid() const { return png_ != nullptr && info_ != nullptr; }
  png_structp Png() const { return png_; }
  png_infop Info() const { return info_; }

 private:
  static png_structp Create(ErrorState* state) {
    if constexpr (kWrite) {
      return png_create_write_struct(PNG_LIBPNG_VER_STRING, state, OnPngError, IgnoreWarning);
    } else {
      return png_create_read_struct_2(PNG_LIBPNG_VER_STRING, state, OnPngError, IgnoreWarning,
                                      nullptr, LimitedMalloc, LibpngFree);
    }
  }

  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

using ReadHandle = PngHandle<false>;
using WriteHandle = PngHandle<true>;

struct Header {
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  int colorType = 0;
  int bitDepth = 0;
  int channels = 0;
  std::size_t rowBytes = 0;
  bool keyed = false;
  png_color_16 key{};
};

// Reads the chunks before the image data and sets up the expansion to 8-bit RGB or RGBA.
bool ReadHeaderGuarded(png_structp png, png_infop info, Header& header) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
  png_set_chunk_malloc_max(png, kMaxLibpngAllocation);  // also bounds decompressed texts
  png_read_info(png, info);
  header.width = png_get_image_width(png, info);
  header.height = png_get_image_height(png, info);
  header.colorType = png_get_color_type(png, info);
  header.bitDepth = png_get_bit_depth(png, info);
  if (header.bitDepth == 16) png_set_scale_16(png);
  if (header.colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (header.colorType == PNG_COLOR_TYPE_GRAY && header.bitDepth < 8) {
    png_set_expand_gray_1_2_4_to_8(png);
  }
  if (png_get_valid(png, info, PNG_INFO_tRNS) != 0) {
    png_color_16p key = nullptr;
    if (header.colorType == PNG_COLOR_TYPE_RGB && header.bitDepth == 8 &&
        png_get_tRNS(png, info, nullptr, nullptr, &key) != 0 && key != nullptr) {
      header.keyed = true;  // one transparent colour, kept as such
      header.key = *key;
    } else {
      png_set_tRNS_to_alpha(png);
    }
  }
  if (header.colorType == PNG_COLOR_TYPE_GRAY || header.colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
    png_set_gray_to_rgb(png);
  }
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  header.channels = png_get_channels(png, info);
  header.rowBytes = png_get_rowbytes(png, info);
  return true;
}

bool ReadPixelsGuarded(png_structp png, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_image(png, rows);
  png_read_end(png, nullptr);  // up to IEND, so that a cut-short file is noticed
  return true;
}

bool WriteGuarded(png_structp png, png_infop info, const Header& header, int zlibLevel, int filters,
                  png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, header.width, header.height, 8, header.colorType, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (header.keyed) {
    png_color_16 key = header.key;
    png_set_tRNS(png, info, nullptr, 0, &key);
  }
  png_set_compression_level(png, zlibLevel);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, filters);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  return true;
}

// ---- The fast path ----

std::uint32_t BigEndian32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
         static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

struct DecompressorFree {
  void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

libdeflate_decompressor* ThreadDecompressor() {
  thread_local std::unique_ptr<libdeflate_decompressor, DecompressorFree> decompressor(
      libdeflate_alloc_decompressor());
  return decompressor.get();
}

std::uint8_t Paeth(int a, int b, int c) {
  const int pa = std::abs(b - c);          // |p - a| where p = a + b - c
  const int pb = std::abs(a - c);          // |p - b|
  const int pc = std::abs(a + b - 2 * c);  // |p - c|
  if (pa <= pb && pa <= pc) return static_cast<std::uint8_t>(a);
  return static_cast<std::uint8_t>(pb <= pc ? b : c);
}

// Undoes the filters of the inflated rows (each a filter byte and rowBytes samples) into `out`.
// The first row is taken as below a row of zeros. False for an unknown filter type.
bool Unfilter(const std::uint8_t* in, std::uint8_t* out, std::size_t rowBytes, std::size_t rows,
              std::size_t bpp) {
  const std::vector<std::uint8_t> zeros(rowBytes, 0);
  const std::uint8_t* prior = zeros.data();
  for (std::size_t y = 0; y < rows; ++y, in += rowBytes + 1) {
    const std::uint8_t* src = in + 1;
    std::uint8_t* row = out + y * rowBytes;
    switch (in[0]) {
      case 0:
        std::memcpy(row, src, rowBytes);
        break;
      case 1:
        std::memcpy(row, src, bpp);
        for (std::size_t i = bpp; i < rowBytes; ++i) {
          row[i] = static_cast<std::uint8_t>(src[i] + row[i - bpp]);
        }
        break;
      case 2:
        for (std::size_t i = 0; i < rowBytes; ++i) {
          row[i] = static_cast<std::uint8_t>(src[i] + prior[i]);
        }
        break;
      case 3:
        for (std::size_t i = 0; i < bpp; ++i) {
          row[i] = static_cast<std::uint8_t>(src[i] + (prior[i] >> 1));
        }
        for (std::size_t i = bpp; i < rowBytes; ++i) {
          row[i] = static_cast<std::uint8_t>(src[i] + ((row[i - bpp] + prior[i]) >> 1));
        }
        break;
      case 4:
        for (std::size_t i = 0; i < bpp; ++i) {
          row[i] = static_cast<std::uint8_t>(src[i] + prior[i]);  // Paeth(0, up, 0) is up
        }
        for (std::size_t i = bpp; i < rowBytes; ++i) {
          row[i] =
              static_cast<std::uint8_t>(src[i] + Paeth(row[i - bpp], prior[i], prior[i - bpp]));
        }
        break;
      default:
        return false;
    }
    prior = row;
  }
  return true;
}

// Decodes an 8-bit RGB or RGBA file without interlacing, palette or tRNS chunk whose chunks and
// data are all sound. False (the image untouched) for any other file: libpng then decodes it.
bool DecodePlain(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& pixels, int& width,
                 int& height, int& colorType) {
  const std::uint8_t* p = bytes.data() + 8;
  const std::uint8_t* end = bytes.data() + bytes.size();
  std::vector<std::uint8_t> data;  // the image data of every IDAT chunk
  const std::uint8_t* onlyIdat = nullptr;
  std::size_t onlyIdatSize = 0;
  int idats = 0;
  bool header = false;
  std::uint32_t w = 0;
  std::uint32_t h = 0;
  std::uint8_t type = 0;
  for (;;) {
    if (end - p < 12) return false;
    const std::uint32_t length = BigEndian32(p);
    if (length > 0x7FFFFFFFu || static_cast<std::size_t>(end - p - 12) < length) return false;
    // A chunk longer than libpng takes is libpng's to refuse.
    if (length > kMaxLibpngAllocation) return false;
    const std::uint8_t* chunkType = p + 4;
    const std::uint8_t* chunkData = p + 8;
    if (libdeflate_crc32(0, chunkType, length + 4) != BigEndian32(chunkData + length)) {
      return false;
    }
    p = chunkData + length + 4;
    const std::string_view kind(reinterpret_cast<const char*>(chunkType), 4);
    if (!header) {
      // IHDR first: 8-bit samples, colour type 2 or 6, standard compression and filtering, no
      // interlacing.
      if (kind != "IHDR" || length != 13) return false;
      w = BigEndian32(chunkData);
      h = BigEndian32(chunkData + 4);
      type = chunkData[9];
      if (chunkData[8] != 8 || (type != 2 && type != 6) || chunkData[10] != 0 ||
          chunkData[11] != 0 || chunkData[12] != 0) {
        return false;
      }
      if (w == 0 || h == 0 || w > kMaxImageSide || h > kMaxImageSide ||
          static_cast<std::int64_t>(w) * h > kMaxImagePixels) {
        return false;
      }
      header = true;
      continue;
    }
    if (kind == "IDAT") {
      if (idats == 0) {
        onlyIdat = chunkData;
        onlyIdatSize = length;
      } else {
        if (idats == 1) data.assign(onlyIdat, onlyIdat + onlyIdatSize);
        data.insert(data.end(), chunkData, chunkData + length);
      }
      ++idats;
      continue;
    }
    if (kind == "IEND") break;
    // Any other critical chunk (upper-case first letter), and tRNS, which changes the pixels:
    // libpng's to judge. Other ancillary chunks do not change the pixels.
    if ((chunkType[0] & 0x20) == 0 || kind == "tRNS") return false;
  }
  if (idats == 0) return false;
  const std::uint8_t* compressed = idats == 1 ? onlyIdat : data.data();
  const std::size_t compressedSize = idats == 1 ? onlyIdatSize : data.size();

  const std::size_t bpp = type == 6 ? 4 : 3;
  const std::size_t rowBytes = static_cast<std::size_t>(w) * bpp;
  std::vector<std::uint8_t> filtered((rowBytes + 1) * h);
  libdeflate_decompressor* decompressor = ThreadDecompressor();
  if (decompressor == nullptr) return false;
  std::size_t inflated = 0;
  if (libdeflate_zlib_decompress(decompressor, compressed, compressedSize, filtered.data(),
                                 filtered.size(), &inflated) != LIBDEFLATE_SUCCESS ||
      inflated != filtered.size()) {
    return false;
  }
  pixels.resize(rowBytes * h);
  if (!Unfilter(filtered.data(), pixels.data(), rowBytes, h, bpp)) return false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  colorType = type;
  return true;
}

}  // namespace

PngImage PngImage::Decode(std::span<const std::uint8_t> bytes, const std::string& name) {
  if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0) {
    ThrowLoadError(name, "not a PNG file");
  }
  {
    PngImage image;
    int colorType = 0;
    if (DecodePlain(bytes, image.pixels_, image.width_, image.height_, colorType)) {
      image.colorType_ = colorType;
      image.bitDepth_ = 8;
      image.channels_ = colorType == 6 ? 4 : 3;
      return image;
    }
  }
  ErrorState state;
  ReadHandle handle(&state);
  if (!handle.Valid()) ThrowLoadError(name, "out of memory");
  MemoryReader reader{bytes.data(), bytes.size(), 0};
  png_set_read_fn(handle.Png(), &reader, ReadFromMemory);

  Header header;
  if (!ReadHeaderGuarded(handle.Png(), handle.Info(), header)) {
    ThrowLoadError(name, std::string("damaged PNG data (") + state.message + ")");
  }
  CheckImageSize(name, header.width, header.height);
  if ((header.channels != 3 && header.channels != 4) ||
      header.rowBytes != static_cast<std::size_t>(header.width) * header.channels) {
    ThrowLoadError(name, "unsupported PNG pixel layout");
  }

  PngImage image;
  image.width_ = static_cast<int>(header.width);
  image.height_ = static_cast<int>(header.height);
  image.colorType_ = header.colorType;
  image.bitDepth_ = header.bitDepth;
  image.channels_ = header.channels;
  if (header.keyed && header.key.red <= 255 && header.key.green <= 255 && header.key.blue <= 255) {
    image.transparentColor_ =
        Rgb{static_cast<std::uint8_t>(header.key.red), static_cast<std::uint8_t>(header.key.green),
            static_cast<std::uint8_t>(header.key.blue)};
  }
  image.pixels_.resize(image.RowBytes() * header.height);
  std::vector<png_bytep> rows(header.height);
  for (png_uint_32 y = 0; y < header.height; ++y) rows[y] = image.Row(static_cast<int>(y));
  if (!ReadPixelsGuarded(handle.Png(), rows.data())) {
    ThrowLoadError(name, std::string("damaged PNG data (") + state.message + ")");
  }
  return image;
}

std::vector<std::uint8_t> PngImage::Encode(const PngWriteOptions& options) const {
  if (Empty()) throw Error("Cannot encode an empty image as PNG.");
  ErrorState state;
  WriteHandle handle(&state);
  if (!handle.Valid()) throw Error("Cannot encode PNG: out of memory.");
  std::vector<std::uint8_t> out;
  out.reserve(RowBytes() * static_cast<std::size_t>(height_) / 2 + 1024);
  png_set_write_fn(handle.Png(), &out, WriteToMemory, FlushNothing);

  Header header;
  header.width = static_cast<png_uint_32>(width_);
  header.height = static_cast<png_uint_32>(height_);
  header.colorType = HasAlpha() ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
  if (!HasAlpha() && transparentColor_) {
    header.keyed = true;
    header.key.red = transparentColor_->r;
    header.key.green = transparentColor_->g;
    header.key.blue = transparentColor_->b;
  }
  const int level = options.zlibLevel < 0 ? 0 : (options.zlibLevel > 9 ? 9 : options.zlibLevel);
  int filters = PNG_ALL_FILTERS;
  switch (options.filters) {
    case PngFilters::None:
      filters = PNG_FILTER_NONE;
      break;
    case PngFilters::Sub:
      filters = PNG_FILTER_SUB;
      break;
    case PngFilters::Up:
      filters = PNG_FILTER_UP;
      break;
    case PngFilters::Paeth:
      filters = PNG_FILTER_PAETH;
      break;
    case PngFilters::Adaptive:
      filters = PNG_ALL_FILTERS;
      break;
  }
  // libpng takes non-const row pointers but only reads them when writing.
  std::vector<png_bytep> rows(static_cast<std::size_t>(height_));
  for (int y = 0; y < height_; ++y) rows[y] = const_cast<png_bytep>(Row(y));
  if (!WriteGuarded(handle.Png(), handle.Info(), header, level, filters, rows.data())) {
    throw Error(std::string("Cannot encode PNG: ") + state.message + ".");
  }
  return out;
}

}  // namespace likentor
