#pragma once

// The command line without a command opens the window. The window lives in its own library, which
// only the window program (likentor-window) links: the likentor command line, which hands itself
// over to that program to open the window, and every test that runs it in process, stay free of
// the window system.

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "app/session.h"

namespace likentor {

// Opens the window on the working folder, loading the saved game `load` when one is given, and
// answers the exit status once it closes.
using WindowOpener =
    std::function<int(const SessionPlaces& places, const std::optional<std::string>& load)>;

// RunCommandLine, with the window opened by `openWindow` when no command is given. Without an
// opener the usage is printed instead.
int RunCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                   const std::filesystem::path& executableFolder, const WindowOpener& openWindow);

}  // namespace likentor
