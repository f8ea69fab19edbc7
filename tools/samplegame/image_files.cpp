#include "samplegame/image_files.h"

#include <jpeglib.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace likentor::samplegame {

namespace {

struct JpegErrorTrap {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void OnJpegError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegErrorTrap*>(info->err)->jump, 1);
}

// Only trivially destructible objects live in this frame, so the long jump of libjpeg's error
// handler skips no destructor.
bool EncodeJpeg(const std::uint8_t* rgb, int width, int height, int quality, unsigned char** out,
                unsigned long* size) {
  jpeg_compress_struct info;
  JpegErrorTrap trap;
  info.err = jpeg_std_error(&trap.manager);
  trap.manager.error_exit = OnJpegError;
  if (setjmp(trap.jump) != 0) {
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, out, size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<std::uint8_t*>(rgb + static_cast<std::size_t>(info.next_scanline) *
                                                       static_cast<std::size_t>(width) * 3);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

void WriteBytes(const std::filesystem::path& file, const void* data, std::size_t size) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.close();
  if (!out) throw std::runtime_error("Cannot write " + file.string());
}

}  // namespace

void Image::Set(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
  const std::size_t channels = alpha ? 4 : 3;
  std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                             static_cast<std::size_t>(x)) *
                            channels];
  p[0] = r;
  p[1] = g;
  p[2] = b;
  if (alpha) p[3] = a;
}

void WritePng(const std::filesystem::path& file, const Image& image) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = image.alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  const int ok = png_image_write_to_file(&png, file.c_str(), 0, image.pixels.data(), 0, nullptr);
  png_image_free(&png);
  if (ok == 0) throw std::runtime_error("Cannot write " + file.string());
}

void WriteJpeg(const std::filesystem::path& file, const Image& image, int quality) {
  std::vector<std::uint8_t> rgb;
  const std::uint8_t* source = image.pixels.data();
  if (image.alpha) {
    rgb.reserve(image.pixels.size() / 4 * 3);
    for (std::size_t i = 0; i < image.pixels.size(); i += 4) {
      rgb.insert(rgb.end(), image.pixels.begin() + static_cast<std::ptrdiff_t>(i),
                 image.pixels.begin() + static_cast<std::ptrdiff_t>(i + 3));
    }
    source = rgb.data();
  }
  unsigned char* bytes = nullptr;
  unsigned long size = 0;
  const bool ok = EncodeJpeg(source, image.width, image.height, quality, &bytes, &size);
  struct Release {
    unsigned char* p;
    ~Release() { std::free(p); }
  } release{bytes};
  if (!ok) throw std::runtime_error("Cannot encode " + file.string());
  WriteBytes(file, bytes, size);
}

void WriteTinyGif(const std::filesystem::path& file) {
  static constexpr unsigned char kGif[] = {
      0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00,
      0x00, 0xFF, 0xFF, 0xFF, 0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00,
      0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};
  WriteBytes(file, kGif, sizeof kGif);
}

}  // namespace likentor::samplegame
