#pragma once

#include <string>

#include "cli/command.h"

namespace likentor {

// likentor search NAME [--first F] [--last L] [--id N]: the "Player at a Time" search on the saved
// game NAME, loaded first as "load" does; prints the matching rows of the players table under a
// header of field names, or "No matches found.".
class SearchCommand : public Command {
 public:
  std::string Name() const override { return "search"; }
  std::string Description() const override;
  void Configure(CLI::App& subcommand) override;
  int Execute(CommandContext& context) override;

 private:
  std::string name_;
  bool reload_ = false;
  std::string first_;
  std::string last_;
  int id_ = 0;
};

}  // namespace likentor
