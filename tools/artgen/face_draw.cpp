// Drawing one face layer. Light comes from the upper left for every part: the right side of the
// head, nose and neck is in shade, highlights sit on the left of the forehead, cheek and nose.
#include <algorithm>
#include <cmath>
#include <vector>

#include "faces.h"
#include "figure.h"
#include "layout.h"
#include "rng.h"

namespace likentor::artgen {
namespace {

using namespace layout;

struct SkinTones {
  Rgb base, shadow, deep, highlight, edge;
  double sheen;  // extra highlight strength on dark skin
};

SkinTones TonesOf(Rgb s) {
  SkinTones t;
  t.base = s;
  t.shadow = {s.r * 0.80, s.g * 0.68, s.b * 0.64};
  t.deep = {s.r * 0.52, s.g * 0.38, s.b * 0.34};
  t.highlight = Mix(s, Bytes(255, 244, 228), 0.45);
  t.edge = {s.r * 0.58, s.g * 0.44, s.b * 0.38};
  const double luma = Luma(s);
  t.sheen = std::clamp((0.62 - luma) * 0.5, 0.0, 0.18);
  return t;
}

// Control points of the head outline, clockwise from the top of the skull.
std::vector<Pt> HeadOutline(const FaceParams& f) {
  const double c = kCentreX;
  const double hollow = f.cheekHollow * 0.6;
  // A round jaw turns early and low; an angular one keeps its corner. A pointed chin narrows
  // towards its lowest point.
  const double round = f.jawRound;
  // Even the narrowest chin ends in a small rounded base, never a point.
  const double chinBase = std::max(f.chinHalf * (0.45 - 0.2 * f.chinPoint), 2.4);
  std::vector<Pt> right = {
      {c + f.templeHalf * 0.55, kSkullTop + 4.0},
      {c + f.templeHalf * 0.9, 33.0},
      {c + f.templeHalf, kTempleY},
      {c + f.cheekHalf, kCheekY - 3.0 + f.cheekShift},
      // Never narrower than the grid's narrowest cheek and jaw allow: beards sit on it.
      {c + std::max((f.cheekHalf + f.jawHalf) / 2 + 0.4 - hollow + std::max(round - 0.5, 0.0),
                    17.6),
       (kCheekY + f.cheekShift + f.jawY) / 2 + 1.0},
      {c + std::max(f.jawHalf - round * 0.7, kJawHalfMin), f.jawY + round * 0.8},
      {c + std::max(f.chinHalf + 1.6 - f.chinPoint * 0.8, chinBase + 1.8),
       f.chinY - 1.9 - f.chinPoint * 0.9},
      {c + chinBase, f.chinY - 0.15},
  };
  std::vector<Pt> pts = {{c, kSkullTop}};
  pts.insert(pts.end(), right.begin(), right.end());
  pts.push_back({c, f.chinY});
  for (auto it = right.rbegin(); it != right.rend(); ++it) pts.push_back({2 * c - it->x, it->y});
  return pts;
}

// Half-width of the head at height y, by straight lines between the outline's control points.
double HalfWidthAt(const FaceParams& f, double y) {
  const std::vector<Pt> pts = HeadOutline(f);
  for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
    const Pt a = pts[i];
    const Pt b = pts[i + 1];
    if (a.x >= kCentreX && y >= a.y && y <= b.y && b.y > a.y) {
      return a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y) - kCentreX;
    }
  }
  return f.templeHalf;
}

void DrawNeck(cairo_t* cr, const FaceParams& f, const SkinTones& t) {
  const double c = kCentreX;
  const double h = f.neckHalf;
  cairo_save(cr);
  ShoulderRegion(cr, 1.5);
  cairo_new_sub_path(cr);
  // Clockwise like the shoulder region, so that the two add up where they overlap.
  cairo_move_to(cr, c - h + 0.6, f.jawY - 8);
  cairo_line_to(cr, c + h - 0.6, f.jawY - 8);
  cairo_curve_to(cr, c + h - 0.2, 92, c + h, 96, c + h + 0.8, 101);
  cairo_line_to(cr, c - h - 0.8, 101);
  cairo_curve_to(cr, c - h, 96, c - h + 0.2, 92, c - h + 0.6, f.jawY - 8);
  cairo_close_path(cr);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  cairo_clip_preserve(cr);
  SetColor(cr, Scale(t.base, 0.93));
  cairo_fill(cr);
  LinearWash(cr, c - 4, 0, c + h + 2, 0, t.shadow, 0.0, 0.55);
  LinearWash(cr, 0, f.chinY - 2, 0, 106, t.deep, 0.55, 0.0);
  SoftSpot(cr, c + 1, f.chinY + 1.0, f.jawHalf * 0.9, 4.0, t.deep, 0.35);
  SoftSpot(cr, c - 4, 104, 7, 3, t.highlight, 0.15 + t.sheen * 0.3);
  cairo_restore(cr);
  // Neck sides, down to where they meet the shoulders.
  cairo_save(cr);
  cairo_set_line_width(cr, 0.9);
  SetColor(cr, t.edge, 0.55);
  for (int s : {-1, 1}) {
    cairo_move_to(cr, c + s * (h - 0.6), f.jawY - 2);
    cairo_curve_to(cr, c + s * (h - 0.2), 92, c + s * h, 96, c + s * (h + 0.9), 99.5);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
}

struct HairTones {
  Rgb base, dark, light;
};

HairTones HairTonesOf(Rgb hair) {
  return {hair, Scale(hair, 0.55), Mix(hair, Bytes(236, 214, 180), 0.28)};
}

// Hair stays inside the crown's width until the brim's tips (y 45); below them it may stand out.
void ClipBesideTheCap(cairo_t* cr) {
  cairo_rectangle(cr, kCentreX - 24.5, 0, 49, kBrimTipY);
  cairo_rectangle(cr, 0, kBrimTipY, kWidth, kHeight);
  cairo_clip(cr);
}

bool LongSides(HairStyle s) {
  return s == HairStyle::kOverEars || s == HairStyle::kLong || s == HairStyle::kFlow;
}

// Fills the current path with hair: the base, the shade under the band and away from the light,
// and a few strands for texture.
void FillHair(cairo_t* cr, const HairTones& h, double alpha, double y0, double y1, Rng& rng,
              double strandLength) {
  cairo_save(cr);
  cairo_clip_preserve(cr);
  SetColor(cr, h.base, alpha);
  cairo_fill(cr);
  LinearWash(cr, 0, kTempleY, 0, kTempleY + 6, h.dark, 0.5 * alpha, 0.0);
  LinearWash(cr, kCentreX - 10, 0, kCentreX + 24, 0, h.dark, 0.0, 0.45 * alpha);
  if (strandLength > 0) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 0.6);
    const int strands = static_cast<int>((y1 - y0) * 2.2);
    for (int i = 0; i < strands; ++i) {
      const int side = rng.Chance(0.5) ? 1 : -1;
      const double x = kCentreX + side * rng.Range(12.0, 28.0);
      const double y = rng.Range(y0, y1);
      const double len = strandLength * rng.Range(0.6, 1.2);
      SetColor(cr, rng.Chance(0.5) ? h.light : h.dark, rng.Range(0.25, 0.5) * alpha);
      cairo_move_to(cr, x, y);
      cairo_curve_to(cr, x + side * len * 0.2, y + len * 0.4, x + side * len * 0.3, y + len * 0.7,
                     x + side * len * 0.2, y + len);
      cairo_stroke(cr);
    }
  }
  cairo_restore(cr);
}

// Hair behind the head and the ears: at the back of the neck, beside the jaw, hanging locks.
void DrawHairBehind(cairo_t* cr, const FaceParams& f) {
  const HairStyle style = f.hairStyle;
  // A shaved head still has its sides: skin with a shadow of regrowth, down to the ears.
  const HairTones h = style == HairStyle::kShaved
                          ? HairTonesOf(Mix(TonesOf(f.skin).shadow, f.hair, 0.3))
                          : HairTonesOf(f.hair);
  Rng rng(f.seed ^ 0xB00Bull);
  const double c = kCentreX;
  cairo_save(cr);
  ClipBesideTheCap(cr);
  for (int s : {-1, 1}) {
    const double edge = c + s * f.templeHalf;
    const double out = std::min(f.templeHalf + 3.0, 24.5);
    // The band of hair between the cap and the top of the ear that every style but the shaved
    // one has; how far down and out it goes depends on the style.
    double bottom = f.earTop + 2.0;
    double wide = 0.0;
    switch (style) {
      case HairStyle::kOverEars:
        bottom = f.earTop + f.earHeight * 0.7;
        wide = f.earOut * 0.6;
        break;
      case HairStyle::kLong:
        bottom = std::min(f.jawY + 4.0, 90.0);
        wide = f.earOut + 2.0;
        break;
      case HairStyle::kFlow:
        bottom = 84.0;
        wide = f.earOut + 1.0;
        break;
      case HairStyle::kNeckLength:
      case HairStyle::kNeckCurls:
        bottom = 88.0;
        wide = 1.5;
        break;
      default:
        break;
    }
    const double alpha = style == HairStyle::kShaved ? 1.0 : style == HairStyle::kFade ? 0.8 : 0.95;
    cairo_new_path(cr);
    cairo_move_to(cr, edge - s * 3.0, 43.6);
    cairo_line_to(cr, c + s * out, 43.6);
    if (bottom <= f.earTop + 2.5) {
      cairo_curve_to(cr, c + s * out, 48.0, edge + s * 1.4, f.earTop, edge + s * 0.2,
                     f.earTop + 2.0);
      cairo_line_to(cr, edge - s * 3.0, f.earTop + 2.0);
    } else {
      // Down behind the ear and the jaw, ending at the neck.
      const double lowX = c + s * (f.neckHalf + (style == HairStyle::kFlow ? 6.0 : 2.0));
      cairo_curve_to(cr, c + s * (out + wide * 0.6), 50.0, c + s * (f.templeHalf + wide), 60.0,
                     c + s * (f.templeHalf + wide * 0.8), bottom - 8.0);
      if (style == HairStyle::kFlow) {
        cairo_curve_to(cr, c + s * (f.templeHalf + wide + 2.5), bottom - 2.0,
                       c + s * (f.templeHalf + 3.0), bottom + 1.5, lowX, bottom - 1.0);
      } else {
        cairo_curve_to(cr, c + s * (f.templeHalf + wide * 0.6), bottom - 3.0,
                       c + s * (f.jawHalf + 2.0), bottom, lowX, bottom);
      }
      cairo_line_to(cr, c + s * (f.neckHalf - 3.0), bottom - 4.0);
      cairo_line_to(cr, edge - s * 3.0, 50.0);
    }
    cairo_close_path(cr);
    FillHair(cr, h, alpha, 44.0, bottom, rng, bottom > 60 ? 6.0 : 0.0);
    if (style == HairStyle::kNeckCurls || style == HairStyle::kTightCurls) {
      // Curls: rounded tufts along the outer edge.
      const double y0 = style == HairStyle::kNeckCurls ? 58.0 : 46.0;
      const double y1 = style == HairStyle::kNeckCurls ? 90.0 : f.earTop + 2.0;
      for (double y = y0; y <= y1; y += 2.6) {
        const double hw = style == HairStyle::kNeckCurls
                              ? std::max(f.neckHalf + 1.0, HalfWidthAt(f, std::min(y, 86.0)) + 1.0)
                              : std::min(f.templeHalf + 2.2, 24.0);
        const double x = c + s * (hw + rng.Range(-0.4, 0.8));
        SetColor(cr, rng.Chance(0.5) ? h.base : Mix(h.base, h.dark, 0.5), 0.95);
        cairo_arc(cr, x, y + rng.Range(-0.5, 0.5), rng.Range(1.5, 2.1), 0, 2 * M_PI);
        cairo_fill(cr);
        SetColor(cr, h.light, 0.35);
        cairo_arc(cr, x - 0.5, y - 0.6, 0.7, 0, 2 * M_PI);
        cairo_fill(cr);
      }
    }
    if (style == HairStyle::kLocks || style == HairStyle::kBraids) {
      // Locks hang behind the ears to the shoulders; braids are thinner and banded.
      const bool braids = style == HairStyle::kBraids;
      const int count = braids ? 3 : 4;
      for (int k = 0; k < count; ++k) {
        const double x =
            c + s * (f.templeHalf - 1.0 + k * (braids ? 1.8 : 1.6) + rng.Range(-0.3, 0.3));
        const double w = braids ? 1.5 : 2.3;
        const double end = rng.Range(96.0, 106.0);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_width(cr, w);
        SetColor(cr, Mix(h.base, h.dark, 0.15 * k), 0.97);
        cairo_move_to(cr, x - s * 0.5, 46.0);
        cairo_curve_to(cr, x + s * 0.6, 62.0, x + s * 0.2, 80.0, x - s * 0.8 * k, end);
        cairo_stroke(cr);
        cairo_set_line_width(cr, 0.5);
        SetColor(cr, braids ? Scale(h.dark, 0.7) : h.light, braids ? 0.55 : 0.3);
        for (double y = 50.0; y < end - 2; y += braids ? 2.0 : 3.4) {
          const double t = (y - 46.0) / (end - 46.0);
          const double bx =
              x - s * 0.5 + (s * 0.6 + 0.5 * s) * t * (1 - t) * 2 - s * 0.8 * k * t * t;
          cairo_move_to(cr, bx - w * 0.45, y);
          cairo_line_to(cr, bx + w * 0.45, y + (braids ? 0.8 : 0.4));
        }
        cairo_stroke(cr);
      }
    }
  }
  cairo_restore(cr);
}

// Hair in front of the skin at the temples: the edge under the band and the sideburns.
void DrawHairTemples(cairo_t* cr, const FaceParams& f) {
  const HairStyle style = f.hairStyle;
  Rng rng(f.seed ^ 0x7E3Bull);
  cairo_save(cr);
  for (int s : {-1, 1}) {
    const double top = HalfWidthAt(f, kTempleY);
    if (style == HairStyle::kShaved) {
      // A shadow of regrowth where the hairline would be.
      SoftSpot(cr, kCentreX + s * (top - 1.0), 47.0, 3.0, 4.0,
               Mix(f.hair, Bytes(96, 100, 110), 0.5), 0.22);
      continue;
    }
    double end = f.sideburnEnd;
    double depth = f.hairDepth;
    double w = f.sideburnWidth;
    double alpha = 0.9;
    switch (style) {
      case HairStyle::kCloseCrop:
        end = std::min(end, 52.0);
        w *= 0.8;
        alpha = 0.8;
        break;
      case HairStyle::kFade:
        end = 51.0;
        alpha = 0.75;
        break;
      case HairStyle::kOverEars:
      case HairStyle::kFlow:
        depth += 1.8;
        end = std::max(end, 57.0);
        w += 0.8;
        break;
      case HairStyle::kLong:
        depth += 3.0;
        end = std::max(end, 60.0);
        w += 1.2;
        break;
      case HairStyle::kTightCurls:
        depth += 0.8;
        break;
      default:
        break;
    }
    const double bottom = HalfWidthAt(f, end);
    cairo_pattern_t* p =
        cairo_pattern_create_linear(0, style == HairStyle::kFade ? 43 : end - 6, 0, end);
    cairo_pattern_add_color_stop_rgba(p, 0, f.hair.r, f.hair.g, f.hair.b, alpha);
    cairo_pattern_add_color_stop_rgba(p, 1, f.hair.r, f.hair.g, f.hair.b,
                                      style == HairStyle::kFade ? 0.05 : 0.15);
    cairo_set_source(cr, p);
    cairo_move_to(cr, kCentreX + s * (top + 1), 40);
    cairo_line_to(cr, kCentreX + s * (top - w - depth), 40);
    cairo_curve_to(cr, kCentreX + s * (top - w - depth), kTempleY + 2,
                   kCentreX + s * (top - w - depth * 0.6), kTempleY + 4,
                   kCentreX + s * (bottom - w * 0.85), end);
    cairo_line_to(cr, kCentreX + s * (bottom + 1), end + 0.5);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    if (style == HairStyle::kTightCurls) {
      for (double y = 45.0; y < end - 1; y += 2.2) {
        const double x = kCentreX + s * (HalfWidthAt(f, y) - w - depth + rng.Range(-0.3, 0.3));
        SetColor(cr, f.hair, 0.85);
        cairo_arc(cr, x, y, rng.Range(1.0, 1.4), 0, 2 * M_PI);
        cairo_fill(cr);
      }
    }
  }
  cairo_restore(cr);
}

// Adds to the current path, from its current point to `to`, the ragged end of hair: locks that
// taper to points hanging below the line, so that the hair ends in strands rather than in a
// smooth rounded edge (which reads as a helmet or a bob at 90 x 135).
void LockEnds(cairo_t* cr, Pt to, Rng& rng) {
  double x0 = 0;
  double y0 = 0;
  cairo_get_current_point(cr, &x0, &y0);
  const int locks = std::max(2, static_cast<int>(std::abs(to.x - x0) / 1.7));
  for (int i = 0; i < locks; ++i) {
    const double a = static_cast<double>(i) / locks;
    const double b = static_cast<double>(i + 1) / locks;
    const double mid = (a + b) / 2;
    const Pt tip{x0 + (to.x - x0) * mid, y0 + (to.y - y0) * mid + rng.Range(1.4, 3.0)};
    const Pt valley{x0 + (to.x - x0) * b, y0 + (to.y - y0) * b - rng.Range(0.2, 0.8)};
    cairo_curve_to(cr, tip.x - (tip.x - x0) * 0.1, tip.y - 1.2, tip.x, tip.y - 0.3, tip.x, tip.y);
    cairo_curve_to(cr, tip.x, tip.y - 0.3, valley.x, valley.y + 0.6,
                   i + 1 == locks ? to.x : valley.x, i + 1 == locks ? to.y : valley.y);
  }
}

// Hair that falls over the ears, drawn after them.
void DrawHairOverEars(cairo_t* cr, const FaceParams& f) {
  if (!LongSides(f.hairStyle)) return;
  const HairTones h = HairTonesOf(f.hair);
  Rng rng(f.seed ^ 0xEA25ull);
  const double c = kCentreX;
  const double bottom = f.hairStyle == HairStyle::kLong   ? f.earTop + f.earHeight + 3.0
                        : f.hairStyle == HairStyle::kFlow ? f.earTop + f.earHeight * 0.75
                                                          : f.earTop + f.earHeight * 0.55;
  cairo_save(cr);
  ClipBesideTheCap(cr);
  for (int s : {-1, 1}) {
    const double in = HalfWidthAt(f, kTempleY) - 2.6;
    const double outX = HalfWidthAt(f, f.earTop + 3.0) + f.earOut + 1.4;
    const double low = HalfWidthAt(f, bottom);
    cairo_new_path(cr);
    cairo_move_to(cr, c + s * in, 43.6);
    cairo_line_to(cr, c + s * std::min(f.templeHalf + 2.0, 24.5), 43.6);
    cairo_curve_to(cr, c + s * (outX + 0.5), 48.0, c + s * (outX + 0.6), bottom - 6.0,
                   c + s * (outX - 0.5), bottom - 1.5);
    LockEnds(cr, {c + s * (low - 1.2), bottom - 2.5}, rng);
    cairo_curve_to(cr, c + s * (low - 1.6), bottom - 8.0, c + s * (in - 0.4), 50.0, c + s * in,
                   43.6);
    cairo_close_path(cr);
    FillHair(cr, h, 0.97, 44.0, bottom, rng, 5.0);
  }
  cairo_restore(cr);
}

void DrawEar(cairo_t* cr, const FaceParams& f, const SkinTones& t, int s) {
  const double top = f.earTop;
  const double hgt = f.earHeight;
  const double edge = kCentreX + s * (HalfWidthAt(f, top + hgt * 0.45) - 1.2);
  const double out = f.earOut;
  std::vector<Pt> pts = {
      {edge, top + 1.5},
      {edge + s * out * 0.75, top},
      {edge + s * out, top + hgt * 0.3},
      {edge + s * out * 0.8, top + hgt * 0.62},
      {edge + s * out * 0.35, top + hgt * 0.92},
      {edge + s * 0.2, top + hgt},
      {edge - s * 1.0, top + hgt * 0.7},
  };
  const bool lit = s < 0;
  cairo_save(cr);
  SmoothClosed(cr, pts);
  SetColor(cr, lit ? t.base : Mix(t.base, t.shadow, 0.7));
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 1.0);
  SetColor(cr, t.edge, 0.7);
  cairo_stroke(cr);
  // The inner fold: a C of shade inside the rim.
  cairo_set_line_width(cr, 1.1);
  SetColor(cr, t.deep, lit ? 0.45 : 0.55);
  cairo_move_to(cr, edge + s * out * 0.35, top + hgt * 0.2);
  cairo_curve_to(cr, edge + s * out * 0.75, top + hgt * 0.25, edge + s * out * 0.7,
                 top + hgt * 0.55, edge + s * out * 0.3, top + hgt * 0.7);
  cairo_stroke(cr);
  if (lit) SoftSpot(cr, edge + s * out * 0.7, top + hgt * 0.35, 1.4, 2.5, t.highlight, 0.35);
  cairo_restore(cr);
}

void ShadeHead(cairo_t* cr, const FaceParams& f, const SkinTones& t) {
  const double c = kCentreX;
  const double k = f.relief;
  // Turning away from the light: the right side darkens, a little rim shade on the left too.
  LinearWash(cr, c - 3, 0, c + f.cheekHalf + 1, 0, t.shadow, 0.0, 0.5 * k);
  LinearWash(cr, c - f.cheekHalf, 0, c - f.cheekHalf + 5, 0, t.shadow, 0.22 * k, 0.0);
  LinearWash(cr, 0, f.jawY - 10, 0, f.chinY, t.shadow, 0.0, 0.28 * k);
  // Under the cap band the temples sit in shade.
  LinearWash(cr, 0, kTempleY - 1, 0, kTempleY + 8, t.deep, 0.45, 0.0);
  // Cheek hollows and the jaw's turn.
  for (int s : {-1, 1}) {
    SoftSpot(cr, c + s * (f.cheekHalf - 3.5), 75, 4.5, 6, t.shadow,
             (0.15 + f.cheekHollow * 0.25) * k);
  }
  // Eye sockets under the brow ridge.
  for (int s : {-1, 1}) {
    SoftSpot(cr, c + s * f.eyeSpacing + 0.5, f.eyeY - 0.8, 6.2, 3.8, t.deep, 0.28 * k);
  }
  // Highlights: forehead, left cheekbone, chin, brow ridge.
  const double hl = 0.24 + t.sheen;
  SoftSpot(cr, c - 7, 49, 10, 5, t.highlight, hl);
  SoftSpot(cr, c - f.cheekHalf * 0.5, 66, 7.5, 5.5, t.highlight, hl * 0.7);
  SoftSpot(cr, c + f.cheekHalf * 0.5, 66, 5, 4, t.highlight, hl * 0.2);
  SoftSpot(cr, c - 1.2, f.chinY - 3.5, 4.5, 2.4, t.highlight, hl * 0.6);
  // Warmth in the cheeks.
  for (int s : {-1, 1}) {
    SoftSpot(cr, c + s * 12.5, 71, 5.5, 4, Bytes(214, 92, 80), f.blush);
  }
}

void DrawBrows(cairo_t* cr, const FaceParams& f, const SkinTones& t) {
  // Brows of the hair's colour, but always clearly darker than the skin: on the darkest skin,
  // brows of greying or brown hair would otherwise vanish at 90 x 135.
  constexpr Rgb kNearBlack = Bytes(16, 11, 10);
  Rgb colour = Mix(f.hair, Bytes(20, 14, 12), 0.25);
  const double most = Luma(t.base) * 0.5;
  if (Luma(colour) > most) {
    const double k = (Luma(colour) - most) / std::max(Luma(colour) - Luma(kNearBlack), 1e-6);
    colour = Mix(colour, kNearBlack, std::clamp(k, 0.0, 1.0));
  }
  // A set look pulls the brows down and together.
  const double set = f.setJaw * 0.6;
  for (int s : {-1, 1}) {
    const double by = f.eyeY - f.browLift + set;
    const double th = f.browThick;
    const double outerTh = th * (1.0 - 0.55 * f.browTaper);
    const Pt inner{kCentreX + s * (f.browInner - set * 0.5), by + 0.7 + set * 0.4};
    const Pt peak{kCentreX + s * (f.browInner + f.browLength * 0.58), by - f.browArch};
    const Pt outer{kCentreX + s * (f.browInner + f.browLength), by + 0.9 + f.browSlant};
    // Dark skin shows its features by their sheen: light on the brow ridge sets the brow off.
    if (t.sheen > 0) {
      SoftSpot(cr, (inner.x + outer.x) / 2, by - th - 1.0, f.browLength * 0.55, 1.6, t.highlight,
               t.sheen * 1.6);
    }
    std::vector<Pt> pts = {
        {inner.x, inner.y - th * 0.55},
        {peak.x, peak.y - outerTh * 0.5 - (th - outerTh) * 0.2},
        {outer.x, outer.y - outerTh * 0.15},
        {peak.x, peak.y + outerTh * 0.45},
        {inner.x + s * 0.3, inner.y + th * 0.5},
    };
    SmoothClosed(cr, pts, 0.4);
    SetColor(cr, colour, 0.9);
    cairo_fill(cr);
  }
}

void EyePath(cairo_t* cr, Pt inner, Pt outer, double up, double down, int s, double w) {
  cairo_move_to(cr, inner.x, inner.y);
  cairo_curve_to(cr, inner.x + s * w * 0.18, inner.y - up, outer.x - s * w * 0.32, outer.y - up,
                 outer.x, outer.y);
  cairo_curve_to(cr, outer.x - s * w * 0.25, outer.y + down, inner.x + s * w * 0.3, inner.y + down,
                 inner.x, inner.y);
  cairo_close_path(cr);
}

void DrawEyes(cairo_t* cr, const FaceParams& f, const SkinTones& t) {
  const Rgb lash = Mix(f.hair, Bytes(16, 10, 8), 0.6);
  // On dark skin the lid's shade and a sclera toned towards the skin leave white and iris too
  // little contrast to read at 90 x 135: both are lighter there.
  const double luma = Luma(t.base);
  const double shade = std::clamp(0.45 + luma, 0.6, 1.0);
  const Rgb sclera = Mix(Bytes(232, 228, 222), t.base, 0.2 * shade);
  for (int s : {-1, 1}) {
    const double ex = kCentreX + s * f.eyeSpacing;
    const double ey = f.eyeY;
    const double w = f.eyeWidth;
    // Heavy lids, a smile and the asian fold together close the eye to a slit of two pixels,
    // where white and iris no longer read at 90 x 135: openings below kOpen come halfway up to
    // it, so narrow eyes stay narrower than others but keep a line of white.
    constexpr double kOpen = 3.6;
    double h = f.eyeHeight * (1.0 - 0.22 * f.lidHeavy) * (1.0 - 0.12 * f.smile);
    if (h < kOpen) h = kOpen - (kOpen - h) * 0.5;
    const Pt inner{ex - s * w / 2, ey + 0.35};
    const Pt outer{ex + s * w / 2, ey - f.eyeTilt * 0.7};
    const double up = h * 1.02;
    const double down = h * 0.62 * (1.0 - 0.25 * f.smile);
    // A deep-set eye sits in the shade of the brow ridge.
    if (f.eyeDepth > 0.05) {
      SoftSpot(cr, ex + s * 0.4, ey - h * 0.6, w * 0.7, 2.6, t.deep, 0.25 * f.eyeDepth);
    }
    // Lid fold above the eye.
    if (f.lidCrease > 0.05) {
      cairo_save(cr);
      cairo_set_line_width(cr, 0.75);
      SetColor(cr, t.deep, 0.3 * f.lidCrease + 0.1);
      const double lift = 1.5 + f.lidHeavy * 0.5;
      cairo_move_to(cr, inner.x + s * 0.8, inner.y - lift);
      cairo_curve_to(cr, inner.x + s * w * 0.25, inner.y - up - lift, outer.x - s * w * 0.3,
                     outer.y - up - lift * 0.7, outer.x + s * 0.3, outer.y - lift * 0.4);
      cairo_stroke(cr);
      cairo_restore(cr);
    } else {
      SoftSpot(cr, ex, ey - h * 0.9, w * 0.55, 1.6, t.shadow, 0.35);
    }
    cairo_save(cr);
    EyePath(cr, inner, outer, up, down, s, w);
    cairo_clip_preserve(cr);
    SetColor(cr, sclera);
    cairo_fill(cr);
    const double ix = ex + f.gaze;
    const double iy = ey - 0.3;
    const double r = f.irisSize;
    cairo_pattern_t* p = cairo_pattern_create_radial(ix, iy, 0, ix, iy, r);
    cairo_pattern_add_color_stop_rgb(p, 0.0, f.iris.r * 1.1, f.iris.g * 1.1, f.iris.b * 1.1);
    cairo_pattern_add_color_stop_rgb(p, 0.75, f.iris.r, f.iris.g, f.iris.b);
    cairo_pattern_add_color_stop_rgb(p, 1.0, f.iris.r * 0.55, f.iris.g * 0.55, f.iris.b * 0.55);
    cairo_set_source(cr, p);
    cairo_arc(cr, ix, iy, r, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    SetColor(cr, Bytes(14, 10, 10));
    cairo_arc(cr, ix, iy, r * 0.46, 0, 2 * M_PI);
    cairo_fill(cr);
    // The upper lid shades the top of the eyeball.
    LinearWash(cr, 0, ey - h * 0.8, 0, ey + 0.3, t.deep, 0.6 * shade, 0.0);
    // Catch lights from the upper left: a clear one and a faint one opposite.
    SetColor(cr, Bytes(255, 255, 255), 0.95);
    cairo_arc(cr, ix - r * 0.42, iy - r * 0.4, 0.72, 0, 2 * M_PI);
    cairo_fill(cr);
    SetColor(cr, Bytes(255, 255, 255), 0.4);
    cairo_arc(cr, ix + r * 0.45, iy + r * 0.35, 0.38, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_restore(cr);
    // Lash line along the upper lid, heavier towards the outer corner.
    cairo_save(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 0.95 + f.lidHeavy * 0.25);
    SetColor(cr, lash, 0.92);
    cairo_move_to(cr, inner.x, inner.y);
    cairo_curve_to(cr, inner.x + s * w * 0.18, inner.y - up, outer.x - s * w * 0.32, outer.y - up,
                   outer.x, outer.y);
    cairo_line_to(cr, outer.x + s * 0.7, outer.y - 0.5);
    cairo_stroke(cr);
    // Lower lid: a faint line.
    cairo_set_line_width(cr, 0.6);
    SetColor(cr, t.deep, 0.35);
    cairo_move_to(cr, outer.x, outer.y);
    cairo_curve_to(cr, outer.x - s * w * 0.25, outer.y + down, inner.x + s * w * 0.3,
                   inner.y + down, inner.x, inner.y);
    cairo_stroke(cr);
    // Age: bags under the eye and crow's feet at the outer corner.
    if (f.age > 0.3) {
      const double a = (f.age - 0.3) / 0.7;
      SetColor(cr, t.deep, 0.12 + 0.2 * a);
      cairo_set_line_width(cr, 0.6);
      cairo_move_to(cr, inner.x + s * 0.8, ey + down + 1.2);
      cairo_curve_to(cr, ex, ey + down + 2.3, ex + s * w * 0.3, ey + down + 1.8, outer.x + s * 0.2,
                     ey + down + 0.6);
      cairo_stroke(cr);
      if (f.age > 0.55) {
        for (int k = 0; k < 2; ++k) {
          cairo_move_to(cr, outer.x + s * 1.2, outer.y - 0.3 + k * 1.4);
          cairo_line_to(cr, outer.x + s * 2.8, outer.y - 0.9 + k * 2.2);
        }
        cairo_stroke(cr);
      }
    }
    cairo_restore(cr);
  }
}

void DrawNose(cairo_t* cr, const FaceParams& f, const SkinTones& t) {
  const double c = kCentreX;
  const double tip = f.noseTipY;
  const double hw = f.noseWidth / 2;
  const double top = f.eyeY + 0.5;
  // The shade on the right flank of the nose, fading towards the ridge.
  cairo_save(cr);
  cairo_move_to(cr, c - 1.0, top);
  cairo_curve_to(cr, c - 1.2, tip - 6, c - hw, tip - 3, c - hw + 0.2, tip + 0.6);
  cairo_line_to(cr, c + hw - 0.2, tip + 0.6);
  cairo_curve_to(cr, c + hw, tip - 3, c + 1.6 + f.noseBridge, tip - 6, c + 1.4, top);
  cairo_close_path(cr);
  cairo_clip(cr);
  LinearWash(cr, c - 0.5, 0, c + hw, 0, t.shadow, 0.0, (0.55 + f.noseBridge * 0.15) * f.relief);
  cairo_restore(cr);
  // Bridge highlight.
  cairo_save(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, 1.2);
  SetColor(cr, t.highlight, 0.18 + 0.2 * f.noseBridge + t.sheen * 0.3);
  cairo_move_to(cr, c - 0.6, top + 3);
  cairo_line_to(cr, c - 0.8, tip - 2.5);
  cairo_stroke(cr);
  cairo_restore(cr);
  // A bump on the bridge: lit on top, shaded below.
  if (f.noseHook > 0.05) {
    const double by = top + (tip - top) * 0.45;
    SoftSpot(cr, c - 0.4, by, 1.5, 1.6, t.highlight, 0.35 * f.noseHook + t.sheen * 0.3);
    SoftSpot(cr, c + 0.9, by + 2.6, 1.6, 1.6, t.shadow, 0.35 * f.noseHook);
  }
  // Ball of the nose and its shade below.
  SoftSpot(cr, c + 1.5, tip + 0.2, f.noseTip * 1.2, f.noseTip * 0.9, t.shadow, 0.35);
  SoftSpot(cr, c - 0.8, tip - 1.0, f.noseTip * 0.9, f.noseTip * 0.8, t.highlight,
           0.35 + t.sheen * 0.4);
  // Wings.
  cairo_save(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, 0.85);
  for (int s : {-1, 1}) {
    SetColor(cr, t.edge, s < 0 ? 0.4 : 0.6);
    cairo_move_to(cr, c + s * (hw - 1.4), tip - 2.4);
    cairo_curve_to(cr, c + s * (hw + 0.3), tip - 2.0, c + s * (hw + 0.2), tip + 0.8,
                   c + s * (hw - 1.6), tip + 1.3);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
  // The underside of the tip between the nostrils, then nostrils and the shade under the nose.
  SoftSpot(cr, c + 0.4, tip + 0.9, f.noseWidth * 0.3, 1.0, t.shadow, 0.45);
  SoftSpot(cr, c + 1.2, tip + 2.4, hw * 0.95, 1.5, t.deep, 0.4);
  for (int s : {-1, 1}) {
    cairo_save(cr);
    EllipsePath(cr, c + s * f.noseWidth * 0.22, tip + 1.0, f.noseWidth * 0.13, 0.65);
    SetColor(cr, Scale(t.deep, 0.8), 0.85);
    cairo_fill(cr);
    cairo_restore(cr);
  }
}

void DrawMouth(cairo_t* cr, const FaceParams& f, const SkinTones& t) {
  const double c = kCentreX;
  const double my = f.mouthY;
  const double hw = f.mouthWidth / 2;
  const Pt left{c - hw, my - f.mouthCurve + f.mouthSkew * 0.3};
  const Pt right{c + hw, my - f.mouthCurve - f.mouthSkew * 0.3};
  const Pt mid{c, my + 0.3};
  const Rgb upper = Scale(f.lip, 0.8);
  const Rgb lower = f.lip;
  // Philtrum shade under the nose.
  SoftSpot(cr, c + 0.6, my - f.upperLip - 1.6, 1.6, 1.8, t.shadow, 0.25);
  // Upper lip with its bow.
  cairo_move_to(cr, left.x, left.y);
  cairo_curve_to(cr, c - hw * 0.6, my - f.upperLip * 0.6, c - 2.8, my - f.upperLip, c - 1.9,
                 my - f.upperLip);
  cairo_line_to(cr, c, my - f.upperLip + 0.6);
  cairo_line_to(cr, c + 1.9, my - f.upperLip);
  cairo_curve_to(cr, c + 2.8, my - f.upperLip, c + hw * 0.6, my - f.upperLip * 0.6, right.x,
                 right.y);
  cairo_curve_to(cr, c + hw * 0.5, my + 0.2, c + 2, mid.y, mid.x, mid.y);
  cairo_curve_to(cr, c - 2, mid.y, c - hw * 0.5, my + 0.2, left.x, left.y);
  cairo_close_path(cr);
  SetColor(cr, upper, 0.92);
  cairo_fill(cr);
  // Lower lip.
  cairo_move_to(cr, left.x, left.y);
  cairo_curve_to(cr, c - hw * 0.5, my + 0.2, c - 2, mid.y, mid.x, mid.y);
  cairo_curve_to(cr, c + 2, mid.y, c + hw * 0.5, my + 0.2, right.x, right.y);
  cairo_curve_to(cr, c + hw * 0.55, my + f.lowerLip * 1.05, c - hw * 0.55, my + f.lowerLip * 1.05,
                 left.x, left.y);
  cairo_close_path(cr);
  SetColor(cr, lower, 0.85);
  cairo_fill(cr);
  SoftSpot(cr, c - 1.2, my + f.lowerLip * 0.5, hw * 0.45, f.lowerLip * 0.32, t.highlight,
           0.3 + t.sheen * 0.5);
  SoftSpot(cr, c + 0.8, my + f.lowerLip + 1.6, hw * 0.55, 1.3, t.shadow, 0.4);
  // The line between the lips, darkest in the corners.
  cairo_save(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, 0.85);
  SetColor(cr, Mix(t.deep, Bytes(60, 24, 24), 0.3), 0.7);
  cairo_move_to(cr, left.x, left.y);
  cairo_curve_to(cr, c - hw * 0.5, my + 0.2, c - 2, mid.y, mid.x, mid.y);
  cairo_curve_to(cr, c + 2, mid.y, c + hw * 0.5, my + 0.2, right.x, right.y);
  cairo_stroke(cr);
  for (const Pt& corner : {left, right}) {
    SoftSpot(cr, corner.x, corner.y + 0.2, 0.9, 0.8, t.deep, 0.5);
  }
  cairo_restore(cr);
  if (f.smile > 0) {
    // The cheeks lift and the corners dimple.
    for (int s : {-1, 1}) {
      const Pt corner = s < 0 ? left : right;
      SoftSpot(cr, c + s * (hw + 3.0), my - 6.5, 4.2, 3.0, t.highlight, 0.22 * f.smile);
      cairo_save(cr);
      cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
      cairo_set_line_width(cr, 0.8);
      SetColor(cr, t.deep, 0.3 * f.smile);
      cairo_move_to(cr, corner.x + s * 0.6, corner.y - 1.2);
      cairo_curve_to(cr, corner.x + s * 1.5, corner.y - 0.4, corner.x + s * 1.4, corner.y + 0.8,
                     corner.x + s * 0.8, corner.y + 1.4);
      cairo_stroke(cr);
      cairo_restore(cr);
    }
  }
  if (f.setJaw > 0) {
    // The jaw muscle shows below the cheek; the lips press into a firm line.
    for (int s : {-1, 1}) {
      SoftSpot(cr, c + s * (f.jawHalf - 2.0), f.jawY - 5.0, 2.2, 4.0, t.shadow, 0.3 * f.setJaw);
      SoftSpot(cr, c + s * (f.jawHalf - 3.2), f.jawY - 6.0, 1.4, 3.0, t.highlight, 0.15 * f.setJaw);
    }
    SoftSpot(cr, c, my + f.lowerLip + 2.4, hw * 0.5, 1.4, t.deep, 0.2 * f.setJaw);
  }
}

// Freckles, a mole, a scar: small, soft, a shade of the skin.
void DrawMarks(cairo_t* cr, const FaceParams& f, const SkinTones& t) {
  if (f.freckles > 0) {
    Rng rng(f.seed ^ 0xF2Cull);
    const Rgb dot = Mix(t.base, Bytes(150, 86, 52), 0.55);
    for (int i = 0; i < 34; ++i) {
      const int s = rng.Chance(0.5) ? 1 : -1;
      const double x = kCentreX + s * rng.Range(2.5, 15.0);
      const double y = rng.Range(62.5, 72.0) + std::abs(x - kCentreX) * 0.12;
      if (std::abs(x - kCentreX) < f.noseWidth / 2 && y > f.noseTipY - 3) continue;
      SetColor(cr, dot, rng.Range(0.25, 0.5) * f.freckles);
      cairo_arc(cr, x, y, rng.Range(0.35, 0.6), 0, 2 * M_PI);
      cairo_fill(cr);
    }
  }
  if (f.moleSize > 0) {
    SetColor(cr, Mix(t.deep, Bytes(60, 36, 28), 0.5), 0.8);
    cairo_arc(cr, f.moleX, f.moleY, f.moleSize, 0, 2 * M_PI);
    cairo_fill(cr);
  }
  if (f.scarLength > 0) {
    cairo_save(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const double dx = std::cos(f.scarAngle) * f.scarLength / 2;
    const double dy = std::sin(f.scarAngle) * f.scarLength / 2;
    cairo_set_line_width(cr, 1.0);
    SetColor(cr, t.shadow, 0.45);
    cairo_move_to(cr, f.scarX - dx, f.scarY - dy + 0.4);
    cairo_line_to(cr, f.scarX + dx, f.scarY + dy + 0.4);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 0.6);
    SetColor(cr, Mix(t.highlight, Bytes(236, 196, 186), 0.4), 0.7);
    cairo_move_to(cr, f.scarX - dx, f.scarY - dy);
    cairo_line_to(cr, f.scarX + dx, f.scarY + dy);
    cairo_stroke(cr);
    cairo_restore(cr);
  }
}

// The shaved beard area (upper lip, chin, jaw) a shade cooler and darker; a cleft in the chin.
void DrawBeardShadow(cairo_t* cr, const FaceParams& f, const SkinTones& t) {
  if (f.beardShadow > 0) {
    const Rgb shadow = Mix(t.deep, Bytes(70, 74, 84), 0.4);
    cairo_save(cr);
    cairo_move_to(cr, kCentreX - f.cheekHalf, 66);
    cairo_curve_to(cr, kCentreX - 12, 74, kCentreX - 9, f.noseTipY + 1.5, kCentreX,
                   f.noseTipY + 2.2);
    cairo_curve_to(cr, kCentreX + 9, f.noseTipY + 1.5, kCentreX + 12, 74, kCentreX + f.cheekHalf,
                   66);
    cairo_line_to(cr, kCentreX + f.cheekHalf, 110);
    cairo_line_to(cr, kCentreX - f.cheekHalf, 110);
    cairo_close_path(cr);
    cairo_clip(cr);
    // Fading in below the cheekbones (full from y 78 down), so the shaved area has no edge
    // across the cheeks.
    LinearWash(cr, 0, 67, 0, 78, shadow, 0.0, f.beardShadow);
    cairo_restore(cr);
  }
  if (f.chinCleft > 0) {
    SoftSpot(cr, kCentreX + 0.3, f.chinY - 2.4, 0.7, 2.4, t.shadow, 0.3 * f.chinCleft);
  }
}

void DrawAgeLines(cairo_t* cr, const FaceParams& f, const SkinTones& t) {
  cairo_save(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, 0.9);
  for (int s : {-1, 1}) {
    // Smile lines from the nose wings to past the mouth corners.
    SetColor(cr, t.deep, 0.02 + 0.34 * f.age * f.age + (s > 0 ? 0.04 : 0.0));
    const double nx = kCentreX + s * (f.noseWidth / 2 + 1.2);
    const double mx = kCentreX + s * (f.mouthWidth / 2 + 1.6);
    cairo_move_to(cr, nx, f.noseTipY - 1.0);
    cairo_curve_to(cr, nx + s * 2.2, f.noseTipY + 2.5, mx + s * 0.4, f.mouthY - 2.5, mx,
                   f.mouthY + 2.5);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
}

}  // namespace

void DrawFace(cairo_t* cr, const FaceParams& f) {
  const SkinTones t = TonesOf(f.skin);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  DrawNeck(cr, f, t);
  DrawHairBehind(cr, f);
  DrawEar(cr, f, t, -1);
  DrawEar(cr, f, t, 1);
  DrawHairOverEars(cr, f);

  const std::vector<Pt> outline = HeadOutline(f);
  cairo_save(cr);
  SmoothClosed(cr, outline);
  SetColor(cr, t.base);
  cairo_fill_preserve(cr);
  cairo_clip(cr);
  ShadeHead(cr, f, t);
  DrawHairTemples(cr, f);
  DrawBeardShadow(cr, f, t);
  DrawMarks(cr, f, t);
  DrawAgeLines(cr, f, t);
  DrawBrows(cr, f, t);
  DrawEyes(cr, f, t);
  DrawNose(cr, f, t);
  DrawMouth(cr, f, t);
  cairo_restore(cr);

  // A soft edge line around head and jaw, a shade darker than the skin, never black.
  cairo_save(cr);
  SmoothClosed(cr, outline);
  cairo_set_line_width(cr, 1.1);
  SetColor(cr, t.edge, 0.75);
  cairo_stroke(cr);
  cairo_restore(cr);
}

}  // namespace likentor::artgen
