#include "database/nations_table.h"

#include <array>
#include <string>
#include <vector>

#include "database/record_fields.h"
#include "database/record_parser.h"
#include "database/table_store.h"
#include "database/text_file.h"
#include "shell/error.h"
#include "shell/error_log.h"

namespace likentor {

namespace {

struct Weights {
  int caucasian, african, eastIndian, asian;
};

struct RegionWeights {
  const char* code;
  Weights weights;
};

// Weights derived from the region code of the game's nation list; the last row serves every code
// that matches none of the others.
constexpr std::array<RegionWeights, 6> kRegionWeights = {{
    {"1", {5, 65, 30, 0}},
    {"2", {5, 0, 20, 75}},
    {"3", {85, 5, 5, 5}},
    {"4", {75, 10, 10, 5}},
    {"5", {20, 0, 10, 70}},
    {nullptr, {30, 30, 30, 10}},
}};

Weights WeightsFor(const std::string& code) {
  for (const auto& row : kRegionWeights) {
    if (row.code == nullptr || code == row.code) return row.weights;
  }
  return kRegionWeights.back().weights;
}

// Fills the nations table with one nation per record of `path`: its number and names from fields
// 0 to 3, its weights from `weightsOf(file, fields)`. A refused row is cancelled and logged with
// the nation's name.
template <typename WeightsOf>
void FillNations(Database& db, ErrorLog& log, const std::filesystem::path& path, char separator,
                 WeightsOf&& weightsOf) {
  Table table(db, kNationsTable);
  TableTransaction transaction(db, kNationsTable);
  ForEachRecord(path, separator, Heading::Skip,
                [&](const TextFileReader& file, const std::vector<std::string>& fields) {
                  table.Append();
                  table.SetInt("nation_id", WholeNumberAt(file, fields, 0));
                  table.SetText("nation_name", FieldAt(file, fields, 1));
                  table.SetText("nation_short_name", FieldAt(file, fields, 2));
                  table.SetText("abbreviation", FieldAt(file, fields, 3));
                  const Weights w = weightsOf(file, fields);
                  table.SetInt("caucasian", w.caucasian);
                  table.SetInt("african", w.african);
                  table.SetInt("east_indian", w.eastIndian);
                  table.SetInt("asian", w.asian);
                  PostOrCancel(
                      table, log,
                      "Error posting record " + EscapeControls(fields[1]) + " to nations.db");
                });
  transaction.Commit();
}

}  // namespace

std::filesystem::path NationsCsvPath(const std::filesystem::path& programFolder) {
  return programFolder / "data" / "nations.csv";
}

std::filesystem::path GameNationsPath(const std::filesystem::path& gameFolder) {
  return gameFolder / "data" / "database" / "nations.txt";
}

std::string CreateNationsTable(Database& db, ErrorLog& log,
                               const std::filesystem::path& programFolder,
                               const std::filesystem::path& gameFolder) {
  SetupNationsTable(db);
  // Why the game's list gave no nation: a list that cannot be read gives none either.
  std::string noNation;
  bool fromGame = true;
  try {
    fromGame = ModifiedNationsFile(gameFolder);
  } catch (const Error& e) {
    noNation = e.what();
  }
  if (fromGame && noNation.empty()) {
    try {
      MakeNewNationsData(db, log, gameFolder);
    } catch (const Error& e) {
      noNation = e.what();
    }
    // A list that gave nations before a line failed keeps them, the failure logged.
    if (Table(db, kNationsTable).RecordCount() > 0) {
      if (!noNation.empty()) log.ReportError(noNation);
      return {};
    }
    if (noNation.empty()) noNation = GameNationsPath(gameFolder).string() + " lists none";
  }
  try {
    LoadNationsData(db, log, programFolder);
  } catch (const Error& e) {
    log.ReportError(e.what());
  }
  if (!fromGame) return {};
  if (noNation.ends_with('.')) noNation.pop_back();
  const std::string message = "The game's nation list gives no nation (" + noNation +
                              "): the nations table was built from " +
                              NationsCsvPath(programFolder).string() + " instead.";
  log.ReportError(message);
  return message;
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
  FillNations(db, log, GameNationsPath(gameFolder), ',',
              [](const TextFileReader& file, const std::vector<std::string>& fields) {
                return WeightsFor(FieldAt(file, fields, 5));
              });
}

void LoadNationsData(Database& db, ErrorLog& log, const std::filesystem::path& programFolder) {
  FillNations(db, log, NationsCsvPath(programFolder), ';',
              [](const TextFileReader& file, const std::vector<std::string>& fields) {
                return Weights{WholeNumberAt(file, fields, 4), WholeNumberAt(file, fields, 5),
                               WholeNumberAt(file, fields, 6), WholeNumberAt(file, fields, 7)};
              });
}

}  // namespace likentor
