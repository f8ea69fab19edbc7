// likentor-samplegame: writes a synthetic saved game of the baseball game into a game folder.

#include <CLI/CLI.hpp>

#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "samplegame/sample_game.h"

namespace {

using likentor::samplegame::SizePreset;

std::filesystem::path ExecutablePath(const char* argv0) {
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) return self;
  return std::filesystem::absolute(argv0, error);
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Writes a synthetic saved game (exports, nations list, logos, pictures)."};
  likentor::samplegame::SampleGameOptions options;
  std::string size = "small";
  std::optional<int> teams;
  std::optional<int> players;
  std::optional<int> years;
  bool quiet = false;

  app.add_option("--size", size,
                 "small (30 teams, 1,200 players), medium (150 teams, 8,000 "
                 "players), large (180 teams, 50,000 players)")
      ->check(CLI::IsMember({"small", "medium", "large"}));
  app.add_option("--seed", options.seed, "Seed of the random draws (same seed, same files)");
  app.add_option("--name", options.name, "Saved game name (folder NAME.lg)");
  app.add_option("--teams", teams, "Number of teams (up to 30 major-league, the rest affiliates)");
  app.add_option("--players", players, "Number of players, retired ones included");
  app.add_option("--years", years, "Years of career history");
  app.add_option("--season", options.season,
                 "Season of the saved game's life: 2 and later evolve the first season's game")
      ->check(CLI::PositiveNumber);
  app.add_flag("--modified-nations", options.modifiedNations,
               "Write a changed nations.txt of 221 nations");
  app.add_flag("--awkward", options.awkward,
               "Awkward input: blank line ending each export, quoted fields with separators and "
               "doubled quotes, a league name over 40 characters");
  app.add_flag("--quote-text", options.quoteText, "Enclose every text field in double quotes");
  app.add_option("--nations", options.nationsFile, "The program's nations.csv to take nations from")
      ->check(CLI::ExistingFile);
  app.add_flag("--quiet", quiet, "Print nothing on success");
  app.add_option("GAME_FOLDER", options.gameFolder, "The game's install folder to write into")
      ->required();
  CLI11_PARSE(app, argc, argv);

  static const std::map<std::string, SizePreset> kPresets = {
      {"small", SizePreset::Small}, {"medium", SizePreset::Medium}, {"large", SizePreset::Large}};
  ApplyPreset(options, kPresets.at(size));
  if (teams) options.teams = *teams;
  if (players) options.players = *players;
  if (years) options.years = *years;
  if (options.nationsFile.empty()) {
    options.nationsFile = likentor::samplegame::FindNationsFile(ExecutablePath(argv[0]));
    if (options.nationsFile.empty()) {
      std::fprintf(stderr, "likentor-samplegame: cannot find data/nations.csv; give --nations\n");
      return 1;
    }
  }

  try {
    const auto start = std::chrono::steady_clock::now();
    const auto summary = likentor::samplegame::GenerateSampleGame(options);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (!quiet) {
      std::printf(
          "Wrote %s: %d leagues, %d teams, %d players (%d retired, %d free agents), %zu batting "
          "and %zu pitching lines, %d logos, %d player pictures, %.1f MB of exports in %.2f s\n",
          summary.savedGameFolder.string().c_str(), summary.leagues, summary.teams, summary.players,
          summary.retired, summary.freeAgents, summary.battingLines, summary.pitchingLines,
          summary.logos, summary.playerPictures, static_cast<double>(summary.exportBytes) / 1e6,
          took.count());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "likentor-samplegame: %s\n", e.what());
    return 1;
  }
  return 0;
}
