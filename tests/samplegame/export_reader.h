#pragma once

// Reads a generated export the way the program's import does: line by line after a header, each
// line split by the program's record parser.

#include <filesystem>
#include <string>
#include <vector>

#include "samplegame/sample_game.h"

namespace likentor::test {

struct ExportRecords {
  std::string header;
  std::vector<std::string> lines;  // raw bytes of each line after the header, without "\r\n"
  std::vector<std::vector<std::string>> records;  // the lines parsed
};

// Fails the calling test (ADD_FAILURE) when a line does not end in CR LF (with `crlf`; else either
// line end is taken); blank lines at the end are counted in `trailingBlankLines` and not returned.
ExportRecords ReadExport(const std::filesystem::path& file, char separator,
                         int* trailingBlankLines = nullptr, bool crlf = true);

// The five export files of a saved game.
struct SavedGameFiles {
  explicit SavedGameFiles(const samplegame::SampleGameOptions& options);
  std::filesystem::path folder;
  std::filesystem::path leagues, teams, players, batting, pitching, images, nationsTxt;
};

// Options for a game of the given size in `folder`, reading the source tree's nations list.
samplegame::SampleGameOptions SmallGame(const std::filesystem::path& folder, int players = 1200);

// Width, height and colour type (2 RGB, 6 RGBA) from a PNG file's header; {0, 0, -1} if not a PNG.
struct PngHeader {
  int width = 0;
  int height = 0;
  int colorType = -1;
};
PngHeader ReadPngHeader(const std::filesystem::path& file);

int ToInt(const std::string& text);

}  // namespace likentor::test
