#include "cli/command.h"
#include "cli/errors_command.h"
#include "cli/setup_command.h"

namespace likentor {

std::vector<std::unique_ptr<Command>> MakeCommands() {
  std::vector<std::unique_ptr<Command>> commands;
  commands.push_back(std::make_unique<SetupCommand>());
  commands.push_back(std::make_unique<ErrorsCommand>());
  return commands;
}

}  // namespace likentor
