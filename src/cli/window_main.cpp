#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "cli/command.h"
#include "cli/window_opener.h"
#include "shell/platform.h"
#include "ui/window_main.h"

// likentor-window: the program with its window. The likentor command line hands itself over to it
// when it is to open the window (no command given), with the same arguments; it also runs commands
// as likentor does.
int main(int argc, char** argv) {
  likentor::IgnoreFileSizeSignal();
  const std::filesystem::path executable = likentor::ExecutableFile(argc > 0 ? argv[0] : "");
  const likentor::WindowOpener openWindow = [argc, argv](const likentor::SessionPlaces& places,
                                                         const std::optional<std::string>& load) {
    return likentor::RunWindow(argc, argv, places, load);
  };
  return likentor::RunCommandLine(argc, argv, std::cout, std::cerr, executable.parent_path(),
                                  openWindow);
}
