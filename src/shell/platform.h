#pragma once

// The one place of the core that asks the operating system what standard C++ cannot: where the
// running executable is, the user's home, data and config folders, whether a folder may be
// written, and the file operations whose failures a backup must tell apart (a folder made or
// already there, a hard link, a file's data on the disk). Everything else below the front ends
// uses std::filesystem only.

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace likentor {

// The running executable's file, symbolic links resolved; absolute(argv0) where the system cannot
// tell.
std::filesystem::path ExecutableFile(const char* argv0);

// The user's home folder: $HOME, else the account's home (%USERPROFILE% on Windows). Empty when
// neither is known.
std::filesystem::path HomeFolder();

// The user's own folders for Likentor's files. On Linux, by the XDG base directory rules: the data
// folder is $XDG_DATA_HOME/likentor, else ~/.local/share/likentor; the config folder is
// $XDG_CONFIG_HOME/likentor, else ~/.config/likentor (a variable that is not an absolute path
// counts as unset). On Windows both are %LOCALAPPDATA%\Likentor.
std::filesystem::path UserDataFolder();
std::filesystem::path UserConfigFolder();

// Whether this process may make files in `folder` (false for a folder that is not there). Asks
// the system's permission check and writes nothing.
bool CanWriteFolder(const std::filesystem::path& folder);

// A write past the process's file-size limit (ulimit -f) fails with its error, which the command
// reports, instead of the system ending the process with SIGXFSZ. Nothing where there is no such
// signal.
void IgnoreFileSizeSignal();

// Hands this process over to the program `program`, started with the arguments `args` (args[0]
// being the name it is given): the program takes the place of this process, which ends with the
// program's exit status (on Windows, which cannot replace a process, this one waits for it and then
// ends). Answers only when the program could not be started: the system's error number.
int HandOverTo(const std::filesystem::path& program, const std::vector<std::string>& args);

// The local time of a moment.
std::tm LocalTime(std::time_t time);

// Makes one folder (its parent must be there). 0 when made, else the system's error number (EEXIST
// when something of that name is there already).
int MakeFolder(const std::filesystem::path& folder);

// A second name `link` for the file `file` (a hard link: the same bytes, no space taken). 0 when
// made, else the system's error number (EXDEV across file systems, EEXIST when `link` is there).
int MakeHardLink(const std::filesystem::path& file, const std::filesystem::path& link);

// A file's size and modification time (nanoseconds since the epoch), following symbolic links;
// none when it is not there.
struct FileSizeAndTime {
  std::uintmax_t size = 0;
  std::int64_t modified = 0;
};
std::optional<FileSizeAndTime> SizeAndTimeOf(const std::filesystem::path& file);

// Makes `bytes` the content of `file` at once: whoever opens `file` finds the file that was there
// or the whole new one, never part of it, and a process killed meanwhile leaves no new file behind
// (or only `file` + ".part", which a later write replaces). The new bytes go to a new file that
// takes the name, so names linked to the earlier file (a backup's hard links) keep its bytes.
// With `leaveSame`, a regular file `file` with these very bytes already is left as it is, its time
// too. (Not where another name was linked to the file to keep its bytes: a later change of the file
// in place would change those too.)
// On Linux the bytes go to an unnamed file of the folder that is then linked in place (one
// directory change for a new name instead of two); `Rename` makes it write to the ".part" file
// and rename that, as it does where the file system has no unnamed files.
enum class PublishWay { Best, Rename };
struct PublishedFile {
  int error = 0;           // 0 when done, else the system's error number
  bool created = false;    // a file for the new bytes could be made (false: error came before)
  bool unchanged = false;  // `file` held the bytes already and was not touched
  FileSizeAndTime stamp;   // the file as it lies now (when done)
};
PublishedFile PublishFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes,
                          bool leaveSame = true, PublishWay way = PublishWay::Best);

// Makes `text` the whole content of `file`, created or emptied first, and brings it to the disk
// before it returns. 0 when done, else the system's error number (the file may then hold part).
int WriteFileToDisk(const std::filesystem::path& file, std::string_view text);

// Opens a file for appending (made when it is not there); null when it cannot be opened.
std::FILE* OpenForAppending(const std::filesystem::path& file);

// Brings what was written to an open file (flushed from its buffer) to the disk. 0 when done, else
// the system's error number.
int SyncToDisk(std::FILE* file);

// Files that must be on the disk before the work they describe starts (a journal). Writes `bytes`
// to a file beside `file`, flushes it to the disk, moves it into place and flushes the folder, so
// that `file` is either whole or as it was. False when any step fails (the file beside removed).
bool WriteFileDurably(const std::filesystem::path& file, std::string_view bytes);
// Appends `bytes` to `file` and flushes it to the disk. False when that fails.
bool AppendDurably(const std::filesystem::path& file, std::string_view bytes);
// Removes `file` and flushes its folder, so that the removal too is on the disk. False when the
// file is still there.
bool RemoveDurably(const std::filesystem::path& file);

}  // namespace likentor
