#include "backgrounds.h"

#include <cmath>

#include "layout.h"
#include "paint.h"
#include "rng.h"

namespace likentor::artgen {
namespace {

using namespace layout;

void VerticalGradient(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
  cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(p, 1, bottom.r, bottom.g, bottom.b);
  cairo_set_source(cr, p);
  cairo_rectangle(cr, 0, y0, kWidth, y1 - y0);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

// Ballpark: sky, the upper deck with its crowd, lights, the outfield wall and grass.
void Ballpark(cairo_t* cr, int variant, Rng& rng) {
  struct Look {
    Rgb skyTop, skyLow, stands, wall, grass;
    bool night;
  };
  static const Look kLooks[] = {
      {Bytes(118, 164, 214), Bytes(196, 218, 234), Bytes(86, 96, 112), Bytes(40, 84, 66),
       Bytes(92, 150, 84), false},
      {Bytes(72, 76, 128), Bytes(236, 156, 110), Bytes(70, 64, 78), Bytes(34, 62, 74),
       Bytes(70, 118, 70), false},
      {Bytes(18, 28, 58), Bytes(44, 64, 104), Bytes(36, 40, 56), Bytes(26, 58, 48),
       Bytes(58, 122, 70), true},
      {Bytes(168, 176, 184), Bytes(208, 210, 210), Bytes(110, 110, 116), Bytes(54, 90, 76),
       Bytes(104, 146, 96), false},
      {Bytes(92, 140, 196), Bytes(226, 214, 190), Bytes(120, 92, 84), Bytes(120, 60, 48),
       Bytes(96, 142, 80), false},
  };
  const Look& k = kLooks[variant % 5];
  VerticalGradient(cr, 0, 60, k.skyTop, k.skyLow);
  const double deck = rng.Range(48, 62);
  VerticalGradient(cr, deck, 104, k.stands, Scale(k.stands, 0.75));
  // The crowd: muted specks.
  for (int i = 0; i < 260; ++i) {
    const double x = rng.Range(0, kWidth);
    const double y = rng.Range(deck + 2, 102);
    const Rgb shirt = Mix(k.stands, Bytes(rng.Below(255), rng.Below(255), rng.Below(255)), 0.45);
    SetColor(cr, shirt, 0.8);
    cairo_arc(cr, x, y, rng.Range(0.8, 1.6), 0, 2 * M_PI);
    cairo_fill(cr);
  }
  // Roof line and light towers.
  SetColor(cr, Scale(k.stands, 0.55));
  cairo_rectangle(cr, 0, deck - 3, kWidth, 3);
  cairo_fill(cr);
  for (int i = 0; i < 3; ++i) {
    const double x = rng.Range(4, 86);
    const double y = rng.Range(8, deck - 10);
    SoftSpot(cr, x, y, 7, 4, k.night ? Bytes(255, 248, 220) : Bytes(255, 255, 255),
             k.night ? 0.85 : 0.35);
  }
  VerticalGradient(cr, 104, 112, k.wall, Scale(k.wall, 0.8));
  if (variant >= 5) {
    // Advertising boards along the wall.
    for (double x = rng.Range(-8, 0); x < kWidth; x += 15) {
      const Rgb board = Mix(k.wall, Bytes(rng.Below(255), rng.Below(255), rng.Below(255)), 0.5);
      SetColor(cr, board);
      cairo_rectangle(cr, x, 104.5, 13.5, 6);
      cairo_fill(cr);
    }
  }
  VerticalGradient(cr, 112, kHeight, k.grass, Scale(k.grass, 0.8));
  if (variant >= 10) {
    // Seen through the netting behind home plate.
    SetColor(cr, Bytes(30, 30, 30), 0.25);
    cairo_set_line_width(cr, 0.6);
    for (double x = -140; x < kWidth + 140; x += 5) {
      cairo_move_to(cr, x, 0);
      cairo_line_to(cr, x + kHeight, kHeight);
      cairo_move_to(cr, x, 0);
      cairo_line_to(cr, x - kHeight, kHeight);
    }
    cairo_stroke(cr);
  }
  // Mowing stripes.
  for (int i = 0; i < 5; ++i) {
    SetColor(cr, Bytes(255, 255, 255), 0.05);
    cairo_rectangle(cr, i * 20.0 + 4, 112, 10, 30);
    cairo_fill(cr);
  }
}

void Sky(cairo_t* cr, int variant, Rng& rng) {
  static const Rgb kTops[] = {Bytes(84, 136, 200), Bytes(150, 182, 214), Bytes(96, 92, 150),
                              Bytes(120, 150, 170), Bytes(62, 110, 172)};
  static const Rgb kLows[] = {Bytes(190, 214, 236), Bytes(226, 232, 236), Bytes(240, 176, 138),
                              Bytes(214, 204, 186), Bytes(164, 200, 230)};
  VerticalGradient(cr, 0, kHeight, kTops[variant % 5], kLows[variant % 5]);
  for (int i = 0; i < 9; ++i) {
    const double x = rng.Range(-10, 100);
    const double y = rng.Range(10, 120);
    SoftSpot(cr, x, y, rng.Range(14, 30), rng.Range(5, 10), Bytes(255, 255, 255),
             rng.Range(0.25, 0.6));
  }
}

void Studio(cairo_t* cr, int variant, Rng& rng) {
  static const Rgb kColours[] = {Bytes(112, 124, 140), Bytes(150, 136, 120), Bytes(84, 118, 118),
                                 Bytes(128, 120, 140), Bytes(170, 164, 150), Bytes(96, 108, 92),
                                 Bytes(140, 110, 100)};
  const Rgb base = kColours[(variant + rng.Below(2)) % 7];
  SetColor(cr, Scale(base, 0.62));
  cairo_paint(cr);
  cairo_save(cr);
  cairo_pattern_t* p =
      cairo_pattern_create_radial(rng.Range(30, 60), rng.Range(45, 75), 4, 45, 60, 95);
  const Rgb light = Mix(base, Bytes(255, 255, 255), 0.35);
  cairo_pattern_add_color_stop_rgb(p, 0, light.r, light.g, light.b);
  cairo_pattern_add_color_stop_rgb(p, 1, base.r * 0.55, base.g * 0.55, base.b * 0.55);
  cairo_set_source(cr, p);
  cairo_paint(cr);
  cairo_pattern_destroy(p);
  cairo_restore(cr);
}

void Bokeh(cairo_t* cr, int variant, Rng& rng) {
  static const Rgb kBases[] = {Bytes(40, 44, 58), Bytes(58, 48, 44), Bytes(36, 54, 52),
                               Bytes(64, 64, 70), Bytes(50, 40, 60)};
  const Rgb base = kBases[variant % 5];
  VerticalGradient(cr, 0, kHeight, Scale(base, 1.25), Scale(base, 0.8));
  for (int i = 0; i < 34; ++i) {
    const Rgb dot =
        Mix(base, Bytes(150 + rng.Below(100), 140 + rng.Below(100), 120 + rng.Below(120)),
            rng.Range(0.3, 0.6));
    SetColor(cr, dot, rng.Range(0.25, 0.6));
    cairo_arc(cr, rng.Range(-5, 95), rng.Range(-5, 140), rng.Range(3, 9), 0, 2 * M_PI);
    cairo_fill(cr);
  }
}

void Dugout(cairo_t* cr, int variant, Rng& rng) {
  static const Rgb kWalls[] = {Bytes(52, 88, 70), Bytes(48, 62, 92), Bytes(128, 128, 124),
                               Bytes(126, 70, 56), Bytes(86, 80, 70)};
  const Rgb wall = kWalls[variant % 5];
  VerticalGradient(cr, 0, kHeight, Scale(wall, 1.15), Scale(wall, 0.8));
  const double step = rng.Range(9, 14);
  for (double y = rng.Range(0, step); y < kHeight; y += step) {
    SetColor(cr, Scale(wall, 0.7), 0.8);
    cairo_rectangle(cr, 0, y, kWidth, 1.2);
    cairo_fill(cr);
    SetColor(cr, Mix(wall, Bytes(255, 255, 255), 0.3), 0.5);
    cairo_rectangle(cr, 0, y + 1.2, kWidth, 0.8);
    cairo_fill(cr);
  }
  if (variant % 2 == 0) {
    // Padding seams.
    for (double x = rng.Range(0, 20); x < kWidth; x += 22) {
      SetColor(cr, Scale(wall, 0.65), 0.7);
      cairo_rectangle(cr, x, 0, 1.2, kHeight);
      cairo_fill(cr);
    }
  }
  // The bench rail and the light falling in from the field side.
  SetColor(cr, Scale(wall, 0.45));
  cairo_rectangle(cr, 0, 112, kWidth, 5);
  cairo_fill(cr);
  LinearWash(cr, 0, 0, kWidth, 0, Bytes(255, 244, 220), 0.28, 0.0);
}

}  // namespace

Image MakeBackground(int number) {
  Canvas canvas(kWidth, kHeight);
  cairo_t* cr = canvas.cr();
  Rng rng("background", static_cast<std::uint64_t>(number));
  const int kind = (number - 1) % 5;
  const int variant = (number - 1) / 5;
  int blur = 2;
  switch (kind) {
    case 0:
      Ballpark(cr, variant, rng);
      blur = 3;
      break;
    case 1:
      Sky(cr, variant, rng);
      blur = 2;
      break;
    case 2:
      Studio(cr, variant, rng);
      blur = 1;
      break;
    case 3:
      Bokeh(cr, variant, rng);
      blur = 2;
      break;
    default:
      Dugout(cr, variant, rng);
      blur = 2;
      break;
  }
  Image image = canvas.ToImage(3);
  Blur(image, blur);
  return image;
}

}  // namespace likentor::artgen
