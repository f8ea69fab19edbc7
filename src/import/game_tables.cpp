#include "import/game_tables.h"

#include "database/table_store.h"
#include "shell/folders.h"

namespace likentor {

std::string LeaguesTableName(std::string_view game) {
  return std::string(game) + "_leagues.db";
}

std::string TeamsTableName(std::string_view game) {
  return std::string(game) + "_teams.db";
}

std::string PlayersTableName(std::string_view game) {
  return std::string(game) + "_players.db";
}

std::string BattingTableName(std::string_view game) {
  return std::string(game) + "_batting.db";
}

std::string PitchingTableName(std::string_view game) {
  return std::string(game) + "_pitching.db";
}

std::string WorkingTableName(std::string_view table) {
  return std::string(table) + ".working";
}

std::filesystem::path SavedGame::Export(std::string_view file) const {
  return exportsFolder / std::string(file);
}

SavedGame ResolveSavedGame(const std::filesystem::path& gameFolder, std::string_view name) {
  SavedGame game;
  game.name = std::string(name);
  game.folder = SavedGameFolder(gameFolder, name);
  game.exportsFolder = ImportExportFolder(game.folder);
  game.picturesFolder = PicturesFolder(game.folder);
  game.leaguesTable = LeaguesTableName(name);
  game.teamsTable = TeamsTableName(name);
  game.playersTable = PlayersTableName(name);
  game.battingTable = BattingTableName(name);
  game.pitchingTable = PitchingTableName(name);
  return game;
}

void WriteTextIfChanged(Cursor& row, std::string_view field, std::string_view value) {
  if (row.GetText(field) != value) row.SetText(field, value);
}

void WriteIntIfChanged(Cursor& row, std::string_view field, int value) {
  if (row.IsNull(field) || row.GetInt(field) != value) row.SetInt(field, value);
}

}  // namespace likentor
