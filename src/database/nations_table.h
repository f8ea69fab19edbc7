#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace likentor {

class Database;
class ErrorLog;

inline constexpr std::string_view kNationsTable = "nations.db";
// A game nation list of this many lines (a header and 220 nations) is the game's unchanged list.
inline constexpr std::size_t kStockNationsLines = 221;

std::filesystem::path NationsCsvPath(const std::filesystem::path& programFolder);
std::filesystem::path GameNationsPath(const std::filesystem::path& gameFolder);

// Builds the nations table anew: from the program's nations.csv, or from the game's own nations.txt
// (weights by region code) when the game's list is not the stock one. A missing source file or a
// bad number stops the build with one line in the error log naming the file and line. A game list
// that gives no nation at all (empty, unreadable, failing at its first nation) would leave every
// player of every game with the first ethnicity: the table is then built from nations.csv, and the
// returned message, also logged, says so. Returns "" otherwise.
std::string CreateNationsTable(Database& db, ErrorLog& log,
                               const std::filesystem::path& programFolder,
                               const std::filesystem::path& gameFolder);
void SetupNationsTable(Database& db);
// True when the game's nations.txt exists and does not have the stock line count; a missing file
// counts as the stock list. Throws Error when the list cannot be read.
bool ModifiedNationsFile(const std::filesystem::path& gameFolder);
void MakeNewNationsData(Database& db, ErrorLog& log, const std::filesystem::path& gameFolder);
void LoadNationsData(Database& db, ErrorLog& log, const std::filesystem::path& programFolder);

}  // namespace likentor
