// The window keeps answering while a batch run goes on its worker thread: a timer on the window's
// thread ticks every millisecond during a universe run of every player of the medium sample game
// (about 8,000 portraits), and the longest gap between two ticks is reported ("max_gap_ms"). Target
// on the build machine: under 100 ms.
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise. The game and the program
// folder are made afresh in LIKENTOR_BENCH_DIR (kept afterwards) or in a temporary folder.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/session.h"
#include "samplegame/sample_game.h"
#include "shell/folders.h"
#include "shell/scripted_prompts.h"
#include "ui/main_window.h"

namespace {

namespace fs = std::filesystem;
using namespace likentor;

fs::path BenchFolder() {
  if (const char* dir = std::getenv("LIKENTOR_BENCH_DIR"); dir != nullptr && *dir != '\0') {
    return dir;
  }
  return fs::temp_directory_path() / ("likentor-window-bench-" + std::to_string(::getpid()));
}

QApplication& Application() {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "window_bench";
  static char* argv[] = {name, nullptr};
  static QApplication* application = new QApplication(argc, argv);
  return *application;
}

void WindowDuringUniverseRun(benchmark::State& state) {
  Application();
  const fs::path folder = BenchFolder();
  const fs::path program = folder / "program";
  const fs::path game = folder / "game";
  // Made afresh every time: the portraits of an earlier run would leave nobody to draw.
  std::error_code ec;
  fs::remove_all(program, ec);
  fs::remove_all(game, ec);
  {
    samplegame::SampleGameOptions options;
    samplegame::ApplyPreset(options, samplegame::SizePreset::Medium);
    options.gameFolder = game.string();
    options.nationsFile = (fs::path(LIKENTOR_SOURCE_DIR) / "data" / "nations.csv").string();
    samplegame::GenerateSampleGame(options);
  }

  for (auto _ : state) {
    state.PauseTiming();
    ScriptedPrompts prompts;
    prompts.AnswerFolder(program);
    prompts.AnswerFolder(game);
    Session session(prompts, {program, LIKENTOR_PROGRAM_DIR});
    MainWindow window(session);
    if (window.Start() != MainWindow::Started::Ready) {
      state.SkipWithError("the start-up failed");
      return;
    }
    window.show();
    window.LoadSavedGameNamed("sample");
    window.findChild<QSpinBox*>("ActMinABEdit")->setValue(0);
    window.findChild<QSpinBox*>("ActMinIPEdit")->setValue(0);

    qint64 longest = 0;
    int ticks = 0;
    QElapsedTimer sinceTick;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
      if (!window.RunGoing()) return;
      if (ticks > 0) longest = std::max(longest, sinceTick.nsecsElapsed());
      sinceTick.start();
      ++ticks;
    });
    QSignalSpy ended(&window, &MainWindow::RunEnded);
    state.ResumeTiming();

    ticker.start();
    window.findChild<QPushButton*>("UniverseGoBtn")->click();
    if (!ended.wait(600000)) {
      state.SkipWithError("the run did not end");
      return;
    }
    ticker.stop();

    state.PauseTiming();
    state.counters["max_gap_ms"] = static_cast<double>(longest) / 1e6;
    state.counters["ticks"] = ticks;
    state.SetLabel(prompts.Texts(ScriptedPrompts::Kind::Message).back());
    window.close();
    state.ResumeTiming();
  }
  if (std::getenv("LIKENTOR_BENCH_DIR") == nullptr) fs::remove_all(folder, ec);
}

BENCHMARK(WindowDuringUniverseRun)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
