#pragma once

// Where things are, relative to the program folder and the game folder.

#include <filesystem>
#include <string_view>

namespace likentor {

// The program folder's data/: every table file, shared and per game.
std::filesystem::path DataFolder(const std::filesystem::path& programFolder);
// The game's folder of saved games, data/saved_games.
std::filesystem::path SavedGamesFolder(const std::filesystem::path& gameFolder);
// A saved game's folder: data/saved_games/<name>.lg.
std::filesystem::path SavedGameFolder(const std::filesystem::path& gameFolder,
                                      std::string_view gameName);
// A saved game's exports (import_export) and its picture folder (news/html/images).
std::filesystem::path ImportExportFolder(const std::filesystem::path& savedGameFolder);
std::filesystem::path PicturesFolder(const std::filesystem::path& savedGameFolder);

// Where a cancelled folder prompt leaves the game folder on this system: the game's place in the
// default Wine prefix, $HOME/.wine/drive_c/Program Files/Pellworth/Vask Baseball 2006.
std::filesystem::path DefaultGameFolder();

// The program's own folder of shipped read-only files (data/, graphics/), found from its
// executable's folder: that folder itself when it holds data/ (a program folder, as the build
// writes one), else the install's share/likentor beside bin/ when that holds data/, else the
// executable's folder all the same.
std::filesystem::path ShippedFilesFolder(const std::filesystem::path& executableFolder);

// True when the program runs installed: its shipped files are not beside the executable, or the
// executable's folder may not be written (an install under /usr). It then keeps the user's files
// in the user's own folders (platform.h) and never writes below its install.
bool RunsInstalled(const std::filesystem::path& executableFolder);

}  // namespace likentor
