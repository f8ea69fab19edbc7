#pragma once

#include <cstdint>

namespace likentor {

// One pixel's colour, 8 bits per channel. Black (0, 0, 0) is the transparent key of the overlays.
struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;

  friend constexpr bool operator==(Rgb, Rgb) = default;
};

// A colour as one integer: blue * 65536 + green * 256 + red (red in the lowest byte, top byte 0).
// The value 0 is black.
using ColorValue = std::uint32_t;

constexpr Rgb ToRgb(ColorValue value) {
  return Rgb{static_cast<std::uint8_t>(value & 0xFF),
             static_cast<std::uint8_t>((value >> 8) & 0xFF),
             static_cast<std::uint8_t>((value >> 16) & 0xFF)};
}

constexpr ColorValue ToColorValue(Rgb color) {
  return static_cast<ColorValue>(color.r) | (static_cast<ColorValue>(color.g) << 8) |
         (static_cast<ColorValue>(color.b) << 16);
}

constexpr bool IsBlack(Rgb color) {
  return color.r == 0 && color.g == 0 && color.b == 0;
}

}  // namespace likentor
