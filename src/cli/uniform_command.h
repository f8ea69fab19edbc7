#pragma once

#include <string>

#include "cli/command.h"

namespace likentor {

// likentor uniform NAME TEAM_ID PATH|none: on the saved game NAME (loaded first as "load" does),
// gives the team a custom uniform picture, or "none" for the generic uniform, as the uniforms
// page's "Set Custom Uniform" and "Use Generic Uniform" do.
class UniformCommand : public GameCommand {
 public:
  std::string Name() const override { return "uniform"; }
  std::string Description() const override;

 private:
  void ConfigureOptions(CLI::App& subcommand) override;
  int Run(CommandContext& context, CliSession& cli) override;
  int teamId_ = 0;
  std::string file_;
};

}  // namespace likentor
