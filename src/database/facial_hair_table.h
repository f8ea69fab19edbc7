#pragma once

#include <filesystem>
#include <string_view>

namespace likentor {

class Database;
class ErrorLog;

inline constexpr std::string_view kFacialHairTable = "facial_hair.db";

std::filesystem::path FacialHairCsvPath(const std::filesystem::path& programFolder);

// Creates the facial-hair catalogue and fills it from the program's facialhair.csv (no header; one
// style per line, numbered from 1 in file order). A missing file or a bad number stops the fill
// with one line in the error log naming the file and line.
void CreateFacialHairTable(Database& db, ErrorLog& log, const std::filesystem::path& programFolder);

}  // namespace likentor
