#pragma once

// The in-memory saved game that the generator builds and then writes out: leagues, teams, players
// and their career lines. Texts are UTF-8 here; the exports turn them into Windows-1252.

#include <cstdint>
#include <string>
#include <vector>

#include "samplegame/nation_list.h"

namespace likentor::samplegame {

struct League {
  int id = 0;
  std::string name;
  std::string abbreviation;
  int nationId = 0;
  std::string logoFile;
  int parentLeagueId = 0;  // 0 for the major league
  int level = 1;
};

enum class LogoKind { Png, UpperPng, Gif };

struct Team {
  int id = 0;  // 1..N without gaps
  std::string place;
  std::string nickname;
  std::string abbreviation;
  std::string logoFile;
  LogoKind logoKind = LogoKind::Png;
  int leagueId = 0;
  int subLeague = 0;  // 1 or 2 for major-league teams, 0 in the minors
  int division = 0;
  int organization =
      0;          // the major-league team an affiliate belongs to; its own id for a major team
  int level = 1;  // 1 major league, 2..6 minor levels
  int nationId = 0;
  std::string backgroundColor;  // "#RRGGBB"
  std::string textColor;        // "#RRGGBB"
  // Both colours written into the first colour field ("#RRGGBB, #RRGGBB"), the second left empty.
  bool combinedColors = false;
};

struct Player {
  int id = 0;
  std::string firstName;
  std::string lastName;
  std::string nickname;  // mostly empty
  int nationId = 0;
  int secondNationId = 0;
  bool retired = false;
  int teamId = 0;      // 0: free agent, or a retired player without a team
  int lastTeamId = 0;  // the team of his last career line, 0 without lines
  int position = 1;    // 1 pitcher, 2..9 the fielding positions
  int bats = 1;        // 1 right, 2 left, 3 switch
  int throws = 1;      // 1 right, 2 left
  int birthYear = 1980;
  int birthMonth = 1;
  int birthDay = 1;
  int height = 185;  // cm
  int weight = 90;   // kg
  int uniformNumber = 0;
  bool regular = true;  // batters: a regular or a bench player; pitchers: a starter or a reliever
  int draftYear = 0;
};

struct CareerLine {
  int playerId = 0;
  int year = 0;
  int teamId = 0;
  int split = 1;  // "1" is the whole season; 2 and 3 are the splits against left and right
  int count = 0;  // at-bats (batting) or whole innings (pitching)
  bool doubleZero = false;  // a zero count written "00"
  int position = 1;         // the player's position in that season
};

// What to generate. Presets fill the sizes; explicit values override them.
struct SampleGameOptions {
  std::string gameFolder;  // the game's install folder to write into
  std::string name = "sample";
  std::uint64_t seed = 2006;
  int teams = 30;
  int players = 1200;
  int years = 5;
  int retiredPermille = 200;  // share of retired players among all players
  int season = 1;  // 1 = the saved game as first generated; each further season evolves it
  bool modifiedNations = false;
  bool awkward = false;     // awkward input for robustness tests (see the README of the tool)
  bool quoteText = false;   // every text field in double quotes
  std::string nationsFile;  // data/nations.csv of the program
};

enum class SizePreset { Small, Medium, Large };
// Sets teams, players, years and the retired share of a preset; leaves everything else.
void ApplyPreset(SampleGameOptions& options, SizePreset preset);

struct World {
  int firstYear = 0;    // the first year of career history
  int currentYear = 0;  // the season the exports describe
  std::vector<Nation> nations;
  std::vector<League> leagues;
  std::vector<Team> teams;  // teams[k].id == k + 1
  std::vector<Player> players;
  std::vector<CareerLine> batting;
  std::vector<CareerLine> pitching;

  const Team* TeamById(int id) const;
  const League* LeagueById(int id) const;
};

// The year of the first season; season s describes year kBaseYear + s - 1.
inline constexpr int kBaseYear = 2006;

}  // namespace likentor::samplegame
