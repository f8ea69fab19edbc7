#pragma once
// Drawing helpers over Cairo shared by every layer: colours, an owned drawing surface, smooth
// paths through points and soft shading spots.
#include <cairo.h>

#include <vector>

#include "raster.h"

namespace likentor::artgen {

struct Rgb {
  double r = 0;
  double g = 0;
  double b = 0;
};

constexpr Rgb Bytes(int r, int g, int b) {
  return {r / 255.0, g / 255.0, b / 255.0};
}
Rgb Mix(Rgb a, Rgb b, double t);
Rgb Scale(Rgb c, double k);  // brightness, clamped to [0, 1]
double Luma(Rgb c);          // perceived brightness, 0 to 1

struct Pt {
  double x = 0;
  double y = 0;
};

// An ARGB surface with its context. Drawing happens in portrait-canvas coordinates: a layer that
// the program draws at (ox, oy) is drawn here with the origin moved by (-ox, -oy).
class Canvas {
 public:
  Canvas(int width, int height, double originX = 0, double originY = 0);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  cairo_t* cr() const { return cr_; }
  int width() const { return width_; }
  int height() const { return height_; }
  // Straight-alpha copy: channels 4 keeps alpha, 3 drops it (the surface should be opaque then).
  Image ToImage(int channels) const;

 private:
  int width_;
  int height_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

void SetColor(cairo_t* cr, Rgb c, double alpha = 1.0);
// Closed Catmull-Rom spline through the points (tension 0.5 = uniform).
void SmoothClosed(cairo_t* cr, const std::vector<Pt>& points, double tension = 0.5);
// Open spline through the points, starting with a move.
void SmoothOpen(cairo_t* cr, const std::vector<Pt>& points, double tension = 0.5,
                bool moveFirst = true);
void EllipsePath(cairo_t* cr, double cx, double cy, double rx, double ry);
// An elliptic radial fade of colour c from alpha at the centre to 0 at the rim.
void SoftSpot(cairo_t* cr, double cx, double cy, double rx, double ry, Rgb c, double alpha);
// A linear fade across the current clip: from alpha0 at (x0, y0) to alpha1 at (x1, y1).
void LinearWash(cairo_t* cr, double x0, double y0, double x1, double y1, Rgb c, double alpha0,
                double alpha1);

// Paints an RGB or straight-alpha RGBA image with its top-left corner at (x, y).
void PaintImage(cairo_t* cr, const Image& image, double x, double y);

}  // namespace likentor::artgen
