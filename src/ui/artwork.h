#pragma once

// The window's own pictures from the artwork kit: the program icon, the about box's logo and the
// dashboard's background. They are looked for in the program folder's graphics/, then beside the
// executable (a program folder not yet set up still shows its window dressed).

#include <QIcon>
#include <QPixmap>
#include <filesystem>

#include "app/artwork_files.h"  // ArtworkFile

namespace likentor {

class Session;

QIcon ProgramIcon(const Session& session);
// The 89 x 89 logo (null when the kit has none).
QPixmap AboutLogo(const Session& session);
// The dashboard's background picture (null when the kit has none).
QPixmap DashboardBackground(const Session& session);

}  // namespace likentor
