#include "database/nations_table.h"

#include <array>
#include <string>
#include <vector>

#include "database/record_fields.h"
#include "database/record_parser.h"
#include "database/table_store.h"
#include "database/text_file.h"
#include "shell/error_log.h"

namespace likentor {

namespace {

struct RegionWeights {
  const char* code;
  int caucasian, african, eastIndian, asian;
};

// Weights derived from the region code of the game's nation list; the last row serves every code
// that matches none of the others.
constexpr std::array<RegionWeights, 6> kRegionWeights = {{
    {"1", 5, 65, 30, 0},
    {"2", 5, 0, 20, 75},
    {"3", 85, 5, 5, 5},
    {"4", 75, 10, 10, 5},
    {"5", 20, 0, 10, 70},
    {nullptr, 30, 30, 30, 10},
}};

const RegionWeights& WeightsFor(const std::string& code) {
  for (const auto& row : kRegionWeights) {
    if (row.code == nullptr || code == row.code) return row;
  }
  return kRegionWeights.back();
}

void SetWeights(Table& table, int caucasian, int african, int eastIndian, int asian) {
  table.SetInt("caucasian", caucasian);
  table.SetInt("african", african);
  table.SetInt("east_indian", eastIndian);
  table.SetInt("asian", asian);
}

}  // namespace

std::filesystem::path NationsCsvPath(const std::filesystem::path& programFolder) {
  return programFolder / "data" / "nations.csv";
}

std::filesystem::path GameNationsPath(const std::filesystem::path& gameFolder) {
  return gameFolder / "data" / "database" / "nations.txt";
}

void CreateNationsTable(Database& db, ErrorLog& log, const std::filesystem::path& programFolder,
                        const std::filesystem::path& gameFolder) {
  SetupNationsTable(db);
  try {
    if (ModifiedNationsFile(gameFolder)) {
      MakeNewNationsData(db, log, gameFolder);
    } else {
      LoadNationsData(db, log, programFolder);
    }
  } catch (const Error& e) {
    log.ReportError(e.what());
  }
}

void SetupNationsTable(Database& db) {
  db.CreateTable(kNationsTable, {
                                    {"nation_id", FieldType::Integer, 0, true},
                                    {"nation_name", FieldType::Text, 50, true},
                                    {"nation_short_name", FieldType::Text, 30, true},
                                    {"abbreviation", FieldType::Text, 6, true},
                                    {"caucasian", FieldType::Integer, 0, false},
                                    {"african", FieldType::Integer, 0, false},
                                    {"east_indian", FieldType::Integer, 0, false},
                                    {"asian", FieldType::Integer, 0, false},
                                });
}

bool ModifiedNationsFile(const std::filesystem::path& gameFolder) {
  const auto path = GameNationsPath(gameFolder);
  if (!std::filesystem::exists(path)) return false;
  return CountLines(path) != kStockNationsLines;
}

void MakeNewNationsData(Database& db, ErrorLog& log, const std::filesystem::path& gameFolder) {
  Table table(db, kNationsTable);
  TableTransaction transaction(db, kNationsTable);
  ForEachRecord(GameNationsPath(gameFolder), ',', Heading::Skip,
                [&](const TextFileReader& file, const std::vector<std::string>& fields) {
                  table.Append();
                  table.SetInt("nation_id", WholeNumberAt(file, fields, 0));
                  table.SetText("nation_name", FieldAt(file, fields, 1));
                  table.SetText("nation_short_name", FieldAt(file, fields, 2));
                  table.SetText("abbreviation", FieldAt(file, fields, 3));
                  const auto& w = WeightsFor(FieldAt(file, fields, 5));
                  SetWeights(table, w.caucasian, w.african, w.eastIndian, w.asian);
                  if (!table.Post()) {
                    table.Cancel();
                    log.ReportError("Error posting record " + fields[1] + " to nations.db");
                  }
                });
  transaction.Commit();
}

void LoadNationsData(Database& db, ErrorLog& log, const std::filesystem::path& programFolder) {
  Table table(db, kNationsTable);
  TableTransaction transaction(db, kNationsTable);
  ForEachRecord(NationsCsvPath(programFolder), ';', Heading::Skip,
                [&](const TextFileReader& file, const std::vector<std::string>& fields) {
                  table.Append();
                  table.SetInt("nation_id", WholeNumberAt(file, fields, 0));
                  table.SetText("nation_name", FieldAt(file, fields, 1));
                  table.SetText("nation_short_name", FieldAt(file, fields, 2));
                  table.SetText("abbreviation", FieldAt(file, fields, 3));
                  SetWeights(table, WholeNumberAt(file, fields, 4), WholeNumberAt(file, fields, 5),
                             WholeNumberAt(file, fields, 6), WholeNumberAt(file, fields, 7));
                  if (!table.Post()) {
                    table.Cancel();
                    log.ReportError("Error posting record " + fields[1] + " to nations.db");
                  }
                });
  transaction.Commit();
}

}  // namespace likentor
