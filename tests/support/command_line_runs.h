#pragma once

// The command line run in process, its exit status and both streams kept for the test.

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command.h"

namespace likentor::test {

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs `likentor ARGS` in process, with `exe` as the executable's folder.
inline Outcome RunInProcess(std::vector<std::string> args, const std::filesystem::path& exe) {
  args.insert(args.begin(), "likentor");
  std::vector<const char*> argv;
  for (const auto& a : args) argv.push_back(a.c_str());
  std::ostringstream out, err;
  Outcome run;
  run.status = RunCommandLine(static_cast<int>(argv.size()), argv.data(), out, err, exe);
  run.out = out.str();
  run.err = err.str();
  return run;
}

}  // namespace likentor::test
