#include "portrait/composition.h"

#include <cstdint>

#include "portrait/image_operations.h"
#include "portrait/layer_drawing.h"
#include "portrait/uniforms.h"
#include "shell/error.h"

namespace likentor {

int GenericDesign(int team) {
  // C++'s % keeps the sign of the dividend, as the design rule wants. The sum is taken in 64 bits:
  // a team id near the top of the int range must not overflow.
  const auto design = ((std::int64_t{team} + kGenericUniformDesigns) % kGenericUniformDesigns) + 1;
  if (design < 1) return 1;
  if (design > kGenericUniformDesigns) return kGenericUniformDesigns;
  return static_cast<int>(design);
}

bool IsPngLogoName(std::string_view logoFile) {
  return logoFile.size() >= 3 && logoFile[logoFile.size() - 3] == 'p';
}

bool AccessoryShown(const AccessoryEligibility& eligibility, int hand, int position) {
  if (!eligibility.lefty && hand == 2) return false;
  if (!eligibility.righty && hand == 1) return false;
  if (!eligibility.pitcher && position == 1) return false;
  if (!eligibility.batter && position != 1) return false;
  return true;
}

PngImage ComposePortrait(const PortraitLayers& layers) {
  if (!layers.background) throw Error("A portrait needs a background.");
  // Decode the face before copying the canvas: a face that fails costs nothing else.
  std::shared_ptr<const PngImage> face = layers.face;
  PngImage decodedFace;
  if (!face && !layers.faceFile.empty()) decodedFace = PngImage::Load(layers.faceFile);

  PngImage canvas = *layers.background;
  if (face) {
    DrawLayer(canvas, *face, kFaceX, kFaceY);
  } else if (!decodedFace.Empty()) {
    DrawLayer(canvas, decodedFace, kFaceX, kFaceY);
  }
  if (layers.ageFace) DrawLayer(canvas, *layers.ageFace, 0, 0);
  if (layers.uniform) {
    DrawLayer(canvas, *layers.uniform, 0, 0);
  } else if (layers.genericUniform) {
    TransOverlay2(canvas, *layers.genericUniform);
    if (layers.logo) DrawLayer(canvas, *layers.logo, kLogoX, kLogoY);
  }
  if (layers.billUnderside) DrawLayer(canvas, *layers.billUnderside, 0, 0);
  if (layers.facialHair) {
    DrawLayer(canvas, *layers.facialHair, kFacialHairX, kFacialHairY);
    if (layers.greyFacialHair) {
      DrawLayer(canvas, *layers.greyFacialHair, kFacialHairX, kFacialHairY);
    }
  }
  if (layers.accessory) DrawLayer(canvas, *layers.accessory, 0, 0);
  return canvas;
}

}  // namespace likentor
