#include "cli/undo_command.h"

#include "app/game_load.h"
#include "app/run_backup.h"
#include "app/undo_run.h"

namespace likentor {

std::string UndoCommand::Description() const {
  return "Undo the last photo run of a saved game: put back the pictures it replaced, remove "
         "those it created";
}

void UndoCommand::ConfigureOptions(CLI::App& subcommand) {
  subcommand.add_flag("--list", list_, "List the runs kept for undo, newest first, and undo none");
  subcommand.add_flag("--skip-damaged", skipDamaged_,
                      "Pass over runs whose backup manifest is damaged (else undo stops at one, "
                      "naming it) and undo the run before them");
}

// Undo writes pictures and rows: it holds the program folder's lock as photos does. The game is
// taken as its last load left it; loading it again could flag players anew.
Access UndoCommand::SessionAccess() const {
  return list_ ? Access::ReadOnly : Access::ReadWrite;
}

void UndoCommand::OpenGame(CommandContext& /*context*/, Session& session) {
  OpenLoadedGame(session, GameName());
}

int UndoCommand::Run(CommandContext& context, CliSession& cli) {
  Session& session = cli.session;
  if (list_) {
    const std::vector<BackupRun> runs = BackupRuns(session.ProgramFolder(), GameName());
    if (runs.empty()) context.out << "No photo run of " << GameName() << " is kept.\n";
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
      if (!run->damage.empty()) {
        context.out << run->time << "  DAMAGED"
                    << (run->undone ? " (undone)" : ", cannot be undone") << ": " << run->damage
                    << "  " << run->folder.string() << '\n';
        continue;
      }
      context.out << run->time << "  " << run->title << ": " << run->Replaced() << " replaced, "
                  << run->Created() << " created"
                  << (run->undone ? " (undone; pictures changed since are kept)" : "") << "  "
                  << run->folder.string() << '\n';
    }
  } else {
    context.out << UndoMessage(UndoLastRun(session, skipDamaged_)) << '\n';
  }
  return kExitOk;
}

std::string BackupsCommand::Description() const {
  return "Show or set how many photo runs of each game are kept for undo";
}

void BackupsCommand::Configure(CLI::App& subcommand) {
  subcommand
      .add_option("--keep", keep_,
                  "Keep the last N runs of each game (0 to " + std::to_string(kMostKeptRuns) +
                      "; 0 turns the backups off)")
      ->type_name("N")
      ->check(CLI::Range(0, kMostKeptRuns));
  subcommand.add_flag("--yes", yes_,
                      "Remove the runs beyond the new number without asking (the command stops "
                      "and says what it would remove otherwise)");
}

int BackupsCommand::Execute(CommandContext& context) {
  CliSession cli(context, keep_ ? Access::ReadWrite : Access::ReadOnly);
  const std::filesystem::path& program = cli.session.ProgramFolder();
  if (keep_) {
    // Runs removed are earlier pictures that can no longer be put back: said, and done only when
    // confirmed.
    const RunsBeyond beyond = RunsBeyondKept(program, *keep_);
    const std::string what = DescribeRunsBeyond(beyond);
    if (beyond.runs > 0 && !yes_) {
      context.err << "Keeping " << *keep_ << " runs per game removes " << what
                  << ", which undo can then no longer put back. Nothing was changed; run again "
                     "with --yes to remove them.\n";
      cli.ShutDown();
      return 1;
    }
    SetKeptRuns(program, *keep_);
    if (beyond.runs > 0) context.out << "Removed " << what << ".\n";
  }
  const int kept = KeptRuns(program);
  context.out << "Photo runs kept per game for undo: " << kept
              << (kept == 0 ? " (backups are off)" : "")
              << "\nBackups folder: " << BackupsFolder(program).string() << '\n';
  return cli.Finish();
}

}  // namespace likentor
