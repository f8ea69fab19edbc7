#pragma once

// One subcommand of the command line: it declares its options on its own CLI11 subcommand and runs
// with injected output streams, so tests run it in-process. Exit status: 0 success, 1 an operation
// failed (message on the error stream), 2 usage errors and "not set up", 130 a run stopped by
// Ctrl-C.

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "app/game_load.h"
#include "app/session.h"
#include "cli/cli_prompts.h"

namespace likentor {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
// A run stopped by Ctrl-C: 128 + SIGINT, as the shell reports an interrupted program.
inline constexpr int kExitInterrupted = 130;

struct CommandContext {
  std::ostream& out;
  std::ostream& err;
  SessionPlaces places;  // the working folder (-C) and the executable's folder

  // Makes a folder given on the command line absolute, as if the program ran in the working folder.
  std::filesystem::path Absolute(const std::filesystem::path& path) const;
};

class Command {
 public:
  virtual ~Command() = default;
  virtual std::string Name() const = 0;
  virtual std::string Description() const = 0;
  // Declares the command's options on its subcommand; the values land in the command's members.
  virtual void Configure(CLI::App& subcommand) = 0;
  // Runs after parsing. Errors thrown here are turned into exit codes by the caller.
  virtual int Execute(CommandContext& context) = 0;
};

// A session on the working folder's configuration, its prompts answered on the command line.
// Throws NotSetUpError when the folder is not set up. A session that writes holds the program
// folder's lock while it lives (Error when another copy keeps it); one that only reads opens the
// tables read-only and takes no lock.
// The session is shut down however the command ends: Finish does it when the command has run (a
// failure to close then fails the command), and the destructor when an error ends it early.
struct CliSession {
  explicit CliSession(CommandContext& context, Access access = Access::ReadWrite);
  ~CliSession();
  CliSession(const CliSession&) = delete;
  CliSession& operator=(const CliSession&) = delete;
  // `status`, or 1 when an error was shown on the way (a load that logged refused rows, say).
  int ExitStatus(int status = kExitOk) const;
  // Shuts the session down, then gives ExitStatus(status).
  int Finish(int status = kExitOk);
  // Shuts the session down (once).
  void ShutDown();
  CliPrompts prompts;
  Session session;

 private:
  bool shutDown_ = false;
};

// The --reload flag of a command that loads the saved game it names: without it the command uses
// the tables of the last complete load when no export changed since.
void AddReloadFlag(CLI::App& subcommand, bool& reload);
inline Reload ReloadWhen(bool reload) {
  return reload ? Reload::Always : Reload::WhenChanged;
}

// A command on one saved game: "likentor COMMAND NAME ...". It declares NAME (and --reload, unless
// the command never loads), opens a session, loads the game NAME (or takes its last load when no
// export changed since, unless --reload) and runs; the session is shut down however the command
// ends. A command that opens the game otherwise (as the last load left it, or only reading)
// overrides SessionAccess and OpenGame.
class GameCommand : public Command {
 public:
  void Configure(CLI::App& subcommand) final;
  int Execute(CommandContext& context) final;

 protected:
  enum class ReloadFlag { Declared, None };
  explicit GameCommand(ReloadFlag reloadFlag = ReloadFlag::Declared) : reloadFlag_(reloadFlag) {}

  // The command's own options, declared after NAME and --reload.
  virtual void ConfigureOptions(CLI::App& /*subcommand*/) {}
  // Runs before the session opens (to refuse options without touching anything, say): a status
  // ends the command with it.
  virtual std::optional<int> BeforeSession(CommandContext& /*context*/) { return std::nullopt; }
  virtual Access SessionAccess() const { return Access::ReadWrite; }
  // Makes the game NAME the loaded one: LoadGame, taking the last load when --reload is not given.
  virtual void OpenGame(CommandContext& context, Session& session);
  // The command's work on the loaded game; its status goes through CliSession::Finish.
  virtual int Run(CommandContext& context, CliSession& cli) = 0;

  const std::string& GameName() const { return name_; }
  Reload ReloadMode() const { return ReloadWhen(reload_); }

 private:
  ReloadFlag reloadFlag_;
  std::string name_;
  bool reload_ = false;
};

// Every command of the command line, in the order the usage lists them.
std::vector<std::unique_ptr<Command>> MakeCommands();

// Parses the arguments and runs the chosen command: the whole command line, minus the process.
int RunCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                   const std::filesystem::path& executableFolder);

}  // namespace likentor
