#include "export_reader.h"

#include <gtest/gtest.h>

#include <charconv>

#include "database/record_parser.h"
#include "support/temp_folder.h"

namespace likentor::test {

ExportRecords ReadExport(const std::filesystem::path& file, char separator, int* trailingBlankLines,
                         bool crlf) {
  const std::string bytes = ReadBytes(file);
  ExportRecords result;
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) {
      ADD_FAILURE() << file << ": last line has no line end";
      lines.push_back(bytes.substr(start));
      break;
    }
    if (end == start || bytes[end - 1] != '\r') {
      if (crlf) ADD_FAILURE() << file << ": a line ends in LF without CR at byte " << end;
      lines.push_back(bytes.substr(start, end - start));
    } else {
      lines.push_back(bytes.substr(start, end - start - 1));
    }
    start = end + 1;
  }
  int blanks = 0;
  while (!lines.empty() && lines.back().empty()) {
    lines.pop_back();
    ++blanks;
  }
  if (trailingBlankLines != nullptr) *trailingBlankLines = blanks;
  if (lines.empty()) {
    ADD_FAILURE() << file << " has no header";
    return result;
  }
  result.header = lines.front();
  result.lines.assign(lines.begin() + 1, lines.end());
  for (const auto& line : result.lines) result.records.push_back(ParseRecord(line, separator));
  return result;
}

SavedGameFiles::SavedGameFiles(const samplegame::SampleGameOptions& options)
    : folder(samplegame::SavedGameFolder(options)) {
  const auto exports = folder / "import_export";
  leagues = exports / "leagues.csv";
  teams = exports / "teams.csv";
  players = exports / "players.csv";
  batting = exports / "players_career_batting_stats.csv";
  pitching = exports / "players_career_pitching_stats.csv";
  images = folder / "news" / "html" / "images";
  nationsTxt = std::filesystem::path(options.gameFolder) / "data" / "database" / "nations.txt";
}

samplegame::SampleGameOptions SmallGame(const std::filesystem::path& folder, int players) {
  samplegame::SampleGameOptions options;
  samplegame::ApplyPreset(options, samplegame::SizePreset::Small);
  options.gameFolder = folder.string();
  options.players = players;
  options.nationsFile = std::string(LIKENTOR_SOURCE_DIR) + "/data/nations.csv";
  return options;
}

PngHeader ReadPngHeader(const std::filesystem::path& file) {
  const std::string bytes = ReadBytes(file);
  if (bytes.size() < 26 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return {};
  const auto be32 = [&](std::size_t at) {
    int v = 0;
    for (std::size_t k = 0; k < 4; ++k) v = v * 256 + static_cast<unsigned char>(bytes[at + k]);
    return v;
  };
  return {be32(16), be32(20), static_cast<unsigned char>(bytes[25])};
}

int ToInt(const std::string& text) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  EXPECT_TRUE(ec == std::errc() && end == text.data() + text.size()) << "not a number: " << text;
  return value;
}

}  // namespace likentor::test
