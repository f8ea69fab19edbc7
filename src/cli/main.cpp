#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>

#include "cli/command.h"
#include "cli/window_opener.h"
#include "ui/window_main.h"

int main(int argc, char** argv) {
  // The program folder a cancelled setup prompt falls back to: where this executable lives.
  std::error_code ec;
  std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) executable = std::filesystem::absolute(argv[0], ec);
  // Without a command the window opens; commands never start the window system.
  const likentor::WindowOpener openWindow = [argc, argv](const likentor::SessionPlaces& places,
                                                         const std::optional<std::string>& load) {
    return likentor::RunWindow(argc, argv, places, load);
  };
  return likentor::RunCommandLine(argc, argv, std::cout, std::cerr, executable.parent_path(),
                                  openWindow);
}
