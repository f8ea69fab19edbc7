#include "shell/folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

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
  std::filesystem::path home;
  if (const char* env = std::getenv("HOME"); env != nullptr && *env != '\0') {
    home = env;
  } else if (const passwd* user = getpwuid(getuid()); user != nullptr) {
    home = user->pw_dir;
  }
  return home / ".wine" / "drive_c" / "Program Files" / "Pellworth" / "Vask Baseball 2006";
}

}  // namespace likentor
