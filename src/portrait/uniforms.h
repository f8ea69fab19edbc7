#pragma once

// Uniforms: the generic uniform built from grey templates tinted in the team colours, the custom
// uniform picture chosen for a newly imported team, and the normalisation of the team export's two
// colour texts.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "portrait/artwork_paths.h"  // GenericUniformFolder
#include "portrait/bitmap.h"
#include "portrait/color.h"

namespace likentor {

inline constexpr int kGenericUniformDesigns = 25;  // designs 1..25
inline constexpr int kUniformWidth = 90;
inline constexpr int kUniformHeight = 135;
// A black team colour would vanish in the overlays (black is transparent); it is drawn in this
// grey.
inline constexpr Rgb kBlackTeamColorStandIn{48, 48, 48};

// The three BMP templates of a design folder; a template whose file is missing is left out.
struct UniformTemplates {
  std::optional<Bitmap> white;       // white.bmp: drawn unchanged
  std::optional<Bitmap> background;  // bg.bmp: tinted in the background colour
  std::optional<Bitmap> text;        // text.bmp: tinted in the text colour
};

// Throws Error (the load error naming the file) for a template that exists but is not a readable
// BMP.
UniformTemplates LoadUniformTemplates(const std::filesystem::path& programFolder, int design);

// The 90 x 135 generic uniform from loaded templates: black, white.bmp drawn opaque at 0, 0, then
// bg.bmp and text.bmp each tinted with Colorize and laid on with TransOverlay. A colour value of 0
// tints in (48, 48, 48). Black pixels of the result are transparent when it is laid on a portrait
// with TransOverlay2. The templates can be loaded once and shared between threads.
Bitmap BuildGenericUniform(const UniformTemplates& templates, ColorValue backgroundColor,
                           ColorValue textColor);

// LoadUniformTemplates and BuildGenericUniform in one call.
Bitmap GetGenericUniform(const std::filesystem::path& programFolder, int design,
                         ColorValue backgroundColor, ColorValue textColor);

// The custom uniform picture for a team, by exact (case-sensitive) team name and nickname:
// <program folder>/graphics/uniforms/custom/MLB/<picture>, or "none". Whether the file exists is
// not examined here.
std::string AutoRetrieveCustomUniform(const std::filesystem::path& programFolder,
                                      std::string_view teamName, std::string_view nickname);

struct ColorTexts {
  std::string background;  // background_color_id
  std::string text;        // text_color_id
};

// A first text of at least 8 characters holds both colours: the background is its first 7
// characters, the text colour everything from its 10th character on (empty for 8 or 9
// characters), and the second text is ignored. Otherwise both texts are returned unchanged.
ColorTexts SanitizeColors(std::string_view first, std::string_view second);

}  // namespace likentor
