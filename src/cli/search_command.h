#pragma once

#include <memory>
#include <optional>
#include <string>

#include "cli/command.h"

namespace likentor {

// likentor search NAME [--first F] [--last L] [--id N]: the "Player at a Time" search on the saved
// game NAME, loaded first as "load" does; prints the matching rows of the players table under a
// header of field names, or "No matches found.".
class SearchCommand : public GameCommand {
 public:
  std::string Name() const override { return "search"; }
  std::string Description() const override;

 private:
  void ConfigureOptions(CLI::App& subcommand) override;
  std::optional<int> BeforeSession(CommandContext& context) override;
  Access SessionAccess() const override;
  void OpenGame(CommandContext& context, Session& session) override;
  int Run(CommandContext& context, CliSession& cli) override;
  std::string first_;
  std::string last_;
  int id_ = 0;
  // The program folder's lock when this copy could take it at once, held for the command's life;
  // otherwise why not.
  std::unique_ptr<ProgramLock> lock_;
  std::string whyNot_;
};

}  // namespace likentor
