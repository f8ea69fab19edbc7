#pragma once

// Where the artwork kit's pictures lie below the program folder, and where portraits are written.

#include <filesystem>
#include <string>
#include <string_view>

namespace likentor {

// The faces folder of an ethnicity: 1 "caucasian", 2 "asian", 3 "african", any other value
// "east indian" (with a blank).
std::string EthnString(int ethnicity);

// The kit's backgrounds are numbered 1 to kBackgroundCount; a portrait may draw any of them.
inline constexpr int kBackgroundCount = 69;

// graphics/backgrounds/NNNNN.png
std::filesystem::path BackgroundFile(const std::filesystem::path& programFolder, int background);
// graphics/faces/<EthnString>/NNNNNNN.png
std::filesystem::path FaceFile(const std::filesystem::path& programFolder, int ethnicity, int face);
// graphics/uniforms/default.png, the uniform of team 0.
std::filesystem::path DefaultUniformFile(const std::filesystem::path& programFolder);
// graphics/uniforms/bill underside.png, drawn over every uniform.
std::filesystem::path BillUndersideFile(const std::filesystem::path& programFolder);
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
// <picture folder>/Player_<id>.png
std::filesystem::path PortraitFile(const std::filesystem::path& picturesFolder, int playerId);

}  // namespace likentor
