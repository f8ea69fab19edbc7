#pragma once

// The window as a program: the Qt application, the start-up, the main window and its event loop.
// Only the command line's window path calls this, so commands never need a display.

#include <optional>
#include <string>

#include "app/session.h"

namespace likentor {

// Runs the window until it closes; `load` names a saved game to load at once (--load NAME).
// Answers the process's exit status.
int RunWindow(int argc, char** argv, const SessionPlaces& places,
              const std::optional<std::string>& load);

}  // namespace likentor
