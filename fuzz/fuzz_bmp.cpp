// The BMP loader on any bytes. A picture that loads is written again as a 24-bit BMP and must read
// back as it was.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "portrait/bitmap.h"
#include "shell/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using likentor::Bitmap;
  using likentor::fuzz::Check;
  const auto file = likentor::fuzz::Scratch() / "picture.bmp";
  likentor::test::WriteBytes(file, likentor::fuzz::BytesOf(data, size));
  Bitmap picture;
  try {
    picture = Bitmap::LoadBmp(file);
  } catch (const likentor::Error&) {
    return 0;  // refused with a message naming the file: the outcome a damaged picture should have
  }
  Check(!picture.Empty(), "a loaded picture has pixels");
  if (picture.Width() * picture.Height() > 128 * 128) return 0;
  const Bitmap again = Bitmap::DecodeBmp(picture.EncodeBmp(), "encoded");
  Check(again.Width() == picture.Width() && again.Height() == picture.Height(),
        "an encoded picture keeps its size");
  for (int y = 0; y < picture.Height(); ++y) {
    Check(std::equal(picture.Row(y), picture.Row(y) + picture.RowBytes(), again.Row(y)),
          "an encoded picture keeps its pixels");
  }
  return 0;
}
