#include "cli/sheet_command.h"

#include "app/contact_sheet_selection.h"

namespace likentor {

std::string SheetCommand::Description() const {
  return "Write a contact sheet of the portraits of one team, or of the first few hundred players";
}

void SheetCommand::ConfigureOptions(CLI::App& subcommand) {
  subcommand.add_option("OUT", out_, "The PNG file to write")->required();
  subcommand.add_option("--team", team_, "Only the players of this team")->type_name("TEAM_ID");
}

int SheetCommand::Run(CommandContext& context, CliSession& cli) {
  const SheetSelection selection = ContactSheetSelection(cli.session, team_, kSheetPlayersMax);
  if (selection.players.empty()) {
    throw Error("There are no portraits to show in " + selection.picturesFolder.string() +
                ": make them first with \"likentor photos " + GameName() + "\".");
  }
  const std::filesystem::path out = context.Absolute(out_);
  const std::size_t written = WriteSelectionSheet(selection, out, team_ ? 10 : 20);
  context.out << "Contact sheet of " << written << " portraits: " << out.string() << '\n';
  return kExitOk;
}

}  // namespace likentor
