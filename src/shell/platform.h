#pragma once

// The one place of the core that asks the operating system what standard C++ cannot: where the
// running executable is, the user's home, data and config folders, and whether a folder may be
// written. Everything else below the front ends uses std::filesystem only.

#include <filesystem>

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

}  // namespace likentor
