#include <filesystem>
#include <iostream>
#include <system_error>

#include "cli/command.h"

int main(int argc, char** argv) {
  // The program folder a cancelled setup prompt falls back to: where this executable lives.
  std::error_code ec;
  std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) executable = std::filesystem::absolute(argv[0], ec);
  return likentor::RunCommandLine(argc, argv, std::cout, std::cerr, executable.parent_path());
}
