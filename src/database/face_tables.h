#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace likentor {

class Database;
class ErrorLog;

// The shipped face images per ethnicity; the face draw works from these counts.
inline constexpr int kAfricanFaces = 1692;
inline constexpr int kAsianFaces = 1539;
inline constexpr int kCaucasianFaces = 1746;
inline constexpr int kEastIndianFaces = 1179;

// "faces_" + ethnicity + ".db", the ethnicity spelled as in table names ("east_indian").
std::string FaceTableName(std::string_view ethnicity);

// The decimal text of `number` with leading zeros up to `width` characters; never cut.
std::string AddZeros(int number, int width);

void CreateFaceTable(Database& db, std::string_view ethnicity);
void CreateAfricanFacesTable(Database& db);
void CreateAsianFacesTable(Database& db);
void CreateCaucasianFacesTable(Database& db);
void CreateEastIndianFacesTable(Database& db);
// Writes the rows 1..count of an ethnicity's face table, row n's file_location naming
// <locationFolder>/NNNNNNN.png.
void PopulateFaceTable(Database& db, ErrorLog& log, const std::filesystem::path& locationFolder,
                       std::string_view ethnicity, int count);

}  // namespace likentor
