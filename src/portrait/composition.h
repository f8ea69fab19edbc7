#pragma once

// The pixel side of a portrait: which decoded layers make it, the rules that pick them, and the
// composition of those layers onto a copy of the background. Nothing here reads a table or draws
// a random number, so portraits can be composed on worker threads; the layers are shared, read-only
// images (one decode per run, see layer_cache.h).

#include <filesystem>
#include <memory>
#include <string_view>

#include "portrait/bitmap.h"
#include "portrait/png_image.h"

namespace likentor {

// Where the layers go on the 90 x 135 canvas.
inline constexpr int kFaceX = 7;
inline constexpr int kFaceY = 4;
inline constexpr int kLogoX = 49;
inline constexpr int kLogoY = 108;
inline constexpr int kLogoSide = 30;
inline constexpr int kFacialHairX = -1;
inline constexpr int kFacialHairY = 2;

// The generic design of a team: team mod 25, plus 1, in 1..25 (teams 1..24 get 2..25, team 25 and
// team 50 get 1). The remainder keeps the sign of the dividend and is then held to 1..25.
int GenericDesign(int team);

// The logo test of a team's logo_file: at least three characters, a lowercase 'p' third from the
// end ("x.png" passes, "x.PNG" and "x.gif" do not). Whether the file exists is tested apart.
bool IsPngLogoName(std::string_view logoFile);

// An accessory's eligibility flags; a blank flag counts as false.
struct AccessoryEligibility {
  bool lefty = false;
  bool righty = false;
  bool pitcher = false;
  bool batter = false;
};
// Hand 1 is right-handed and 2 left-handed; position 1 is a pitcher, any other value a batter.
bool AccessoryShown(const AccessoryEligibility& eligibility, int hand, int position);

// The layers of one portrait, bottom to top. Null layers are left out. Exactly one uniform kind is
// set, or none: `uniform` (the default or a custom picture, drawn at 0, 0) or `genericUniform`
// (laid on with TransOverlay2, black transparent), the latter optionally with `logo` (already
// 30 x 30) at 49, 108.
struct PortraitLayers {
  std::shared_ptr<const PngImage> background;  // the canvas; required
  // The face: decoded from `faceFile` when composing unless `face` is given.
  std::shared_ptr<const PngImage> face;
  std::filesystem::path faceFile;
  // The age of the face (lines, grey and thinning at the temples), at 0, 0 over it and under the
  // cap; none for a portrait that shows no age.
  std::shared_ptr<const PngImage> ageFace;
  std::shared_ptr<const PngImage> uniform;
  std::shared_ptr<const Bitmap> genericUniform;
  std::shared_ptr<const PngImage> logo;
  std::shared_ptr<const PngImage> billUnderside;
  std::shared_ptr<const PngImage> facialHair;      // at -1, 2
  std::shared_ptr<const PngImage> greyFacialHair;  // its grey at the age step, at -1, 2
  std::shared_ptr<const PngImage> accessory;       // at 0, 0
};

// The portrait: a copy of the background with every layer drawn in order. Throws Error when the
// face file cannot be loaded (the message names it) or no background is given.
PngImage ComposePortrait(const PortraitLayers& layers);

}  // namespace likentor
