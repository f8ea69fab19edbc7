#include "app/session.h"

#include <system_error>

#include "app/game_load.h"
#include "app/loaded_game.h"
#include "app/pack_work.h"
#include "app/setup.h"
#include "app/universal_tables.h"
#include "app/write_command.h"
#include "shell/configuration.h"
#include "shell/folders.h"
#include "shell/platform.h"

namespace likentor {

NotSetUpError::NotSetUpError(const std::filesystem::path& workingFolder)
    : Error("Likentor is not set up in " + workingFolder.string() +
            ": configuration.ini is missing or of another version. Run \"likentor -C " +
            workingFolder.string() + " setup\" to set it up.") {}

std::string OtherVersionQuestion(const std::filesystem::path& workingFolder) {
  return "The configuration in " + workingFolder.string() +
         " is of another version of Likentor. Run the setup again? The shared tables are made "
         "anew.";
}

SessionPlaces StartingPlaces(const std::filesystem::path& workingFolder, bool folderGiven,
                             const std::filesystem::path& executableFolder) {
  SessionPlaces places{workingFolder, ShippedFilesFolder(executableFolder)};
  if (!RunsInstalled(executableFolder)) return places;
  places.userDataFolder = UserDataFolder();
  const std::filesystem::path config = UserConfigFolder();
  if (!folderGiven && !config.empty() && IsFirstUse(workingFolder)) {
    places.workingFolder = config;
    places.inUserConfigFolder = true;
    std::error_code ec;
    std::filesystem::create_directories(places.workingFolder, ec);
  }
  return places;
}

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

void Session::SetCaption(std::string caption) {
  if (caption == window_.caption) return;
  window_.caption = std::move(caption);
  if (stateListener_) stateListener_(StateChange::Caption, window_);
}

void Session::SetStatusText(std::string text) {
  if (text == window_.statusText) return;
  window_.statusText = std::move(text);
  if (stateListener_) stateListener_(StateChange::Status, window_);
}

void Session::SetTeams(std::vector<TeamItem> teams) {
  if (teams == window_.teams) return;
  window_.teams = std::move(teams);
  if (stateListener_) stateListener_(StateChange::Teams, window_);
}

void Session::ShowPage(int page) {
  if (page == window_.page) return;
  window_.page = page;
  if (stateListener_) stateListener_(StateChange::Page, window_);
}

std::string Session::BusyWith() const {
  std::lock_guard lock(busyMutex_);
  return busyWith_;
}

void Session::SetBusyListener(BusyListener listener) {
  std::lock_guard lock(busyMutex_);
  busyListener_ = std::move(listener);
}

void Session::BeginWrite(std::string_view name) {
  BusyListener listener;
  {
    std::lock_guard lock(busyMutex_);
    if (busyDepth_ > 0) {
      if (busyThread_ != std::this_thread::get_id()) throw BusyError(busyWith_);
      ++busyDepth_;
      return;
    }
    busyDepth_ = 1;
    busyThread_ = std::this_thread::get_id();
    busyWith_ = std::string(name);
    listener = busyListener_;
  }
  if (listener) listener(std::string(name));
}

void Session::EndWrite() {
  BusyListener listener;
  {
    std::lock_guard lock(busyMutex_);
    if (--busyDepth_ > 0) return;
    busyWith_.clear();
    busyThread_ = {};
    listener = busyListener_;
  }
  if (listener) listener({});
}

void Session::SetProgramFolder(std::filesystem::path folder) {
  if (folder == programFolder_ && database_) return;
  if (folder != programFolder_) programLock_.reset();  // the lock is the folder's
  programFolder_ = std::move(folder);
  log_.SetProgramFolder(programFolder_);
  database_.reset();
}

Database& Session::Data() {
  if (!database_) database_ = std::make_unique<Database>(DataFolder(programFolder_), access_);
  return *database_;
}

void Session::SetAccess(Access access) {
  if (access == access_) return;
  access_ = access;
  database_.reset();
}

void Session::TakeProgramLock() {
  if (!programLock_) programLock_ = std::make_unique<ProgramLock>(programFolder_);
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
  const bool firstUse = IsFirstUse(places_.workingFolder);
  if (firstUse || !ReadCfgFile()) {
    if (whenMissing == Missing::Fail) throw NotSetUpError(places_.workingFolder);
    // The setup makes the shared tables anew, edited weights and every game's settings with them:
    // over a configuration of another version it runs only when the user says so.
    if (!firstUse && !prompts_.Confirm(OtherVersionQuestion(places_.workingFolder))) {
      throw StartupDeclined();
    }
    RunSetup(*this);
  }
  if (access_ == Access::ReadWrite) {
    TakeProgramLock();
    RebuildMissingTables(*this);
  }
  ActivateUniversalTables(*this);
  // An install or uninstall of an art pack that was stopped (the program killed) is finished
  // before anything else writes, so that catalogue rows and files agree again.
  if (access_ == Access::ReadWrite) FinishStoppedPackWork(*this);
  errorsBox_ = log_.ShowErrors();
}

void Session::Shutdown() {
  if (!loadedGameName_.empty()) CloseGame(*this);
  DeActivateUniversalTables(*this);
}

}  // namespace likentor
