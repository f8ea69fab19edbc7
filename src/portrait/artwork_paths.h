#pragma once

// Where the artwork kit's pictures lie below the program folder, and where portraits are written.
// Every path into the kit is built here; the table store, which lies below, is handed the paths
// it stores.

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace likentor {

// The faces folder of an ethnicity: 1 "caucasian", 2 "asian", 3 "african", any other value
// "east indian" (with a blank).
std::string EthnString(int ethnicity);

// The kit's backgrounds are numbered 1 to kBackgroundCount; a portrait may draw any of them.
inline constexpr int kBackgroundCount = 69;

// graphics: the kit's folder in a program folder (or in the folder of the program's shipped files).
std::filesystem::path ArtworkFolder(const std::filesystem::path& programFolder);

// graphics/backgrounds/NNNNN.png
std::filesystem::path BackgroundFile(const std::filesystem::path& programFolder, int background);
// graphics/faces/<EthnString>/NNNNNNN.png
std::filesystem::path FaceFile(const std::filesystem::path& programFolder, int ethnicity, int face);
// graphics/blonde faces/<EthnString>/NNNNNNN.png: the kit's face of that number with blonde hair,
// for a blonde player (the kit draws them for the faces whose players may be blonde).
std::filesystem::path BlondeFaceFile(const std::filesystem::path& programFolder, int ethnicity,
                                     int face);
// graphics/<ethnicity as spelled in table names>: the folder that the face tables' file_location
// names. Nothing reads those locations back; they keep the form the setup has always written.
std::filesystem::path FaceTableLocationFolder(const std::filesystem::path& programFolder,
                                              std::string_view ethnicity);
// graphics/accessories/NNNNN.png
std::filesystem::path AccessoryFile(const std::filesystem::path& programFolder, int accessory);
// The pictures of the four accessories the kit ships, 1 to 4 (the catalogue's fixed rows).
std::array<std::filesystem::path, 4> KitAccessoryPictures(
    const std::filesystem::path& programFolder);
// graphics/uniforms/default.png, the uniform of team 0.
std::filesystem::path DefaultUniformFile(const std::filesystem::path& programFolder);
// graphics/uniforms/bill underside.png, drawn over every uniform.
std::filesystem::path BillUndersideFile(const std::filesystem::path& programFolder);
// graphics/uniforms/generic/NN (01 to 25): the folder of a generic design's templates.
std::filesystem::path GenericUniformFolder(const std::filesystem::path& programFolder, int design);
// graphics/uniforms/custom: the uniform pictures that come with the program, where the chooser of
// a custom uniform opens.
std::filesystem::path CustomUniformsFolder(const std::filesystem::path& programFolder);
// graphics/uniforms/custom/installed/NNNNN.png: a uniform an art pack installed.
std::filesystem::path InstalledUniformFile(const std::filesystem::path& programFolder, int number);
// graphics/uniforms/previewface.png, the face under a uniform's preview.
std::filesystem::path UniformPreviewFace(const std::filesystem::path& programFolder);
// graphics/facial hair/previewface.png, the face under a facial-hair style's preview.
std::filesystem::path FacialHairPreviewFace(const std::filesystem::path& programFolder);
// graphics/facial hair/<location>: the folder of a facial-hair style's pictures.
std::filesystem::path FacialHairStyleFolder(const std::filesystem::path& programFolder,
                                            std::string_view location);
// graphics/facial hair/<location>/blonde.png or brown.png
std::filesystem::path FacialHairFile(const std::filesystem::path& programFolder,
                                     std::string_view location, bool blonde);
// graphics/aging/face <step>.png: the lines, grey and thinning of an age step (1..3), drawn at 0, 0
// over any face of the kit.
std::filesystem::path AgeFaceFile(const std::filesystem::path& programFolder, int step);
// graphics/facial hair/<location>/grey <step>.png: the grey of a facial-hair style at an age step,
// drawn over the style at its own place.
std::filesystem::path GreyFacialHairFile(const std::filesystem::path& programFolder,
                                         std::string_view location, int step);
// The window's own pictures, named relative to the kit's folder: the program icon of a size
// (icon/likentor-<size>.png), the about box's logo (the JPEG, or the PNG when no JPEG reader is
// there) and the dashboard's background.
std::filesystem::path ProgramIconPicture(int size);
inline constexpr std::string_view kAboutLogoJpeg = "logo.jpg";
inline constexpr std::string_view kAboutLogoPng = "logo.png";
inline constexpr std::string_view kDashboardPicture = "dashboard.png";

// <picture folder>/Player_<id>.png
std::filesystem::path PortraitFile(const std::filesystem::path& picturesFolder, int playerId);

}  // namespace likentor
