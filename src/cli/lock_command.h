#pragma once

#include <string>

#include "cli/command.h"

namespace likentor {

// likentor lock NAME all|active|retired, and likentor unlock ...: the locks page's six buttons on
// the saved game NAME, loaded first as "load" does.
class LockCommand : public Command {
 public:
  explicit LockCommand(bool locked) : locked_(locked) {}
  std::string Name() const override { return locked_ ? "lock" : "unlock"; }
  std::string Description() const override;
  void Configure(CLI::App& subcommand) override;
  int Execute(CommandContext& context) override;

 private:
  bool locked_;
  std::string name_;
  bool reload_ = false;
  std::string which_;
};

}  // namespace likentor
