#include "app/session.h"

#include "app/game_load.h"
#include "app/loaded_game.h"
#include "app/setup.h"
#include "app/universal_tables.h"
#include "shell/configuration.h"
#include "shell/folders.h"

namespace likentor {

NotSetUpError::NotSetUpError(const std::filesystem::path& workingFolder)
    : Error("Likentor is not set up in " + workingFolder.string() +
            ": configuration.ini is missing or of another version. Run \"likentor -C " +
            workingFolder.string() + " setup\" to set it up.") {}

Session::Session(Prompts& prompts, SessionPlaces places)
    : prompts_(prompts),
      places_(std::move(places)),
      universal_(std::make_unique<UniversalTables>()),
      game_(std::make_unique<LoadedGame>()) {}

Session::Session(Prompts& prompts, SessionPlaces places, RandomGenerator::Clock clock)
    : prompts_(prompts),
      places_(std::move(places)),
      random_(std::move(clock)),
      universal_(std::make_unique<UniversalTables>()),
      game_(std::make_unique<LoadedGame>()) {}

Session::~Session() = default;

void Session::SetProgramFolder(std::filesystem::path folder) {
  if (folder == programFolder_ && database_) return;
  programFolder_ = std::move(folder);
  log_.SetProgramFolder(programFolder_);
  database_.reset();
}

Database& Session::Data() {
  if (!database_) database_ = std::make_unique<Database>(DataFolder(programFolder_));
  return *database_;
}

bool Session::ReadCfgFile() {
  const auto configuration = ReadConfiguration(places_.workingFolder);
  if (!configuration) return false;
  SetProgramFolder(configuration->programFolder);
  SetGameFolder(configuration->gameFolder);
  return true;
}

void Session::Startup(Missing whenMissing) {
  loadedGameName_.clear();
  // A configuration of another version counts as none: the setup runs again.
  if (IsFirstUse(places_.workingFolder) || !ReadCfgFile()) {
    if (whenMissing == Missing::Fail) throw NotSetUpError(places_.workingFolder);
    RunSetup(*this);
  }
  RebuildMissingTables(*this);
  ActivateUniversalTables(*this);
  errorsBox_ = log_.ShowErrors();
}

void Session::Shutdown() {
  if (!loadedGameName_.empty()) CloseGame(*this);
  DeActivateUniversalTables(*this);
}

}  // namespace likentor
