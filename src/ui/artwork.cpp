#include "ui/artwork.h"

#include <system_error>

#include "app/session.h"

namespace likentor {

namespace {

QPixmap Load(const std::filesystem::path& file) {
  QPixmap picture;
  if (!file.empty()) picture.load(QString::fromStdString(file.string()));
  return picture;
}

}  // namespace

std::filesystem::path ArtworkFile(const Session& session, const std::filesystem::path& relative) {
  for (const std::filesystem::path& folder :
       {session.ProgramFolder(), session.Places().executableFolder}) {
    if (folder.empty()) continue;
    const std::filesystem::path file = folder / "graphics" / relative;
    std::error_code ec;
    if (std::filesystem::is_regular_file(file, ec)) return file;
  }
  return {};
}

QIcon ProgramIcon(const Session& session) {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    const std::filesystem::path file = ArtworkFile(
        session, std::filesystem::path("icon") / ("likentor-" + std::to_string(size) + ".png"));
    if (!file.empty()) icon.addFile(QString::fromStdString(file.string()), QSize(size, size));
  }
  return icon;
}

QPixmap AboutLogo(const Session& session) {
  // The JPEG first, as the kit names it for the about box; the PNG when no JPEG reader is there.
  QPixmap logo = Load(ArtworkFile(session, "logo.jpg"));
  if (logo.isNull()) logo = Load(ArtworkFile(session, "logo.png"));
  return logo;
}

QPixmap DashboardBackground(const Session& session) {
  return Load(ArtworkFile(session, "dashboard.png"));
}

}  // namespace likentor
