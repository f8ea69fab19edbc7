#include "facial_hair.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "layout.h"
#include "paint.h"
#include "rng.h"

namespace likentor::artgen {

const std::array<FacialHairStyle, 14> kFacialHairStyles{{
    {"stubble", 90},
    {"moustache", 40},
    {"goatee", 55},
    {"full beard", 35},
    {"short beard", 50},
    {"chinstrap", 18},
    {"soul patch", 25},
    {"horseshoe", 14},
    {"mutton chops", 8},
    {"circle beard", 40},
    {"van dyke", 15},
    {"handlebar", 6},
    {"pencil moustache", 8},
    {"fu manchu", 4},
}};

namespace {

using namespace layout;
using PathFn = std::function<void(cairo_t*)>;
constexpr double c = kCentreX;

struct HairTones {
  Rgb base, dark, light;
};

HairTones TonesOf(HairColour colour) {
  if (colour == HairColour::kBlonde) {
    return {Bytes(170, 134, 84), Bytes(122, 90, 52), Bytes(214, 184, 128)};
  }
  return {Bytes(74, 52, 36), Bytes(42, 29, 20), Bytes(118, 88, 62)};
}

// Mirrors right-half points (x relative to the centre) into a closed outline.
void Symmetric(cairo_t* cr, const std::vector<Pt>& rightHalf, double tension = 0.5) {
  std::vector<Pt> pts;
  for (const Pt& p : rightHalf) pts.push_back({c + p.x, p.y});
  for (auto it = rightHalf.rbegin(); it != rightHalf.rend(); ++it) {
    if (it->x != 0) pts.push_back({c - it->x, it->y});
  }
  SmoothClosed(cr, pts, tension);
}

void MouthHole(cairo_t* cr) {
  EllipsePath(cr, c, kMouthY + 0.9, 8.4, 2.7);
}

// Right-half points of an outline that Symmetric mirrors, and the curve's tension.
struct Outline {
  std::vector<Pt> rightHalf;
  double tension = 0.5;
};

Outline Moustache(double droop, double thick) {
  // Right half from the centre top, out to the corner and back along the lip.
  return {{{0, kMouthY - 5.4 - thick * 0.4},
           {4.5, kMouthY - 5.6 - thick * 0.3},
           {9.0, kMouthY - 3.6},
           {10.6 + droop * 0.3, kMouthY - 0.6 + droop},
           {9.2, kMouthY - 0.9 + droop * 0.5},
           {5.0, kMouthY - 1.9},
           {0, kMouthY - 2.0}}};
}

Outline FullBeard(double length) {
  return {{{0, kMouthY - 5.8},
           {5.0, kMouthY - 6.0},
           {10.5, kMouthY - 4.0},
           {13.5, 70.0},
           {17.8, 61.0},
           {19.0, 50.0},
           {20.8, 50.5},
           {20.6, 63.0},
           {18.8, 76.0},
           {17.4, 85.0},
           {12.0, 93.0 + length * 0.5},
           {5.5, 97.5 + length},
           {0, 98.8 + length}}};
}

// Fills the region with a hair tone, shades it from the light, and lays strands over it; strands
// starting near the rim stick out a little for a soft edge.
void Hair(cairo_t* cr, const PathFn& region, const HairTones& t, double fillAlpha,
          double strandsPerPixel, double strandLength, Rng& rng, double hwx = 22, double y0 = 44,
          double y1 = 103) {
  cairo_save(cr);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  region(cr);
  cairo_clip(cr);
  SetColor(cr, t.base, fillAlpha);
  cairo_paint(cr);
  LinearWash(cr, c - 4, 0, c + 21, 0, t.dark, 0.0, 0.5 * fillAlpha);
  LinearWash(cr, 0, 80, 0, 100, t.dark, 0.0, 0.3 * fillAlpha);
  SoftSpot(cr, c - 9, 80, 8, 10, t.light, 0.25 * fillAlpha);
  // Strands: sample the box, keep points inside the region.
  std::vector<Pt> roots;
  const int tries = static_cast<int>(hwx * 2 * (y1 - y0) * strandsPerPixel);
  for (int i = 0; i < tries; ++i) {
    const double x = rng.Range(c - hwx, c + hwx);
    const double y = rng.Range(y0, y1);
    if (cairo_in_clip(cr, x, y)) roots.push_back({x, y});
  }
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, 0.55);
  for (const Pt& p : roots) {
    // Hair grows down and outwards from the middle of the face.
    const double side = (p.x - c) / 20.0;
    const double angle = M_PI / 2 - side * 0.9 + rng.Range(-0.35, 0.35);
    const double len = strandLength * rng.Range(0.6, 1.2);
    const bool darkStrand = rng.Chance(0.55);
    SetColor(cr, darkStrand ? t.dark : t.light, rng.Range(0.35, 0.7) * fillAlpha);
    cairo_move_to(cr, p.x, p.y);
    cairo_line_to(cr, p.x + std::cos(angle) * len, p.y + std::sin(angle) * len);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
  // Loose ends over the rim.
  cairo_save(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, 0.5);
  for (std::size_t i = 0; i < roots.size(); i += 5) {
    const Pt p = roots[i];
    const double side = (p.x - c) / 20.0;
    const double angle = M_PI / 2 - side * 0.9 + rng.Range(-0.4, 0.4);
    const double len = strandLength * 0.7;
    SetColor(cr, t.dark, 0.3 * fillAlpha);
    cairo_move_to(cr, p.x, p.y);
    cairo_line_to(cr, p.x + std::cos(angle) * len, p.y + std::sin(angle) * len);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
}

// Short dark dots: a day or three of growth.
void Stubble(cairo_t* cr, const PathFn& region, const HairTones& t, double density, double alpha,
             Rng& rng) {
  cairo_save(cr);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  region(cr);
  cairo_clip(cr);
  SetColor(cr, t.dark, alpha * 0.35);
  cairo_paint(cr);
  const int tries = static_cast<int>(44 * 60 * density);
  for (int i = 0; i < tries; ++i) {
    const double x = rng.Range(c - 22, c + 22);
    const double y = rng.Range(44, 104);
    if (!cairo_in_clip(cr, x, y)) continue;
    SetColor(cr, t.dark, alpha * rng.Range(0.5, 1.0));
    cairo_arc(cr, x, y, rng.Range(0.3, 0.5), 0, 2 * M_PI);
    cairo_fill(cr);
  }
  cairo_restore(cr);
}

// A style drawn as strands over mirrored outlines (with the mouth left bare where it says so):
// how opaque the fill, how many strands a pixel and how long.
struct StrandStyle {
  std::string_view location;
  std::vector<Outline> outlines;
  bool mouthHole = false;
  double fillAlpha = 0;
  double strandsPerPixel = 0;
  double strandLength = 0;
};

const std::vector<StrandStyle>& StrandStyles() {
  static const std::vector<StrandStyle> styles{
      {"moustache", {Moustache(0.8, 1.0)}, false, 0.92, 1.2, 1.8},
      {"pencil moustache",
       {{{{0, kMouthY - 3.3},
          {4.5, kMouthY - 3.4},
          {8.6, kMouthY - 2.2},
          {8.2, kMouthY - 1.5},
          {4.5, kMouthY - 2.3},
          {0, kMouthY - 2.2}}}},
       false,
       0.95,
       0.6,
       1.0},
      {"handlebar",
       {{{{0, kMouthY - 5.2},
          {4.5, kMouthY - 5.4},
          {9.0, kMouthY - 3.8},
          {12.5, kMouthY - 3.4},
          {14.2, kMouthY - 6.4},
          {13.4, kMouthY - 6.6},
          {12.4, kMouthY - 4.6},
          {9.0, kMouthY - 1.8},
          {4.5, kMouthY - 2.0},
          {0, kMouthY - 2.0}},
         0.4}},
       false,
       0.95,
       1.2,
       1.6},
      {"horseshoe",
       {{{{0, kMouthY - 5.6},
          {4.5, kMouthY - 5.8},
          {9.4, kMouthY - 3.8},
          {11.6, kMouthY + 2.0},
          {11.4, 92.0},
          {8.6, 92.5},
          {8.4, kMouthY + 2.0},
          {7.4, kMouthY - 1.6},
          {4.5, kMouthY - 2.0},
          {0, kMouthY - 2.0}},
         0.4}},
       false,
       0.94,
       1.2,
       2.0},
      {"fu manchu",
       {{{{0, kMouthY - 4.8},
          {4.5, kMouthY - 5.0},
          {9.0, kMouthY - 3.0},
          {10.2, kMouthY + 3.0},
          {10.0, 99.0},
          {8.8, 100.5},
          {8.6, kMouthY + 3.0},
          {7.6, kMouthY - 1.4},
          {4.5, kMouthY - 2.0},
          {0, kMouthY - 2.0}},
         0.4}},
       false,
       0.95,
       1.0,
       2.4},
      {"goatee",
       {{{{0, kMouthY + 4.0},
          {3.5, kMouthY + 4.2},
          {6.6, kMouthY + 6.0},
          {6.8, 92.0},
          {4.0, 97.5},
          {0, 98.8}}}},
       false,
       0.92,
       1.2,
       2.0},
      {"soul patch",
       {{{{0, kMouthY + 4.6},
          {2.0, kMouthY + 4.8},
          {2.4, kMouthY + 7.5},
          {1.0, kMouthY + 9.8},
          {0, kMouthY + 10.2}}}},
       false,
       0.92,
       1.5,
       1.6},
      {"circle beard",
       {{{{0, kMouthY - 5.6},
          {5.0, kMouthY - 5.8},
          {9.8, kMouthY - 3.6},
          {11.0, kMouthY + 2.0},
          {9.5, 91.0},
          {5.0, 97.5},
          {0, 99.0}}}},
       true,
       0.92,
       1.2,
       2.0},
      {"van dyke",
       {{{{0, kMouthY - 5.2},
          {4.5, kMouthY - 5.4},
          {9.0, kMouthY - 3.8},
          {11.6, kMouthY - 4.6},
          {9.0, kMouthY - 1.9},
          {4.5, kMouthY - 2.0},
          {0, kMouthY - 2.0}},
         0.4},
        {{{0, kMouthY + 4.2}, {2.6, kMouthY + 4.4}, {5.0, kMouthY + 7.0}, {2.2, 96.0}, {0, 100.5}},
         0.4}},
       false,
       0.93,
       1.2,
       2.0},
      {"full beard", {FullBeard(1.5)}, true, 0.94, 1.3, 2.6},
      {"short beard", {FullBeard(-0.5)}, true, 0.62, 1.4, 1.3},
      {"chinstrap",
       {{{{20.8, 50.5},
          {20.6, 63.0},
          {18.8, 76.0},
          {17.2, 85.0},
          {12.0, 93.5},
          {5.0, 97.8},
          {0, 98.8},
          {0, 95.6},
          {5.0, 94.6},
          {10.6, 90.0},
          {14.4, 83.0},
          {16.8, 72.0},
          {18.2, 50.0}}}},
       false,
       0.92,
       1.3,
       1.6},
  };
  return styles;
}

void Draw(cairo_t* cr, std::string_view style, const HairTones& t, Rng& rng) {
  const auto& styles = StrandStyles();
  const auto strands = std::find_if(styles.begin(), styles.end(),
                                    [&](const StrandStyle& s) { return s.location == style; });
  if (strands != styles.end()) {
    const auto region = [&](cairo_t* cr2) {
      for (const Outline& o : strands->outlines) Symmetric(cr2, o.rightHalf, o.tension);
      if (strands->mouthHole) MouthHole(cr2);
    };
    Hair(cr, region, t, strands->fillAlpha, strands->strandsPerPixel, strands->strandLength, rng);
  } else if (style == "stubble") {
    const Outline beard = FullBeard(-1.0);
    const auto region = [&](cairo_t* cr2) {
      Symmetric(cr2, beard.rightHalf, beard.tension);
      MouthHole(cr2);
    };
    Stubble(cr, region, t, 1.6, 0.5, rng);
  } else if (style == "mutton chops") {
    Hair(
        cr,
        [](cairo_t* cr2) {
          for (int s : {-1, 1}) {
            std::vector<Pt> pts = {{c + s * 18.4, 50},   {c + s * 20.8, 50.5}, {c + s * 20.6, 63.0},
                                   {c + s * 18.8, 76.0}, {c + s * 17.0, 85.0}, {c + s * 13.2, 85.5},
                                   {c + s * 12.6, 76.0}, {c + s * 15.8, 64.0}};
            SmoothClosed(cr2, pts, 0.4);
          }
        },
        t, 0.93, 1.3, 2.0, rng);
  } else {
    throw std::invalid_argument("unknown facial hair style " + std::string(style));
  }
}

}  // namespace

Image MakeFacialHair(std::string_view location, HairColour colour) {
  Canvas canvas(kWidth, kHeight, kHairX, kHairY);
  Rng rng(location, 0);  // the same strands in both colours
  Draw(canvas.cr(), location, TonesOf(colour), rng);
  return canvas.ToImage(4);
}

}  // namespace likentor::artgen
