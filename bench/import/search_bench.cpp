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

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/session.h"
#include "shell/scripted_prompts.h"
#include "support/bench_games.h"
#include "support/bench_process.h"

namespace {

namespace fs = std::filesystem;
using namespace likentor;

constexpr const char* kGame = "sample";

// Runs the program with `args`: its exit status; the processor time it took is added to
// `cpuSeconds`.
int RunProgram(const std::vector<std::string>& args, double* cpuSeconds = nullptr) {
  const bench::ProcessCost cost = bench::RunProgram(args);
  if (cpuSeconds != nullptr) *cpuSeconds += cost.cpuSeconds;
  return cost.status;
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
