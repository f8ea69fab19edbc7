#pragma once

#include <array>
#include <filesystem>
#include <string_view>

namespace likentor {

class Database;
class ErrorLog;

inline constexpr std::string_view kAccessoriesTable = "accessories.db";

// The pictures of the four accessories, 1 to 4, as the artwork kit places them.
using AccessoryPictures = std::array<std::filesystem::path, 4>;

// Creates the accessories catalogue with its four rows: right- and left-handed batters, right- and
// left-handed pitchers, each pointing at its picture: the full path, or the path relative to the
// program folder when the full one is longer than the field holds.
void CreateAccessoriesTable(Database& db, ErrorLog& log, const std::filesystem::path& programFolder,
                            const AccessoryPictures& pictures);

}  // namespace likentor
