#pragma once

// The window's own pictures from the artwork kit (the program icon, the about box's logo, the
// dashboard's background): looked for in the program folder's kit, then in the kit beside the
// executable, so that a program folder not yet set up still shows its window dressed.

#include <filesystem>

// The pictures' names in the kit (ProgramIconPicture, kAboutLogoJpeg, ...).
#include "portrait/artwork_paths.h"

namespace likentor {

class Session;

// The first of `relative` under the program folder's kit and the executable folder's kit that
// exists; empty when neither does.
std::filesystem::path ArtworkFile(const Session& session, const std::filesystem::path& relative);

}  // namespace likentor
