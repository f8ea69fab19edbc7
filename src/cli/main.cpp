#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/window_opener.h"
#include "shell/platform.h"

// likentor: the command line. It does not link the window system, so that a command starts without
// loading Qt's libraries; without a command it hands itself over to the window program beside it,
// with the same arguments.
int main(int argc, char** argv) {
  likentor::IgnoreFileSizeSignal();
  // The program's own folder (its shipped files, the setup's default program folder) is found
  // from the executable's: beside it in a program folder, share/likentor in an install.
  const std::filesystem::path executable = likentor::ExecutableFile(argc > 0 ? argv[0] : "");
  const std::filesystem::path windowProgram =
      executable.parent_path() / ("likentor-window" + executable.extension().string());
  const likentor::WindowOpener openWindow = [argc, argv, &windowProgram](
                                                const likentor::SessionPlaces&,
                                                const std::optional<std::string>&) {
    std::vector<std::string> args = {windowProgram.string()};
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    const int error = likentor::HandOverTo(windowProgram, args);
    std::cerr << "Cannot open the window: " << windowProgram.string() << ": "
              << std::strerror(error) << ".\n";
    return likentor::kExitFailed;
  };
  return likentor::RunCommandLine(argc, argv, std::cout, std::cerr, executable.parent_path(),
                                  openWindow);
}
