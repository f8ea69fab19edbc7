// The cost of keeping what a run writes over. The universe run of the large sample saved game
// (about 50,000 players) is made once to give every selected player a picture, then made again
// and again over those pictures, in turns with the backup on (the last five runs kept) and off
// (runs kept 0), the selected players flagged anew before each run. Reports each run's portraits
// per second, the best of each kind and their ratio (target: with the backup at least 80 % as
// fast), and for the last run with the backup the bytes of the pictures it kept against the disk
// space its folder takes (target: no more).
//
//   backup_bench [RUNS]     RUNS of each kind, 3 unless given
// Set LIKENTOR_BENCH_DIR to keep the generated game and its tables between runs. The artwork kit
// comes from the build's program folder (target "artwork").

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/batch_runs.h"
#include "app/game_load.h"
#include "app/run_backup.h"
#include "app/session.h"
#include "database/connection.h"
#include "database/table_store.h"
#include "import/game_tables.h"
#include "shell/scripted_prompts.h"
#include "support/bench_games.h"

namespace {

namespace fs = std::filesystem;
using namespace likentor;
using Clock = std::chrono::steady_clock;

constexpr const char* kGame = "sample";

// Disk space of the files below a folder, as allocated (st_blocks), and their bytes.
std::pair<std::uintmax_t, std::uintmax_t> SpaceOf(const fs::path& folder) {
  std::uintmax_t allocated = 0;
  std::uintmax_t bytes = 0;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    struct stat info {};
    if (!entry.is_regular_file() || ::stat(entry.path().c_str(), &info) != 0) continue;
    allocated += static_cast<std::uintmax_t>(info.st_blocks) * 512;
    bytes += static_cast<std::uintmax_t>(info.st_size);
  }
  return {allocated, bytes};
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const fs::path folder = bench::BenchFolder("backup-bench");
  const bool keep = bench::KeepFolder();
  const fs::path program = folder / "program";
  const fs::path game = folder / "game";
  bench::SampleGame(game, samplegame::SizePreset::Large);
  bench::CopyShippedData(program);
  const fs::path kit = fs::path(LIKENTOR_PROGRAM_DIR) / "graphics";
  if (!fs::exists(kit / "uniforms" / "bill underside.png")) {
    std::fprintf(stderr, "no artwork kit in %s: build the target \"artwork\" first\n", kit.c_str());
    return 1;
  }
  if (!fs::exists(program / "graphics")) fs::create_directory_symlink(kit, program / "graphics");

  ScriptedPrompts prompts;
  prompts.AnswerFolder(program);
  prompts.AnswerFolder(game);
  auto session = std::make_unique<Session>(prompts, SessionPlaces{program, program});
  session->Startup(Session::Missing::RunSetup);
  LoadGame(*session, kGame);
  const UniverseRequest request{ReadUniverseFilters(*session), 0};

  // Every selected player flagged again, as a load flags moved players.
  const auto flagAll = [&] {
    Database& db = session->Data();
    db.ConnectionFor(PlayersTableName(kGame))
        .Execute("UPDATE \"" + PlayersTableName(kGame) +
                 "\" SET update_required='true' WHERE locked<>'true'");
  };
  // The backups are turned off and on by the settings file itself: SetKeptRuns(0) would remove
  // the runs kept, and each timed run with the backup is to remove its oldest run, as a run does
  // once five are kept.
  const auto setKept = [&](int kept) {
    std::FILE* settings = std::fopen((BackupsFolder(program) / "settings.ini").c_str(), "w");
    std::fprintf(settings, "kept_runs=%d\n", kept);
    std::fclose(settings);
  };
  const auto timedRun = [&](int kept, const char* what) {
    setKept(kept);
    flagAll();
    const Clock::time_point start = Clock::now();
    const RunResult result = MakeUniversePhotos(*session, request);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double rate = result.made / seconds;
    std::printf("%-16s %6d portraits, %6d kept, %7.2f s, %7.1f portraits/s\n", what, result.made,
                result.kept, seconds, rate);
    std::fflush(stdout);
    return rate;
  };

  fs::create_directories(BackupsFolder(program));
  timedRun(0, "first run");  // every selected player gets a picture to write over
  // Five runs kept before the timed ones.
  for (int i = static_cast<int>(BackupRuns(program, kGame).size()); i < kDefaultKeptRuns; ++i) {
    timedRun(kDefaultKeptRuns, "filling backups");
  }
  std::vector<double> with;
  std::vector<double> without;
  for (int i = 0; i < runs; ++i) {
    without.push_back(timedRun(0, "without backup"));
    with.push_back(timedRun(kDefaultKeptRuns, "with backup"));
  }
  const double bestWith = *std::max_element(with.begin(), with.end());
  const double bestWithout = *std::max_element(without.begin(), without.end());
  std::printf("best: %.1f portraits/s with the backup, %.1f without: %.1f %% (target >= 80 %%)\n",
              bestWith, bestWithout, 100.0 * bestWith / bestWithout);

  const std::vector<BackupRun> kept = BackupRuns(program, kGame);
  if (!kept.empty()) {
    const BackupRun& last = kept.back();
    std::uintmax_t held = 0;
    for (const BackupEntry& entry : last.entries) {
      if (!entry.replaced) continue;
      std::error_code ec;
      const auto size = fs::file_size(last.folder / entry.file, ec);
      if (!ec) held += size;
    }
    const auto [allocated, bytes] = SpaceOf(last.folder);
    struct stat manifest {};
    ::stat((last.folder / "manifest.txt").c_str(), &manifest);
    // The kept pictures are the earlier pictures' own files (hard links): the disk blocks they
    // take are those the pictures took before the run, and only the manifest is new.
    std::printf(
        "last backup: %d pictures kept, %ju bytes of pictures; its folder: %ju bytes in files, "
        "%ju bytes of disk allocated, of which the manifest %jd bytes (%jd allocated)\n",
        last.Replaced(), held, bytes, allocated, static_cast<std::intmax_t>(manifest.st_size),
        static_cast<std::intmax_t>(manifest.st_blocks) * 512);
    std::printf("backups kept: %zu runs (the last %d)\n", kept.size(), kDefaultKeptRuns);
  }
  session->Shutdown();
  session.reset();
  std::error_code ec;
  if (!keep) fs::remove_all(folder, ec);
  return 0;
}
