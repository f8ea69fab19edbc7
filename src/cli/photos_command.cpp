#include "cli/photos_command.h"

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <iostream>

#include "app/batch_runs.h"
#include "app/dry_run.h"
#include "app/player_photo.h"

namespace likentor {

namespace {

// The run that Ctrl-C stops. A lock-free atomic store is all the handler does.
std::atomic<RunProgress*> interruptedRun{nullptr};

extern "C" void OnInterrupt(int) {
  if (RunProgress* progress = interruptedRun.load()) progress->RequestCancel();
}

// Routes Ctrl-C to the session's run while it lasts; the default handling comes back after.
class InterruptStopsRun {
 public:
  explicit InterruptStopsRun(RunProgress& progress) {
    interruptedRun.store(&progress);
    previous_ = std::signal(SIGINT, OnInterrupt);
  }
  ~InterruptStopsRun() {
    std::signal(SIGINT, previous_ == SIG_ERR ? SIG_DFL : previous_);
    interruptedRun.store(nullptr);
  }
  InterruptStopsRun(const InterruptStopsRun&) = delete;
  InterruptStopsRun& operator=(const InterruptStopsRun&) = delete;

 private:
  void (*previous_)(int) = SIG_DFL;
};

// A one-line bar redrawn in place: "[#########           ]  45% Creating photos for ...".
void DrawBar(std::ostream& err, const ProgressReport& report) {
  constexpr int kWidth = 30;
  if (!report.visible) {
    err << "\r\033[K" << std::flush;
    return;
  }
  const int filled = report.position * kWidth / 100;
  err << "\r\033[K[" << std::string(static_cast<std::size_t>(filled), '#')
      << std::string(static_cast<std::size_t>(kWidth - filled), ' ') << "] " << report.position
      << "% " << report.status << std::flush;
}

}  // namespace

std::string PhotosCommand::Description() const {
  return "Make portraits: the whole universe (by the game's settings), one team, or one player";
}

void PhotosCommand::ConfigureOptions(CLI::App& subcommand) {
  auto* scope = subcommand
                    .add_option("--scope", scope_,
                                "Level scope of the universe run: 0 All Levels, 1 Major Leaguers "
                                "Only, 2 AAA and up, 3 AA and up, 4 A and up, 5 Short-A and up, "
                                "6 Rookie and up")
                    ->check(CLI::Range(0, 6));
  auto* team = subcommand.add_option("--team", team_, "Make the portraits of one team's players")
                   ->type_name("TEAM_ID");
  auto* player = subcommand.add_option("--player", player_, "Make one player's portrait")
                     ->type_name("PLAYER_ID");
  auto* force = subcommand.add_flag("--force", force_,
                                    "With --player: replace a locked player's picture too");
  auto* dryRun = subcommand.add_flag(
      "--dry-run", dryRun_,
      "Tell what the run would do, without writing anything: the players it would make "
      "portraits of, those it passes over and why, per team, and missing artwork");
  auto* json = subcommand.add_flag("--json", json_, "With --dry-run: print the summary as JSON");
  scope->excludes(team)->excludes(player);
  team->excludes(player);
  force->needs(player);
  dryRun->excludes(player);
  json->needs(dryRun);
}

// A dry run writes nothing: the session only reads, and the game is taken as its last load left it.
Access PhotosCommand::SessionAccess() const {
  return dryRun_ ? Access::ReadOnly : Access::ReadWrite;
}

void PhotosCommand::OpenGame(CommandContext& context, Session& session) {
  if (dryRun_) {
    OpenGameForDryRun(session, GameName());
  } else {
    GameCommand::OpenGame(context, session);
  }
}

int PhotosCommand::DryRun(CommandContext& context, Session& session) {
  RunChoice choice =
      team_ ? RunChoice::Team(*team_) : RunChoice::Universe({ReadUniverseFilters(session), scope_});
  // The run loads the game first, and that load flags the players whose age step changed.
  choice.withAged = true;
  const DryRunSummary summary = likentor::DryRun(session, choice);
  if (json_) {
    context.out << DryRunJson(summary);
  } else {
    context.out << DryRunText(summary) << "\nThe run loads " << GameName()
                << " first: players that load finds new or moved are flagged too.\n";
  }
  return kExitOk;
}

int PhotosCommand::Run(CommandContext& context, CliSession& cli) {
  Session& session = cli.session;
  if (dryRun_) return DryRun(context, session);
  if (&context.err == &std::cerr && ::isatty(STDERR_FILENO) == 1) {
    session.Progress().SetListener(
        [&context](const ProgressReport& report) { DrawBar(context.err, report); });
  }

  int status = kExitOk;
  if (player_) {
    std::filesystem::path file;
    try {
      file = MakePlayerPhoto(session, *player_, force_);
    } catch (const LockedPhotoError& locked) {
      throw Error(std::string(locked.what()) + " Give --force to replace it.");
    }
    context.out << "Created photo " << file.string() << '\n';
  } else {
    InterruptStopsRun interrupt(session.Progress());
    const RunResult result =
        team_ ? MakeTeamPhotos(session, *team_)
              : MakeUniversePhotos(session, {ReadUniverseFilters(session), scope_});
    // A run that logged errors says so on the error stream and fails; one stopped by Ctrl-C ends
    // as an interrupted program does.
    ShowRunMessage(cli.prompts, result);
    if (result.kept > 0) {
      context.out << "On the command line, \"likentor undo " << GameName()
                  << "\" brings them back.\n";
    }
    if (result.stopped) status = kExitInterrupted;
  }
  session.Progress().SetListener(nullptr);
  return status;
}

}  // namespace likentor
