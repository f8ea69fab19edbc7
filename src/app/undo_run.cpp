#include "app/undo_run.h"

#include <system_error>

#include "app/loaded_game.h"
#include "app/navigation.h"
#include "app/run_backup.h"
#include "app/session.h"
#include "app/write_command.h"
#include "database/table_store.h"

namespace likentor {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kUndoPostError =
    "Error posting to players table while undoing a photo run.";

void RequireLoadedGame(const Session& session) {
  if (session.LoadedGameName().empty()) throw Error(std::string(kLoadGameFirst));
}

// The newest run of the game that is not undone yet.
std::optional<BackupRun> LastRun(Session& session) {
  std::vector<BackupRun> runs = BackupRuns(session.ProgramFolder(), session.LoadedGameName());
  for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
    if (!run->undone) return std::move(*run);
  }
  return std::nullopt;
}

// Puts a kept picture back in place: a rename keeps its bytes and its time; across file systems
// a copy with its time, then the kept one goes.
void PutBack(const fs::path& kept, const fs::path& target) {
  std::error_code failed;
  fs::rename(kept, target, failed);
  if (!failed) return;
  try {
    fs::copy_file(kept, target, fs::copy_options::overwrite_existing);
    fs::last_write_time(target, fs::last_write_time(kept));
    fs::remove(kept);
  } catch (const fs::filesystem_error& failure) {
    throw Error("Cannot put back the earlier picture " + target.string() + " from " +
                kept.string() + ": " + failure.code().message() + ".");
  }
}

std::string Pictures(int n, std::string_view what) {
  return std::to_string(n) + " " + std::string(what) + (n == 1 ? " picture" : " pictures");
}

}  // namespace

std::optional<UndoPreview> LastRunToUndo(Session& session) {
  RequireLoadedGame(session);
  const std::optional<BackupRun> run = LastRun(session);
  if (!run) return std::nullopt;
  return UndoPreview{run->title, run->time, run->Replaced(), run->Created()};
}

std::string UndoQuestion(const UndoPreview& preview) {
  return "Undo the photo run of " + preview.time + " (" + preview.title + ")? It puts back " +
         Pictures(preview.restores, "earlier") + " and removes " + std::to_string(preview.removes) +
         (preview.removes == 1 ? " picture the run created." : " pictures the run created.");
}

UndoResult UndoLastRun(Session& session) {
  const WriteCommand writing(session, kUndoCommand);
  RequireLoadedGame(session);
  const std::string& game = session.LoadedGameName();
  std::optional<BackupRun> run = LastRun(session);
  if (!run) throw Error("There is no photo run of " + game + " to undo.");

  UndoResult result;
  result.title = run->title;
  result.time = run->time;
  result.backupFolder = run->folder;
  const fs::path& pictures = session.Game().Saved.picturesFolder;
  Database& db = session.Data();
  const std::string& table = session.Game().Saved.playersTable;
  TableTransaction transaction(db, table);
  Table players(db, table);
  for (const BackupEntry& entry : run->entries) {
    const fs::path target = pictures / entry.file;
    // Only a picture as the run left it is undone; anything else is someone's later work.
    const std::optional<FileStamp> now = StampOf(target);
    if (!now || *now != entry.written) {
      result.leftAlone.push_back(entry.file);
      continue;
    }
    if (entry.replaced) {
      PutBack(run->folder / entry.file, target);
      ++result.restored;
    } else {
      std::error_code ec;
      if (!fs::remove(target, ec) || ec) {
        throw Error("Cannot remove " + target.string() + ": " + ec.message() + ".");
      }
      ++result.removed;
    }
    if (!entry.rowChanged) continue;
    if (!players.Locate("player_id", entry.playerId)) continue;  // the row is gone: nothing to set
    players.Edit();
    WriteRowValues(players, entry.before);
    if (players.Post()) {
      ++result.rowsSetBack;
    } else {
      players.Cancel();
      session.Log().ReportError(std::string(kUndoPostError));
    }
  }
  transaction.Commit();

  // The earlier pictures of those left alone stay where they are; the run counts as undone.
  if (result.leftAlone.empty()) {
    std::error_code ec;
    fs::remove_all(run->folder, ec);
  } else {
    MarkUndone(*run);
  }
  return result;
}

std::string UndoMessage(const UndoResult& result) {
  std::string message = "Undid the photo run of " + result.time + " (" + result.title +
                        "): " + Pictures(result.restored, "earlier") + " put back, " +
                        Pictures(result.removed, "new") + " removed.";
  if (!result.leftAlone.empty()) {
    message += " Changed since the run and left alone: ";
    for (std::size_t i = 0; i < result.leftAlone.size(); ++i) {
      message += (i > 0 ? ", " : "") + result.leftAlone[i];
    }
    message += "; their earlier pictures stay in " + result.backupFolder.string() + ".";
  }
  return message;
}

bool UndoLastRun1Click(Session& session) {
  if (!GameLoadedGuard(session)) return false;
  const std::optional<UndoPreview> preview = LastRunToUndo(session);
  if (!preview) {
    session.UserPrompts().ShowMessage("There is no photo run of " + session.LoadedGameName() +
                                      " to undo.");
    return false;
  }
  if (!session.UserPrompts().Confirm(UndoQuestion(*preview))) return false;
  session.UserPrompts().ShowMessage(UndoMessage(UndoLastRun(session)));
  return true;
}

}  // namespace likentor
