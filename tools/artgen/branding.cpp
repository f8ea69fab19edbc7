#include "branding.h"

#include <cmath>

#include "paint.h"
#include "rng.h"

namespace likentor::artgen {
namespace {

const Rgb kNavy = Bytes(22, 44, 84);
const Rgb kRed = Bytes(196, 40, 48);
const Rgb kCream = Bytes(248, 244, 234);

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

// A baseball with its red stitching, centred at the origin, radius 1.
void Ball(cairo_t* cr, double lineScale) {
  cairo_pattern_t* p = cairo_pattern_create_radial(-0.35, -0.4, 0.1, 0, 0, 1.05);
  cairo_pattern_add_color_stop_rgb(p, 0, 1, 1, 1);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.80, 0.80, 0.78);
  cairo_set_source(cr, p);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  cairo_set_line_width(cr, 0.04 * lineScale);
  SetColor(cr, Bytes(120, 120, 120));
  cairo_stroke(cr);
  SetColor(cr, kRed);
  cairo_set_line_width(cr, 0.07 * lineScale);
  for (int s : {-1, 1}) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, s * 1.45, 0, 0.95, s < 0 ? -0.85 : M_PI - 0.85, s < 0 ? 0.85 : M_PI + 0.85);
    cairo_stroke(cr);
  }
}

// A player in silhouette: cap, head and shoulders, in a frame like a portrait card.
void CardPlayer(cairo_t* cr, double s) {
  SetColor(cr, kCream);
  cairo_arc(cr, 0.5 * s, 0.46 * s, 0.16 * s, 0, 2 * M_PI);  // head
  cairo_fill(cr);
  cairo_move_to(cr, 0.14 * s, 0.92 * s);
  cairo_curve_to(cr, 0.16 * s, 0.7 * s, 0.3 * s, 0.64 * s, 0.5 * s, 0.64 * s);
  cairo_curve_to(cr, 0.7 * s, 0.64 * s, 0.84 * s, 0.7 * s, 0.86 * s, 0.92 * s);
  cairo_close_path(cr);
  cairo_fill(cr);
  SetColor(cr, kRed);
  cairo_move_to(cr, 0.33 * s, 0.42 * s);
  cairo_curve_to(cr, 0.33 * s, 0.22 * s, 0.67 * s, 0.22 * s, 0.67 * s, 0.42 * s);
  cairo_close_path(cr);
  cairo_fill(cr);
  cairo_move_to(cr, 0.3 * s, 0.42 * s);
  cairo_line_to(cr, 0.76 * s, 0.42 * s);
  cairo_line_to(cr, 0.7 * s, 0.46 * s);
  cairo_line_to(cr, 0.3 * s, 0.46 * s);
  cairo_close_path(cr);
  cairo_fill(cr);
}

// The icon's and the logo's card: a navy rounded square of side s less the margin on each side,
// with the player on it.
void Card(cairo_t* cr, double s, double margin, double radius) {
  RoundedRect(cr, margin, margin, s - 2 * margin, s - 2 * margin, radius);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, s);
  cairo_pattern_add_color_stop_rgb(p, 0, 0.18, 0.34, 0.60);
  cairo_pattern_add_color_stop_rgb(p, 1, kNavy.r, kNavy.g, kNavy.b);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  CardPlayer(cr, s);
}

// A ball in the card's lower right corner, `scale` of the side across.
void CornerBall(cairo_t* cr, double s, double scale) {
  cairo_save(cr);
  cairo_translate(cr, s * 0.78, s * 0.78);
  cairo_scale(cr, s * scale, s * scale);
  Ball(cr, 1.0);
  cairo_restore(cr);
}

}  // namespace

Image MakeIcon(int size) {
  Canvas canvas(size, size);
  cairo_t* cr = canvas.cr();
  const double s = size;
  const double m = size <= 16 ? 0.0 : s * 0.04;
  Card(cr, s, m, s * 0.18);
  if (size >= 32) CornerBall(cr, s, 0.15);  // only the larger sizes have room for it
  return canvas.ToImage(4);
}

Image MakeDashboard() {
  Canvas canvas(kDashboardWidth, kDashboardHeight);
  cairo_t* cr = canvas.cr();
  const double w = kDashboardWidth;
  const double h = kDashboardHeight;
  // A pale evening sky over a ballpark, quiet enough to sit behind the controls.
  cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, h);
  cairo_pattern_add_color_stop_rgb(sky, 0.0, 0.86, 0.91, 0.97);
  cairo_pattern_add_color_stop_rgb(sky, 0.62, 0.98, 0.95, 0.90);
  cairo_pattern_add_color_stop_rgb(sky, 1.0, 0.93, 0.90, 0.84);
  cairo_set_source(cr, sky);
  cairo_paint(cr);
  cairo_pattern_destroy(sky);
  Rng rng("dashboard", 0);
  // Grandstand silhouette and lights.
  SetColor(cr, Bytes(184, 196, 212));
  cairo_move_to(cr, 0, h * 0.72);
  cairo_curve_to(cr, w * 0.3, h * 0.62, w * 0.7, h * 0.62, w, h * 0.72);
  cairo_line_to(cr, w, h);
  cairo_line_to(cr, 0, h);
  cairo_close_path(cr);
  cairo_fill(cr);
  for (int i = 0; i < 6; ++i) {
    const double x = w * (0.08 + 0.168 * i);
    SetColor(cr, Bytes(170, 182, 200));
    cairo_rectangle(cr, x - 1.5, h * 0.5, 3, h * 0.2);
    cairo_fill(cr);
    SoftSpot(cr, x, h * 0.49, 34, 16, Bytes(255, 250, 230), 0.8);
    SetColor(cr, Bytes(150, 160, 178));
    cairo_rectangle(cr, x - 9, h * 0.47, 18, 8);
    cairo_fill(cr);
    SetColor(cr, Bytes(255, 252, 238));
    for (int lamp = 0; lamp < 4; ++lamp) {
      cairo_rectangle(cr, x - 7.5 + lamp * 4, h * 0.47 + 1.5, 3, 5);
    }
    cairo_fill(cr);
  }
  // The outfield grass and a soft infield arc.
  cairo_pattern_t* grass = cairo_pattern_create_linear(0, h * 0.8, 0, h);
  cairo_pattern_add_color_stop_rgb(grass, 0, 0.74, 0.84, 0.70);
  cairo_pattern_add_color_stop_rgb(grass, 1, 0.62, 0.76, 0.58);
  cairo_set_source(cr, grass);
  cairo_rectangle(cr, 0, h * 0.8, w, h * 0.2);
  cairo_fill(cr);
  cairo_pattern_destroy(grass);
  SetColor(cr, Bytes(222, 196, 160), 0.8);
  EllipsePath(cr, w * 0.5, h * 1.12, w * 0.34, h * 0.2);
  cairo_fill(cr);
  Image image = canvas.ToImage(3);
  Blur(image, 2);
  return image;
}

Image MakeLogo() {
  Canvas canvas(kLogoSize, kLogoSize);
  cairo_t* cr = canvas.cr();
  SetColor(cr, Bytes(255, 255, 255));
  cairo_paint(cr);
  const double s = kLogoSize;
  Card(cr, s, 3, 14);
  CornerBall(cr, s, 0.14);
  return canvas.ToImage(3);
}

}  // namespace likentor::artgen
