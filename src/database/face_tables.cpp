#include "database/face_tables.h"

#include "database/table_store.h"
#include "shell/error_log.h"

namespace likentor {

std::string FaceTableName(std::string_view ethnicity) {
  return "faces_" + std::string(ethnicity) + ".db";
}

std::string AddZeros(int number, int width) {
  std::string text = std::to_string(number);
  if (static_cast<int>(text.size()) < width) {
    text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
  }
  return text;
}

void CreateFaceTable(Database& db, std::string_view ethnicity) {
  db.CreateTable(FaceTableName(ethnicity), {
                                               {"face_id", FieldType::AutoIncrement, 0, true},
                                               {"file_location", FieldType::Text, 100, true},
                                           });
}

void CreateAfricanFacesTable(Database& db) {
  CreateFaceTable(db, "african");
}
void CreateAsianFacesTable(Database& db) {
  CreateFaceTable(db, "asian");
}
void CreateCaucasianFacesTable(Database& db) {
  CreateFaceTable(db, "caucasian");
}
void CreateEastIndianFacesTable(Database& db) {
  CreateFaceTable(db, "east_indian");
}

void PopulateFaceTable(Database& db, ErrorLog& log, const std::filesystem::path& locationFolder,
                       std::string_view ethnicity, int count) {
  const std::string tableName = FaceTableName(ethnicity);
  Table table(db, tableName);
  TableTransaction transaction(db, tableName);
  for (int n = 1; n <= count; ++n) {
    table.Append();
    table.SetText("file_location", (locationFolder / (AddZeros(n, 7) + ".png")).string());
    PostOrCancel(table, log, "Error posting record " + std::to_string(n) + " in " + tableName);
  }
  transaction.Commit();
}

}  // namespace likentor
