#include "cli/relook_command.h"

#include "app/player_looks.h"

namespace likentor {

std::string RelookCommand::Description() const {
  return "Draw one player's look again: face, hair colour, facial hair and ethnicity";
}

void RelookCommand::ConfigureOptions(CLI::App& subcommand) {
  subcommand.add_option("--player", player_, "The player's id")->required()->type_name("ID");
  subcommand
      .add_option("--keep", keep_,
                  "Keep the ethnicity (face, hair colour and facial hair are drawn), or the hair "
                  "(hair colour, facial hair and ethnicity kept: only the face is drawn)")
      ->check(CLI::IsMember({"ethnicity", "hair"}));
  subcommand.add_flag("--photo", photo_, "Make his portrait at once");
  subcommand.add_flag("--force", force_, "Change a locked player's look (and photo) too");
}

int RelookCommand::Run(CommandContext& context, CliSession& cli) {
  const KeepLook keep = keep_ == "ethnicity" ? KeepLook::Ethnicity
                        : keep_ == "hair"    ? KeepLook::Hair
                                             : KeepLook::Nothing;
  Session& session = cli.session;
  Relook relook;
  try {
    relook = NewLook(session, player_, keep, photo_, force_);
  } catch (const LockedLookError& locked) {
    throw Error(std::string(locked.what()) + " Give --force to change it.");
  }
  context.out << "Player " << relook.playerId << " (" << relook.name
              << "): " << DescribeLook(relook.before) << " -> " << DescribeLook(relook.after)
              << ".\n";
  if (!relook.photo.empty()) context.out << "Created photo " << relook.photo.string() << '\n';
  return kExitOk;
}

}  // namespace likentor
