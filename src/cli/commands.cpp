#include "cli/command.h"
#include "cli/errors_command.h"
#include "cli/install_command.h"
#include "cli/load_command.h"
#include "cli/lock_command.h"
#include "cli/photos_command.h"
#include "cli/relook_command.h"
#include "cli/search_command.h"
#include "cli/settings_command.h"
#include "cli/setup_command.h"
#include "cli/sheet_command.h"
#include "cli/spread_command.h"
#include "cli/table_commands.h"
#include "cli/undo_command.h"
#include "cli/uniform_command.h"

namespace likentor {

std::vector<std::unique_ptr<Command>> MakeCommands() {
  std::vector<std::unique_ptr<Command>> commands;
  commands.push_back(std::make_unique<SetupCommand>());
  commands.push_back(std::make_unique<ErrorsCommand>());
  commands.push_back(std::make_unique<LoadCommand>());
  commands.push_back(std::make_unique<PhotosCommand>());
  commands.push_back(std::make_unique<SheetCommand>());
  commands.push_back(std::make_unique<SearchCommand>());
  commands.push_back(std::make_unique<LockCommand>(true));
  commands.push_back(std::make_unique<LockCommand>(false));
  commands.push_back(std::make_unique<UniformCommand>());
  commands.push_back(std::make_unique<SettingsCommand>());
  commands.push_back(std::make_unique<RelookCommand>());
  commands.push_back(std::make_unique<SpreadCommand>());
  commands.push_back(std::make_unique<InstallCommand>());
  commands.push_back(std::make_unique<UninstallCommand>());
  commands.push_back(std::make_unique<UndoCommand>());
  commands.push_back(std::make_unique<BackupsCommand>());
  commands.push_back(std::make_unique<TablesCommand>());
  commands.push_back(std::make_unique<ShowCommand>());
  return commands;
}

}  // namespace likentor
