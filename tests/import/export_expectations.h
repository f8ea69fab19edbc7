#pragma once

// What the tables must hold after a load, worked out from the saved game's exports alone: the
// exports are read here with the record parser and turned into expected rows by the rules of the
// load (texts cut to their field sizes, the career line filter, sums by team id).

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "database/record_parser.h"
#include "database/text_file.h"

namespace likentor::test {

using Record = std::vector<std::string>;

// The records of an export: the heading and blank lines left out, text converted to UTF-8.
inline std::vector<Record> ReadExportRecords(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<Record> records;
  std::string line;
  bool heading = true;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (heading) {
      heading = false;
      continue;
    }
    if (IsBlankLine(line)) continue;
    records.push_back(ParseRecord(ToUtf8(line), ';'));
  }
  return records;
}

struct CareerLine {
  int player, year, team, count;
  bool operator==(const CareerLine&) const = default;
};

struct ExpectedPlayer {
  std::string firstName, lastName;                  // cut to 20 and 30 characters
  std::string fullFirstName, fullLastName, idText;  // as the export spells them
  int nation = 0;
  bool retired = false;
  int team = 0;
  int position = 0;
  int hand = 0;
  int careerAb = 0;
  int careerIp = 0;
  int mainTeam = 0;
};

struct ExpectedGame {
  std::map<int, int> teamLevels;
  std::vector<CareerLine> batting, pitching;
  std::map<int, ExpectedPlayer> players;
  std::vector<Record> leagues, teams;
};

// The lines of a career export that go into the career table, in file order.
inline std::vector<CareerLine> KeptLines(const std::vector<Record>& records,
                                         const std::map<int, int>& teamLevels,
                                         std::size_t countField) {
  std::vector<CareerLine> kept;
  for (const Record& r : records) {
    if (r.at(6) != "1") continue;
    const int team = std::stoi(r.at(2));
    const auto level = teamLevels.find(team);
    if (level != teamLevels.end() && level->second > 1) continue;
    if (r.at(countField) == "0") continue;
    kept.push_back({std::stoi(r.at(0)), std::stoi(r.at(1)), team, std::stoi(r.at(countField))});
  }
  return kept;
}

// Total and main team (greatest total, ties to the lowest id; 0 without lines) of one player.
inline std::pair<int, int> CareerOf(const std::vector<CareerLine>& lines, int player) {
  std::map<int, int> byTeam;
  int total = 0;
  for (const CareerLine& l : lines) {
    if (l.player != player) continue;
    byTeam[l.team] += l.count;
    total += l.count;
  }
  int main = 0;
  int best = 0;
  bool any = false;
  for (const auto& [team, count] : byTeam) {  // ascending team id: the first of equals stays
    if (!any || count > best) {
      main = team;
      best = count;
      any = true;
    }
  }
  return {total, main};
}

inline ExpectedGame ExpectedFromExports(const std::filesystem::path& exportFolder) {
  ExpectedGame game;
  game.leagues = ReadExportRecords(exportFolder / "leagues.csv");
  game.teams = ReadExportRecords(exportFolder / "teams.csv");
  for (const Record& t : game.teams) game.teamLevels[std::stoi(t.at(0))] = std::stoi(t.at(12));
  game.batting = KeptLines(ReadExportRecords(exportFolder / "players_career_batting_stats.csv"),
                           game.teamLevels, 8);
  game.pitching = KeptLines(ReadExportRecords(exportFolder / "players_career_pitching_stats.csv"),
                            game.teamLevels, 7);

  // Sums per player in one pass each, so that the expectations stay quick for a thousand players.
  std::map<int, std::vector<CareerLine>> battingOf, pitchingOf;
  for (const CareerLine& l : game.batting) battingOf[l.player].push_back(l);
  for (const CareerLine& l : game.pitching) pitchingOf[l.player].push_back(l);

  for (const Record& r : ReadExportRecords(exportFolder / "players.csv")) {
    ExpectedPlayer p;
    const int id = std::stoi(r.at(0));
    p.idText = r.at(0);
    p.fullFirstName = r.at(1);
    p.fullLastName = r.at(2);
    p.firstName = TruncateUtf8(r.at(1), 20);
    p.lastName = TruncateUtf8(r.at(2), 30);
    p.nation = std::stoi(r.at(7));
    p.retired = r.at(11) == "1";
    p.team = std::stoi(r.at(15));
    p.hand = std::stoi(r.at(26));
    p.position = std::stoi(r.at(58));
    const auto [total, main] =
        p.position == 1 ? CareerOf(pitchingOf[id], id) : CareerOf(battingOf[id], id);
    (p.position == 1 ? p.careerIp : p.careerAb) = total;
    p.mainTeam = main;
    game.players[id] = p;
  }
  return game;
}

}  // namespace likentor::test
