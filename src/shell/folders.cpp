#include "shell/folders.h"

#include <string>
#include <system_error>

#include "shell/platform.h"

// Where an install puts the program's read-only files, relative to its executable's folder: the
// build works it out from the install folders it was configured with.
#ifndef LIKENTOR_SHIPPED_FROM_BIN
#define LIKENTOR_SHIPPED_FROM_BIN "../share/likentor"
#endif

namespace likentor {

std::filesystem::path DataFolder(const std::filesystem::path& programFolder) {
  return programFolder / "data";
}

std::filesystem::path SavedGamesFolder(const std::filesystem::path& gameFolder) {
  return gameFolder / "data" / "saved_games";
}

std::filesystem::path SavedGameFolder(const std::filesystem::path& gameFolder,
                                      std::string_view gameName) {
  return SavedGamesFolder(gameFolder) / (std::string(gameName) + ".lg");
}

std::filesystem::path ImportExportFolder(const std::filesystem::path& savedGameFolder) {
  return savedGameFolder / "import_export";
}

std::filesystem::path PicturesFolder(const std::filesystem::path& savedGameFolder) {
  return savedGameFolder / "news" / "html" / "images";
}

std::filesystem::path DefaultGameFolder() {
  return HomeFolder() / ".wine" / "drive_c" / "Program Files" / "Pellworth" / "Vask Baseball 2006";
}

std::filesystem::path ShippedFilesFolder(const std::filesystem::path& executableFolder) {
  std::error_code ec;
  if (std::filesystem::is_directory(DataFolder(executableFolder), ec)) return executableFolder;
  const std::filesystem::path installed =
      (executableFolder / std::filesystem::path(LIKENTOR_SHIPPED_FROM_BIN)).lexically_normal();
  if (std::filesystem::is_directory(DataFolder(installed), ec)) return installed;
  return executableFolder;
}

bool RunsInstalled(const std::filesystem::path& executableFolder) {
  return ShippedFilesFolder(executableFolder) != executableFolder ||
         !CanWriteFolder(executableFolder);
}

}  // namespace likentor
