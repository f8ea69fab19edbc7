#include "figure.h"

#include "layout.h"

namespace likentor::artgen {
namespace {

using namespace layout;

// Right half of the shoulder line from the collar top outwards, as Bezier controls.
void ShoulderRight(cairo_t* cr, double drop) {
  const double x0 = kCentreX + kCollarHalf;
  cairo_curve_to(cr, x0 + 4.5, kCollarTop + 1.5 + drop, x0 + 16, kCollarTop + 4.5 + drop,
                 kWidth + 0.5, kShoulderEdgeY - 3 + drop);
  cairo_line_to(cr, kWidth + 3, kShoulderEdgeY + drop);
}

void ShoulderLeftUp(cairo_t* cr, double drop) {
  const double x0 = kCentreX - kCollarHalf;
  cairo_line_to(cr, -3, kShoulderEdgeY + drop);
  cairo_line_to(cr, -0.5, kShoulderEdgeY - 3 + drop);
  cairo_curve_to(cr, x0 - 16, kCollarTop + 4.5 + drop, x0 - 4.5, kCollarTop + 1.5 + drop, x0,
                 kCollarTop + drop);
}

// From the collar's left corner down to the neck's bottom and up to its right corner: a v or a
// round neck.
void NecklineCurves(cairo_t* cr, double neckBottom, bool vNeck) {
  const double l = kCentreX - kCollarHalf;
  const double r = kCentreX + kCollarHalf;
  if (vNeck) {
    cairo_curve_to(cr, l + 1.5, kCollarTop + 3.0, kCentreX - 3.0, neckBottom - 4.0, kCentreX,
                   neckBottom);
    cairo_curve_to(cr, kCentreX + 3.0, neckBottom - 4.0, r - 1.5, kCollarTop + 3.0, r, kCollarTop);
  } else {
    cairo_curve_to(cr, l + 1.0, neckBottom - 3.0, kCentreX - 6.0, neckBottom, kCentreX, neckBottom);
    cairo_curve_to(cr, kCentreX + 6.0, neckBottom, r - 1.0, neckBottom - 3.0, r, kCollarTop);
  }
}

}  // namespace

void ShoulderRegion(cairo_t* cr, double drop) {
  cairo_new_sub_path(cr);
  cairo_move_to(cr, -3, kHeight + 3);
  ShoulderLeftUp(cr, drop);
  cairo_line_to(cr, kCentreX + kCollarHalf, kCollarTop + drop);
  ShoulderRight(cr, drop);
  cairo_line_to(cr, kWidth + 3, kHeight + 3);
  cairo_close_path(cr);
}

void JerseyRegion(cairo_t* cr, double neckBottom, bool vNeck) {
  cairo_new_sub_path(cr);
  cairo_move_to(cr, -3, kHeight + 3);
  ShoulderLeftUp(cr, 0);
  NecklineCurves(cr, neckBottom, vNeck);
  ShoulderRight(cr, 0);
  cairo_line_to(cr, kWidth + 3, kHeight + 3);
  cairo_close_path(cr);
}

void NecklinePath(cairo_t* cr, double neckBottom, bool vNeck) {
  cairo_move_to(cr, kCentreX - kCollarHalf, kCollarTop);
  NecklineCurves(cr, neckBottom, vNeck);
}

void CrownPath(cairo_t* cr, double grow) {
  const double l = kCentreX - kCrownHalfWidth - grow;
  const double r = kCentreX + kCrownHalfWidth + grow;
  const double top = kCrownTop - grow;
  cairo_new_sub_path(cr);
  cairo_move_to(cr, l, kCrownBand + 1);
  cairo_curve_to(cr, l - 0.6, 31.0, l + 6.0, top, kCentreX, top);
  cairo_curve_to(cr, r - 6.0, top, r + 0.6, 31.0, r, kCrownBand + 1);
  cairo_close_path(cr);
}

void BrimFrontEdge(cairo_t* cr, double drop, bool moveFirst) {
  const double l = kCentreX - kBrimHalfWidth;
  const double r = kCentreX + kBrimHalfWidth;
  if (moveFirst) {
    cairo_move_to(cr, l, kBrimTipY + drop * 0.3);
  } else {
    cairo_line_to(cr, l, kBrimTipY + drop * 0.3);
  }
  cairo_curve_to(cr, l + 6.0, kBrimFront + 1.6 + drop, r - 6.0, kBrimFront + 1.6 + drop, r,
                 kBrimTipY + drop * 0.3);
}

void BrimPath(cairo_t* cr) {
  const double l = kCentreX - kBrimHalfWidth;
  const double r = kCentreX + kBrimHalfWidth;
  cairo_new_sub_path(cr);
  BrimFrontEdge(cr, 0, true);
  // Back along the upper edge, where the brim meets the crown.
  cairo_curve_to(cr, r - 2.0, kBrimTipY - 2.5, r - 9.0, kBrimTop - 0.5, kCentreX, kBrimTop);
  cairo_curve_to(cr, l + 9.0, kBrimTop - 0.5, l + 2.0, kBrimTipY - 2.5, l, kBrimTipY);
  cairo_close_path(cr);
}

}  // namespace likentor::artgen
