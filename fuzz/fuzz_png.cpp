// The PNG loader on any bytes, and the check of our portraits' mark on the same file. A picture
// that loads is written again by both encoders and must read back as it was, and the portrait
// encoder's file must carry the mark.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_support.h"
#include "portrait/png_image.h"
#include "portrait/portrait_png.h"
#include "shell/error.h"

namespace {

using likentor::PngImage;
using likentor::fuzz::Check;

// Round trips cost time in proportion to the pixels: only small pictures take them.
constexpr int kRoundTripPixels = 128 * 128;

bool SamePicture(const PngImage& a, const PngImage& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || a.Channels() != b.Channels() ||
      a.TransparentColor() != b.TransparentColor()) {
    return false;
  }
  for (int y = 0; y < a.Height(); ++y) {
    if (!std::equal(a.Row(y), a.Row(y) + a.RowBytes(), b.Row(y))) return false;
  }
  return true;
}

void RoundTrip(const PngImage& image) {
  const std::vector<std::uint8_t> encoded = image.Encode();
  Check(SamePicture(image, PngImage::Decode(encoded, "encoded")), "an encoded picture reads back");
  const auto portrait = likentor::fuzz::Scratch() / "portrait.png";
  likentor::SavePortraitPng(image, portrait);
  Check(SamePicture(image, PngImage::Load(portrait)), "a portrait reads back");
  Check(likentor::IsLikentorPortrait(portrait), "a portrait carries the mark");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto file = likentor::fuzz::Scratch() / "picture.png";
  likentor::test::WriteBytes(file, likentor::fuzz::BytesOf(data, size));
  likentor::IsLikentorPortrait(file);
  PngImage image;
  try {
    image = PngImage::Load(file);
  } catch (const likentor::Error&) {
    return 0;  // refused with a message naming the file: the outcome a damaged picture should have
  }
  Check(!image.Empty(), "a loaded picture has pixels");
  Check(image.Channels() == 3 || image.Channels() == 4, "a loaded picture is RGB or RGBA");
  if (image.Width() * image.Height() <= kRoundTripPixels) RoundTrip(image);
  return 0;
}
