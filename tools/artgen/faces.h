#pragma once
// Faces: the parameters that make one person, how they are chosen for face n of an ethnicity, and
// the drawing of the face layer (head, ears, neck, features) in one style and one light.
#include <array>
#include <string_view>

#include "paint.h"

namespace likentor::artgen {

enum class Ethnicity { kCaucasian, kAsian, kAfrican, kEastIndian };

struct EthnicityInfo {
  Ethnicity ethnicity;
  std::string_view folder;  // under graphics/faces
  int count;
};
inline constexpr std::array<EthnicityInfo, 4> kEthnicities{{
    {Ethnicity::kCaucasian, "caucasian", 1746},
    {Ethnicity::kAsian, "asian", 1539},
    {Ethnicity::kAfrican, "african", 1692},
    {Ethnicity::kEastIndian, "east indian", 1179},
}};

struct FaceParams {
  // Head outline: half-widths at temple, cheekbone and jaw corner, the jaw corner's height, the
  // chin's lowest point and the half-width of its flat front.
  double templeHalf, cheekHalf, jawHalf, jawY, chinY, chinHalf;
  double neckHalf;
  Rgb skin;
  double blush;
  Rgb hair;
  double sideburnEnd, sideburnWidth;
  // Eyes: half distance between pupils, height of the centre line, size, tilt of the outer
  // corner (up is positive), lid crease (0 none .. 1 deep), iris colour and size, gaze.
  double eyeSpacing, eyeY, eyeWidth, eyeHeight, eyeTilt, lidCrease, lidHeavy;
  Rgb iris;
  double irisSize, gaze;
  // Brows: inner end from the centre, length, thickness, arch, outer drop, height above the eye.
  double browInner, browLength, browThick, browArch, browSlant, browLift;
  // Nose: tip height, nostril width, bridge strength, tip size.
  double noseTipY, noseWidth, noseBridge, noseTip;
  // Mouth: lip line height, width, lip thickness, corner curve (up positive), asymmetry.
  double mouthY, mouthWidth, upperLip, lowerLip, mouthCurve, mouthSkew;
  Rgb lip;
  // Ears: top, height, how far they stand out.
  double earTop, earHeight, earOut;
  double age;  // 0 young .. 1 veteran
  double cheekHollow;
  double beardShadow;  // shaved beard showing through the skin, 0 none
  double chinCleft;    // 0 none .. 1 marked
};

// The parameters of face `index` (0-based) of an ethnicity. Distinct indices give distinct
// combinations of the discrete choices, so no two faces of a folder can come out alike.
FaceParams ChooseFace(Ethnicity ethnicity, int index);
// A middle-of-the-road face for the preview pictures.
FaceParams PlainFace();

// Draws the face layer in canvas coordinates (the caller places the origin).
void DrawFace(cairo_t* cr, const FaceParams& face);

}  // namespace likentor::artgen
