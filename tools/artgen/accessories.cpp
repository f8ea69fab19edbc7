#include "accessories.h"

#include <cmath>
#include <stdexcept>

#include "layout.h"
#include "paint.h"

namespace likentor::artgen {
namespace {

using namespace layout;

// A bat leaning on the shoulder at the viewer's left, handle low, barrel up beside the head.
void Bat(cairo_t* cr) {
  const Pt knob{21.0, 138.0};
  const Pt end{5.5, 24.0};
  const double dx = end.x - knob.x;
  const double dy = end.y - knob.y;
  const double len = std::hypot(dx, dy);
  const double angle = std::atan2(dy, dx);
  cairo_save(cr);
  cairo_translate(cr, knob.x, knob.y);
  cairo_rotate(cr, angle);
  // Along +x from the knob to the end: handle, taper, barrel.
  auto outline = [&](double grow) {
    cairo_move_to(cr, 0, -1.5 - grow);
    cairo_line_to(cr, len * 0.38, -1.5 - grow);
    cairo_curve_to(cr, len * 0.6, -1.7 - grow, len * 0.7, -3.4 - grow, len * 0.84, -3.6 - grow);
    cairo_line_to(cr, len - 1.8, -3.6 - grow);
    cairo_curve_to(cr, len + 0.2 + grow, -3.6 - grow, len + 0.2 + grow, 3.6 + grow, len - 1.8,
                   3.6 + grow);
    cairo_line_to(cr, len * 0.84, 3.6 + grow);
    cairo_curve_to(cr, len * 0.7, 3.4 + grow, len * 0.6, 1.7 + grow, len * 0.38, 1.5 + grow);
    cairo_line_to(cr, 0, 1.5 + grow);
    cairo_close_path(cr);
  };
  outline(0.0);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, -3.6, 0, 3.6);
  cairo_pattern_add_color_stop_rgb(p, 0.0, 0.62, 0.44, 0.26);
  cairo_pattern_add_color_stop_rgb(p, 0.3, 0.86, 0.68, 0.44);
  cairo_pattern_add_color_stop_rgb(p, 0.55, 0.74, 0.55, 0.33);
  cairo_pattern_add_color_stop_rgb(p, 1.0, 0.48, 0.32, 0.18);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  cairo_set_line_width(cr, 0.8);
  SetColor(cr, Bytes(70, 44, 24), 0.8);
  cairo_stroke(cr);
  // Grain and the maker's stamp on the barrel.
  cairo_set_line_width(cr, 0.4);
  SetColor(cr, Bytes(110, 72, 40), 0.35);
  for (double off : {-1.6, 0.6, 2.0}) {
    cairo_move_to(cr, len * 0.72, off);
    cairo_line_to(cr, len - 3, off * 1.05);
  }
  cairo_stroke(cr);
  SetColor(cr, Bytes(40, 30, 24), 0.5);
  cairo_rectangle(cr, len * 0.8, -1.2, 3.5, 2.4);
  cairo_fill(cr);
  // Tape on the handle and the knob.
  SetColor(cr, Bytes(40, 40, 44), 0.9);
  cairo_rectangle(cr, 0.8, -1.7, len * 0.2, 3.4);
  cairo_fill(cr);
  SetColor(cr, Bytes(150, 104, 60));
  EllipsePath(cr, 0.4, 0, 1.4, 2.4);
  cairo_fill(cr);
  cairo_restore(cr);
}

// A fielder's glove worn on the hand at the viewer's right, pocket towards the camera, held at
// chest height.
void Glove(cairo_t* cr) {
  cairo_save(cr);
  cairo_translate(cr, 75.5, 119.0);
  cairo_rotate(cr, 0.12);
  cairo_scale(cr, 1.12, 1.12);
  const Rgb dark = Bytes(88, 48, 22);
  auto mitt = [cr] {
    cairo_new_sub_path(cr);
    cairo_move_to(cr, -6.5, 13.5);
    cairo_curve_to(cr, -8.5, 6, -9.5, -4, -6.5, -10);
    cairo_curve_to(cr, -4.5, -15.5, 3.5, -17, 8.0, -13);
    cairo_curve_to(cr, 12.5, -9, 12.5, 2, 10.0, 13.5);
    cairo_close_path(cr);
    // The thumb, towards the middle of the picture.
    cairo_new_sub_path(cr);
    cairo_move_to(cr, -6.0, 6.0);
    cairo_curve_to(cr, -12.5, 3, -15.5, -4, -13.5, -8.5);
    cairo_curve_to(cr, -11.5, -11.5, -8.5, -7, -6.5, -3);
    cairo_close_path(cr);
  };
  mitt();
  cairo_pattern_t* p = cairo_pattern_create_linear(-12, -14, 10, 12);
  cairo_pattern_add_color_stop_rgb(p, 0, 0.78, 0.50, 0.26);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.50, 0.28, 0.12);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  // The web between thumb and fingers, laced.
  cairo_move_to(cr, -6.6, -9.5);
  cairo_line_to(cr, -12.0, -9.0);
  cairo_line_to(cr, -9.0, -1.5);
  cairo_line_to(cr, -6.2, -2.5);
  cairo_close_path(cr);
  SetColor(cr, dark);
  cairo_fill(cr);
  cairo_set_line_width(cr, 0.5);
  SetColor(cr, Bytes(226, 196, 150), 0.9);
  for (int i = 0; i < 4; ++i) {
    cairo_move_to(cr, -11.2 + i * 0.7, -8.2 + i * 1.8);
    cairo_line_to(cr, -6.6, -8.6 + i * 1.8);
  }
  cairo_stroke(cr);
  // The pocket, the finger seams and the lacing along the top.
  SoftSpot(cr, 1.5, 3.0, 7.5, 6.5, Bytes(70, 36, 16), 0.55);
  SoftSpot(cr, -2.5, -7.0, 5, 3.5, Bytes(255, 226, 180), 0.35);
  cairo_set_line_width(cr, 0.7);
  SetColor(cr, dark, 0.75);
  for (int i = 0; i < 3; ++i) {
    const double x = -2.0 + i * 3.6;
    cairo_move_to(cr, x - 0.6, -14.8 + (i == 2 ? 1.2 : 0));
    cairo_curve_to(cr, x, -10, x + 0.2, -7, x + 0.1, -4.0);
  }
  cairo_stroke(cr);
  // The wrist opening.
  SetColor(cr, Bytes(52, 28, 14));
  cairo_move_to(cr, -6.5, 13.5);
  cairo_curve_to(cr, -4, 10.5, 7, 10.5, 10.0, 13.5);
  cairo_curve_to(cr, 7, 15.5, -4, 15.5, -6.5, 13.5);
  cairo_fill(cr);
  mitt();
  cairo_set_line_width(cr, 0.8);
  SetColor(cr, Bytes(70, 38, 18), 0.9);
  cairo_stroke(cr);
  cairo_restore(cr);
}

}  // namespace

Image MakeAccessory(int number) {
  if (number < 1 || number > kAccessoryCount) throw std::out_of_range("accessory number");
  Canvas canvas(kWidth, kHeight);
  cairo_t* cr = canvas.cr();
  // Left-handed versions (2 and 4) are mirror images; a bat belongs on the batter's back
  // shoulder, a glove on the hand that does not throw.
  const bool mirror = number == 2 || number == 4;
  if (mirror) {
    cairo_translate(cr, kWidth, 0);
    cairo_scale(cr, -1, 1);
  }
  if (number <= 2) {
    Bat(cr);
  } else {
    Glove(cr);
  }
  return canvas.ToImage(4);
}

}  // namespace likentor::artgen
