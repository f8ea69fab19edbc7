#pragma once

// The backup of a run: before a batch run or "Make New Photo" writes over a picture of the saved
// game's picture folder, the picture as it was (the same bytes, never decoded) is kept in
// ProgramFolder/backups/<game>/<run time>/, and a manifest there lists what the run replaced and
// created, how each picture it wrote looked on disk (size and modification time, so that a later
// change is told apart) and the players-table values it changed. Undo (undo_run.h) works from it.
// Only the last few runs of each game are kept (KeptRuns, five unless set otherwise).
//
// The manifest survives a run that is killed at any moment. Each line ends with a checksum of its
// text, so a line cut by the kill is known and taken as never written. A picture's first record
// ("keep": its player, whether an earlier picture is there, the row values before) reaches the
// disk before the earlier picture is kept and the new one written; its second ("written": how the
// run left it) follows the write. A picture with only its first record is undone by what is on
// disk: an earlier picture that is still the kept one was never written over.

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "import/players_fields.h"
#include "shell/error.h"

namespace likentor {

class Cursor;
class Prompts;

inline constexpr int kDefaultKeptRuns = 5;

// The files of a run's folder besides the kept pictures: its manifest (and the manifest's first
// lines while they are made), and the mark of a run undone.
inline constexpr std::string_view kManifestFile = "manifest.txt";
inline constexpr std::string_view kManifestStartFile = "manifest.txt.new";
inline constexpr std::string_view kUndoneFile = "undone";

// A line of a backup file: its text, a tab, '#' and a checksum of the text. CheckedText gives the
// text back, none when the line was cut or changed.
std::string CheckedLine(std::string_view text);
std::optional<std::string> CheckedText(std::string_view line);
// Makes `text` a file's whole content at once: written beside it, flushed to the disk and renamed
// over it. False when that cannot be done (the file is then as it was).
bool WriteWholeFile(const std::filesystem::path& file, std::string_view text);
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
// What keeping `runs` runs of each game would remove: how many runs, and how many earlier pictures
// kept in them.
struct RunsBeyond {
  int runs = 0;
  int pictures = 0;
};
RunsBeyond RunsBeyondKept(const std::filesystem::path& programFolder, int runs);
// "2 runs with 31 kept earlier pictures".
std::string DescribeRunsBeyond(const RunsBeyond& beyond);
// Sets the number of runs kept after asking, when that removes kept runs, whether to remove them
// (their earlier pictures can no longer be put back). False when the user declined.
bool ChangeKeptRuns(Prompts& prompts, const std::filesystem::path& programFolder, int runs);

// The players-table fields a portrait changes: a run records their values before it and undo
// puts them back. age_step is the age step the last portrait was made at.
inline constexpr std::array<std::string_view, 5> kPhotoFields = {
    kAccessoryField, kBackgroundField, kUniformTeamIdField, kUpdateRequiredField, kAgeStepField};
// The fields of a first-version manifest's picture line, one column each.
inline constexpr std::array<std::string_view, 4> kPhotoFieldsV1 = {
    kAccessoryField, kBackgroundField, kUniformTeamIdField, kUpdateRequiredField};
// Fields of a row and their values before a run changed them (none: blank), in the order read.
using RowValues = std::vector<std::pair<std::string, std::optional<std::string>>>;
// The values of `fields` (the portrait's fields when not given) on the current row; a field the
// table lacks (one made by an earlier version) is left out.
RowValues ReadRowValues(const Cursor& players);
RowValues ReadRowValues(const Cursor& players, std::span<const std::string_view> fields);
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
  bool replaced = false;  // an earlier picture was there to keep (else the run created the file)
  int playerId = 0;
  std::string file;  // its name in the picture folder
  // The run recorded how it left the picture. When not, the run stopped (or was killed) between
  // keeping the earlier picture and recording the new one, which it may or may not have written.
  bool completed = true;
  bool dropped = false;       // the picture was not written after all
  std::int64_t intended = 0;  // when the run was about to write it, nanoseconds since the epoch
  FileStamp written;          // as the run left it (completed entries)
  bool rowChanged = false;    // the run's row values were stored (a refused post changes nothing)
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
  bool ended = false;   // the run came to its end (else it was killed, or is going on)
  // Why its manifest cannot be read (the file, the line and what is wrong), empty when it can. A
  // damaged run has no entries; its time is its folder's name when the manifest does not say.
  std::string damage;
  std::vector<BackupEntry> entries;  // each picture once, in the order the run took them

  int Replaced() const;
  int Created() const;
};

// Reads a run's manifest; Error naming the file, the line and what is wrong when it is missing or
// damaged.
BackupRun ReadBackupRun(const std::filesystem::path& folder);
// The kept runs of a game, oldest first, damaged ones among them (with `damage` set). A folder that
// holds nothing but the first lines of a manifest being made is no run.
std::vector<BackupRun> BackupRuns(const std::filesystem::path& programFolder,
                                  std::string_view game);
// Removes the oldest runs of a game beyond `kept`: at once they are no longer runs, and their
// files are removed by a thread of the process meanwhile (the process waits for it at its end).
void PruneBackupRuns(const std::filesystem::path& programFolder, std::string_view game, int kept);
// Waits until the runs pruned so far are removed.
void WaitForBackupRemovals();
// Marks a run undone: the next undo goes on to the run before it. Error when the mark cannot be
// written.
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

  // Called before `picture` is written: records the picture with the row values `before` the
  // run changes (on disk before anything else happens to it), then keeps the picture that is
  // there (a hard link, which costs no space and keeps the bytes, as writes replace a picture by
  // a new file; a copy when the backups lie on another file system). Returns whether there was
  // one. BackupError when it cannot be recorded or kept: the picture must then not be written.
  // With `sync` false the record is only flushed (it survives the process, not the machine), and
  // Sync must be called before the picture is written.
  bool Keep(int playerId, const std::filesystem::path& picture, const RowValues& before,
            bool sync = true);
  // Brings the records made so far to the disk. BackupError when that fails.
  void Sync();
  // The picture was not written after all: forgets what Keep kept.
  void Drop(const std::filesystem::path& picture, bool existed);
  // The picture was written: records how it lies on disk (`written` when the writer knows it,
  // else looked up) and whether its row was changed. BackupError when the manifest cannot be
  // written.
  void Record(const std::filesystem::path& picture, bool existed, bool rowChanged,
              const std::optional<FileStamp>& written = std::nullopt);
  // Completes the manifest (its closing line) and keeps only the last KeptRuns runs of the game.
  // A run that recorded nothing leaves no folder. BackupError when the manifest cannot be
  // completed.
  void Finish();

  const std::filesystem::path& Folder() const { return folder_; }
  int Replaced() const { return replaced_; }
  int Created() const { return created_; }

 private:
  // Keeps the picture there in the run's folder.
  void KeepCopy(const std::filesystem::path& picture);
  // Appends one line (its checksum added) and flushes it; with `sync` it also reaches the disk.
  void Append(const std::string& text, bool sync);

  std::filesystem::path programFolder_;
  std::string game_;
  std::filesystem::path folder_;
  std::FILE* manifest_ = nullptr;
  int kept_ = 0;  // pictures recorded by Keep, written or not
  int replaced_ = 0;
  int created_ = 0;
  bool finished_ = false;
  bool broken_ = false;  // a line could not be written
};

}  // namespace likentor
