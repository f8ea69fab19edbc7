#include "cli/errors_command.h"

#include "shell/error_log.h"

namespace likentor {

void ErrorsCommand::Configure(CLI::App& subcommand) {
  subcommand.add_flag("--clear", clear_, "Empty the log, keeping its header line");
}

int ErrorsCommand::Execute(CommandContext& context) {
  CliPrompts prompts(context.out, context.err);
  Session session(prompts, context.places);
  if (!session.ReadCfgFile()) throw NotSetUpError(context.places.workingFolder);
  if (clear_) {
    session.TakeProgramLock();
    ClearErrorsFile1Click(session.Log(), prompts);
  } else {
    for (const std::string& line : session.Log().ShowErrors()) context.out << line << '\n';
  }
  return kExitOk;
}

}  // namespace likentor
