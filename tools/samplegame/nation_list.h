#pragma once

#include <string>
#include <vector>

namespace likentor::samplegame {

// One line of the program's data/nations.csv: the eight fields the program reads, then the region
// code (1 Africa, 2 Asia, 3 Europe, 4 North America, 5 Oceania, 6 South America) that the game's
// nations.txt carries.
struct Nation {
  int id = 0;
  std::string name;
  std::string shortName;
  std::string abbreviation;
  int caucasian = 0;
  int african = 0;
  int eastIndian = 0;
  int asian = 0;
  int region = 0;
};

// Reads nations.csv (header line, then one nation per line, fields split by ";"). Throws
// std::runtime_error naming the file and line when it cannot be read or a line is malformed.
std::vector<Nation> ReadNationList(const std::string& path);

}  // namespace likentor::samplegame
