#pragma once

// The two "Get Preview" pictures: a team's custom uniform, or a facial-hair style, drawn in memory
// over a preview face. Nothing is written and no table changes. An empty answer means the preview
// keeps what it showed before.

#include <filesystem>
#include <optional>
#include <string_view>

#include "app/portrait_types.h"
#include "portrait/artwork_paths.h"

namespace likentor {

class Session;

// UniformPreviewFace and FacialHairPreviewFace (artwork_paths.h) are the faces under them.

// The uniform preview face with the custom uniform `customUniformFile` drawn over it at 0, 0. Empty
// for "none", for a file that does not exist and for one that cannot be read as a PNG. A missing
// or unreadable preview face ends it with the load's Error.
std::optional<PngImage> UniformPreview(const std::filesystem::path& programFolder,
                                       std::string_view customUniformFile);

// The facial-hair preview face alone for the location "none", or with the style's brown artwork
// (graphics/facial hair/<location>/brown.png) drawn over it at 0, 0. Empty when that artwork is
// missing or cannot be read. A missing or unreadable preview face ends it with the load's Error.
std::optional<PngImage> FacialHairPreview(const std::filesystem::path& programFolder,
                                          std::string_view location);

// Get Preview on the uniforms page: the current team of TeamsTable.
std::optional<PngImage> GetUniformPreviewBtnClick(Session& session);

// The uniform that the portraits of team `teamId` get, drawn over the uniform preview face as a
// portrait draws it: the custom uniform when its file exists, otherwise the generic design in the
// team's colours with its logo (when the game's settings use logos). The window's Get Preview
// shows this, so that a team without a custom uniform never keeps another team's picture. Error
// when the game has no such team, for a missing preview face and for artwork that cannot be read.
PngImage TeamUniformPreview(Session& session, int teamId);
// Get Preview on the facial-hair page: the current style of FacialHairTable.
std::optional<PngImage> GetFacialHairPreviewBtnClick(Session& session);

}  // namespace likentor
