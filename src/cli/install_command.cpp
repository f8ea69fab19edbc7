#include "cli/install_command.h"

#include "app/component_packs.h"

namespace likentor {

std::string InstallCommand::Description() const {
  return "Install a folder of faces, facial-hair styles, accessories or custom uniforms";
}

void InstallCommand::Configure(CLI::App& subcommand) {
  subcommand.add_option("KIND", kind_, "faces, facial-hair, accessories or uniform")
      ->required()
      ->check(CLI::IsMember({"faces", "facial-hair", "accessories", "uniform"}));
  subcommand.add_option("FOLDER", folder_, "The folder of PNG pictures")->required();
  subcommand
      .add_option("--ethnicity", ethnicity_, "For faces: caucasian, asian, african or east-indian")
      ->check(CLI::IsMember({"caucasian", "asian", "african", "east-indian"}));
}

int InstallCommand::Execute(CommandContext& context) {
  const PackKind kind = *PackKindFromName(kind_);
  int ethnicity = 0;
  if (kind == PackKind::Faces) {
    if (ethnicity_.empty()) {
      context.err << "Faces need --ethnicity: caucasian, asian, african or east-indian.\n";
      return kExitUsage;
    }
    ethnicity = *EthnicityFromName(ethnicity_);
  } else if (!ethnicity_.empty()) {
    context.err << "--ethnicity is for faces only.\n";
    return kExitUsage;
  }
  CliSession cli(context);
  const PackInstall result = InstallPack(cli.session, kind, context.Absolute(folder_), ethnicity);
  context.out << InstallMessage(result) << '\n';
  return cli.Finish();
}

std::string UninstallCommand::Description() const {
  return "Remove an installed pack (without PACK_ID: list the packs installed)";
}

void UninstallCommand::Configure(CLI::App& subcommand) {
  subcommand.add_option("PACK_ID", pack_, "The pack's number, as install and the list give it");
}

int UninstallCommand::Execute(CommandContext& context) {
  CliSession cli(context);
  if (!pack_) {
    const std::vector<InstalledPack> packs = InstalledPacks(cli.session);
    if (packs.empty()) context.out << "No packs are installed.\n";
    for (const InstalledPack& p : packs) context.out << PackLine(p) << '\n';
  } else {
    context.out << UninstallMessage(UninstallPack(cli.session, *pack_)) << '\n';
  }
  return cli.Finish();
}

}  // namespace likentor
