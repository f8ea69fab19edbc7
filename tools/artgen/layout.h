#pragma once
// The layout grid that every layer of the kit is drawn on. All numbers are portrait-canvas
// coordinates (90 x 135, origin top left, y down). The program draws the face at (7, 4), the facial
// hair at (-1, 2) and everything else at (0, 0); each generator moves its origin by those offsets,
// so all parts are designed in the same coordinates and fit one another. README.md explains it.
namespace likentor::artgen::layout {

inline constexpr int kWidth = 90;
inline constexpr int kHeight = 135;
inline constexpr double kCentreX = 45.0;

// Where the program puts the layers.
inline constexpr int kFaceX = 7;
inline constexpr int kFaceY = 4;
inline constexpr int kFaceWidth = kWidth - kFaceX;    // the face file reaches the right edge
inline constexpr int kFaceHeight = kHeight - kFaceY;  // and the bottom edge
inline constexpr int kHairX = -1;
inline constexpr int kHairY = 2;

// Cap.
inline constexpr double kCrownTop = 17.0;         // top of the crown (the button sits on it)
inline constexpr double kCrownBand = 43.0;        // crown meets the head at the sides
inline constexpr double kCrownHalfWidth = 25.0;   // at the band
inline constexpr double kEmblemY = 31.5;          // centre of the cap emblem
inline constexpr double kBrimTop = 41.5;          // brim's upper edge at the centre
inline constexpr double kBrimFront = 48.5;        // brim's front edge at the centre
inline constexpr double kBrimTipY = 45.0;         // front edge at the tips
inline constexpr double kBrimHalfWidth = 28.0;    // tips
inline constexpr double kUndersideBottom = 52.0;  // lowest point of the visible underside

// Head (face layer). Every face keeps its skull inside the crown and stays in these ranges.
inline constexpr double kSkullTop = 21.0;
inline constexpr double kTempleY = 44.0;
inline constexpr double kTempleHalfMin = 20.5;
inline constexpr double kTempleHalfMax = 23.0;
inline constexpr double kEyeY = 60.0;          // eye centre line (+-0.6)
inline constexpr double kEyeSpacingMin = 8.0;  // half the distance between the pupils
inline constexpr double kEyeSpacingMax = 9.6;
inline constexpr double kCheekY = 64.0;
inline constexpr double kCheekHalfMin = 20.0;
inline constexpr double kCheekHalfMax = 22.6;
inline constexpr double kNoseTipMin = 70.5;
inline constexpr double kNoseTipMax = 73.5;
inline constexpr double kMouthY = 81.0;      // line between the lips (+-0.7)
inline constexpr double kJawHalfMin = 15.5;  // at the jaw corner
inline constexpr double kJawHalfMax = 19.8;
inline constexpr double kJawCornerMin = 82.0;
inline constexpr double kJawCornerMax = 88.5;
inline constexpr double kChinMin = 93.0;  // lowest point of the chin
inline constexpr double kChinMax = 97.5;
inline constexpr double kEarTop = 54.0;
inline constexpr double kNeckHalf = 13.5;  // neck at the collar (y 99), +-0.8

// Jersey.
inline constexpr double kCollarTop = 98.0;       // back of the collar behind the neck
inline constexpr double kCollarHalf = 12.5;      // neck opening at the collar top
inline constexpr double kShoulderEdgeY = 116.0;  // shoulder line reaches the canvas sides
inline constexpr double kCrewBottom = 106.0;     // front of a round neck
inline constexpr double kVBottom = 114.0;        // point of a v-neck
inline constexpr double kLetteringTop = 124.0;   // top of the chest lettering
// The program puts the team logo at x 49, y 108, 30 x 30 (over the player's left chest).
inline constexpr int kLogoX = 49;
inline constexpr int kLogoY = 108;
inline constexpr int kLogoSize = 30;

// Areas the free layers must stay inside (canvas coordinates, [x0, x1) x [y0, y1)).
struct Box {
  int x0, y0, x1, y1;
};
inline constexpr Box kFacialHairArea{19, 43, 71, 104};
// Head and face: accessories never cover it.
inline constexpr Box kHeadArea{18, 8, 72, 100};
// Bats lean on a shoulder at one side, gloves sit low at one side.
inline constexpr Box kLeftSideArea{0, 0, 30, 135};
inline constexpr Box kRightSideArea{60, 0, 90, 135};

}  // namespace likentor::artgen::layout
