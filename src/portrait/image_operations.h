#pragma once

// The pixel operations that portraits and generic uniforms are built from. Black is the
// transparent key of the overlays.

#include "portrait/bitmap.h"
#include "portrait/color.h"
#include "portrait/png_image.h"

namespace likentor {

// Bilinear resize in place, used for team logos. Works in single-precision floats with the scale
// NW / (W - 1) (not NW - 1), so every destination pixel reads source columns ix, ix + 1 and rows
// iy, iy + 1 inside the source; sums round half to even; colour type 6 resamples alpha with the
// same weights. A source one pixel wide (high) repeats its one column (row). The image takes the
// new size and loses a transparent colour.
// Throws Error "Only COLOR_RGBALPHA and COLOR_RGB formats are supported" (image unchanged) when the
// image's colour type is neither 2 nor 6, and Error for a new size that is not positive.
void SmoothResize(PngImage& image, int newWidth, int newHeight);

// The colour of the pixel at (x, y); Colorize reads its red channel.
Rgb GetRed(const Bitmap& bitmap, int x, int y);

// Tints a grey template in place: in the fixed 90 x 135 area (positions outside the template are
// skipped), a pixel of red p becomes colour * p / 255, each channel rounded to the nearest integer.
// Green and blue of the template are ignored.
void Colorize(Bitmap& templateBitmap, Rgb color);

// Copies every non-black pixel of the source onto the destination at the same position. Black
// source pixels and positions outside the source leave the destination unchanged.
void TransOverlay(Bitmap& destination, const Bitmap& source);
// The same onto a PNG image's canvas: colour samples change, alpha stays.
void TransOverlay2(PngImage& destination, const Bitmap& source);

}  // namespace likentor
