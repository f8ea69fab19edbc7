#include "database/accessories_table.h"

#include "database/stored_path.h"
#include "database/table_store.h"
#include "shell/error_log.h"

namespace likentor {

void CreateAccessoriesTable(Database& db, ErrorLog& log, const std::filesystem::path& programFolder,
                            const AccessoryPictures& pictures) {
  db.CreateTable(kAccessoriesTable, {
                                        {"accessory_id", FieldType::AutoIncrement, 0, true},
                                        {"location", FieldType::Text, 127, true},
                                        {"pitcher_eligible", FieldType::Boolean, 0, false},
                                        {"batter_eligible", FieldType::Boolean, 0, false},
                                        {"lefty_eligible", FieldType::Boolean, 0, false},
                                        {"righty_eligible", FieldType::Boolean, 0, false},
                                        {"frequency", FieldType::Integer, 0, false},
                                    });
  Table table(db, kAccessoriesTable);
  TableTransaction transaction(db, kAccessoriesTable);
  const int fieldSize = TextFieldSize(table, "location");
  for (int i = 1; i <= 4; ++i) {
    const bool odd = i % 2 == 1;
    const bool batter = i <= 2;
    const std::filesystem::path& picture = pictures[static_cast<std::size_t>(i - 1)];
    const std::optional<std::string> location = PathToStore(programFolder, picture, fieldSize);
    if (!location) {
      log.ReportError("Cannot store the accessory \"" + picture.string() +
                      "\": its path is longer than the " + std::to_string(fieldSize) +
                      " characters that the accessories table holds.");
      continue;
    }
    table.Append();
    table.SetText("location", *location);
    table.SetBool("lefty_eligible", !odd);
    table.SetBool("righty_eligible", odd);
    table.SetBool("pitcher_eligible", !batter);
    table.SetBool("batter_eligible", batter);
    table.SetInt("frequency", 15);
    PostOrCancel(table, log, "Error populating accessories table.");
  }
  transaction.Commit();
}

}  // namespace likentor
