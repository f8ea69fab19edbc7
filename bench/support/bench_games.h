#pragma once

// The set-up the benchmarks share: the folder they work in, the sample saved game they measure,
// and a program folder with the shipped files the set-up reads. Header only: LIKENTOR_SOURCE_DIR
// comes from the benchmark's own target; a benchmark that includes this links
// likentor_samplegame_lib.

#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "samplegame/sample_game.h"

namespace likentor::bench {

// LIKENTOR_BENCH_DIR is set: the benchmark works there and keeps what it made for the next run.
inline bool KeepFolder() {
  const char* dir = std::getenv("LIKENTOR_BENCH_DIR");
  return dir != nullptr && *dir != '\0';
}

// LIKENTOR_BENCH_DIR, or a temporary folder of this benchmark and process ("likentor-NAME-PID").
inline std::filesystem::path BenchFolder(const std::string& name) {
  if (KeepFolder()) return std::getenv("LIKENTOR_BENCH_DIR");
  return std::filesystem::temp_directory_path() /
         ("likentor-" + name + "-" + std::to_string(::getpid()));
}

// How a game is generated: in a child process, so that the generator's memory does not count in
// the benchmark's peak, or in this process (one with threads of its own, which a fork would not
// copy).
enum class Generate { InChildProcess, InThisProcess };

// The sample game NAME of SIZE in the game folder GAME, generated unless its players export is
// there (a kept folder). Exits the benchmark when the generator fails. The saved game's folder.
inline std::filesystem::path SampleGame(const std::filesystem::path& game,
                                        samplegame::SizePreset size,
                                        Generate where = Generate::InChildProcess,
                                        const std::string& name = "sample") {
  samplegame::SampleGameOptions options;
  samplegame::ApplyPreset(options, size);
  options.gameFolder = game.string();
  options.name = name;
  options.nationsFile =
      (std::filesystem::path(LIKENTOR_SOURCE_DIR) / "data" / "nations.csv").string();
  const std::filesystem::path saved = samplegame::SavedGameFolder(options);
  if (std::filesystem::exists(saved / "import_export" / "players.csv")) return saved;
  const auto generate = [&options] {
    const samplegame::SampleGameSummary summary = samplegame::GenerateSampleGame(options);
    std::printf("Generated %d players, %zu batting and %zu pitching lines\n", summary.players,
                summary.battingLines, summary.pitchingLines);
    std::fflush(stdout);
  };
  if (where == Generate::InThisProcess) {
    generate();
    return saved;
  }
  const pid_t child = ::fork();
  if (child == 0) {
    generate();
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "generating the sample game failed\n");
    std::exit(1);
  }
  return saved;
}

// PROGRAM/data with the program's nations.csv and facialhair.csv, which the set-up reads.
inline void CopyShippedData(const std::filesystem::path& program) {
  std::filesystem::create_directories(program / "data");
  for (const char* name : {"nations.csv", "facialhair.csv"}) {
    std::filesystem::copy_file(std::filesystem::path(LIKENTOR_SOURCE_DIR) / "data" / name,
                               program / "data" / name,
                               std::filesystem::copy_options::overwrite_existing);
  }
}

// The main of a benchmark that works in FOLDER: runs the benchmarks the command line names, then
// removes the folder unless it is kept.
inline int RunBenchmarks(int argc, char** argv, const std::filesystem::path& folder) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (!KeepFolder()) {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
  return 0;
}

}  // namespace likentor::bench
