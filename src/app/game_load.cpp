#include "app/game_load.h"

#include <algorithm>
#include <system_error>
#include <vector>

#include "app/aging.h"
#include "app/loaded_game.h"
#include "app/navigation.h"
#include "app/player_looks.h"
#include "app/session.h"
#include "app/universal_tables.h"
#include "app/write_command.h"
#include "database/games_table.h"
#include "database/text_file.h"
#include "import/career_tables.h"
#include "import/game_tables.h"
#include "import/leagues_table.h"
#include "import/load_stamp.h"
#include "import/players_table.h"
#include "import/teams_table.h"
#include "portrait/appearance.h"
#include "shell/folders.h"

namespace likentor {

namespace {

constexpr std::string_view kSavedGameSuffix = ".lg";

// A path compared by what it names: symbolic links, "." and ".." resolved, no trailing separator.
std::filesystem::path Resolved(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
  if (ec) resolved = path.lexically_normal();
  if (resolved.filename().empty() && resolved.has_parent_path() &&
      resolved != resolved.root_path()) {
    resolved = resolved.parent_path();
  }
  return resolved;
}

// Makes a per-game table that is missing, or whose file is not a readable table (a creation cut
// short, an emptied file): its rows come from the exports, by the import that follows. The error
// log says which table was made again and why. True when the table was not there before.
template <typename Create>
bool PrepareGameTable(Database& db, ErrorLog& log, const std::string& table, Create create) {
  if (db.TableExists(table)) {
    try {
      db.ShareConnection(table);
      return false;
    } catch (const DamagedTableError& e) {
      log.ReportError("The table " + table + " was not a readable table (" + e.what() +
                      "); it was made again from the saved game's exports.");
    }
    create();
    return false;
  }
  create();
  return true;
}

// Where each step of a load starts on the progress bar; the players import runs on to 100.
constexpr int kLeaguesAt = 0;
constexpr int kTeamsAt = 2;
constexpr int kBattingAt = 5;
constexpr int kPitchingAt = 20;
constexpr int kPlayersAt = 35;
constexpr int kLoadedAt = 100;

// The steps of one load, as the progress bar shows them, and the cancel request they look at.
// Each step imports one table; a step that fails or is stopped leaves its table as it was, and
// the steps finished before it leave theirs whole.
class LoadSteps {
 public:
  LoadSteps(Session& session, std::string name)
      : session_(session), name_(std::move(name)), status_("Loading " + name_ + ".lg...") {}

  const std::string& Status() const { return status_; }

  // A step on `table` begins: the load stops here when a cancel was asked, else the bar moves.
  void Begin(const std::string& table, int position) {
    StopWhenAsked();
    table_ = table;
    madeNew_ = false;
    session_.Progress().Report(status_, true, position);
  }
  // The step's table was made by this load: a step that does not finish removes it again.
  void MadeNew(bool made) { madeNew_ = made; }
  void Done() {
    finished_.push_back(table_);
    table_.clear();
  }

  // What the step's import is told every few hundred records: the import stops when a cancel was
  // asked.
  RowsRead Watch() {
    return [this](std::size_t) { StopWhenAsked(); };
  }
  // The same, and the bar moves from `from` to `to` as the `total` records are read.
  RowsRead Rows(int from, int to, std::size_t total) {
    return [this, from, to, total](std::size_t read) {
      StopWhenAsked();
      const std::size_t span = static_cast<std::size_t>(to - from);
      const std::size_t moved = total == 0 ? 0 : span * std::min(read, total) / total;
      session_.Progress().Report(status_, true, from + static_cast<int>(moved));
    };
  }

  // The load went through: the bar is hidden and the run ends.
  void End() {
    session_.Progress().Report(session_.Window().statusText, false, 0);
    session_.Progress().EndRun();
  }

  // The load failed or was stopped: no game stays loaded, a table this load made for the step
  // that did not finish is removed, the bar is hidden and the run ends. Never throws: the failure
  // on its way is what the caller hears of.
  void Fail() {
    try {
      CloseGame(session_);
      if (madeNew_ && !table_.empty()) session_.Data().DeleteTable(table_);
    } catch (...) {
      // The game is closed as far as it went; the failure itself is reported.
    }
    try {
      End();
    } catch (...) {
      // As above.
    }
  }

 private:
  void StopWhenAsked() {
    if (!session_.Progress().CancelRequested()) return;
    std::string message = "Loading " + name_ + ".lg was stopped: no game is loaded";
    if (finished_.empty()) {
      message += " and no table was changed.";
    } else {
      message += ". The tables it finished importing (";
      for (std::size_t i = 0; i < finished_.size(); ++i) {
        message += (i > 0 ? ", " : "") + finished_[i];
      }
      message += ") hold the new rows; the others are as they were before the load.";
    }
    throw LoadStoppedError(message);
  }

  Session& session_;
  std::string name_;
  std::string status_;
  std::string table_;  // the table of the step going on ("" between steps)
  bool madeNew_ = false;
  std::vector<std::string> finished_;
};

// The imports of a load, step by step, and the settings row and team box of the loaded game.
void ImportSavedGame(Session& session, const std::string& name, LoadSteps& steps) {
  LoadedGame& game = session.Game();
  Database& db = session.Data();
  ErrorLog& log = session.Log();
  game.Saved = ResolveSavedGame(session.GameFolder(), name);
  const SavedGame& saved = game.Saved;
  const int errorsBefore = log.Reported();
  // The exports as this load finds them, before it reads them; the last load's stamp no longer
  // holds while the tables change under it.
  const LoadStamp stamp = StampExports(saved);
  try {
    ClearLoadStamp(db, saved);
  } catch (const Error&) {
    // A players file that cannot be written keeps its stamp; the import's own writes to it fail
    // and are reported, and this load writes no stamp.
  }

  steps.Begin(saved.leaguesTable, kLeaguesAt);
  steps.MadeNew(
      PrepareGameTable(db, log, saved.leaguesTable, [&] { CreateLeaguesTable(db, saved); }));
  UpdateLeaguesTable(db, log, saved, game.LeaguesTable);
  steps.Done();

  steps.Begin(saved.teamsTable, kTeamsAt);
  steps.MadeNew(PrepareGameTable(db, log, saved.teamsTable, [&] { CreateTeamsTable(db, saved); }));
  UpdateTeamsTable(db, log, session.ProgramFolder(), saved, game.TeamsTable);
  steps.Done();

  // Made anew on every load, after the teams: their filter looks each line's team up.
  steps.Begin(saved.battingTable, kBattingAt);
  const CareerSums batting = CreateBattingTable(db, log, saved, game.TeamsTable, steps.Watch());
  steps.Done();
  steps.Begin(saved.pitchingTable, kPitchingAt);
  const CareerSums pitching = CreatePitchingTable(db, log, saved, game.TeamsTable, steps.Watch());
  steps.Done();

  steps.Begin(saved.playersTable, kPlayersAt);
  // The records of the export, less its heading, for the bar.
  const std::size_t lines = CountLines(saved.Export(kPlayersExport));
  steps.MadeNew(
      PrepareGameTable(db, log, saved.playersTable, [&] { CreatePlayersTable(db, saved); }));
  AddMissingPlayersFields(db, saved);
  UniversalTables& shared = session.Universal();
  AppearanceDraws looks(session.Random(), {shared.NationsTable, shared.AfricanFacesTable,
                                           shared.AsianFacesTable, shared.CaucasianFacesTable,
                                           shared.EastIndianFacesTable, shared.FacialHairTable});
  {
    // The stamp goes in with the players rows, in one transaction: written only by a load that
    // got this far without a refused row, and undone with the rows when the import fails.
    TableTransaction withStamp(db, saved.playersTable, TableTransaction::Unfinished::RollBack);
    UpdatePlayersTable(db, log, saved, batting, pitching, looks, SpreadFacesSetting(session, name),
                       steps.Rows(kPlayersAt, kLoadedAt, lines > 0 ? lines - 1 : 0),
                       PlayersAgeSetting(session, name));
    if (log.Reported() == errorsBefore) WriteLoadStamp(db, saved, stamp);
    withStamp.Commit();
  }
  steps.Done();
  session.Progress().Report(steps.Status(), true, kLoadedAt);

  CheckGamesTable(shared.GamesTable, log, name);
  PopulateTeamBox(session);
}

}  // namespace

std::string SavedGameNameOf(const std::filesystem::path& savedGamesFolder,
                            const std::filesystem::path& chosen) {
  // The name is the chosen folder's own, as the chooser spells it; only the folder that holds it
  // is resolved. Resolving the saved game's folder itself would follow a symbolic link and take the
  // name and place of its target, refusing a saved game linked into the saved-games folder.
  std::filesystem::path folder = chosen.lexically_normal();
  if (!folder.has_filename() && folder.has_parent_path() && folder != folder.root_path()) {
    folder = folder.parent_path();
  }
  const std::string folderName = folder.filename().string();
  if (Resolved(folder.parent_path()) != Resolved(savedGamesFolder)) {
    throw Error("The folder " + chosen.string() +
                " is not a saved game: a saved game is a folder " + "in " +
                savedGamesFolder.string() + ".");
  }
  if (folderName.size() <= kSavedGameSuffix.size() || !folderName.ends_with(kSavedGameSuffix)) {
    throw Error("The folder " + chosen.string() +
                " is not a saved game: the name of a saved game's folder ends in \".lg\".");
  }
  return folderName.substr(0, folderName.size() - kSavedGameSuffix.size());
}

void LoadGame1Click(Session& session) {
  const WriteCommand writing(session, kLoadCommand);
  const std::filesystem::path savedGames = SavedGamesFolder(session.GameFolder());
  const std::filesystem::path chosen =
      session.UserPrompts().ChooseFolder(kSelectGameFolder, savedGames);
  // Until a saved game is chosen and accepted, the loaded game stays as it is.
  if (chosen.empty()) return;
  const std::string name = SavedGameNameOf(savedGames, chosen);
  if (!session.LoadedGameName().empty()) CloseGame(session);
  session.ShowPage(kDashboardPage);
  session.SetLoadedGameName(name);
  LoadSavedGame(session, name);
}

namespace {

// Closes the loaded game and checks that `name` is a saved game's folder.
void PrepareLoad(Session& session, std::string_view name) {
  if (!session.LoadedGameName().empty()) CloseGame(session);
  session.ShowPage(kDashboardPage);
  const std::filesystem::path savedGames = SavedGamesFolder(session.GameFolder());
  const std::filesystem::path folder = SavedGameFolder(session.GameFolder(), name);
  const std::string noSuchGame = "There is no saved game named \"" + std::string(name) + "\": ";
  if (name.find('/') != std::string_view::npos) {
    // A name is never a path: one that leads elsewhere is refused for that, whatever is there.
    const std::filesystem::path normal = folder.lexically_normal();
    const std::filesystem::path inside = normal.lexically_relative(savedGames.lexically_normal());
    if (inside.empty() || *inside.begin() == "..") {
      throw Error(noSuchGame + normal.string() + " is outside the saved-games folder " +
                  savedGames.string() + "; a saved game is a folder in it.");
    }
    throw Error(noSuchGame + "a saved game is a folder directly in the saved-games folder " +
                savedGames.string() + ", and its name holds no \"/\".");
  }
  std::error_code ec;
  if (name.empty() || !std::filesystem::is_directory(folder, ec)) {
    throw Error(noSuchGame + folder.string() + " is not a folder.");
  }
}

}  // namespace

namespace {

// Opens the tables of the saved game as its last complete load left them, when every export is
// as that load read it; false (nothing opened) otherwise.
bool UseLastLoad(Session& session, const std::string& name) {
  Database& db = session.Data();
  SavedGame saved = ResolveSavedGame(session.GameFolder(), name);
  for (const std::string* table : {&saved.leaguesTable, &saved.teamsTable, &saved.battingTable,
                                   &saved.pitchingTable, &saved.playersTable}) {
    if (!db.TableExists(*table)) return false;
  }
  if (!ExportsUnchanged(db, saved)) return false;
  // The setting that players age may have changed since that load: the players whose portraits
  // show another age step than it now gives are due, as a load would flag them.
  FlagAgedPlayers(db, saved, PlayersAgeSetting(session, name));
  LoadedGame& game = session.Game();
  try {
    game.LeaguesTable.Open(db, saved.leaguesTable);
    game.TeamsTable.Open(db, saved.teamsTable);
  } catch (const DamagedTableError&) {
    CloseGameData(session);
    return false;
  }
  game.Saved = std::move(saved);
  session.SetLoadedGameName(name);
  // As a load leaves them: the game's settings row and the team box.
  CheckGamesTable(session.Universal().GamesTable, session.Log(), name);
  PopulateTeamBox(session);
  session.SetStatusText(name + ".lg loaded.");
  session.SetCaption(std::string(kLoadedCaptionPrefix) + name);
  return true;
}

}  // namespace

void LoadGame(Session& session, std::string_view name, Reload reload) {
  const WriteCommand writing(session, kLoadCommand);
  PrepareLoad(session, name);
  const std::string game(name);
  if (reload == Reload::WhenChanged && UseLastLoad(session, game)) {
    session.UserPrompts().ShowMessage(game + ".lg unchanged since the last load.");
    return;
  }
  session.SetLoadedGameName(game);
  LoadSavedGame(session, game);
}

void OpenLoadedGame(Session& session, std::string_view name) {
  PrepareLoad(session, name);
  LoadedGame& game = session.Game();
  Database& db = session.Data();
  SavedGame saved = ResolveSavedGame(session.GameFolder(), std::string(name));
  for (const std::string* table : {&saved.leaguesTable, &saved.teamsTable, &saved.playersTable}) {
    if (!db.TableExists(*table)) {
      throw Error("The saved game \"" + std::string(name) + "\" has not been loaded yet: " +
                  (db.Folder() / *table).string() + " is missing.");
    }
  }
  game.Saved = std::move(saved);
  session.SetLoadedGameName(std::string(name));
  game.LeaguesTable.Open(db, game.Saved.leaguesTable);
  game.TeamsTable.Open(db, game.Saved.teamsTable);
  PopulateTeamBox(session);
  session.SetStatusText(std::string(name) + ".lg loaded.");
  session.SetCaption(std::string(kLoadedCaptionPrefix) + std::string(name));
}

void LoadSavedGame(Session& session, const std::string& name) {
  const WriteCommand writing(session, kLoadCommand);
  ErrorLog& log = session.Log();
  const int errorsBefore = log.Reported();
  const int unwrittenBefore = log.Unwritten();
  LoadSteps steps(session, name);
  session.SetStatusText(steps.Status());
  try {
    ImportSavedGame(session, name, steps);
  } catch (...) {
    steps.Fail();
    throw;
  }
  session.SetStatusText(name + ".lg loaded.");
  session.SetCaption(std::string(kLoadedCaptionPrefix) + name);
  steps.End();
  // Rows refused on the way are no success: the count goes out as an error, the rows to the log.
  if (const int errors = log.Reported() - errorsBefore; errors > 0) {
    session.UserPrompts().ShowError(
        session.LoadedGameName() + ".lg loaded with " +
        ErrorsToSee(log.File(), errors, log.Unwritten() - unwrittenBefore));
  } else {
    session.UserPrompts().ShowMessage(session.LoadedGameName() + ".lg loaded successfully.");
  }
}

void CloseGame1Click(Session& session) {
  const WriteCommand writing(session, kCloseCommand);
  CloseGame(session);
  session.ShowPage(kDashboardPage);
}

void CloseGame(Session& session) {
  DePopulateTeamBox(session);
  CloseGameData(session);
  session.SetLoadedGameName("");
  session.Game().Saved = SavedGame{};
  session.SetCaption(std::string(kIdleCaption));
  session.SetStatusText(std::string(kNoGameLoaded));
}

void CloseGameData(Session& session) {
  LoadedGame& game = session.Game();
  game.LeaguesTable.Close();
  game.TeamsTable.Close();
  game.PlayersQuery.Close();
}

void PopulateTeamBox(Session& session) {
  Table& teams = session.Game().TeamsTable;
  std::vector<TeamItem> items;
  for (teams.First(); !teams.Eof(); teams.Next()) {
    items.push_back(
        {teams.GetInt("team_id"), teams.GetText("team_name") + " " + teams.GetText("nickname")});
  }
  session.SetTeams(std::move(items));
}

void DePopulateTeamBox(Session& session) {
  session.SetTeams({});
}

}  // namespace likentor
