#pragma once

#include "cli/command.h"

namespace likentor {

// likentor errors [--clear]: prints the error log, or clears it (the confirmation answered OK).
class ErrorsCommand : public Command {
 public:
  std::string Name() const override { return "errors"; }
  std::string Description() const override { return "Print the error log, or clear it"; }
  void Configure(CLI::App& subcommand) override;
  int Execute(CommandContext& context) override;

 private:
  bool clear_ = false;
};

}  // namespace likentor
