#pragma once

// Image files built byte by byte for the tests, so that every kind of PNG and BMP can be fed to the
// decoders with known contents, and JPEGs encoded with libjpeg.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

namespace likentor::test {

using Bytes = std::vector<std::uint8_t>;

struct PngChunk {
  std::string type;
  Bytes data;
};

// A PNG of the given header whose rows hold `samples` (unfiltered, packed as the bit depth says,
// row after row without the filter bytes); `extra` chunks go between IHDR and IDAT.
Bytes MakePng(int width, int height, int bitDepth, int colorType, const Bytes& samples,
              const std::vector<PngChunk>& extra = {});

// A PNG from its raw image data as the format lays it out (filter byte before every row of every
// interlace pass), compressed into one IDAT chunk. `interlace` 1 is Adam7.
Bytes MakePngFromRaw(int width, int height, int bitDepth, int colorType, int interlace,
                     const Bytes& raw, const std::vector<PngChunk>& extra = {});

// A BMP of a 40-byte header with `bitsPerPixel`, the given colour table (B, G, R, 0 per entry) and
// the pixel rows as they stand in the file (each already padded to 4 bytes).
Bytes MakeBmp(int width, int height, int bitsPerPixel, std::uint32_t compression,
              const Bytes& palette, const Bytes& rows, const Bytes& masks = {});

// A baseline JPEG of an RGB raster (3 bytes per pixel).
Bytes MakeJpeg(int width, int height, const Bytes& rgb, int quality);

inline void WriteFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

}  // namespace likentor::test
