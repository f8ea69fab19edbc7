#pragma once
// Faces: the parameters that make one person, how they are chosen for face n of an ethnicity, and
// the drawing of the face layer (head, ears, neck, features) in one style and one light.
#include <array>
#include <cstdint>
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

// Hair that shows below the cap, in the face's hair colour.
enum class HairStyle {
  kShaved,      // bare temples, a shadow of regrowth
  kCloseCrop,   // a thin band at the temples, short sideburns
  kFade,        // dark at the band, fading to skin above the ears
  kShort,       // classic short back and sides, sideburns to mid ear
  kOverEars,    // covers the top of the ears
  kLong,        // falls over the ears to the jaw
  kNeckLength,  // short sides, hair at the back down to the neck
  kNeckCurls,   // curls behind the ears and at the neck
  kLocks,       // locks hanging behind the ears to the shoulders
  kBraids,      // braids at the neck
  kFlow,        // long at the back, flicking out below the ears
  kTightCurls,  // short tight curls, a rounded edge at the temples
};
inline constexpr int kHairStyles = 12;

struct FaceParams {
  // Head outline: half-widths at temple, cheekbone and jaw corner, the jaw corner's height, the
  // chin's lowest point and the half-width of its flat front.
  double templeHalf, cheekHalf, jawHalf, jawY, chinY, chinHalf;
  // Cheekbone height (shift of the widest point, down positive), how round the jaw turns (0 an
  // angle .. 1 a curve) and how far the chin juts to a point (0 flat .. 1 pointed).
  double cheekShift, jawRound, chinPoint;
  double neckHalf;
  double relief;  // how strongly the head's form is shaded (bone structure), around 1
  Rgb skin;
  double blush;
  Rgb hair;
  double hairGrey;  // how far the hair has greyed with age (0 none), for its other colour too
  double sideburnEnd, sideburnWidth;
  double hairDepth;  // how far the hairline at the temples comes in from the head's edge
  HairStyle hairStyle;
  std::uint64_t seed;  // for the small random strokes of hair and freckles
  // Eyes: half distance between pupils, height of the centre line, size, tilt of the outer
  // corner (up is positive), lid crease (0 none .. 1 deep), iris colour and size, gaze.
  double eyeSpacing, eyeY, eyeWidth, eyeHeight, eyeTilt, lidCrease, lidHeavy;
  double eyeDepth;  // shade of a deep-set eye socket, 0 .. 1
  Rgb iris;
  double irisSize, gaze;
  // Brows: inner end from the centre, length, thickness, arch, outer drop, height above the eye.
  double browInner, browLength, browThick, browArch, browSlant, browLift;
  double browTaper;  // 0 even .. 1 thinning to a point at the outer end
  // Nose: tip height, nostril width, bridge strength, tip size.
  double noseTipY, noseWidth, noseBridge, noseTip;
  double noseHook;  // a bump on the bridge, 0 .. 1
  // Mouth: lip line height, width, lip thickness, corner curve (up positive), asymmetry.
  double mouthY, mouthWidth, upperLip, lowerLip, mouthCurve, mouthSkew;
  // Expression: a closed smile lifts the cheeks and deepens the corners; a set jaw presses the
  // lips and shows the jaw muscle.
  double smile, setJaw;
  Rgb lip;
  // Ears: top, height, how far they stand out.
  double earTop, earHeight, earOut;
  double age;  // 0 young .. 1 veteran
  double cheekHollow;
  double beardShadow;  // shaved beard showing through the skin, 0 none
  double chinCleft;    // 0 none .. 1 marked
  // Marks on a few faces: freckles over the nose and cheeks, a mole, a small scar.
  double freckles;
  double moleX, moleY, moleSize;               // size 0: none
  double scarX, scarY, scarAngle, scarLength;  // length 0: none
};

// The parameters of face `index` (0-based) of an ethnicity. Distinct indices give distinct
// combinations of the discrete choices, so no two faces of a folder can come out alike.
FaceParams ChooseFace(Ethnicity ethnicity, int index);
// The player's hair colour decides the hair a portrait shows: a caucasian face is drawn twice,
// brown-haired (its file in faces/, the hair of its draw, a blonde draw taken as light brown) and
// blonde-haired (in blonde faces/), so that the hair below the cap has the colour of the beard
// of the facial-hair layer. The other folders' hair is black to dark brown, as is every
// player's of theirs. Only the colour of the hair, brows and lashes changes: the face and its
// shapes stay the same.
FaceParams BrownHaired(FaceParams face);
FaceParams BlondeHaired(FaceParams face);
// A middle-of-the-road face for the preview pictures.
FaceParams PlainFace();

// Draws the face layer in canvas coordinates (the caller places the origin).
void DrawFace(cairo_t* cr, const FaceParams& face);

}  // namespace likentor::artgen
