#pragma once

#include <string>

#include "cli/command.h"

namespace likentor {

// likentor tables: the shared tables with their row counts.
class TablesCommand : public Command {
 public:
  std::string Name() const override { return "tables"; }
  std::string Description() const override {
    return "List the shared tables with their row counts";
  }
  void Configure(CLI::App& subcommand) override;
  int Execute(CommandContext& context) override;
};

// likentor show TABLE: a table's rows as semicolon-separated text under a header line of field
// names; any table of the data folder, shared or of a saved game.
class ShowCommand : public Command {
 public:
  std::string Name() const override { return "show"; }
  std::string Description() const override {
    return "Print the rows of a table (games.db, mygame_players.db, ...)";
  }
  void Configure(CLI::App& subcommand) override;
  int Execute(CommandContext& context) override;

 private:
  std::string table_;
};

}  // namespace likentor
