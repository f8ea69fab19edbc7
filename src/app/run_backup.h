#pragma once

// The backup of a run: before a batch run or "Make New Photo" writes over a picture of the saved
// game's picture folder, the picture as it was (the same bytes, never decoded) is kept in
// ProgramFolder/backups/<game>/<run time>/, and a manifest there lists what the run replaced and
// created, how each picture it wrote looked on disk (size and modification time, so that a later
// change is told apart) and the players-table values it changed. Undo (undo_run.h) works from it.
// Only the last few runs of each game are kept (KeptRuns, five unless set otherwise).

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/error.h"

namespace likentor {

class Cursor;

inline constexpr int kDefaultKeptRuns = 5;
inline constexpr int kMostKeptRuns = 99;

// The backup could not be written: the run stops before it writes over anything more.
class BackupError : public Error {
 public:
  using Error::Error;
};

// ProgramFolder/backups, and the folder of one game's runs in it.
std::filesystem::path BackupsFolder(const std::filesystem::path& programFolder);
std::filesystem::path GameBackupsFolder(const std::filesystem::path& programFolder,
                                        std::string_view game);

// How many runs of each game are kept (backups/settings.ini, "kept_runs=N"; five when not set). 0
// turns the backups off: runs then write over pictures without keeping them, and undo has
// nothing to work from.
int KeptRuns(const std::filesystem::path& programFolder);
// Stores the number (0..99; Error otherwise, and when the file cannot be written) and removes the
// runs of every game beyond it.
void SetKeptRuns(const std::filesystem::path& programFolder, int runs);

// The players-table fields a portrait changes, and their values on a row before it (none: blank).
inline constexpr std::array<std::string_view, 4> kPhotoFields = {
    "accessory", "background", "uniform_team_id", "update_required"};
using RowValues = std::array<std::optional<std::string>, kPhotoFields.size()>;
RowValues ReadRowValues(const Cursor& players);
// Puts the values back on a row in edit.
void WriteRowValues(Cursor& players, const RowValues& values);

// How a picture looked on disk when the run had written it.
struct FileStamp {
  std::uintmax_t size = 0;
  std::int64_t modified = 0;  // nanoseconds since the epoch
  bool operator==(const FileStamp&) const = default;
};
// The stamp of a file, none when it is not there.
std::optional<FileStamp> StampOf(const std::filesystem::path& file);

// One picture of a run.
struct BackupEntry {
  bool replaced = false;  // an earlier picture was kept (else the run created the file)
  int playerId = 0;
  std::string file;         // its name in the picture folder
  FileStamp written;        // as the run left it
  bool rowChanged = false;  // the run's row values were stored (a refused post changes nothing)
  RowValues before;
};

// One kept run, as its manifest tells it.
struct BackupRun {
  std::filesystem::path folder;
  std::string game;
  std::string title;  // "entire universe", a team, "player 12"
  std::string time;   // the run's local time, "2025-04-01 18:30:05"
  std::int64_t started = 0;
  std::filesystem::path picturesFolder;
  bool undone = false;  // undone, and kept only for pictures changed since the run
  std::vector<BackupEntry> entries;

  int Replaced() const;
  int Created() const;
};

// Reads a run's manifest; Error when it is missing or damaged.
BackupRun ReadBackupRun(const std::filesystem::path& folder);
// The kept runs of a game, oldest first (folders without a readable manifest are passed over).
std::vector<BackupRun> BackupRuns(const std::filesystem::path& programFolder,
                                  std::string_view game);
// Removes the oldest runs of a game beyond `kept`: at once they are no longer runs, and their
// files are removed by a thread of the process meanwhile (the process waits for it at its end).
void PruneBackupRuns(const std::filesystem::path& programFolder, std::string_view game, int kept);
// Waits until the runs pruned so far are removed.
void WaitForBackupRemovals();
// Marks a run undone: the next undo goes on to the run before it.
void MarkUndone(const BackupRun& run);

// The backup of one run while it goes. Made when the run is about to write its first picture.
class RunBackup {
 public:
  // Makes backups/<game>/<run time>/ and starts its manifest. BackupError, naming the folder and
  // what is wrong, when that cannot be done.
  RunBackup(const std::filesystem::path& programFolder, std::string game,
            const std::filesystem::path& picturesFolder, std::string title);
  // Removes the folder when nothing was recorded.
  ~RunBackup();
  RunBackup(const RunBackup&) = delete;
  RunBackup& operator=(const RunBackup&) = delete;

  // Called before `picture` is written: keeps the picture that is there (a hard link, which costs
  // no space and keeps the bytes, as writes replace a picture by a new file; a copy when the
  // backups lie on another file system). Returns whether there was one. BackupError when it
  // cannot be kept: the picture must then not be written.
  bool Keep(const std::filesystem::path& picture);
  // The picture was not written after all: forgets what Keep kept.
  void Drop(const std::filesystem::path& picture, bool existed);
  // The picture was written: records it in the manifest with the row values it replaced.
  // BackupError when the manifest cannot be written.
  void Record(int playerId, const std::filesystem::path& picture, bool existed,
              const RowValues& before, bool rowChanged);
  // Completes the manifest and keeps only the last KeptRuns runs of the game. A run that recorded
  // nothing leaves no folder. BackupError when the manifest cannot be completed.
  void Finish();

  const std::filesystem::path& Folder() const { return folder_; }
  int Replaced() const { return replaced_; }
  int Created() const { return created_; }

 private:
  void Append(const std::string& line);

  std::filesystem::path programFolder_;
  std::string game_;
  std::filesystem::path folder_;
  std::FILE* manifest_ = nullptr;
  int replaced_ = 0;
  int created_ = 0;
  bool finished_ = false;
};

}  // namespace likentor
