// A grid over the players of the large sample game (about 50,000 rows), as the player page and the
// editors show their tables: the table model opened on the table with its row count, and one
// screen of rows painted at the end of the table, each time at another place so that the rows
// are read from the table and not from the model's cache. Target on the build machine: both under
// 50 ms.
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise. Set LIKENTOR_BENCH_DIR to
// keep the generated and loaded game between runs.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QHeaderView>
#include <QPixmap>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/game_load.h"
#include "app/session.h"
#include "import/game_tables.h"
#include "shell/folders.h"
#include "shell/scripted_prompts.h"
#include "support/bench_application.h"
#include "support/bench_games.h"
#include "ui/data_grid.h"
#include "ui/table_model.h"

namespace {

namespace fs = std::filesystem;
using namespace likentor;

constexpr const char* kGame = "sample";

QApplication& Application() {
  return bench::Application("grid_bench");
}

// The program folder with the large sample game loaded once: its players table.
class LoadedLargeGame {
 public:
  LoadedLargeGame() : folder_(bench::BenchFolder("grid-bench")) {
    const fs::path program = folder_ / "program";
    const fs::path game = folder_ / "game";
    bench::SampleGame(game, samplegame::SizePreset::Large, bench::Generate::InThisProcess, kGame);
    bench::CopyShippedData(program);
    prompts_.AnswerFolder(program);
    prompts_.AnswerFolder(game);
    session_ = std::make_unique<Session>(prompts_, SessionPlaces{program, program});
    session_->Startup(Session::Missing::RunSetup);
    if (!session_->Data().TableExists(PlayersTableName(kGame))) LoadGame(*session_, kGame);
  }
  ~LoadedLargeGame() {
    session_->Shutdown();
    session_.reset();
    std::error_code ec;
    if (!bench::KeepFolder()) fs::remove_all(folder_, ec);
  }

  Database& Data() { return session_->Data(); }

 private:
  fs::path folder_;
  ScriptedPrompts prompts_;
  std::unique_ptr<Session> session_;
};

LoadedLargeGame& Game() {
  static LoadedLargeGame* game = new LoadedLargeGame();
  return *game;
}

// Opening the model on the players table and asking its row count, as a grid does first.
void ModelRowCount(benchmark::State& state) {
  Application();
  Database& db = Game().Data();
  int rows = 0;
  for (auto _ : state) {
    TableModel model;
    model.Open(db, PlayersTableName(kGame));
    rows = model.rowCount();
    benchmark::DoNotOptimize(rows);
  }
  state.counters["rows"] = rows;
}

// A screen of rows at the end of the table, scrolled to and painted into a picture.
void PaintScreenAtTheEnd(benchmark::State& state) {
  Application();
  TableModel model;
  model.Open(Game().Data(), PlayersTableName(kGame));
  DataGrid grid("PlayersSearchResults", &model, nullptr);
  grid.resize(728, 480);
  grid.FitColumns();
  grid.show();
  const int rows = model.rowCount();
  const int screen = grid.height() / grid.verticalHeader()->defaultSectionSize();
  int step = 0;
  for (auto _ : state) {
    // 40 screens back from the end and forward again: far more rows than the model keeps.
    const int row = rows - 1 - screen * (step++ % 40);
    grid.GoTo(row);
    const QPixmap shot = grid.grab();
    benchmark::DoNotOptimize(shot.cacheKey());
  }
  state.counters["rows"] = rows;
  state.counters["rows_per_screen"] = screen;
}

BENCHMARK(ModelRowCount)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PaintScreenAtTheEnd)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
