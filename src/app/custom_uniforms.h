#pragma once

// The custom-uniforms page: give the current team of TeamsTable a uniform picture of the user's
// choice, or take it away so that its players wear the generic uniform in the team's colours. The
// change reaches a player's portrait the next time it is made.

#include <filesystem>
#include <string_view>

namespace likentor {

class Session;

inline constexpr std::string_view kUniformFileFilter = "PNG Files|*.png";
inline constexpr std::string_view kNoCustomUniform = "none";
inline constexpr std::string_view kCustomUniformSet = "Successfully set custom uniform.";
inline constexpr std::string_view kCustomUniformSetError = "Error setting custom uniform.";
inline constexpr std::string_view kCustomUniformRemoved = "Successfully removed custom uniform.";
inline constexpr std::string_view kCustomUniformRemoveError = "Error removing custom uniform.";

// ProgramFolder/graphics/uniforms/custom: where the chooser opens, among the uniform pictures
// that come with the program.
std::filesystem::path CustomUniformsFolder(const std::filesystem::path& programFolder);

// Set Custom Uniform: asks for a PNG file and stores its full path, as the chooser gives it, in the
// current team's `custom_uniform_file` (cut to the field's 127 characters by the store). Nothing
// checks the file. A cancelled chooser does nothing. On success the plain message "Successfully set
// custom uniform."; a refused post is cancelled, shown in an error box and logged as "Error setting
// custom uniform.". Other changes pending on the row are posted with it.
void SetCustonBtnClick(Session& session);

// Use Generic Uniform: stores "none" the same way, with "Successfully removed custom uniform." or
// "Error removing custom uniform.".
void UseGenericBtnClick(Session& session);

}  // namespace likentor
