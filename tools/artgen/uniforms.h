#pragma once
// Uniforms: cap and jersey drawn from a design and three colours. The same drawing gives the
// coloured uniforms (custom pictures, the default uniform) and the grey templates of the generic
// designs, which the program tints with a team's two colours.
#include <array>
#include <string>
#include <string_view>

#include "paint.h"
#include "raster.h"

namespace likentor::artgen {

enum class Part { kWhite, kBg, kText };

struct Palette {
  Rgb white, bg, text;
};

enum class Neck { kCrew, kVNeck, kButtons, kPullover };
enum class Sleeves { kPlain, kRaglan, kYoke, kSetIn };
enum class CapStyle { kSolid, kContrastBrim, kWhitePanels, kTextCrown, kBirdseye };

struct Design {
  CapStyle cap = CapStyle::kSolid;
  Part emblem = Part::kText;
  int emblemShape = 0;  // 0 disc, 1 star, 2 diamond, 3 ring, 4 bar, 5 shield
  Part body = Part::kWhite;
  bool pinstripes = false;
  Neck neck = Neck::kButtons;
  Sleeves sleeves = Sleeves::kPlain;
  Part sleevePart = Part::kBg;
  int piping = 0;  // 0 none, 1 single, 2 double
  Part pipingPart = Part::kText;
  Part undershirt = Part::kBg;
  bool lettering = true;
  Part letterPart = Part::kText;
  // Custom pictures only: the cap's initial and the chest wordmark.
  std::string initial;
  std::string wordmark;
};

// The 25 generic designs, numbered 1..25.
Design GenericDesign(int number);

// Draws cap and jersey. `shaded` adds the form shading (off for part maps).
void DrawUniform(cairo_t* cr, const Design& design, const Palette& palette, bool shaded);

// The three templates of a generic design: white.bmp, bg.bmp, text.bmp (black = free).
struct Templates {
  Image white, bg, text;
};
Templates MakeTemplates(const Design& design);

// The layer drawn over every uniform: the dark underside of the brim and its shadow on the brow.
Image MakeBillUnderside();
// The neutral grey uniform of players without a team.
Image MakeDefaultUniform();

struct CustomClub {
  std::string_view file;  // picture name under uniforms/custom/MLB
  std::string_view initial;
  std::string_view wordmark;
  Rgb primary, secondary;
  int style;  // picks cap and trim details
};
extern const std::array<CustomClub, 30> kCustomClubs;
Image MakeCustomUniform(const CustomClub& club);

// What the program does with the templates (tint, overlay), for the contact sheet.
Image TintGeneric(const Templates& t, Rgb bg, Rgb text);

}  // namespace likentor::artgen
