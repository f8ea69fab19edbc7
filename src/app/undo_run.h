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
std::optional<UndoPreview> LastRunToUndo(Session& session);
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
};

// Undoes the last run of the loaded game. Error when no game is loaded or it has no run to undo.
// An undo that was stopped (the process killed, a failure midway) is taken up where it stopped by
// the next one, which ends as the undo would have. The backup folder goes only when nothing in it
// is left: a file the run did not keep stays there, and the run is marked undone.
UndoResult UndoLastRun(Session& session);
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
