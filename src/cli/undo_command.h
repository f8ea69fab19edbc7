#pragma once

#include <optional>
#include <string>

#include "cli/command.h"

namespace likentor {

// likentor undo NAME: undoes the last photo run of the saved game NAME (a batch run or one
// player's photo) from its backup: the pictures it wrote over are put back, those it created are
// removed and the players' rows it changed are set back; pictures changed since the run are left
// alone and named. The game is not loaded again, so nothing else changes. --list shows the runs
// kept instead, damaged ones marked. Undo stops at a run whose manifest is damaged, naming it;
// --skip-damaged passes such runs over.
class UndoCommand : public GameCommand {
 public:
  UndoCommand() : GameCommand(ReloadFlag::None) {}
  std::string Name() const override { return "undo"; }
  std::string Description() const override;

 private:
  void ConfigureOptions(CLI::App& subcommand) override;
  Access SessionAccess() const override;
  void OpenGame(CommandContext& context, Session& session) override;
  int Run(CommandContext& context, CliSession& cli) override;
  bool list_ = false;
  bool skipDamaged_ = false;
};

// likentor backups [--keep N]: how many photo runs of each game are kept for undo (five unless
// set), and with --keep sets the number (0 turns the backups off; older runs beyond it go, which
// the command counts and does only with --yes).
class BackupsCommand : public Command {
 public:
  std::string Name() const override { return "backups"; }
  std::string Description() const override;
  void Configure(CLI::App& subcommand) override;
  int Execute(CommandContext& context) override;

 private:
  std::optional<int> keep_;
  bool yes_ = false;
};

}  // namespace likentor
