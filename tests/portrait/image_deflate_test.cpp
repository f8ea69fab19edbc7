#include "portrait/image_deflate.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace likentor {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The stream inflated by zlib, the library that libpng reads image data with.
Bytes Inflate(const Bytes& stream, std::size_t expected) {
  Bytes out(expected + 1);
  uLongf size = out.size();
  const int status = uncompress(out.data(), &size, stream.data(), stream.size());
  EXPECT_EQ(status, Z_OK);
  out.resize(status == Z_OK ? size : 0);
  return out;
}

Bytes Deflate(const Bytes& data, std::size_t pixelBytes) {
  Bytes stream{0xAB};  // appended after what is there
  AppendImageDeflate(data, pixelBytes, stream);
  EXPECT_EQ(stream.front(), 0xAB);
  return Bytes(stream.begin() + 1, stream.end());
}

Bytes Noise(std::size_t size, std::uint32_t seed) {
  std::mt19937 random(seed);
  Bytes data(size);
  for (auto& b : data) b = static_cast<std::uint8_t>(random());
  return data;
}

TEST(ImageDeflate, EveryKindOfDataInflatesToItself) {
  struct Case {
    std::string name;
    Bytes data;
    std::size_t pixelBytes;
  };
  std::vector<Case> cases;
  cases.push_back({"nothing", {}, 3});
  cases.push_back({"one byte", {7}, 3});
  cases.push_back({"two bytes", {7, 7}, 1});
  cases.push_back({"a short run", {1, 0, 0, 0, 0, 9}, 4});
  // Runs one byte back around the longest match (258), and ending at the last byte.
  for (std::size_t run : {3u, 17u, 257u, 258u, 259u, 260u, 261u, 516u, 1000u}) {
    Bytes data{5, 6, 7};
    data.insert(data.end(), run, 0);
    cases.push_back({"a run of " + std::to_string(run), data, 3});
    data.push_back(9);
    cases.push_back({"a run of " + std::to_string(run) + " and a byte", data, 3});
  }
  // Pixels repeated one pixel back (longer than any run one byte back), for every pixel size.
  for (std::size_t pixel = 1; pixel <= 8; ++pixel) {
    Bytes data;
    for (int i = 0; i < 700; ++i) data.push_back(static_cast<std::uint8_t>(i % pixel * 40 + 1));
    cases.push_back({"pixels of " + std::to_string(pixel) + " bytes", data, pixel});
  }
  // Incompressible: stored blocks, one and several (at most 65535 bytes each).
  cases.push_back({"noise", Noise(5000, 1), 3});
  cases.push_back({"a lot of noise", Noise(150000, 2), 4});
  // Counts as uneven as Fibonacci numbers, whose Huffman codes would run past the length limit.
  {
    Bytes data;
    std::uint32_t a = 1;
    std::uint32_t b = 1;
    for (std::uint8_t symbol = 0; symbol < 24; ++symbol) {
      data.insert(data.end(), a, symbol);
      const std::uint32_t next = a + b;
      a = b;
      b = next;
    }
    std::shuffle(data.begin(), data.end(), std::mt19937(3));
    cases.push_back({"uneven counts", data, 3});
  }
  // Filtered rows of a picture: flat spans, a gradient, noise, a filter byte at each row.
  {
    Bytes rows;
    const Bytes noise = Noise(90 * 3, 4);
    for (int y = 0; y < 135; ++y) {
      rows.push_back(2);
      for (int x = 0; x < 90; ++x) {
        for (int c = 0; c < 3; ++c) {
          std::uint8_t v = 0;
          if (x >= 30 && x < 60) v = static_cast<std::uint8_t>(c + 1);  // one step per row
          if (x >= 60) v = noise[static_cast<std::size_t>((x * 3 + c + y) % 270)];
          rows.push_back(v);
        }
      }
    }
    cases.push_back({"filtered rows", rows, 3});
  }

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes stream = Deflate(c.data, c.pixelBytes);
    EXPECT_EQ(Inflate(stream, c.data.size()), c.data);
    EXPECT_EQ(Deflate(c.data, c.pixelBytes), stream);  // the same bytes every time
  }
}

}  // namespace
}  // namespace likentor
