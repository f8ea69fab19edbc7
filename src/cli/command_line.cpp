#include <cstdint>
#include <cstdlib>
#include <exception>
#include <limits>
#include <optional>
#include <ostream>
#include <string>

#include "cli/command.h"
#include "cli/window_opener.h"
#include "shell/random_generator.h"
#include "shell/version.h"
#include "shell/whole_number.h"

namespace likentor {

namespace {

// Folders are kept without a trailing separator ("/tmp/p", not "/tmp/p/").
std::filesystem::path WithoutTrailingSeparator(std::filesystem::path path) {
  if (!path.has_filename() && path != path.root_path()) path = path.parent_path();
  return path;
}

// LIKENTOR_RANDOM_SEED=N (0 to 4294967295), for repeatable tests: the command's random draws start
// from N instead of the clock and follow one sequence from there, so that two runs over the same
// tables draw the same looks and make the same portraits byte for byte. Each reseed mixes a fixed
// reading into the seed the draws left, so that the draws still differ from one another. A value
// that is no such number is said and ignored.
std::optional<std::uint32_t> FixedSeedFromEnvironment(std::ostream& err) {
  const char* text = std::getenv("LIKENTOR_RANDOM_SEED");
  if (text == nullptr || *text == '\0') return std::nullopt;
  const std::optional<long long> seed =
      StrictWholeNumber(text, 0, std::numeric_limits<std::uint32_t>::max());
  if (!seed) {
    err << "LIKENTOR_RANDOM_SEED=" << text
        << " is not a whole number from 0 to 4294967295; the draws follow the clock.\n";
    return std::nullopt;
  }
  return static_cast<std::uint32_t>(*seed);
}

}  // namespace

std::filesystem::path CommandContext::Absolute(const std::filesystem::path& path) const {
  const std::filesystem::path absolute = path.is_absolute() ? path : places.workingFolder / path;
  return WithoutTrailingSeparator(absolute.lexically_normal());
}

CliSession::CliSession(CommandContext& context, Access access)
    : prompts(context.out, context.err), session(prompts, context.places) {
  if (const auto seed = FixedSeedFromEnvironment(context.err)) {
    session.Random() =
        RandomGenerator([] { return std::uint64_t{0}; }, RandomGenerator::Reseeding::kMixClock);
    session.Random().SetSeed(*seed);
  }
  session.SetAccess(access);
  session.Startup(Session::Missing::Fail);
}

void AddReloadFlag(CLI::App& subcommand, bool& reload) {
  subcommand.add_flag("--reload", reload,
                      "Import the saved game's exports even when none changed since the last load");
}

int CliSession::ExitStatus(int status) const {
  return status == kExitOk && prompts.ErrorShown() ? kExitFailed : status;
}

void CliSession::ShutDown() {
  if (shutDown_) return;
  shutDown_ = true;
  session.Shutdown();
}

int CliSession::Finish(int status) {
  ShutDown();
  return ExitStatus(status);
}

CliSession::~CliSession() {
  // An error ended the command: it is already on its way to the user, and closing the tables is
  // only tidying up, so a failure here must not replace it.
  try {
    ShutDown();
  } catch (const std::exception&) {
  }
}

void GameCommand::Configure(CLI::App& subcommand) {
  subcommand.add_option("NAME", name_, "The saved game's name (its folder without \".lg\")")
      ->required();
  if (reloadFlag_ == ReloadFlag::Declared) AddReloadFlag(subcommand, reload_);
  ConfigureOptions(subcommand);
}

void GameCommand::OpenGame(CommandContext& /*context*/, Session& session) {
  LoadGame(session, name_, ReloadMode());
}

int GameCommand::Execute(CommandContext& context) {
  if (const std::optional<int> refused = BeforeSession(context)) return *refused;
  CliSession cli(context, SessionAccess());
  OpenGame(context, cli.session);
  const int status = Run(context, cli);
  return cli.Finish(status);
}

int RunCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                   const std::filesystem::path& executableFolder) {
  return RunCommandLine(argc, argv, out, err, executableFolder, WindowOpener());
}

int RunCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                   const std::filesystem::path& executableFolder, const WindowOpener& openWindow) {
  CLI::App app("Likentor: lasting looks and portraits for the players of a saved game", "likentor");
  std::string workingFolder;
  app.add_option("-C", workingFolder, "Run as if started in DIR")->type_name("DIR");
  std::optional<std::string> load;
  app.add_option("--load", load, "Open the window with the saved game NAME loaded")
      ->type_name("NAME");
  app.set_version_flag("--version", "likentor " + std::string(kProgramVersion),
                       "Print the version and exit");
  app.require_subcommand(0, 1);
  app.footer(
      "Environment: LIKENTOR_RANDOM_SEED=N (0 to 4294967295) starts the random draws from N "
      "instead of the clock, so that a run can be repeated draw for draw; it is meant for "
      "repeatable tests.");

  auto commands = MakeCommands();
  std::vector<CLI::App*> subcommands;
  for (auto& command : commands) {
    CLI::App* sub = app.add_subcommand(command->Name(), command->Description());
    command->Configure(*sub);
    subcommands.push_back(sub);
  }

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e, out, err);
    return code == 0 ? kExitOk : kExitUsage;
  }

  Command* chosen = nullptr;
  for (std::size_t i = 0; i < commands.size(); ++i) {
    if (subcommands[i]->parsed()) chosen = commands[i].get();
  }
  if (chosen != nullptr && load) {
    err << "--load opens the window and takes no command.\n";
    return kExitUsage;
  }

  std::error_code ec;
  std::filesystem::path working = workingFolder.empty() ? std::filesystem::current_path(ec)
                                                        : std::filesystem::path(workingFolder);
  working = WithoutTrailingSeparator(std::filesystem::absolute(working, ec).lexically_normal());
  CommandContext context{out, err,
                         StartingPlaces(working, !workingFolder.empty(), executableFolder)};
  if (chosen == nullptr) {
    if (openWindow) return openWindow(context.places, load);
    out << app.help();
    return kExitOk;
  }
  try {
    return chosen->Execute(context);
  } catch (const NotSetUpError& e) {
    err << e.what() << '\n';
    return kExitUsage;
  } catch (const Error& e) {
    err << e.what() << '\n';
    return kExitFailed;
  } catch (const std::exception& e) {
    err << e.what() << '\n';
    return kExitFailed;
  }
}

}  // namespace likentor
