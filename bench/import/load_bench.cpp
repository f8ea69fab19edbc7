// Loading the large sample saved game (about 50,000 players and 1,000,000 career lines): once into
// empty per-game tables and once more as a re-load that merges into them. Target on the build
// machine: each load under 1 s of wall time, and the load's memory under 32 MB.
//
// BM_LoadCommand* run `likentor load` as a process of its own, the way a user runs it, on a program
// folder of their own: into empty tables, and again over complete ones. Their counters:
// process_cpu_ms is the command's processor time (user and system), which a machine busy with other
// work does not stretch as it stretches the wall time; peak_MB is the process's largest resident
// set (getrusage's ru_maxrss of the child, from wait4), libraries included; idle_MB is the same for
// `likentor --help`, the program that loads nothing, so that peak_MB - idle_MB is what the load
// itself holds at its peak.
//
// BM_LoadFromScratch and BM_Reload load in this process through the session. The game is generated
// in a child process, so that the generator's memory does not count in this process's peak; the
// peak they report ("peak_MB") is the whole process's, set-up of the shared tables included. Set
// LIKENTOR_BENCH_DIR to keep the generated game between runs; the command line can then be measured
// on the same folders as a process of its own, from BUILD/program:
//   /usr/bin/time -f '%e s, %M KB' ./likentor -C "$LIKENTOR_BENCH_DIR/program" load sample

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/game_load.h"
#include "app/session.h"
#include "import/game_tables.h"
#include "shell/scripted_prompts.h"
#include "support/bench_games.h"
#include "support/bench_process.h"

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

// A program folder of its own for the command, set up on the bench's game.
class CommandBench {
 public:
  CommandBench() : folder_(bench::BenchFolder("load-bench")) {
    Bench();  // the game is generated
    program_ = folder_ / "program-command";
    bench::CopyShippedData(program_);
    if (!fs::exists(program_ / "configuration.ini")) {
      ScriptedPrompts prompts;
      prompts.AnswerFolder(program_);
      prompts.AnswerFolder(folder_ / "game");
      Session session(prompts, SessionPlaces{program_, program_});
      session.Startup(Session::Missing::RunSetup);
      session.Shutdown();
    }
  }
  ~CommandBench() {
    std::error_code ec;
    if (!bench::KeepFolder()) fs::remove_all(program_, ec);
  }

  void DropGameTables() {
    for (const std::string& table :
         {LeaguesTableName(kGame), TeamsTableName(kGame), PlayersTableName(kGame),
          BattingTableName(kGame), PitchingTableName(kGame)}) {
      for (const char* suffix : {"", "-wal", "-shm"}) {
        std::error_code ec;
        fs::remove(program_ / "data" / (table + suffix), ec);
      }
    }
  }
  bench::ProcessCost Load() { return bench::RunProgram({"-C", program_.string(), "load", kGame}); }
  bench::ProcessCost Idle() { return bench::RunProgram({"--help"}); }

 private:
  fs::path folder_;
  fs::path program_;
};

CommandBench& Command() {
  static CommandBench bench;
  return bench;
}

void ReportProcess(benchmark::State& state, double cpu, double peak) {
  state.counters["process_cpu_ms"] = 1000.0 * cpu / static_cast<double>(state.iterations());
  state.counters["peak_MB"] = peak;
  state.counters["idle_MB"] = Command().Idle().peakMegabytes;
}

void BM_LoadCommandFromScratch(benchmark::State& state) {
  CommandBench& bench = Command();
  double cpu = 0;
  double peak = 0;
  for (auto _ : state) {
    state.PauseTiming();
    bench.DropGameTables();
    state.ResumeTiming();
    const bench::ProcessCost cost = bench.Load();
    if (cost.status != 0) state.SkipWithError("likentor load failed");
    cpu += cost.cpuSeconds;
    peak = std::max(peak, cost.peakMegabytes);
  }
  ReportProcess(state, cpu, peak);
}
BENCHMARK(BM_LoadCommandFromScratch)->Unit(benchmark::kSecond)->Iterations(3)->UseRealTime();

void BM_LoadCommandReload(benchmark::State& state) {
  CommandBench& bench = Command();
  if (bench.Load().status != 0) state.SkipWithError("likentor load failed");
  double cpu = 0;
  double peak = 0;
  for (auto _ : state) {
    const bench::ProcessCost cost = bench.Load();
    if (cost.status != 0) state.SkipWithError("likentor load failed");
    cpu += cost.cpuSeconds;
    peak = std::max(peak, cost.peakMegabytes);
  }
  ReportProcess(state, cpu, peak);
}
BENCHMARK(BM_LoadCommandReload)->Unit(benchmark::kSecond)->Iterations(3)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
