#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "cli/command.h"
#include "cli/window_opener.h"
#include "shell/platform.h"
#include "ui/window_main.h"

int main(int argc, char** argv) {
  likentor::IgnoreFileSizeSignal();
  // The program's own folder (its shipped files, the setup's default program folder) is found
  // from the executable's: beside it in a program folder, share/likentor in an install.
  const std::filesystem::path executable = likentor::ExecutableFile(argc > 0 ? argv[0] : "");
  // Without a command the window opens; commands never start the window system.
  const likentor::WindowOpener openWindow = [argc, argv](const likentor::SessionPlaces& places,
                                                         const std::optional<std::string>& load) {
    return likentor::RunWindow(argc, argv, places, load);
  };
  return likentor::RunCommandLine(argc, argv, std::cout, std::cerr, executable.parent_path(),
                                  openWindow);
}
