#include "app/undo_run.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fstream>
#include <set>
#include <system_error>

#include "app/loaded_game.h"
#include "app/navigation.h"
#include "app/run_backup.h"
#include "app/session.h"
#include "app/write_command.h"
#include "database/table_store.h"
#include "import/players_fields.h"
#include "shell/platform.h"

namespace likentor {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kUndoPostError =
    "Error posting to players table while undoing a photo run.";

// Undo's own record in the run's folder: what it decided for each picture, written whole before
// it changes anything. An undo that was stopped goes on from it to the same end, as the pictures
// it already put back no longer look as the run left them.
constexpr std::string_view kJournalName = "undo.txt";
constexpr std::string_view kJournalHead = "likentor undo\t1";

// What the portrait writer writes a picture to before it puts it in place.
constexpr std::string_view kPartSuffix = ".part";

// A recorded time comes from the precise clock and a file's time from the system's coarser one: a
// file written just after its record may carry a time this much earlier.
constexpr std::int64_t kClockSlack = 1'000'000'000;

// What undo does with one picture of the run.
// Cannot: an earlier picture to put back whose kept copy is missing or cannot be read; it is named
// and left as the run left it (its row too), and the rest of the run is undone.
enum class Step { Nothing, Restore, Remove, Leave, Cannot };
constexpr std::array<std::string_view, 5> kStepNames = {"nothing", "restore", "remove", "leave",
                                                        "cannot"};

// Decides from the manifest and what is on disk. A picture the run recorded as written is undone
// only as the run left it; anything else is someone's later work. One the run was about to write
// when it stopped is undone when it is no longer the earlier picture (kept by the run) or, for a
// picture the run created, when it is there and no older than the run's record of it.
Step Decide(const BackupRun& run, const BackupEntry& entry, const fs::path& target) {
  const std::optional<FileStamp> now = StampOf(target);
  if (entry.completed) {
    if (!now || *now != entry.written) return Step::Leave;
    return entry.replaced ? Step::Restore : Step::Remove;
  }
  if (entry.replaced) {
    const std::optional<FileStamp> earlier = StampOf(run.folder / entry.file);
    if (!earlier || (now && *now == *earlier)) return Step::Nothing;  // never written over
    return Step::Restore;
  }
  if (!now) return Step::Nothing;
  return now->modified + kClockSlack >= entry.intended ? Step::Remove : Step::Leave;
}

// Why the kept copy of a picture cannot be put back, empty when it can: it must be a file there
// that can be read.
std::string KeptCopyProblem(const fs::path& kept) {
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(kept, ec);
  if (!fs::exists(status)) return "its kept copy is missing";
  if (!fs::is_regular_file(status)) return "its kept copy is not a file";
  std::ifstream in(kept, std::ios::binary);
  if (!in) return "its kept copy cannot be read";
  return {};
}

std::vector<Step> Decided(const BackupRun& run, Session& session) {
  std::vector<Step> steps;
  for (const BackupEntry& entry : run.entries) {
    Step step = Decide(run, entry, session.Game().Saved.picturesFolder / entry.file);
    if (step == Step::Restore && !KeptCopyProblem(run.folder / entry.file).empty()) {
      step = Step::Cannot;
    }
    steps.push_back(step);
  }
  return steps;
}

std::string JournalText(const std::vector<Step>& steps) {
  std::string text = CheckedLine(kJournalHead) + '\n';
  for (std::size_t i = 0; i < steps.size(); ++i) {
    text += CheckedLine(std::string(kStepNames[static_cast<std::size_t>(steps[i])]) + '\t' +
                        std::to_string(i)) +
            '\n';
  }
  return text + CheckedLine("end") + '\n';
}

// The steps of an undo that was stopped, none when no undo of the run began.
std::optional<std::vector<Step>> ReadJournal(const BackupRun& run) {
  const fs::path file = run.folder / kJournalName;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  const auto damaged = [&] {
    return Error("The record of an undo begun earlier, " + file.string() +
                 ", is damaged: nothing more was undone.");
  };
  std::string line;
  if (!std::getline(in, line) || CheckedText(line) != kJournalHead) throw damaged();
  std::vector<Step> steps;
  while (std::getline(in, line)) {
    const std::optional<std::string> text = CheckedText(line);
    if (!text) throw damaged();
    if (*text == "end") {
      if (steps.size() != run.entries.size()) throw damaged();
      return steps;
    }
    const std::size_t tab = text->find('\t');
    const auto name = std::find(kStepNames.begin(), kStepNames.end(), text->substr(0, tab));
    if (tab == std::string::npos || name == kStepNames.end() ||
        text->substr(tab + 1) != std::to_string(steps.size())) {
      throw damaged();
    }
    steps.push_back(static_cast<Step>(name - kStepNames.begin()));
  }
  throw damaged();
}

// Files of the run's folder that neither the run nor undo put there.
std::vector<std::string> UnexpectedFiles(const BackupRun& run) {
  std::set<std::string> expected = {std::string(kManifestFile), std::string(kManifestStartFile),
                                    std::string(kUndoneFile), std::string(kJournalName),
                                    std::string(kJournalName) + ".new"};
  for (const BackupEntry& entry : run.entries) expected.insert(entry.file);
  std::vector<std::string> unexpected;
  std::error_code ec;
  for (const fs::directory_entry& file : fs::directory_iterator(run.folder, ec)) {
    const std::string name = file.path().filename().string();
    if (!expected.contains(name) || file.is_directory(ec)) unexpected.push_back(name);
  }
  std::sort(unexpected.begin(), unexpected.end());
  return unexpected;
}

// Removes the folder of a run undone in full: at once no run (renamed as the pruned ones are),
// then its files.
void RemoveRunFolder(const fs::path& folder) {
  const fs::path doomed = folder.parent_path() / (".removing-" + folder.filename().string());
  std::error_code ec;
  fs::rename(folder, doomed, ec);
  fs::remove_all(ec ? folder : doomed, ec);
}

// The newest run of the game that is not undone yet. A damaged run stops the search with an
// Error naming it, unless `skipped` is given: the damaged runs passed over are then added to it.
std::optional<BackupRun> LastRun(Session& session, std::vector<fs::path>* skipped) {
  std::vector<BackupRun> runs = BackupRuns(session.ProgramFolder(), session.LoadedGameName());
  for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
    if (run->undone) continue;
    if (run->damage.empty()) return std::move(*run);
    if (skipped == nullptr) {
      throw Error("The photo run kept in " + run->folder.string() +
                  " cannot be undone: " + run->damage +
                  " Nothing was undone. Mend or remove that folder, or pass the run "
                  "over (--skip-damaged) to undo the one before it.");
    }
    skipped->push_back(run->folder);
  }
  return std::nullopt;
}

// Puts a kept picture back in place: a rename keeps its bytes and its time; across file systems
// a copy with its time, then the kept one goes. A kept copy that cannot be removed once the
// picture is back is no failure of the undo: it stays, and the run's folder with it.
void PutBack(const fs::path& kept, const fs::path& target) {
  std::error_code failed;
  fs::rename(kept, target, failed);
  if (!failed) return;
  try {
    fs::copy_file(kept, target, fs::copy_options::overwrite_existing);
    fs::last_write_time(target, fs::last_write_time(kept));
  } catch (const fs::filesystem_error& failure) {
    throw Error("Cannot put back the earlier picture " + target.string() + " from " +
                kept.string() + ": " + failure.code().message() + ".");
  }
  std::error_code ec;
  fs::remove(kept, ec);
}

std::string Pictures(int n, std::string_view what) {
  return std::to_string(n) + " " + std::string(what) + (n == 1 ? " picture" : " pictures");
}

}  // namespace

std::optional<UndoPreview> LastRunToUndo(Session& session, bool skipDamaged) {
  RequireLoadedGame(session);
  std::vector<fs::path> skipped;
  const std::optional<BackupRun> run = LastRun(session, skipDamaged ? &skipped : nullptr);
  if (!run) return std::nullopt;
  // The pictures the run replaced and created; not those a killed run never came to write.
  const std::vector<Step> steps = ReadJournal(*run).value_or(Decided(*run, session));
  UndoPreview preview{run->title, run->time, 0, 0};
  for (std::size_t i = 0; i < steps.size(); ++i) {
    if (steps[i] != Step::Nothing && steps[i] != Step::Cannot)
      ++(run->entries[i].replaced ? preview.restores : preview.removes);
  }
  return preview;
}

std::string UndoQuestion(const UndoPreview& preview) {
  return "Undo the photo run of " + preview.time + " (" + preview.title + ")? It puts back " +
         Pictures(preview.restores, "earlier") + " and removes " + std::to_string(preview.removes) +
         (preview.removes == 1 ? " picture the run created." : " pictures the run created.");
}

UndoResult UndoLastRun(Session& session, bool skipDamaged) {
  const WriteCommand writing(session, kUndoCommand);
  RequireLoadedGame(session);
  const std::string& game = session.LoadedGameName();
  UndoResult result;
  std::optional<BackupRun> run = LastRun(session, skipDamaged ? &result.skippedDamaged : nullptr);
  if (!run) throw Error("There is no photo run of " + game + " to undo.");

  result.title = run->title;
  result.time = run->time;
  result.backupFolder = run->folder;
  const fs::path& pictures = session.Game().Saved.picturesFolder;

  // What undo needs before it changes anything: a picture folder it may write in, and a backup
  // folder it may take the kept pictures out of and record its steps in.
  for (const fs::path& folder : {pictures, run->folder}) {
    if (!CanWriteFolder(folder)) {
      throw Error("Cannot undo the photo run of " + run->time + " (" + run->title +
                  "): " + folder.string() + " cannot be written (" +
                  std::generic_category().message(errno) +
                  "). Nothing was undone; give write access there and undo again.");
    }
  }

  // Every step is decided and recorded before the first change, so that an undo stopped midway
  // and begun again takes the same steps.
  std::optional<std::vector<Step>> journal = ReadJournal(*run);
  if (!journal) {
    journal = Decided(*run, session);
    const fs::path file = run->folder / kJournalName;
    if (!WriteWholeFile(file, JournalText(*journal))) {
      throw Error("Cannot write " + file.string() + ": " + std::generic_category().message(errno) +
                  ". Nothing was undone.");
    }
  }
  const std::vector<Step>& steps = *journal;

  Database& db = session.Data();
  const std::string& table = session.Game().Saved.playersTable;
  TableTransaction transaction(db, table);
  Table players(db, table);
  for (std::size_t i = 0; i < run->entries.size(); ++i) {
    const BackupEntry& entry = run->entries[i];
    const fs::path target = pictures / entry.file;
    const fs::path kept = run->folder / entry.file;
    std::error_code ec;
    // A run that was killed may have left the file it was writing this picture to.
    if (!run->ended) fs::remove(fs::path(target).concat(kPartSuffix), ec);
    switch (steps[i]) {
      case Step::Leave:
        result.leftAlone.push_back(entry.file);
        continue;
      case Step::Cannot:
        result.notPutBack.push_back(entry.file + " (" + KeptCopyProblem(kept) + ")");
        continue;
      case Step::Nothing:
        // The run stopped before it wrote this picture: the one kept is the one in place.
        fs::remove(kept, ec);
        continue;
      case Step::Restore:
        // Put back already when an undo was stopped after it.
        if (fs::exists(fs::symlink_status(kept, ec))) PutBack(kept, target);
        ++result.restored;
        break;
      case Step::Remove:
        fs::remove(target, ec);
        if (ec) throw Error("Cannot remove " + target.string() + ": " + ec.message() + ".");
        ++result.removed;
        break;
    }
    // A run stopped before it recorded the picture written may have changed the row too.
    if (entry.completed && !entry.rowChanged) continue;
    if (!players.Locate(kPlayerIdField, entry.playerId))
      continue;  // the row is gone: nothing to set
    players.Edit();
    WriteRowValues(players, entry.before);
    if (PostOrCancel(players, session.Log(), kUndoPostError)) ++result.rowsSetBack;
  }
  transaction.Commit();

  // The earlier pictures of those left alone stay where they are, and so does any file the run
  // did not put there; the run counts as undone. Else nothing of the run is left to keep.
  result.unexpected = UnexpectedFiles(*run);
  if (result.leftAlone.empty() && result.unexpected.empty() && result.notPutBack.empty()) {
    RemoveRunFolder(run->folder);
  } else {
    MarkUndone(*run);
  }
  return result;
}

std::string UndoMessage(const UndoResult& result) {
  std::string message;
  for (const fs::path& folder : result.skippedDamaged) {
    message += "Passed over the damaged photo run kept in " + folder.string() + ". ";
  }
  message += "Undid the photo run of " + result.time + " (" + result.title +
             "): " + Pictures(result.restored, "earlier") + " put back, " +
             Pictures(result.removed, "new") + " removed.";
  if (!result.leftAlone.empty()) {
    message += " Changed since the run and left alone: ";
    for (std::size_t i = 0; i < result.leftAlone.size(); ++i) {
      message += (i > 0 ? ", " : "") + result.leftAlone[i];
    }
    message += "; their earlier pictures stay in " + result.backupFolder.string() + ".";
  }
  if (!result.notPutBack.empty()) {
    message += " Could not be put back and left as the run made them: ";
    for (std::size_t i = 0; i < result.notPutBack.size(); ++i) {
      message += (i > 0 ? ", " : "") + result.notPutBack[i];
    }
    message += "; the run counts as undone, its folder " + result.backupFolder.string() + " stays.";
  }
  if (!result.unexpected.empty()) {
    message +=
        " Files that the run did not keep were left in " + result.backupFolder.string() + ": ";
    for (std::size_t i = 0; i < result.unexpected.size(); ++i) {
      message += (i > 0 ? ", " : "") + result.unexpected[i];
    }
    message += ".";
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
