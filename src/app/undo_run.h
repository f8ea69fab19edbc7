#pragma once

// Undo of the last run of the loaded game, from its backup (run_backup.h): the pictures it wrote
// over are put back, the pictures it created are removed, and the players-table values it changed
// are set back. A picture changed since the run (by the user, or by the game) is left alone and
// named; its earlier picture stays in the backup. Each undo goes back one run further.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace likentor {

class Session;

// What undoing the last run would do.
struct UndoPreview {
  std::string title;  // the run's title ("entire universe", a team, "Make New Photo of player 12")
  std::string time;   // when it ran
  int restores = 0;   // earlier pictures put back
  int removes = 0;    // pictures it created, removed
};

// The run that Undo Last Run would undo, or none when the loaded game has none kept.
// A run whose manifest is damaged is not passed over in silence: Error naming it and what is wrong,
// unless `skipDamaged`, which goes on to the run before it.
std::optional<UndoPreview> LastRunToUndo(Session& session, bool skipDamaged = false);
// "Undo the photo run of <time> (<title>)? It puts back N earlier pictures and removes M pictures
// the run created."
std::string UndoQuestion(const UndoPreview& preview);

struct UndoResult {
  std::string title;
  std::string time;
  int restored = 0;
  int removed = 0;
  int rowsSetBack = 0;
  std::vector<std::string> leftAlone;   // pictures changed since the run
  std::filesystem::path backupFolder;   // where their earlier pictures stay
  std::vector<std::string> unexpected;  // files of the backup folder the run did not put there
  // Earlier pictures that could not be put back, each with its reason ("Player_3.png (its kept
  // copy is missing)"): left as the run made them, their rows too.
  std::vector<std::string> notPutBack;
  std::vector<std::filesystem::path> skippedDamaged;  // damaged runs passed over (skipDamaged)
};

// Undoes the last run of the loaded game. Error when no game is loaded or it has no run to undo,
// when the last run's manifest is damaged (unless `skipDamaged`, which passes damaged runs over),
// and, before anything is changed, when the picture folder or the run's folder cannot be written.
// An earlier picture whose kept copy is missing or unreadable is named and left; the rest is undone
// and the run counts as undone, so that the next undo goes on to the run before it.
// An undo that was stopped (the process killed, a failure midway) is taken up where it stopped by
// the next one, which ends as the undo would have. The backup folder goes only when nothing in it
// is left: a file the run did not keep stays there, and the run is marked undone.
UndoResult UndoLastRun(Session& session, bool skipDamaged = false);
// "Undid the photo run of <time> (<title>): N earlier pictures put back, M new pictures removed."
// and, for pictures changed since, "Changed since the run and left alone: Player_5.png, ...; their
// earlier pictures stay in <folder>." and, for files found in the backup folder that the run did
// not keep, "Files that the run did not keep were left in <folder>: a.png, ...".
std::string UndoMessage(const UndoResult& result);

// Tools > Undo Last Run: the guard ("Load a game first!"), "There is no photo run of <game> to
// undo." when there is none, a confirmation saying how many pictures it puts back and removes,
// the undo and its message. True when a run was undone.
bool UndoLastRun1Click(Session& session);

}  // namespace likentor
