#pragma once

// The program run as a process of its own, as a user runs it: what it cost. Header only:
// LIKENTOR_PROGRAM_DIR comes from the benchmark's own target.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

namespace likentor::bench {

// What one run of the program took: processor seconds and the peak resident set in megabytes.
struct ProcessCost {
  int status = -1;
  double cpuSeconds = 0;
  double peakMegabytes = 0;
};

// Runs the program with `args` and waits for it; its output goes nowhere.
inline ProcessCost RunProgram(const std::vector<std::string>& args) {
  const std::string program = std::string(LIKENTOR_PROGRAM_DIR) + "/likentor";
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  const int failed = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ProcessCost cost;
  if (failed != 0) return cost;
  int status = 0;
  rusage usage{};
  ::wait4(child, &status, 0, &usage);
  for (const timeval& t : {usage.ru_utime, usage.ru_stime}) {
    cost.cpuSeconds += static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  }
  cost.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
  cost.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return cost;
}

}  // namespace likentor::bench
