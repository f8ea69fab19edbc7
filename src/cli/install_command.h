#pragma once

#include <optional>
#include <string>

#include "cli/command.h"

namespace likentor {

// likentor install faces|facial-hair|accessories|uniform FOLDER [--ethnicity E]: installs the
// pictures of FOLDER into the artwork kit and its catalogue (faces for the ethnicity E), naming
// every file passed over. Exit 1 when nothing could be installed.
class InstallCommand : public Command {
 public:
  std::string Name() const override { return "install"; }
  std::string Description() const override;
  void Configure(CLI::App& subcommand) override;
  int Execute(CommandContext& context) override;

 private:
  std::string kind_;
  std::string folder_;
  std::string ethnicity_;
};

// likentor uninstall [PACK_ID]: removes an installed pack (its rows, its files) and gives new looks
// to the players who had one of its pictures; without PACK_ID lists the packs installed.
class UninstallCommand : public Command {
 public:
  std::string Name() const override { return "uninstall"; }
  std::string Description() const override;
  void Configure(CLI::App& subcommand) override;
  int Execute(CommandContext& context) override;

 private:
  std::optional<int> pack_;
};

}  // namespace likentor
