// The saved-game name taken from a folder chosen in Load Game, on real folders and links.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/game_load.h"
#include "shell/error.h"
#include "shell/folders.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

namespace fs = std::filesystem;

TEST(SavedGameName, ALinkedSavedGameKeepsTheNameItHasInTheSavedGamesFolder) {
  test::TempFolder folder;
  const fs::path savedGames = SavedGamesFolder(folder / "game");
  fs::create_directories(savedGames / "plain.lg");
  // A saved game kept on another disk and linked into the saved-games folder under its own name.
  fs::create_directories(folder / "elsewhere" / "archive");
  fs::create_directory_symlink(folder / "elsewhere" / "archive", savedGames / "linked.lg");
  // The game folder itself reached through a link.
  fs::create_directory_symlink(folder / "game", folder / "game-link");

  EXPECT_EQ(SavedGameNameOf(savedGames, savedGames / "plain.lg"), "plain");
  EXPECT_EQ(SavedGameNameOf(savedGames, savedGames / "linked.lg"), "linked");
  EXPECT_EQ(SavedGameNameOf(savedGames, savedGames / "linked.lg" / ""), "linked");
  EXPECT_EQ(SavedGameNameOf(savedGames, SavedGamesFolder(folder / "game-link") / "plain.lg"),
            "plain");
  // The link's target is not in the saved-games folder, nor is its name a saved game's.
  EXPECT_THROW(SavedGameNameOf(savedGames, folder / "elsewhere" / "archive"), Error);
  // ".." leaves the saved game: the saved-games folder itself is not one.
  EXPECT_THROW(SavedGameNameOf(savedGames, savedGames / "plain.lg" / ".."), Error);
}

}  // namespace
}  // namespace likentor
