#include "artgen/kit_files.h"

#include <png.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>

namespace likentor::test {
namespace fs = std::filesystem;

namespace {

[[noreturn]] void Fail(png_structp, png_const_charp message) {
  throw std::runtime_error(std::string("png: ") + message);
}

unsigned Get(const std::vector<std::uint8_t>& d, std::size_t at, int bytes) {
  unsigned v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | d.at(at + static_cast<std::size_t>(i));
  return v;
}

}  // namespace

PngFile ReadPngFile(const fs::path& path) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                       &std::fclose);
  if (!file) throw std::runtime_error("cannot open " + path.string());
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, nullptr);
  png_infop info = png_create_info_struct(png);
  struct Guard {
    png_structp* p;
    png_infop* i;
    ~Guard() { png_destroy_read_struct(p, i, nullptr); }
  } guard{&png, &info};
  png_init_io(png, file.get());
  png_read_info(png, info);
  PngFile out;
  out.width = static_cast<int>(png_get_image_width(png, info));
  out.height = static_cast<int>(png_get_image_height(png, info));
  out.colourType = png_get_color_type(png, info);
  out.bitDepth = png_get_bit_depth(png, info);
  out.channels = png_get_channels(png, info);
  if (out.bitDepth != 8 ||
      (out.colourType != PNG_COLOR_TYPE_RGB && out.colourType != PNG_COLOR_TYPE_RGB_ALPHA)) {
    return out;  // the caller checks the type; no pixels
  }
  out.pixels.resize(static_cast<std::size_t>(out.width) * out.height * out.channels);
  std::vector<png_bytep> rows(static_cast<std::size_t>(out.height));
  for (int y = 0; y < out.height; ++y) {
    rows[static_cast<std::size_t>(y)] =
        out.pixels.data() + static_cast<std::size_t>(y) * out.width * out.channels;
  }
  png_read_image(png, rows.data());
  return out;
}

BmpFile ReadBmpFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path.string());
  const std::vector<std::uint8_t> d((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
  if (d.size() < 54 || d[0] != 'B' || d[1] != 'M') throw std::runtime_error("not a BMP");
  BmpFile out;
  out.width = static_cast<int>(Get(d, 18, 4));
  out.height = static_cast<int>(Get(d, 22, 4));
  out.bitsPerPixel = static_cast<int>(Get(d, 28, 2));
  if (out.bitsPerPixel != 24 || Get(d, 30, 4) != 0) return out;
  const std::size_t offset = Get(d, 10, 4);
  const std::size_t stride = (static_cast<std::size_t>(out.width) * 3 + 3) / 4 * 4;
  out.rgb.resize(static_cast<std::size_t>(out.width) * out.height * 3);
  for (int y = 0; y < out.height; ++y) {
    const std::size_t row = offset + stride * static_cast<std::size_t>(out.height - 1 - y);
    for (int x = 0; x < out.width; ++x) {
      for (int c = 0; c < 3; ++c) {
        out.rgb[(static_cast<std::size_t>(y) * out.width + x) * 3 + c] =
            d.at(row + static_cast<std::size_t>(x) * 3 + 2 - c);
      }
    }
  }
  return out;
}

const fs::path& KitGraphics() {
  static const fs::path graphics = [] {
    const fs::path built = fs::path(LIKENTOR_PROGRAM_DIR) / "graphics";
    if (fs::exists(built / "faces" / "east indian" / "0001179.png")) return built;
    // Drawn by the tool into a folder of our own, removed at exit.
    static const fs::path temp =
        fs::temp_directory_path() / ("likentor_artgen_test_" + std::to_string(::getpid()));
    fs::create_directories(temp);
    const std::string command = std::string("\"") + LIKENTOR_TOOLS_DIR + "/likentor-artgen\" \"" +
                                temp.string() + "\" > /dev/null";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("likentor-artgen failed");
    std::atexit([] {
      std::error_code ignored;
      fs::remove_all(temp, ignored);
    });
    return temp / "graphics";
  }();
  return graphics;
}

}  // namespace likentor::test
