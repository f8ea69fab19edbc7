#include "image_bytes.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <jpeglib.h>

namespace likentor::test {

namespace {

void Put32Be(Bytes& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}
void Put16Le(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32Le(Bytes& out, std::uint32_t v) {
  Put16Le(out, v);
  Put16Le(out, v >> 16);
}

void AppendChunk(Bytes& out, const std::string& type, const Bytes& data) {
  Put32Be(out, static_cast<std::uint32_t>(data.size()));
  Bytes typed(type.begin(), type.end());
  typed.insert(typed.end(), data.begin(), data.end());
  out.insert(out.end(), typed.begin(), typed.end());
  Put32Be(out, static_cast<std::uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
}

}  // namespace

Bytes MakePng(int width, int height, int bitDepth, int colorType, const Bytes& samples,
              const std::vector<PngChunk>& extra) {
  const int channels = colorType == 2 ? 3 : colorType == 4 ? 2 : colorType == 6 ? 4 : 1;
  const std::size_t rowBytes = (static_cast<std::size_t>(width) * channels * bitDepth + 7) / 8;
  if (samples.size() != rowBytes * static_cast<std::size_t>(height)) {
    throw std::logic_error("MakePng: sample count does not fit the header");
  }
  Bytes raw;
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // filter: none
    raw.insert(raw.end(), samples.begin() + static_cast<std::ptrdiff_t>(y * rowBytes),
               samples.begin() + static_cast<std::ptrdiff_t>((y + 1) * rowBytes));
  }
  return MakePngFromRaw(width, height, bitDepth, colorType, 0, raw, extra);
}

Bytes MakePngFromRaw(int width, int height, int bitDepth, int colorType, int interlace,
                     const Bytes& raw, const std::vector<PngChunk>& extra) {
  uLongf compressedSize = compressBound(static_cast<uLong>(raw.size()));
  Bytes compressed(compressedSize);
  compress2(compressed.data(), &compressedSize, raw.data(), static_cast<uLong>(raw.size()), 9);
  compressed.resize(compressedSize);

  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  Put32Be(header, static_cast<std::uint32_t>(width));
  Put32Be(header, static_cast<std::uint32_t>(height));
  header.push_back(static_cast<std::uint8_t>(bitDepth));
  header.push_back(static_cast<std::uint8_t>(colorType));
  header.insert(header.end(), {0, 0, static_cast<std::uint8_t>(interlace)});
  AppendChunk(png, "IHDR", header);
  for (const PngChunk& chunk : extra) AppendChunk(png, chunk.type, chunk.data);
  AppendChunk(png, "IDAT", compressed);
  AppendChunk(png, "IEND", {});
  return png;
}

Bytes MakeBmp(int width, int height, int bitsPerPixel, std::uint32_t compression,
              const Bytes& palette, const Bytes& rows, const Bytes& masks) {
  const std::uint32_t offset = static_cast<std::uint32_t>(14 + 40 + masks.size() + palette.size());
  Bytes bmp = {'B', 'M'};
  Put32Le(bmp, static_cast<std::uint32_t>(offset + rows.size()));
  Put32Le(bmp, 0);
  Put32Le(bmp, offset);
  Put32Le(bmp, 40);
  Put32Le(bmp, static_cast<std::uint32_t>(width));
  Put32Le(bmp, static_cast<std::uint32_t>(height));  // negative: top-down
  Put16Le(bmp, 1);
  Put16Le(bmp, static_cast<std::uint32_t>(bitsPerPixel));
  Put32Le(bmp, compression);
  Put32Le(bmp, static_cast<std::uint32_t>(rows.size()));
  Put32Le(bmp, 2835);
  Put32Le(bmp, 2835);
  Put32Le(bmp, static_cast<std::uint32_t>(palette.size() / 4));
  Put32Le(bmp, 0);
  bmp.insert(bmp.end(), masks.begin(), masks.end());
  bmp.insert(bmp.end(), palette.begin(), palette.end());
  bmp.insert(bmp.end(), rows.begin(), rows.end());
  return bmp;
}

Bytes MakeJpeg(int width, int height, const Bytes& rgb, int quality) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);  // the test aborts on an encoder error
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  for (int y = 0; y < height; ++y) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb.data() + static_cast<std::size_t>(y) * width * 3);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

}  // namespace likentor::test
