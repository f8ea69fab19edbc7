#include "cli/uniform_command.h"

#include <system_error>

#include "app/custom_uniforms.h"

namespace likentor {

std::string UniformCommand::Description() const {
  return "Give a team of a saved game a custom uniform picture, or \"none\" for the generic one";
}

void UniformCommand::ConfigureOptions(CLI::App& subcommand) {
  subcommand.add_option("TEAM_ID", teamId_, "The team's id")->required();
  subcommand
      .add_option("PATH", file_,
                  "The uniform picture (a 90 x 135 PNG), or \"none\" for the generic uniform")
      ->required();
}

int UniformCommand::Run(CommandContext& context, CliSession& cli) {
  Session& session = cli.session;
  if (file_ == kNoCustomUniform) {
    ClearCustomUniform(session, teamId_);
    context.out << kCustomUniformRemoved << '\n';
  } else {
    // Stored as given, like a file typed into the chooser; a missing file only means the generic
    // uniform until it is there, so it is worth a word but not a refusal.
    const std::filesystem::path file = context.Absolute(file_);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
      context.err << "Warning: " << file.string()
                  << " does not exist; the team's portraits use the generic uniform until it "
                     "does.\n";
    }
    SetCustomUniform(session, teamId_, file);
    context.out << kCustomUniformSet << '\n';
  }
  return kExitOk;
}

}  // namespace likentor
