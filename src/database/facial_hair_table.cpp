#include "database/facial_hair_table.h"

#include <string>

#include "database/record_fields.h"
#include "database/record_parser.h"
#include "database/table_store.h"
#include "database/text_file.h"
#include "shell/error_log.h"

namespace likentor {

std::filesystem::path FacialHairCsvPath(const std::filesystem::path& programFolder) {
  return programFolder / "data" / "facialhair.csv";
}

void CreateFacialHairTable(Database& db, ErrorLog& log,
                           const std::filesystem::path& programFolder) {
  db.CreateTable(kFacialHairTable, {
                                       {"facial_hair_id", FieldType::AutoIncrement, 0, true},
                                       {"location", FieldType::Text, 25, true},
                                       {"frequency", FieldType::Integer, 0, true},
                                   });
  try {
    Table table(db, kFacialHairTable);
    TableTransaction transaction(db, kFacialHairTable);
    ForEachRecord(FacialHairCsvPath(programFolder), ';', Heading::None,
                  [&](const TextFileReader& file, const std::vector<std::string>& fields) {
                    table.Append();
                    table.SetText("location", FieldAt(file, fields, 0));
                    table.SetInt("frequency", WholeNumberAt(file, fields, 1));
                    PostOrCancel(table, log, "Error adding record in facial_hair.db");
                  });
    transaction.Commit();
  } catch (const Error& e) {
    log.ReportError(e.what());
  }
}

}  // namespace likentor
