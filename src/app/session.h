#pragma once

// The session: what the main window owns for the whole run. The folders, the loaded game's name,
// the prompts, the shared random generator, the error log and the program's database live here
// instead of in process-wide variables, so that tests can make as many sessions as they like.
//
// User commands are free functions taking a Session& (setup.h, game_load.h, batch_runs.h,
// photo_locks.h, ...), each in a file named after what it does.

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/run_progress.h"
#include "app/window_state.h"
#include "database/table_store.h"
#include "shell/error.h"
#include "shell/error_log.h"
#include "shell/program_lock.h"
#include "shell/prompts.h"
#include "shell/random_generator.h"

namespace likentor {

struct UniversalTables;  // the open shared tables (universal_tables.h)
struct LoadedGame;       // the loaded game's tables and window state (loaded_game.h)

// Where the process runs: the folder it was started in (where configuration.ini is looked for) and
// the program's own folder (the program folder a cancelled setup prompt falls back to, and where
// the shipped data/ and graphics/ are): the executable's folder, or an install's share/likentor.
struct SessionPlaces {
  std::filesystem::path workingFolder;
  std::filesystem::path executableFolder;
  // Set when the program runs installed (RunsInstalled): the user's data folder, which the setup's
  // cancelled prompt falls back to instead, since nothing is written below an install.
  std::filesystem::path userDataFolder{};
  // The working folder is the user's config folder, taken because none was given and the current
  // one holds no configuration.ini: the setup leaves a copy of configuration.ini there too, where
  // the next start from anywhere finds it.
  bool inUserConfigFolder{};
};

// The places of a start in `workingFolder` (given with -C, or the current folder), the program's
// own folder found from `executableFolder` (ShippedFilesFolder). A program that runs installed
// starts, when no folder was given and the current one holds no configuration.ini, in the user's
// config folder (made when missing), and its setup defaults to the user's data folder; otherwise
// nothing changes.
SessionPlaces StartingPlaces(const std::filesystem::path& workingFolder, bool folderGiven,
                             const std::filesystem::path& executableFolder);

// The configuration is missing or of another version: the window runs the setup, the command line
// stops with exit status 2.
class NotSetUpError : public Error {
 public:
  explicit NotSetUpError(const std::filesystem::path& workingFolder);
};

// The question asked before the setup runs over a configuration of another version.
std::string OtherVersionQuestion(const std::filesystem::path& workingFolder);

// The user declined to run the setup again over a configuration of another version: the program
// ends without touching anything.
class StartupDeclined : public Error {
 public:
  StartupDeclined() : Error("The setup was not run; Likentor ends.") {}
};

class Session {
 public:
  Session(Prompts& prompts, SessionPlaces places);
  Session(Prompts& prompts, SessionPlaces places, RandomGenerator::Clock clock);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // How Startup treats a missing or unreadable configuration.
  enum class Missing { RunSetup, Fail };

  // The start-up sequence: clear LoadedGameName; run the setup (Missing::RunSetup) or throw
  // NotSetUpError (Missing::Fail) when there is no usable configuration, otherwise read it (a
  // configuration of another version is set up again only after a confirmation, since the setup
  // makes every shared table anew; a cancel throws StartupDeclined); a session that writes takes
  // the program folder's lock for its life (ProgramLock: Error when another copy keeps it);
  // make missing shared tables again (only a session that writes); open the shared tables; load
  // the error log into ErrorsBox.
  void Startup(Missing whenMissing);
  // Closing: close the loaded game if any, then the shared tables.
  void Shutdown();

  // Reads configuration.ini from the working folder into the two folders. False when there is none
  // of this version (see Upgrade); the folders are then left as they were.
  bool ReadCfgFile();

  const std::filesystem::path& ProgramFolder() const { return programFolder_; }
  const std::filesystem::path& GameFolder() const { return gameFolder_; }
  const std::string& LoadedGameName() const { return loadedGameName_; }
  // Setting the program folder also moves the error log and the database to it, and lets the lock
  // of the previous folder go.
  void SetProgramFolder(std::filesystem::path folder);
  void SetGameFolder(std::filesystem::path folder) { gameFolder_ = std::move(folder); }
  void SetLoadedGameName(std::string name) { loadedGameName_ = std::move(name); }

  const SessionPlaces& Places() const { return places_; }
  Prompts& UserPrompts() { return prompts_; }
  RandomGenerator& Random() { return random_; }
  ErrorLog& Log() { return log_; }
  // The tables in ProgramFolder/data.
  Database& Data();
  // Whether this session writes (the default) or only reads: a reading session opens its tables
  // read-only, takes no lock and so runs beside a copy that writes and on a folder it may not
  // write. Set before Startup.
  void SetAccess(Access access);
  Access DataAccess() const { return access_; }
  // Takes the program folder's lock for the rest of the session's life, waiting as ProgramLock
  // does; Startup does it for a session that writes. Nothing when it is held already.
  void TakeProgramLock();
  UniversalTables& Universal() { return *universal_; }
  // The loaded game's open tables and queries, and what the window shows of it.
  LoadedGame& Game() { return *game_; }
  // The status text and progress bar of long runs, reported to the front end's listener.
  RunProgress& Progress() { return progress_; }

  // What the window shows; each change is told to the listener (window_state.h).
  const WindowState& Window() const { return window_; }
  void SetStateListener(StateListener listener) { stateListener_ = std::move(listener); }
  void SetCaption(std::string caption);
  void SetStatusText(std::string text);
  void SetTeams(std::vector<TeamItem> teams);
  void ShowPage(int page);
  // The error log's lines as loaded at the end of start-up (the window's log box).
  const std::vector<std::string>& ErrorsBox() const { return errorsBox_; }

  // The command that writes now (write_command.h), empty when none; any thread may ask.
  std::string BusyWith() const;
  // Told, on the thread of the command, when a command that writes starts (its name) and when it
  // has ended (empty). Set while nothing writes.
  using BusyListener = std::function<void(const std::string&)>;
  void SetBusyListener(BusyListener listener);

 private:
  friend class WriteCommand;
  void BeginWrite(std::string_view name);
  void EndWrite();

  Prompts& prompts_;
  SessionPlaces places_;
  RandomGenerator random_;
  ErrorLog log_;
  std::filesystem::path programFolder_;
  std::filesystem::path gameFolder_;
  std::string loadedGameName_;
  Access access_ = Access::ReadWrite;
  std::unique_ptr<ProgramLock> programLock_;
  std::unique_ptr<Database> database_;
  std::unique_ptr<UniversalTables> universal_;
  std::unique_ptr<LoadedGame> game_;
  RunProgress progress_;
  WindowState window_;
  StateListener stateListener_;
  std::vector<std::string> errorsBox_;
  mutable std::mutex busyMutex_;
  std::string busyWith_;
  std::thread::id busyThread_;
  int busyDepth_ = 0;
  BusyListener busyListener_;
};

}  // namespace likentor
