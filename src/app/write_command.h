#pragma once

// One command that writes at a time. A command that changes tables, pictures or the artwork kit
// marks the session busy for as long as it runs; a second one, from another thread (the window's
// while a run goes on the worker), is refused with a message naming the first. The same thread may
// nest commands (a load that the Load Game command starts), which only counts. The window greys
// its writing controls from the same state (Session::SetBusyListener); the command line, one
// thread, is kept from a second process by the program folder's lock.

#include <string>
#include <string_view>

#include "shell/error.h"

namespace likentor {

class Session;

// "Likentor is busy with <what>; try again when it has ended."
class BusyError : public Error {
 public:
  explicit BusyError(std::string_view busyWith);
};

// The names the commands go by while they run.
inline constexpr std::string_view kPhotoRunCommand = "a photo run";
inline constexpr std::string_view kLoadCommand = "loading a saved game";
inline constexpr std::string_view kCloseCommand = "closing the saved game";
inline constexpr std::string_view kInstallCommand = "installing a pack";
inline constexpr std::string_view kUninstallCommand = "uninstalling a pack";
inline constexpr std::string_view kUndoCommand = "undoing a run";
inline constexpr std::string_view kKeptRunsCommand = "changing the runs kept for undo";
inline constexpr std::string_view kSpreadCommand = "spreading faces";
inline constexpr std::string_view kNewLookCommand = "a new look";
inline constexpr std::string_view kNewPhotoCommand = "a new photo";
inline constexpr std::string_view kLocksCommand = "locking or unlocking photos";
inline constexpr std::string_view kUniformCommand = "changing a custom uniform";
inline constexpr std::string_view kSettingsCommand = "saving the settings";
inline constexpr std::string_view kFoldersCommand = "changing the folders";

// Marks `session` busy with `name` for its life. BusyError when another thread's command writes.
class WriteCommand {
 public:
  WriteCommand(Session& session, std::string_view name);
  ~WriteCommand();
  WriteCommand(const WriteCommand&) = delete;
  WriteCommand& operator=(const WriteCommand&) = delete;

 private:
  Session& session_;
};

}  // namespace likentor
