// The JPEG loader on any bytes.

#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "portrait/jpeg_reader.h"
#include "shell/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto file = likentor::fuzz::Scratch() / "picture.jpg";
  likentor::test::WriteBytes(file, likentor::fuzz::BytesOf(data, size));
  try {
    const likentor::Bitmap picture = likentor::LoadJpeg(file);
    likentor::fuzz::Check(!picture.Empty(), "a loaded picture has pixels");
  } catch (const likentor::Error&) {
    // refused with a message naming the file: the outcome a damaged picture should have
  }
  return 0;
}
