#include "raster.h"

#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

namespace likentor::artgen {

std::string Digits(int number, int width) {
  std::string text = std::to_string(number);
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), '0');
  return text;
}
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File Open(const std::filesystem::path& path, const char* mode) {
  File f(std::fopen(path.c_str(), mode));
  if (!f) throw std::runtime_error("cannot open " + path.string());
  return f;
}

[[noreturn]] void PngError(png_structp, png_const_charp message) {
  throw std::runtime_error(std::string("png: ") + message);
}
void PngWarning(png_structp, png_const_charp) {}

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}
void Put32(std::vector<std::uint8_t>& out, unsigned v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
unsigned Get32(const std::uint8_t* p) {
  return static_cast<unsigned>(p[0]) | static_cast<unsigned>(p[1]) << 8 |
         static_cast<unsigned>(p[2]) << 16 | static_cast<unsigned>(p[3]) << 24;
}

}  // namespace

void WritePng(const Image& image, const std::filesystem::path& path) {
  if (image.channels != 3 && image.channels != 4) throw std::runtime_error("bad channel count");
  File file = Open(path, "wb");
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
  png_infop info = png_create_info_struct(png);
  struct Guard {
    png_structp* p;
    png_infop* i;
    ~Guard() { png_destroy_write_struct(p, i); }
  } guard{&png, &info};
  png_init_io(png, file.get());
  png_set_compression_level(png, 3);  // a little larger, much faster than the default
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
               static_cast<png_uint_32>(image.height), 8,
               image.channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < image.height; ++y) {
    png_write_row(png, image.At(0, y));
  }
  png_write_end(png, nullptr);
}

Image ReadPng(const std::filesystem::path& path) {
  File file = Open(path, "rb");
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
  png_infop info = png_create_info_struct(png);
  struct Guard {
    png_structp* p;
    png_infop* i;
    ~Guard() { png_destroy_read_struct(p, i, nullptr); }
  } guard{&png, &info};
  png_init_io(png, file.get());
  png_read_info(png, info);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_read_update_info(png, info);
  const int channels = png_get_channels(png, info);
  Image image(static_cast<int>(png_get_image_width(png, info)),
              static_cast<int>(png_get_image_height(png, info)), channels);
  std::vector<png_bytep> rows(static_cast<std::size_t>(image.height));
  for (int y = 0; y < image.height; ++y) rows[static_cast<std::size_t>(y)] = image.At(0, y);
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  return image;
}

void WriteBmp(const Image& image, const std::filesystem::path& path) {
  const unsigned stride = (static_cast<unsigned>(image.width) * 3 + 3) & ~3u;
  const unsigned dataSize = stride * static_cast<unsigned>(image.height);
  std::vector<std::uint8_t> out;
  out.reserve(54 + dataSize);
  out.push_back('B');
  out.push_back('M');
  Put32(out, 54 + dataSize);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, static_cast<unsigned>(image.width));
  Put32(out, static_cast<unsigned>(image.height));
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);  // no compression
  Put32(out, dataSize);
  Put32(out, 2835);  // 72 dpi
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const std::uint8_t* p = image.At(x, y);
      out.push_back(p[2]);
      out.push_back(p[1]);
      out.push_back(p[0]);
    }
    for (unsigned pad = static_cast<unsigned>(image.width) * 3; pad < stride; ++pad) {
      out.push_back(0);
    }
  }
  File file = Open(path, "wb");
  if (std::fwrite(out.data(), 1, out.size(), file.get()) != out.size()) {
    throw std::runtime_error("cannot write " + path.string());
  }
}

Image ReadBmp(const std::filesystem::path& path) {
  File file = Open(path, "rb");
  std::vector<std::uint8_t> data;
  std::uint8_t buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;) {
    data.insert(data.end(), buffer, buffer + n);
  }
  if (data.size() < 54 || data[0] != 'B' || data[1] != 'M' || data[28] != 24) {
    throw std::runtime_error("not a 24-bit BMP: " + path.string());
  }
  const unsigned offset = Get32(&data[10]);
  const int width = static_cast<int>(Get32(&data[18]));
  const int height = static_cast<int>(Get32(&data[22]));
  const unsigned stride = (static_cast<unsigned>(width) * 3 + 3) & ~3u;
  if (data.size() < offset + stride * static_cast<unsigned>(height)) {
    throw std::runtime_error("short BMP: " + path.string());
  }
  Image image(width, height, 3);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = &data[offset + stride * static_cast<unsigned>(height - 1 - y)];
    for (int x = 0; x < width; ++x) {
      std::uint8_t* p = image.At(x, y);
      p[0] = row[x * 3 + 2];
      p[1] = row[x * 3 + 1];
      p[2] = row[x * 3];
    }
  }
  return image;
}

void WriteJpeg(const Image& image, const std::filesystem::path& path, int quality) {
  File file = Open(path, "wb");
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr jerr{};
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, file.get());
  cinfo.image_width = static_cast<JDIMENSION>(image.width);
  cinfo.image_height = static_cast<JDIMENSION>(image.height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<std::uint8_t> row(static_cast<std::size_t>(image.width) * 3);
  while (cinfo.next_scanline < cinfo.image_height) {
    const int y = static_cast<int>(cinfo.next_scanline);
    for (int x = 0; x < image.width; ++x) {
      std::copy_n(image.At(x, y), 3, &row[static_cast<std::size_t>(x) * 3]);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
}

void Blur(Image& image, int radius) {
  if (radius <= 0) return;
  const int w = image.width;
  const int h = image.height;
  const int ch = image.channels;
  std::vector<int> line(static_cast<std::size_t>(std::max(w, h)) * static_cast<std::size_t>(ch));
  auto pass = [&](int count, int length, auto pixel) {
    for (int i = 0; i < count; ++i) {
      for (int j = 0; j < length; ++j) {
        for (int c = 0; c < ch; ++c) line[static_cast<std::size_t>(j * ch + c)] = pixel(i, j)[c];
      }
      for (int j = 0; j < length; ++j) {
        for (int c = 0; c < ch; ++c) {
          int sum = 0;
          for (int k = -radius; k <= radius; ++k) {
            const int jj = std::clamp(j + k, 0, length - 1);
            sum += line[static_cast<std::size_t>(jj * ch + c)];
          }
          pixel(i, j)[c] = static_cast<std::uint8_t>((sum + radius) / (2 * radius + 1));
        }
      }
    }
  };
  for (int round = 0; round < 3; ++round) {
    pass(h, w, [&](int y, int x) { return image.At(x, y); });
    pass(w, h, [&](int x, int y) { return image.At(x, y); });
  }
}

}  // namespace likentor::artgen
