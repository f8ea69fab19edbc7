#pragma once

#include <optional>
#include <string>

#include "cli/command.h"

namespace likentor {

// likentor photos NAME [--scope 0..6] | --team TEAM_ID | --player PLAYER_ID [--force]: loads the
// saved game NAME as "load" does, then makes portraits: the universe run with a level scope, the
// team run for one team, or one player's portrait (a locked player only with --force). Prints the
// closing message; shows a progress bar on stderr when stderr is a terminal. Ctrl-C stops a run
// between portraits and keeps what it made. --dry-run tells what the universe or team run would
// do, from the tables as the last load left them, and writes nothing (--json: as JSON).
class PhotosCommand : public GameCommand {
 public:
  std::string Name() const override { return "photos"; }
  std::string Description() const override;

 private:
  void ConfigureOptions(CLI::App& subcommand) override;
  int Run(CommandContext& context, CliSession& cli) override;
  Access SessionAccess() const override;
  void OpenGame(CommandContext& context, Session& session) override;
  int DryRun(CommandContext& context, Session& session);

  int scope_ = 0;
  std::optional<int> team_;
  std::optional<int> player_;
  bool force_ = false;
  bool dryRun_ = false;
  bool json_ = false;
};

}  // namespace likentor
