#include "portrait/artwork_paths.h"

#include "database/face_tables.h"

namespace likentor {

std::string EthnString(int ethnicity) {
  switch (ethnicity) {
    case 1:
      return "caucasian";
    case 2:
      return "asian";
    case 3:
      return "african";
    default:
      return "east indian";
  }
}

std::filesystem::path BackgroundFile(const std::filesystem::path& programFolder, int background) {
  return programFolder / "graphics" / "backgrounds" / (AddZeros(background, 5) + ".png");
}

std::filesystem::path FaceFile(const std::filesystem::path& programFolder, int ethnicity,
                               int face) {
  return programFolder / "graphics" / "faces" / EthnString(ethnicity) /
         (AddZeros(face, 7) + ".png");
}

std::filesystem::path DefaultUniformFile(const std::filesystem::path& programFolder) {
  return programFolder / "graphics" / "uniforms" / "default.png";
}

std::filesystem::path BillUndersideFile(const std::filesystem::path& programFolder) {
  return programFolder / "graphics" / "uniforms" / "bill underside.png";
}

std::filesystem::path FacialHairFile(const std::filesystem::path& programFolder,
                                     std::string_view location, bool blonde) {
  return programFolder / "graphics" / "facial hair" / std::string(location) /
         (blonde ? "blonde.png" : "brown.png");
}

std::filesystem::path AgeFaceFile(const std::filesystem::path& programFolder, int step) {
  return programFolder / "graphics" / "aging" / ("face " + std::to_string(step) + ".png");
}

std::filesystem::path GreyFacialHairFile(const std::filesystem::path& programFolder,
                                         std::string_view location, int step) {
  return programFolder / "graphics" / "facial hair" / std::string(location) /
         ("grey " + std::to_string(step) + ".png");
}

std::filesystem::path PortraitFile(const std::filesystem::path& picturesFolder, int playerId) {
  return picturesFolder / ("Player_" + std::to_string(playerId) + ".png");
}

}  // namespace likentor
