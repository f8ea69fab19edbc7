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

std::filesystem::path ArtworkFolder(const std::filesystem::path& programFolder) {
  return programFolder / "graphics";
}

std::filesystem::path BackgroundFile(const std::filesystem::path& programFolder, int background) {
  return ArtworkFolder(programFolder) / "backgrounds" / (AddZeros(background, 5) + ".png");
}

std::filesystem::path FaceFile(const std::filesystem::path& programFolder, int ethnicity,
                               int face) {
  return ArtworkFolder(programFolder) / "faces" / EthnString(ethnicity) /
         (AddZeros(face, 7) + ".png");
}

std::filesystem::path BlondeFaceFile(const std::filesystem::path& programFolder, int ethnicity,
                                     int face) {
  return ArtworkFolder(programFolder) / "blonde faces" / EthnString(ethnicity) /
         (AddZeros(face, 7) + ".png");
}

std::filesystem::path FaceTableLocationFolder(const std::filesystem::path& programFolder,
                                              std::string_view ethnicity) {
  return ArtworkFolder(programFolder) / std::string(ethnicity);
}

std::filesystem::path AccessoryFile(const std::filesystem::path& programFolder, int accessory) {
  return ArtworkFolder(programFolder) / "accessories" / (AddZeros(accessory, 5) + ".png");
}

std::array<std::filesystem::path, 4> KitAccessoryPictures(
    const std::filesystem::path& programFolder) {
  return {AccessoryFile(programFolder, 1), AccessoryFile(programFolder, 2),
          AccessoryFile(programFolder, 3), AccessoryFile(programFolder, 4)};
}

std::filesystem::path DefaultUniformFile(const std::filesystem::path& programFolder) {
  return ArtworkFolder(programFolder) / "uniforms" / "default.png";
}

std::filesystem::path BillUndersideFile(const std::filesystem::path& programFolder) {
  return ArtworkFolder(programFolder) / "uniforms" / "bill underside.png";
}

std::filesystem::path GenericUniformFolder(const std::filesystem::path& programFolder, int design) {
  return ArtworkFolder(programFolder) / "uniforms" / "generic" / AddZeros(design, 2);
}

std::filesystem::path CustomUniformsFolder(const std::filesystem::path& programFolder) {
  return ArtworkFolder(programFolder) / "uniforms" / "custom";
}

std::filesystem::path InstalledUniformFile(const std::filesystem::path& programFolder, int number) {
  return CustomUniformsFolder(programFolder) / "installed" / (AddZeros(number, 5) + ".png");
}

std::filesystem::path UniformPreviewFace(const std::filesystem::path& programFolder) {
  return ArtworkFolder(programFolder) / "uniforms" / "previewface.png";
}

std::filesystem::path FacialHairPreviewFace(const std::filesystem::path& programFolder) {
  return ArtworkFolder(programFolder) / "facial hair" / "previewface.png";
}

std::filesystem::path FacialHairStyleFolder(const std::filesystem::path& programFolder,
                                            std::string_view location) {
  return ArtworkFolder(programFolder) / "facial hair" / std::string(location);
}

std::filesystem::path FacialHairFile(const std::filesystem::path& programFolder,
                                     std::string_view location, bool blonde) {
  return FacialHairStyleFolder(programFolder, location) / (blonde ? "blonde.png" : "brown.png");
}

std::filesystem::path AgeFaceFile(const std::filesystem::path& programFolder, int step) {
  return ArtworkFolder(programFolder) / "aging" / ("face " + std::to_string(step) + ".png");
}

std::filesystem::path GreyFacialHairFile(const std::filesystem::path& programFolder,
                                         std::string_view location, int step) {
  return FacialHairStyleFolder(programFolder, location) / ("grey " + std::to_string(step) + ".png");
}

std::filesystem::path ProgramIconPicture(int size) {
  return std::filesystem::path("icon") / ("likentor-" + std::to_string(size) + ".png");
}

std::filesystem::path PortraitFile(const std::filesystem::path& picturesFolder, int playerId) {
  return picturesFolder / ("Player_" + std::to_string(playerId) + ".png");
}

}  // namespace likentor
