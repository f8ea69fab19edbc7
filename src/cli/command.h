#pragma once

// One subcommand of the command line: it declares its options on its own CLI11 subcommand and runs
// with injected output streams, so tests run it in-process. Exit status: 0 success, 1 an operation
// failed (message on the error stream), 2 usage errors and "not set up", 130 a run stopped by
// Ctrl-C.

#include <filesystem>
#include <memory>
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
struct CliSession {
  explicit CliSession(CommandContext& context, Access access = Access::ReadWrite);
  // `status`, or 1 when an error was shown on the way (a load that logged refused rows, say).
  int ExitStatus(int status = kExitOk) const;
  CliPrompts prompts;
  Session session;
};

// The --reload flag of a command that loads the saved game it names: without it the command uses
// the tables of the last complete load when no export changed since.
void AddReloadFlag(CLI::App& subcommand, bool& reload);
inline Reload ReloadWhen(bool reload) {
  return reload ? Reload::Always : Reload::WhenChanged;
}

// Every command of the command line, in the order the usage lists them.
std::vector<std::unique_ptr<Command>> MakeCommands();

// Parses the arguments and runs the chosen command: the whole command line, minus the process.
int RunCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                   const std::filesystem::path& executableFolder);

}  // namespace likentor
