// The portraits page on the large sample game, after a universe run made its portraits (about
// 12,000), the window 1500 x 1200 on the offscreen platform:
//   PortraitsTeamCold    a team of about 50 players shown with an empty cache, from the command
//                        until every thumbnail is decoded and painted ("open_ms"; target under
//                        100 ms);
//   PortraitsRunOpen     the page on every portrait of the run, from "Show them" until the first
//                        screen is painted ("open_ms"; target under 100 ms), the pictures still
//                        coming;
//   PortraitsRunScroll   the same page scrolled from the first row to the last, a screen at a
//                        time, a frame each: the longest gap between two frames on the window's
//                        thread ("max_gap_ms"; target under 50 ms); then every thumbnail of the
//                        run read once, and the most the cache held meanwhile ("cache_max_mb";
//                        bound 64 MB).
//
// The page is opened through the window's own controls. The game, the program folder and the
// run's portraits are made once in LIKENTOR_BENCH_DIR (kept afterwards) or in a temporary folder.
// The artwork kit comes from the build's program folder (target "artwork").

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/portrait_gallery.h"
#include "app/run_backup.h"
#include "app/session.h"
#include "shell/folders.h"
#include "shell/scripted_prompts.h"
#include "support/bench_application.h"
#include "support/bench_games.h"
#include "ui/main_window.h"
#include "ui/portraits_page.h"
#include "ui/thumbnail_model.h"

namespace {

namespace fs = std::filesystem;
using namespace likentor;

constexpr int kWorkTimeoutMs = 900000;

fs::path BenchFolder() {
  return bench::BenchFolder("portraits-page-bench");
}

QApplication& Application() {
  return bench::Application("portraits_page_bench");
}

// The window over the large game, loaded, with the portraits of one universe run; made once.
struct LargeRun {
  ScriptedPrompts prompts;
  std::unique_ptr<Session> session;
  std::unique_ptr<MainWindow> window;
  PortraitsPage* page = nullptr;
  RunResult run;
  std::string failure;

  LargeRun() {
    Application();
    const fs::path game = BenchFolder() / "large";
    bench::SampleGame(game, samplegame::SizePreset::Large, bench::Generate::InThisProcess);
    const fs::path program = BenchFolder() / "program-portraits";
    const bool fresh = !fs::exists(program / "data");
    if (fresh) {
      prompts.AnswerFolder(program);
      prompts.AnswerFolder(game);
    }
    session = std::make_unique<Session>(prompts, SessionPlaces{program, LIKENTOR_PROGRAM_DIR});
    window = std::make_unique<MainWindow>(*session);
    if (window->Start() != MainWindow::Started::Ready) {
      failure = "the start-up failed";
      return;
    }
    window->resize(1500, 1200);
    window->show();
    page = window->findChild<PortraitsPage*>("PortraitsPage");
    if (!Await([&] { window->LoadSavedGameNamed("sample"); })) {
      failure = "the load failed";
      return;
    }
    // The universe run, once per program folder; a kept one shows what its run left: every
    // portrait of the picture folder.
    if (fresh) {
      QSignalSpy ended(window.get(), &MainWindow::RunEnded);
      window->findChild<QPushButton*>("UniverseGoBtn")->click();
      if (!ended.wait(kWorkTimeoutMs) || !page->LastRun()) {
        failure = "the run did not end or made nothing";
        return;
      }
      run = *page->LastRun();
    } else {
      // The kept run, as its backup lists it.
      const std::vector<BackupRun> runs = BackupRuns(program, "sample");
      if (runs.empty()) {
        failure = "the kept program folder has no run; remove " + program.string();
        return;
      }
      for (const BackupEntry& entry : runs.back().entries) run.players.push_back(entry.playerId);
      run.made = static_cast<int>(run.players.size());
      run.backupFolder = runs.back().folder;
      run.kept = runs.back().Replaced();
    }
  }

  ~LargeRun() {
    if (window) window->close();
  }

  bool Await(const std::function<void()>& start) {
    QSignalSpy ended(window.get(), &MainWindow::WorkEnded);
    start();
    return ended.wait(kWorkTimeoutMs);
  }
  ThumbnailModel& Model() const { return *page->Model(); }
  QListView& View() const { return *page->View(); }
  // Every row on screen decoded.
  bool ScreenReady() const {
    const QRect screen = View().viewport()->rect();
    for (int row = 0; row < Model().rowCount(); ++row) {
      const QRect cell = View().visualRect(Model().index(row));
      if (cell.intersects(screen) && !Model().Ready(row)) return false;
      if (cell.top() > screen.bottom()) break;
    }
    return true;
  }
};

LargeRun& Large() {
  static LargeRun* large = new LargeRun;
  return *large;
}

// The team of the team box closest to 50 players.
int TeamOfFifty(LargeRun& large) {
  int best = 0;
  int bestDistance = 1 << 30;
  for (const TeamItem& team : large.session->Window().teams) {
    const int size = static_cast<int>(TeamGallery(*large.session, team.teamId).players.size());
    if (std::abs(size - 50) < bestDistance) {
      bestDistance = std::abs(size - 50);
      best = team.teamId;
    }
  }
  return best;
}

// Events handled until `done` holds; false after `ms`.
template <typename Done>
bool Until(Done done, int ms) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
  }
  return true;
}

void PortraitsTeamCold(benchmark::State& state) {
  LargeRun& large = Large();
  if (!large.failure.empty()) {
    state.SkipWithError(large.failure.c_str());
    return;
  }
  const int team = TeamOfFifty(large);
  large.window->findChild<QAction*>("Portraits1")->trigger();
  double worst = 0;
  double total = 0;
  int count = 0;
  for (auto _ : state) {
    state.PauseTiming();
    large.page->ShowTeam(large.session->Window().teams.front().teamId);
    large.page->PicturesChanged();  // nothing decoded
    QCoreApplication::processEvents();
    state.ResumeTiming();
    QElapsedTimer timer;
    timer.start();
    large.page->ShowTeam(team);
    large.View().viewport()->repaint();
    const bool shown = Until(
        [&] {
          for (int row = 0; row < large.Model().rowCount(); ++row) {
            if (!large.Model().Ready(row)) return false;
          }
          return true;
        },
        10000);
    large.View().viewport()->repaint();
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    if (!shown || !large.ScreenReady()) {
      state.SkipWithError("the thumbnails were not all shown");
      return;
    }
    worst = std::max(worst, ms);
    total += ms;
    ++count;
  }
  state.counters["open_ms"] = total / count;
  state.counters["open_max_ms"] = worst;
  state.counters["players"] = large.Model().rowCount();
}

void PortraitsRunOpen(benchmark::State& state) {
  LargeRun& large = Large();
  if (!large.failure.empty()) {
    state.SkipWithError(large.failure.c_str());
    return;
  }
  double worst = 0;
  double total = 0;
  int count = 0;
  double galleryTotal = 0;
  auto* showThem = large.window->findChild<QPushButton*>("ShowThemBtn");
  for (auto _ : state) {
    state.PauseTiming();
    large.window->findChild<QAction*>("HomePage1")->trigger();
    large.page->RunEnded(large.run);
    large.page->PicturesChanged();
    QCoreApplication::processEvents();
    QElapsedTimer gallery;
    gallery.start();
    const std::size_t shown = RunGallery(*large.session, large.run.players,
                                         large.run.kept > 0 ? large.run.backupFolder : fs::path())
                                  .players.size();
    galleryTotal += static_cast<double>(gallery.nsecsElapsed()) / 1e6;
    if (shown != large.run.players.size()) {
      state.SkipWithError("the run's gallery holds other players");
      return;
    }
    state.ResumeTiming();
    QElapsedTimer timer;
    timer.start();
    showThem->click();
    large.View().viewport()->repaint();
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    worst = std::max(worst, ms);
    total += ms;
    ++count;
  }
  state.counters["open_ms"] = total / count;
  state.counters["open_max_ms"] = worst;
  state.counters["portraits"] = large.Model().rowCount();
  // Of it, reading the players of the run from the table.
  state.counters["gallery_ms"] = galleryTotal / count;
}

void PortraitsRunScroll(benchmark::State& state) {
  LargeRun& large = Large();
  if (!large.failure.empty()) {
    state.SkipWithError(large.failure.c_str());
    return;
  }
  for (auto _ : state) {
    large.page->RunEnded(large.run);
    large.window->findChild<QPushButton*>("ShowThemBtn")->click();
    large.page->PicturesChanged();
    QScrollBar* bar = large.View().verticalScrollBar();
    bar->setValue(0);
    QCoreApplication::processEvents();
    QElapsedTimer frame;
    frame.start();
    qint64 longest = 0;
    int frames = 0;
    qint64 cacheMost = 0;
    // A screen further each frame, the events of the frame handled, until the last row.
    while (true) {
      QCoreApplication::processEvents();
      large.View().viewport()->repaint();
      longest = std::max(longest, frame.nsecsElapsed());
      frame.start();
      ++frames;
      cacheMost = std::max(cacheMost, large.Model().CacheBytes());
      if (bar->value() >= bar->maximum()) break;
      bar->setValue(bar->value() + bar->pageStep());
    }
    // The last screen comes in the end.
    Until([&] { return large.ScreenReady(); }, 10000);
    // Every thumbnail of the run read once: the cache keeps to its bound.
    const int rows = large.Model().rowCount();
    for (int first = 0; first < rows; first += 256) {
      for (int row = first; row < std::min(rows, first + 256); ++row) {
        large.Model().data(large.Model().index(row), Qt::DecorationRole);
      }
      Until([&] { return large.Model().Waiting() == 0; }, 60000);
      cacheMost = std::max(cacheMost, large.Model().CacheBytes());
    }
    state.counters["max_gap_ms"] = static_cast<double>(longest) / 1e6;
    state.counters["frames"] = frames;
    state.counters["cache_max_mb"] = static_cast<double>(cacheMost) / (1024.0 * 1024.0);
    state.counters["portraits"] = rows;
  }
}

BENCHMARK(PortraitsTeamCold)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PortraitsRunOpen)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PortraitsRunScroll)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  return likentor::bench::RunBenchmarks(argc, argv, BenchFolder());
}
