#pragma once

#include <string>

#include "cli/command.h"

namespace likentor {

// likentor lock NAME all|active|retired, and likentor unlock ...: the locks page's six buttons on
// the saved game NAME, loaded first as "load" does.
class LockCommand : public GameCommand {
 public:
  explicit LockCommand(bool locked) : locked_(locked) {}
  std::string Name() const override { return locked_ ? "lock" : "unlock"; }
  std::string Description() const override;

 private:
  void ConfigureOptions(CLI::App& subcommand) override;
  int Run(CommandContext& context, CliSession& cli) override;
  bool locked_;
  std::string which_;
};

}  // namespace likentor
