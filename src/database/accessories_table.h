#pragma once

#include <filesystem>
#include <string_view>

namespace likentor {

class Database;
class ErrorLog;

inline constexpr std::string_view kAccessoriesTable = "accessories.db";

// Creates the accessories catalogue with its four rows: right- and left-handed batters, right- and
// left-handed pitchers, each pointing at its picture below graphics/accessories: the full path, or
// the path relative to the program folder when the full one is longer than the field holds.
void CreateAccessoriesTable(Database& db, ErrorLog& log,
                            const std::filesystem::path& programFolder);

}  // namespace likentor
