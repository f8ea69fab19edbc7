#include "ui/artwork.h"

#include "app/artwork_files.h"
#include "app/session.h"

namespace likentor {

namespace {

QPixmap Load(const std::filesystem::path& file) {
  QPixmap picture;
  if (!file.empty()) picture.load(QString::fromStdString(file.string()));
  return picture;
}

}  // namespace

QIcon ProgramIcon(const Session& session) {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    const std::filesystem::path file = ArtworkFile(session, ProgramIconPicture(size));
    if (!file.empty()) icon.addFile(QString::fromStdString(file.string()), QSize(size, size));
  }
  return icon;
}

QPixmap AboutLogo(const Session& session) {
  // The JPEG first, as the kit names it for the about box; the PNG when no JPEG reader is there.
  QPixmap logo = Load(ArtworkFile(session, kAboutLogoJpeg));
  if (logo.isNull()) logo = Load(ArtworkFile(session, kAboutLogoPng));
  return logo;
}

QPixmap DashboardBackground(const Session& session) {
  return Load(ArtworkFile(session, kDashboardPicture));
}

}  // namespace likentor
