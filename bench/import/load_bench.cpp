// Loading the large sample saved game (about 50,000 players and 1,000,000 career lines): once into
// empty per-game tables and once more as a re-load that merges into them. Target on the build
// machine: each load under 5 s of wall time, the process under 300 MB at its peak.
//
// The game is generated in a child process, so that the generator's memory does not count in this
// process's peak; the peak reported ("peak_MB") is the whole process's, set-up of the shared tables
// included. Set LIKENTOR_BENCH_DIR to keep the generated game between runs; the command line can
// then be measured on the same folders as a process of its own, from BUILD/program:
//   /usr/bin/time -f '%e s, %M KB' ./likentor -C "$LIKENTOR_BENCH_DIR/program" load sample

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/game_load.h"
#include "app/session.h"
#include "import/game_tables.h"
#include "shell/scripted_prompts.h"
#include "support/bench_games.h"

namespace {

namespace fs = std::filesystem;
using namespace likentor;

constexpr const char* kGame = "sample";

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

// The program folder (shared tables set up) and the game folder with the large sample game.
class LoadBench {
 public:
  LoadBench() : folder_(bench::BenchFolder("load-bench")) {
    const fs::path program = folder_ / "program";
    const fs::path game = folder_ / "game";
    bench::SampleGame(game, samplegame::SizePreset::Large);
    bench::CopyShippedData(program);
    prompts_.AnswerFolder(program);
    prompts_.AnswerFolder(game);
    session_ = std::make_unique<Session>(prompts_, SessionPlaces{program, program});
    session_->Startup(Session::Missing::RunSetup);
  }
  ~LoadBench() {
    session_->Shutdown();
    session_.reset();
    std::error_code ec;
    if (!bench::KeepFolder()) fs::remove_all(folder_, ec);
  }

  void DropGameTables() {
    if (!session_->LoadedGameName().empty()) CloseGame(*session_);
    Database& db = session_->Data();
    for (const std::string& table :
         {LeaguesTableName(kGame), TeamsTableName(kGame), PlayersTableName(kGame),
          BattingTableName(kGame), PitchingTableName(kGame)}) {
      db.DeleteTable(table);
    }
  }
  void Load() { LoadGame(*session_, kGame); }

 private:
  fs::path folder_;
  ScriptedPrompts prompts_;
  std::unique_ptr<Session> session_;
};

LoadBench& Bench() {
  static LoadBench bench;
  return bench;
}

void BM_LoadFromScratch(benchmark::State& state) {
  LoadBench& bench = Bench();
  for (auto _ : state) {
    state.PauseTiming();
    bench.DropGameTables();
    state.ResumeTiming();
    bench.Load();
  }
  state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(BM_LoadFromScratch)->Unit(benchmark::kSecond)->Iterations(2)->UseRealTime();

void BM_Reload(benchmark::State& state) {
  LoadBench& bench = Bench();
  bench.Load();  // the tables exist before the timed loads
  for (auto _ : state) bench.Load();
  state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(BM_Reload)->Unit(benchmark::kSecond)->Iterations(2)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
