#pragma once

// Drawing one image onto another with its top-left corner at (x, y) of the canvas. Only the part
// that falls inside the canvas is drawn, so x and y may be negative or beyond the canvas. Only the
// canvas's colour samples change; an alpha channel of the canvas is left as it is.

#include "portrait/bitmap.h"
#include "portrait/png_image.h"

namespace likentor {

// Draws a PNG layer by its kind of transparency:
// - with alpha a per pixel: each channel becomes (s * a + d * (255 - a) + 255) >> 8, which is d for
//   a = 0 and s for a = 255;
// - with one transparent colour: pixels of that colour leave the canvas unchanged, the others are
//   copied;
// - without transparency: every pixel is copied.
void DrawLayer(PngImage& canvas, const PngImage& layer, int x, int y);
void DrawLayer(Bitmap& canvas, const PngImage& layer, int x, int y);

// Draws a bitmap opaque: all its pixels are copied, black included.
void DrawBitmap(PngImage& canvas, const Bitmap& bitmap, int x, int y);
void DrawBitmap(Bitmap& canvas, const Bitmap& bitmap, int x, int y);

}  // namespace likentor
