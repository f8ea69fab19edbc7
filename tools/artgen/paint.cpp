#include "paint.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace likentor::artgen {

Rgb Mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb Scale(Rgb c, double k) {
  return {std::clamp(c.r * k, 0.0, 1.0), std::clamp(c.g * k, 0.0, 1.0),
          std::clamp(c.b * k, 0.0, 1.0)};
}

double Luma(Rgb c) {
  return 0.3 * c.r + 0.59 * c.g + 0.11 * c.b;
}

Canvas::Canvas(int width, int height, double originX, double originY)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {
  if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cairo");
  cairo_translate(cr_, -originX, -originY);
}

Canvas::~Canvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

Image Canvas::ToImage(int channels) const {
  cairo_surface_flush(surface_);
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  Image image(width_, height_, channels);
  for (int y = 0; y < height_; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
    for (int x = 0; x < width_; ++x) {
      const std::uint32_t v = row[x];
      const unsigned a = v >> 24;
      unsigned r = (v >> 16) & 0xFF;
      unsigned g = (v >> 8) & 0xFF;
      unsigned b = v & 0xFF;
      if (a != 0 && a != 255) {  // Cairo stores premultiplied colour
        r = std::min(255u, (r * 255 + a / 2) / a);
        g = std::min(255u, (g * 255 + a / 2) / a);
        b = std::min(255u, (b * 255 + a / 2) / a);
      }
      std::uint8_t* p = image.At(x, y);
      p[0] = static_cast<std::uint8_t>(r);
      p[1] = static_cast<std::uint8_t>(g);
      p[2] = static_cast<std::uint8_t>(b);
      if (channels == 4) p[3] = static_cast<std::uint8_t>(a);
    }
  }
  return image;
}

void SetColor(cairo_t* cr, Rgb c, double alpha) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

namespace {

void Segment(cairo_t* cr, Pt p0, Pt p1, Pt p2, Pt p3, double k) {
  const double s = k / 3.0 * 2.0;  // tension 0.5 gives the uniform Catmull-Rom /6 factor
  cairo_curve_to(cr, p1.x + (p2.x - p0.x) * s / 2, p1.y + (p2.y - p0.y) * s / 2,
                 p2.x - (p3.x - p1.x) * s / 2, p2.y - (p3.y - p1.y) * s / 2, p2.x, p2.y);
}

}  // namespace

void SmoothClosed(cairo_t* cr, const std::vector<Pt>& pts, double tension) {
  const std::size_t n = pts.size();
  if (n < 3) return;
  cairo_move_to(cr, pts[0].x, pts[0].y);
  for (std::size_t i = 0; i < n; ++i) {
    Segment(cr, pts[(i + n - 1) % n], pts[i], pts[(i + 1) % n], pts[(i + 2) % n], tension);
  }
  cairo_close_path(cr);
}

void SmoothOpen(cairo_t* cr, const std::vector<Pt>& pts, double tension, bool moveFirst) {
  const std::size_t n = pts.size();
  if (n < 2) return;
  if (moveFirst) {
    cairo_move_to(cr, pts[0].x, pts[0].y);
  } else {
    cairo_line_to(cr, pts[0].x, pts[0].y);
  }
  for (std::size_t i = 0; i + 1 < n; ++i) {
    const Pt p0 = i == 0 ? pts[0] : pts[i - 1];
    const Pt p3 = i + 2 < n ? pts[i + 2] : pts[n - 1];
    Segment(cr, p0, pts[i], pts[i + 1], p3, tension);
  }
}

void EllipsePath(cairo_t* cr, double cx, double cy, double rx, double ry) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, std::max(rx, 1e-3), std::max(ry, 1e-3));
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
}

void SoftSpot(cairo_t* cr, double cx, double cy, double rx, double ry, Rgb c, double alpha) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, std::max(rx, 1e-3), std::max(ry, 1e-3));
  cairo_pattern_t* p = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
  cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, alpha);
  cairo_pattern_add_color_stop_rgba(p, 0.5, c.r, c.g, c.b, alpha * 0.6);
  cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0);
  cairo_set_source(cr, p);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  cairo_restore(cr);
}

void LinearWash(cairo_t* cr, double x0, double y0, double x1, double y1, Rgb c, double alpha0,
                double alpha1) {
  cairo_pattern_t* p = cairo_pattern_create_linear(x0, y0, x1, y1);
  cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, alpha0);
  cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, alpha1);
  cairo_set_source(cr, p);
  cairo_paint(cr);
  cairo_pattern_destroy(p);
}

void PaintImage(cairo_t* cr, const Image& image, double x, double y) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height);
  cairo_surface_flush(s);
  unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  for (int yy = 0; yy < image.height; ++yy) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + yy * stride);
    for (int xx = 0; xx < image.width; ++xx) {
      const std::uint8_t* p = image.At(xx, yy);
      const unsigned a = image.channels == 4 ? p[3] : 255;
      auto pm = [a](unsigned v) { return (v * a + 127) / 255; };
      row[xx] = a << 24 | pm(p[0]) << 16 | pm(p[1]) << 8 | pm(p[2]);
    }
  }
  cairo_surface_mark_dirty(s);
  cairo_save(cr);
  cairo_set_source_surface(cr, s, x, y);
  cairo_paint(cr);
  cairo_restore(cr);
  cairo_surface_destroy(s);
}

}  // namespace likentor::artgen
