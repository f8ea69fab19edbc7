// The window keeps answering while long work goes on its worker thread: a timer on the window's
// thread ticks every millisecond, and the longest gap between two ticks while the work goes is
// reported ("max_gap_ms"; target on the build machine: under 100 ms), during
//   WindowDuringUniverseRun  a universe run of every player of the medium sample game (about 8,000
//                            portraits);
//   WindowDuringLargeLoad    File > Load Game of the large sample game (50,000 players);
//   WindowDuringUninstall    "Uninstall Pack" of a pack of 200 faces worn in two saved games of the
//                            large size (loaded after the install, so their draws gave the pack's
//                            faces to some of their players);
//   WindowDuringUndo         Tools > Undo Last Run after a universe run of the large game over its
//                            own earlier portraits, with the backup on (about 12,000 pictures put
//                            back).
// Each reports the ticks counted and the work's own figures in its label.
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise. The games and the program
// folders are made afresh in LIKENTOR_BENCH_DIR (kept afterwards; the large game is then made only
// once) or in a temporary folder. The artwork kit comes from the build's program folder (target
// "artwork"). One benchmark alone: --benchmark_filter=WindowDuringUndo.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/component_packs.h"
#include "app/session.h"
#include "database/connection.h"
#include "import/game_tables.h"
#include "portrait/appearance.h"
#include "portrait/png_image.h"
#include "shell/folders.h"
#include "shell/scripted_prompts.h"
#include "support/bench_application.h"
#include "support/bench_games.h"
#include "ui/main_window.h"

namespace {

namespace fs = std::filesystem;
using namespace likentor;

// Long enough for any of the works measured here on a slow machine.
constexpr int kWorkTimeoutMs = 900000;

fs::path BenchFolder() {
  return bench::BenchFolder("window-bench");
}

QApplication& Application() {
  return bench::Application("window_bench");
}

// The large sample game "sample" and a copy of it named "second", made once per bench folder.
fs::path LargeGame() {
  const fs::path game = BenchFolder() / "large";
  const fs::path saved =
      bench::SampleGame(game, samplegame::SizePreset::Large, bench::Generate::InThisProcess);
  const fs::path second = saved.parent_path() / "second.lg";
  if (!fs::exists(second / "import_export" / "players.csv")) {
    std::error_code ec;
    fs::remove_all(second, ec);
    fs::copy(saved, second, fs::copy_options::recursive);
  }
  return game;
}

// A program folder made afresh, a session on it over `game`, and its window started and shown.
struct Bench {
  ScriptedPrompts prompts;
  std::unique_ptr<Session> session;
  std::unique_ptr<MainWindow> window;

  Bench(const std::string& name, const fs::path& game) {
    Application();
    const fs::path program = BenchFolder() / ("program-" + name);
    std::error_code ec;
    fs::remove_all(program, ec);
    prompts.AnswerFolder(program);
    prompts.AnswerFolder(game);
    session = std::make_unique<Session>(prompts, SessionPlaces{program, LIKENTOR_PROGRAM_DIR});
    window = std::make_unique<MainWindow>(*session);
  }
  ~Bench() {
    if (window) window->close();
  }
  Bench(const Bench&) = delete;
  Bench& operator=(const Bench&) = delete;

  bool Start() {
    if (window->Start() != MainWindow::Started::Ready) return false;
    window->show();
    return true;
  }
  // Starts work with `start` and waits until the window says it ended.
  bool Await(const std::function<void()>& start) {
    QSignalSpy ended(window.get(), &MainWindow::WorkEnded);
    start();
    return ended.wait(kWorkTimeoutMs);
  }
  bool Load(const std::string& game) {
    return Await([&] { window->LoadSavedGameNamed(game); });
  }
  std::string LastMessage() const {
    const std::vector<std::string> texts = prompts.Texts(ScriptedPrompts::Kind::Message);
    const std::vector<std::string> errors = prompts.Texts(ScriptedPrompts::Kind::Error);
    if (!errors.empty()) return "error: " + errors.back();
    return texts.empty() ? std::string() : texts.back();
  }
};

// Ticks of a 1 ms timer on the window's thread from the click that starts the work until the
// window says it ended (WorkEnded, after the work's closing message and the window's own updates):
// the longest gap between two of them, the last one up to the end included.
class GapMeter {
 public:
  explicit GapMeter(MainWindow& window) {
    ticker_.setTimerType(Qt::PreciseTimer);
    ticker_.setInterval(1);
    QObject::connect(&ticker_, &QTimer::timeout, [this] { Tick(); });
    ended_ = QObject::connect(&window, &MainWindow::WorkEnded, [this] {
      Tick();
      ticker_.stop();
    });
    work_.start();
    sinceTick_.start();
    ticker_.start();
  }
  ~GapMeter() { QObject::disconnect(ended_); }
  GapMeter(const GapMeter&) = delete;
  GapMeter& operator=(const GapMeter&) = delete;

  void Report(benchmark::State& state) {
    ticker_.stop();
    state.counters["max_gap_ms"] = static_cast<double>(longest_) / 1e6;
    // When the longest gap ended, counted from the start of the work.
    state.counters["max_gap_at_s"] = static_cast<double>(longestAt_) / 1e9;
    state.counters["work_s"] = static_cast<double>(lastTick_) / 1e9;
    state.counters["ticks"] = ticks_;
  }

 private:
  void Tick() {
    if (!ticker_.isActive()) return;
    const qint64 gap = sinceTick_.nsecsElapsed();
    sinceTick_.start();
    lastTick_ = work_.nsecsElapsed();
    ++ticks_;
    if (gap > longest_) {
      longest_ = gap;
      longestAt_ = lastTick_;
    }
  }

  QTimer ticker_;
  QMetaObject::Connection ended_;
  QElapsedTimer sinceTick_;
  QElapsedTimer work_;
  qint64 longest_ = 0;
  qint64 longestAt_ = 0;
  qint64 lastTick_ = 0;
  int ticks_ = 0;
};

void WindowDuringUniverseRun(benchmark::State& state) {
  Application();
  const fs::path game = BenchFolder() / "game";
  // Made afresh every time: the portraits of an earlier run would leave nobody to draw.
  std::error_code ec;
  fs::remove_all(game, ec);
  bench::SampleGame(game, samplegame::SizePreset::Medium, bench::Generate::InThisProcess);

  for (auto _ : state) {
    state.PauseTiming();
    Bench bench("run", game);
    if (!bench.Start() || !bench.Load("sample")) {
      state.SkipWithError("the start-up or the load failed");
      return;
    }
    MainWindow& window = *bench.window;
    window.findChild<QSpinBox*>("ActMinABEdit")->setValue(0);
    window.findChild<QSpinBox*>("ActMinIPEdit")->setValue(0);

    QSignalSpy ended(&window, &MainWindow::RunEnded);
    GapMeter meter(window);
    state.ResumeTiming();
    window.findChild<QPushButton*>("UniverseGoBtn")->click();
    if (!ended.wait(kWorkTimeoutMs)) {
      state.SkipWithError("the run did not end");
      return;
    }
    state.PauseTiming();
    meter.Report(state);
    state.SetLabel(bench.LastMessage());
    state.ResumeTiming();
  }
}

void WindowDuringLargeLoad(benchmark::State& state) {
  Application();
  const fs::path game = LargeGame();
  for (auto _ : state) {
    state.PauseTiming();
    Bench bench("load", game);
    if (!bench.Start()) {
      state.SkipWithError("the start-up failed");
      return;
    }
    // The chooser of File > Load Game picks the saved game's folder.
    bench.prompts.AnswerFolder(SavedGamesFolder(game) / "sample.lg");
    GapMeter meter(*bench.window);
    state.ResumeTiming();
    if (!bench.Await([&] { bench.window->findChild<QAction*>("LoadGame1")->trigger(); })) {
      state.SkipWithError("the load did not end");
      return;
    }
    state.PauseTiming();
    meter.Report(state);
    state.SetLabel(bench.LastMessage());
    state.ResumeTiming();
  }
}

// 200 faces of the kit's size, each of its own colour, made once.
fs::path FacePack() {
  const fs::path folder = BenchFolder() / "face-pack";
  if (fs::exists(folder / "face199.png")) return folder;
  fs::create_directories(folder);
  for (int n = 0; n < 200; ++n) {
    PngImage face(kFaceWidth, kFaceHeight, true);
    const Rgb skin{static_cast<std::uint8_t>(120 + n % 100), static_cast<std::uint8_t>(80 + n / 4),
                   static_cast<std::uint8_t>(60 + n % 37)};
    for (int y = 10; y < kFaceHeight - 10; ++y) {
      for (int x = 8; x < kFaceWidth - 8; ++x) {
        face.SetPixel(x, y, skin);
        face.SetAlpha(x, y, 255);
      }
    }
    char name[32];
    std::snprintf(name, sizeof name, "face%03d.png", n);
    face.Save(folder / name);
  }
  return folder;
}

void WindowDuringUninstall(benchmark::State& state) {
  Application();
  const fs::path game = LargeGame();
  const fs::path pack = FacePack();
  for (auto _ : state) {
    state.PauseTiming();
    Bench bench("uninstall", game);
    if (!bench.Start()) {
      state.SkipWithError("the start-up failed");
      return;
    }
    // Installed before the loads, whose draws give its faces to some of the games' players.
    const PackInstall installed = InstallPack(*bench.session, PackKind::Faces, pack, kCaucasian);
    if (installed.numbers.size() != 200 || !bench.Load("sample") || !bench.Load("second")) {
      state.SkipWithError("the install or a load failed");
      return;
    }
    MainWindow& window = *bench.window;
    window.findChild<QAction*>("Install1")->trigger();
    auto* packs = window.findChild<QListWidget*>("InstalledPacksList");
    packs->setCurrentRow(0);
    bench.prompts.AnswerConfirm(true);
    GapMeter meter(window);
    state.ResumeTiming();
    if (!bench.Await([&] { window.findChild<QPushButton*>("UninstallPackBtn")->click(); })) {
      state.SkipWithError("the uninstall did not end");
      return;
    }
    state.PauseTiming();
    meter.Report(state);
    state.SetLabel(bench.LastMessage());
    state.ResumeTiming();
  }
}

void WindowDuringUndo(benchmark::State& state) {
  Application();
  const fs::path game = LargeGame();
  for (auto _ : state) {
    state.PauseTiming();
    Bench bench("undo", game);
    if (!bench.Start() || !bench.Load("sample")) {
      state.SkipWithError("the start-up or the load failed");
      return;
    }
    MainWindow& window = *bench.window;
    const auto run = [&] {
      return bench.Await([&] { window.findChild<QPushButton*>("UniverseGoBtn")->click(); });
    };
    // A first run gives the selected players pictures, and a second writes over them: every one
    // of them is flagged again first, as a load flags moved players.
    if (!run()) {
      state.SkipWithError("the first run did not end");
      return;
    }
    bench.session->Data()
        .ConnectionFor(PlayersTableName("sample"))
        .Execute("UPDATE \"" + PlayersTableName("sample") +
                 "\" SET update_required='true' WHERE locked<>'true'");
    if (!run()) {
      state.SkipWithError("the second run did not end");
      return;
    }
    const std::string ran = bench.LastMessage();
    bench.prompts.AnswerConfirm(true);
    GapMeter meter(window);
    state.ResumeTiming();
    if (!bench.Await([&] { window.findChild<QAction*>("UndoLastRun1")->trigger(); })) {
      state.SkipWithError("the undo did not end");
      return;
    }
    state.PauseTiming();
    meter.Report(state);
    state.SetLabel(ran + " / " + bench.LastMessage());
    state.ResumeTiming();
  }
}

BENCHMARK(WindowDuringUniverseRun)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(WindowDuringLargeLoad)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(WindowDuringUninstall)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(WindowDuringUndo)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  return likentor::bench::RunBenchmarks(argc, argv, BenchFolder());
}
