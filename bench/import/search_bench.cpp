// `likentor search` on the large sample saved game (about 50,000 players and 1,000,000 career
// lines), run as a process of its own the way a user runs it: once with the exports unchanged
// since the last load (the command uses that load's tables) and once with --reload (the command
// imports the whole game first), side by side in one run. Target on the build machine: under 50 ms
// of wall time for the unchanged exports. process_cpu_ms is the command's own processor time (user
// and system), which a machine busy with other work does not stretch.
//
// Set LIKENTOR_BENCH_DIR to keep the generated game between runs (the import bench's folder
// layout, so one generated game serves both).

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/session.h"
#include "shell/scripted_prompts.h"
#include "support/bench_games.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace likentor;

constexpr const char* kGame = "sample";

// Runs the program with `args` and waits for it; its output goes nowhere. The exit status; the
// processor time the process took (user and system) is added to `cpuSeconds`.
int RunProgram(const std::vector<std::string>& args, double* cpuSeconds = nullptr) {
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
  if (failed != 0) return -1;
  int status = 0;
  rusage usage{};
  ::wait4(child, &status, 0, &usage);
  if (cpuSeconds != nullptr) {
    for (const timeval& t : {usage.ru_utime, usage.ru_stime}) {
      *cpuSeconds += static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    }
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The program folder (set up, with configuration.ini) and the game folder with the large sample
// game, loaded once so that its tables and the last load's stamp are there.
class SearchBench {
 public:
  SearchBench() : folder_(bench::BenchFolder("search-bench")) {
    program_ = folder_ / "program";
    const fs::path game = folder_ / "game";
    const fs::path exports = bench::SampleGame(game, samplegame::SizePreset::Large,
                                               bench::Generate::InChildProcess, kGame) /
                             "import_export";
    for (const auto& entry : fs::directory_iterator(exports)) {
      if (entry.is_regular_file()) exportBytes_ += static_cast<double>(entry.file_size());
    }
    bench::CopyShippedData(program_);
    if (!fs::exists(program_ / "configuration.ini")) {
      ScriptedPrompts prompts;
      prompts.AnswerFolder(program_);
      prompts.AnswerFolder(game);
      Session session(prompts, SessionPlaces{program_, program_});
      session.Startup(Session::Missing::RunSetup);
      session.Shutdown();
    }
    if (RunProgram({"-C", program_.string(), "load", kGame}) != 0) {
      std::fprintf(stderr, "loading the sample game failed\n");
      std::exit(1);
    }
  }
  ~SearchBench() {
    std::error_code ec;
    if (!bench::KeepFolder()) fs::remove_all(folder_, ec);
  }

  int Search(bool reload, double* cpuSeconds) {
    std::vector<std::string> args = {"-C", program_.string(), "search", kGame, "--last", "Smi"};
    if (reload) args.push_back("--reload");
    return RunProgram(args, cpuSeconds);
  }
  double ExportMegabytes() const { return exportBytes_ / 1e6; }

 private:
  fs::path folder_;
  fs::path program_;
  double exportBytes_ = 0;
};

SearchBench& Bench() {
  static SearchBench bench;
  return bench;
}

void BM_SearchUnchangedExports(benchmark::State& state) {
  SearchBench& bench = Bench();
  double cpu = 0;
  for (auto _ : state) {
    if (bench.Search(false, &cpu) != 0) state.SkipWithError("search failed");
  }
  state.counters["exports_MB"] = bench.ExportMegabytes();
  // The command's own processor time: the wall time less what a busy machine made it wait.
  state.counters["process_cpu_ms"] = 1000.0 * cpu / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SearchUnchangedExports)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

void BM_SearchWithReload(benchmark::State& state) {
  SearchBench& bench = Bench();
  double cpu = 0;
  for (auto _ : state) {
    if (bench.Search(true, &cpu) != 0) state.SkipWithError("search --reload failed");
  }
  state.counters["exports_MB"] = bench.ExportMegabytes();
  // The command's own processor time: the wall time less what a busy machine made it wait.
  state.counters["process_cpu_ms"] = 1000.0 * cpu / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SearchWithReload)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
