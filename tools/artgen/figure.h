#pragma once
// Shared outlines of the figure, so that the face layer, the uniforms and the other layers agree
// to the pixel: the shoulder line that the jersey covers, the cap crown and the brim.
#include "paint.h"

namespace likentor::artgen {

// The top outline of the shoulders, dropped by `drop` pixels, as a closed region reaching down
// past the canvas bottom: everything below the shoulder line.
void ShoulderRegion(cairo_t* cr, double drop);
// The same outline with the neck opening cut into it (the jersey's silhouette): round, or a V.
void JerseyRegion(cairo_t* cr, double neckBottom, bool vNeck = false);
// The neckline alone, as an open path from the left collar point to the right one.
void NecklinePath(cairo_t* cr, double neckBottom, bool vNeck);
// The crown of the cap, from band to band over the top.
void CrownPath(cairo_t* cr, double grow = 0);
// The brim's visible top surface, between the crown's band and the brim's front edge.
void BrimPath(cairo_t* cr);
// The brim's front edge as an open path from tip to tip (for strokes and the underside).
void BrimFrontEdge(cairo_t* cr, double drop, bool moveFirst = true);

}  // namespace likentor::artgen
