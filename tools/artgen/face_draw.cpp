// Drawing one face layer. Light comes from the upper left for every part: the right side of the
// head, nose and neck is in shade, highlights sit on the left of the forehead, cheek and nose.
#include <algorithm>
#include <cmath>
#include <vector>

#include "faces.h"
#include "figure.h"
#include "layout.h"

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
  const double luma = 0.3 * s.r + 0.59 * s.g + 0.11 * s.b;
  t.sheen = std::clamp((0.62 - luma) * 0.5, 0.0, 0.18);
  return t;
}

// Control points of the head outline, clockwise from the top of the skull.
std::vector<Pt> HeadOutline(const FaceParams& f) {
  const double c = kCentreX;
  const double hollow = f.cheekHollow * 0.6;
  std::vector<Pt> right = {
      {c + f.templeHalf * 0.55, kSkullTop + 4.0},
      {c + f.templeHalf * 0.9, 33.0},
      {c + f.templeHalf, kTempleY},
      {c + f.cheekHalf, kCheekY - 3.0},
      {c + (f.cheekHalf + f.jawHalf) / 2 + 0.4 - hollow, (kCheekY + f.jawY) / 2 + 1.0},
      {c + f.jawHalf, f.jawY},
      {c + f.chinHalf + 1.6, f.chinY - 1.9},
      {c + f.chinHalf * 0.45, f.chinY - 0.15},
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

void DrawHairBehind(cairo_t* cr, const FaceParams& f) {
  // Hair between the cap band and the top of the ears, just outside the face outline; the cap
  // hides everything above y 44 and the crown reaches 25 from the centre.
  cairo_save(cr);
  SetColor(cr, f.hair, 0.95);
  for (int s : {-1, 1}) {
    const double edge = kCentreX + s * f.templeHalf;
    const double out = std::min(f.templeHalf + 2.0, 24.5);
    cairo_move_to(cr, edge - s * 3.0, 44.0);
    cairo_line_to(cr, kCentreX + s * out, 44.0);
    cairo_curve_to(cr, kCentreX + s * out, 48.0, edge + s * 1.4, f.earTop, edge + s * 0.2,
                   f.earTop + 2.0);
    cairo_line_to(cr, edge - s * 3.0, f.earTop + 2.0);
    cairo_close_path(cr);
    cairo_fill(cr);
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
  // Turning away from the light: the right side darkens, a little rim shade on the left too.
  LinearWash(cr, c - 3, 0, c + f.cheekHalf + 1, 0, t.shadow, 0.0, 0.5);
  LinearWash(cr, c - f.cheekHalf, 0, c - f.cheekHalf + 5, 0, t.shadow, 0.22, 0.0);
  LinearWash(cr, 0, f.jawY - 10, 0, f.chinY, t.shadow, 0.0, 0.28);
  // Under the cap band the temples sit in shade.
  LinearWash(cr, 0, kTempleY - 1, 0, kTempleY + 8, t.deep, 0.45, 0.0);
  // Cheek hollows and the jaw's turn.
  for (int s : {-1, 1}) {
    SoftSpot(cr, c + s * (f.cheekHalf - 3.5), 75, 4.5, 6, t.shadow, 0.15 + f.cheekHollow * 0.25);
  }
  // Eye sockets under the brow ridge.
  for (int s : {-1, 1}) {
    SoftSpot(cr, c + s * f.eyeSpacing + 0.5, f.eyeY - 0.8, 6.2, 3.8, t.deep, 0.28);
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

void DrawSideburns(cairo_t* cr, const FaceParams& f) {
  cairo_save(cr);
  for (int s : {-1, 1}) {
    const double top = HalfWidthAt(f, kTempleY);
    const double bottom = HalfWidthAt(f, f.sideburnEnd);
    const double w = f.sideburnWidth;
    cairo_pattern_t* p = cairo_pattern_create_linear(0, f.sideburnEnd - 6, 0, f.sideburnEnd);
    cairo_pattern_add_color_stop_rgba(p, 0, f.hair.r, f.hair.g, f.hair.b, 0.88);
    cairo_pattern_add_color_stop_rgba(p, 1, f.hair.r, f.hair.g, f.hair.b, 0.1);
    cairo_set_source(cr, p);
    cairo_move_to(cr, kCentreX + s * (top + 1), 40);
    cairo_line_to(cr, kCentreX + s * (top - w - 1.2), 40);
    cairo_line_to(cr, kCentreX + s * (top - w - 0.6), kTempleY + 2);
    cairo_line_to(cr, kCentreX + s * (bottom - w * 0.85), f.sideburnEnd);
    cairo_line_to(cr, kCentreX + s * (bottom + 1), f.sideburnEnd + 0.5);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
  }
  cairo_restore(cr);
}

void DrawBrows(cairo_t* cr, const FaceParams& f) {
  const Rgb colour = Mix(f.hair, Bytes(20, 14, 12), 0.25);
  for (int s : {-1, 1}) {
    const double by = f.eyeY - f.browLift;
    const double th = f.browThick;
    const Pt inner{kCentreX + s * f.browInner, by + 0.7};
    const Pt peak{kCentreX + s * (f.browInner + f.browLength * 0.58), by - f.browArch};
    const Pt outer{kCentreX + s * (f.browInner + f.browLength), by + 0.9 + f.browSlant};
    std::vector<Pt> pts = {
        {inner.x, inner.y - th * 0.55},
        {peak.x, peak.y - th * 0.45},
        outer,
        {peak.x, peak.y + th * 0.42},
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
  const Rgb sclera = Mix(Bytes(232, 228, 222), t.base, 0.2);
  for (int s : {-1, 1}) {
    const double ex = kCentreX + s * f.eyeSpacing;
    const double ey = f.eyeY;
    const double w = f.eyeWidth;
    const double h = f.eyeHeight * (1.0 - 0.22 * f.lidHeavy);
    const Pt inner{ex - s * w / 2, ey + 0.35};
    const Pt outer{ex + s * w / 2, ey - f.eyeTilt * 0.7};
    const double up = h * 1.02;
    const double down = h * 0.62;
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
    LinearWash(cr, 0, ey - h * 0.8, 0, ey + 0.3, t.deep, 0.6, 0.0);
    SetColor(cr, Bytes(255, 255, 255), 0.9);
    cairo_arc(cr, ix - r * 0.4, iy - r * 0.35, 0.5, 0, 2 * M_PI);
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
  LinearWash(cr, c - 0.5, 0, c + hw, 0, t.shadow, 0.0, 0.55 + f.noseBridge * 0.15);
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
    SetColor(cr, shadow, f.beardShadow);
    cairo_paint(cr);
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
    SetColor(cr, t.deep, 0.02 + 0.26 * f.age * f.age + (s > 0 ? 0.04 : 0.0));
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

  const std::vector<Pt> outline = HeadOutline(f);
  cairo_save(cr);
  SmoothClosed(cr, outline);
  SetColor(cr, t.base);
  cairo_fill_preserve(cr);
  cairo_clip(cr);
  ShadeHead(cr, f, t);
  DrawSideburns(cr, f);
  DrawBeardShadow(cr, f, t);
  DrawAgeLines(cr, f, t);
  DrawBrows(cr, f);
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
