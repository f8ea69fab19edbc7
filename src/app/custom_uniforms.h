#pragma once

// The custom-uniforms page: give a team a uniform picture of the user's choice, or take it away so
// that its players wear the generic uniform in the team's colours. The change reaches a player's
// portrait the next time it is made.

#include <filesystem>
#include <string_view>

#include "portrait/artwork_paths.h"  // CustomUniformsFolder, where the chooser opens

namespace likentor {

class Session;

inline constexpr std::string_view kUniformFileFilter = "PNG Files|*.png";
inline constexpr std::string_view kNoCustomUniform = "none";
inline constexpr std::string_view kCustomUniformSet = "Successfully set custom uniform.";
inline constexpr std::string_view kCustomUniformSetError = "Error setting custom uniform.";
inline constexpr std::string_view kCustomUniformRemoved = "Successfully removed custom uniform.";
inline constexpr std::string_view kCustomUniformRemoveError = "Error removing custom uniform.";

// The operations: store the file's path (or "none") in the team's `custom_uniform_file`, with any
// other change pending on that row. They show nothing. Error when no game is loaded or the game
// has no team `teamId`; a post the store refuses is cancelled, logged as "Error setting custom
// uniform." (or "Error removing custom uniform.") and ends the call with an Error of that text.
// TeamsTable is left on the team. The path is stored whole, never cut: as it stands when the
// field holds it, else relative to the program folder when it lies inside it; any other path
// longer than the field is refused with an Error before anything is written. So is a file that
// is there but is not a 90 x 135 PNG that decodes (a folder, a device, another kind of file); a
// file that is not there yet is stored, and the team wears the generic uniform until it is.
void SetCustomUniform(Session& session, int teamId, const std::filesystem::path& file);
void ClearCustomUniform(Session& session, int teamId);

// Set Custom Uniform: asks for a PNG file for the current team of TeamsTable; a cancelled chooser
// does nothing; on success the plain message "Successfully set custom uniform.".
void SetCustonBtnClick(Session& session);

// Use Generic Uniform: stores "none" for the current team, with "Successfully removed custom
// uniform.".
void UseGenericBtnClick(Session& session);

// The same for the team `teamId` (the uniforms page's current row), wherever TeamsTable stands.
void SetCustonBtnClick(Session& session, int teamId);
void UseGenericBtnClick(Session& session, int teamId);

}  // namespace likentor
