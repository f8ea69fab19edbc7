#include "portrait/uniforms.h"

#include <array>
#include <system_error>

#include "portrait/image_operations.h"
#include "portrait/layer_drawing.h"

namespace likentor {

namespace {

std::optional<Bitmap> LoadTemplate(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return std::nullopt;
  return Bitmap::LoadBmp(file);
}

void LayTinted(Bitmap& uniform, const Bitmap& grey, ColorValue color) {
  Bitmap tinted = grey;
  Colorize(tinted, color == 0 ? kBlackTeamColorStandIn : ToRgb(color));
  TransOverlay(uniform, tinted);
}

struct CustomUniform {
  std::string_view team;
  std::string_view nickname;
  std::string_view picture;
};

// Rows of one team name follow each other; the first row whose team name and nickname both match
// gives the picture. Each team name appears under one entry only, so a team name found with
// another nickname gives "none". Thirty pictures serve thirty-four team names.
constexpr std::array<CustomUniform, 39> kCustomUniforms{{
    {"Baltimore", "Orioles", "Orioles_home.png"},
    {"Boston", "Red Sox", "Red Sox_home.png"},
    {"New York", "Yankees", "Yankees_home.png"},
    {"New York", "Mets", "Mets_home.png"},
    {"New York (A)", "Yankees", "Yankees_home.png"},
    {"New York (N)", "Mets", "Mets_home.png"},
    {"Tampa Bay", "Devil Rays", "Devil Rays_home.png"},
    {"Toronto", "Blue Jays", "Blue Jays_home.png"},
    {"Toronto", "Jays", "Blue Jays_home.png"},
    {"Chicago", "White Sox", "White Sox_home.png"},
    {"Chicago", "Cubs", "Cubs_home.png"},
    {"Chicago (A)", "White Sox", "White Sox_home.png"},
    {"Chicago (N)", "Cubs", "Cubs_home.png"},
    {"Cleveland", "Indians", "Indians_home.png"},
    {"Detroit", "Tigers", "Tigers_home.png"},
    {"Kansas City", "Royals", "Royals_home.png"},
    {"Minnesota", "Twins", "Twins_home.png"},
    {"Los Angeles", "Angels", "Angels_home.png"},
    {"Los Angeles", "Dodgers", "Dodgers_home.png"},
    {"Los Angeles (N)", "Dodgers", "Dodgers_home.png"},
    {"Los Angeles (A)", "Angels", "Angels_home.png"},
    {"Anaheim", "Angels", "Angels_home.png"},
    {"Oakland", "A's", "Athletics_home.png"},
    {"Oakland", "Athletics", "Athletics_home.png"},
    {"Seattle", "Mariners", "Mariners_home.png"},
    {"Texas", "Rangers", "Rangers_home.png"},
    {"Atlanta", "Braves", "Braves_home.png"},
    {"Florida", "Marlins", "Marlins_home.png"},
    {"Philadelphia", "Phillies", "Phillies_home.png"},
    {"Washington", "Nationals", "Nationals_home.png"},
    {"Cincinnati", "Reds", "Reds_home.png"},
    {"Houston", "Astros", "Astros_home.png"},
    {"Milwaukee", "Brewers", "Brewers_home.png"},
    {"Pittsburgh", "Pirates", "Pirates_home.png"},
    {"St. Louis", "Cardinals", "Cardinals_home.png"},
    {"Arizona", "Diamondbacks", "Diamondbacks_home.png"},
    {"Colorado", "Rockies", "Rockies_home.png"},
    {"San Diego", "Padres", "Padres_home.png"},
    {"San Francisco", "Giants", "Giants_home.png"},
}};

}  // namespace

UniformTemplates LoadUniformTemplates(const std::filesystem::path& programFolder, int design) {
  const std::filesystem::path folder = GenericUniformFolder(programFolder, design);
  UniformTemplates templates;
  templates.white = LoadTemplate(folder / "white.bmp");
  templates.background = LoadTemplate(folder / "bg.bmp");
  templates.text = LoadTemplate(folder / "text.bmp");
  return templates;
}

Bitmap BuildGenericUniform(const UniformTemplates& templates, ColorValue backgroundColor,
                           ColorValue textColor) {
  Bitmap uniform(kUniformWidth, kUniformHeight);  // black: transparent where nothing is drawn
  if (templates.white) DrawBitmap(uniform, *templates.white, 0, 0);
  if (templates.background) LayTinted(uniform, *templates.background, backgroundColor);
  if (templates.text) LayTinted(uniform, *templates.text, textColor);
  return uniform;
}

Bitmap GetGenericUniform(const std::filesystem::path& programFolder, int design,
                         ColorValue backgroundColor, ColorValue textColor) {
  return BuildGenericUniform(LoadUniformTemplates(programFolder, design), backgroundColor,
                             textColor);
}

std::string AutoRetrieveCustomUniform(const std::filesystem::path& programFolder,
                                      std::string_view teamName, std::string_view nickname) {
  for (const CustomUniform& entry : kCustomUniforms) {
    if (entry.team == teamName && entry.nickname == nickname) {
      return (CustomUniformsFolder(programFolder) / "MLB" / entry.picture).string();
    }
  }
  return "none";
}

ColorTexts SanitizeColors(std::string_view first, std::string_view second) {
  if (first.size() >= 8) {
    return ColorTexts{std::string(first.substr(0, 7)),
                      first.size() > 9 ? std::string(first.substr(9)) : std::string()};
  }
  return ColorTexts{std::string(first), std::string(second)};
}

}  // namespace likentor
