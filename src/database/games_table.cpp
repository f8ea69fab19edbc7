#include "database/games_table.h"

#include <string>

#include "database/connection.h"
#include "database/table_store.h"
#include "database/text_file.h"
#include "shell/error_log.h"

namespace likentor {

void CreateGamesTable(Database& db) {
  db.CreateTable(kGamesTable, {
                                  {"game_id", FieldType::AutoIncrement, 0, true},
                                  {"universe_name", FieldType::Text, kUniverseNameSize, true},
                                  {"use_logos", FieldType::Boolean, 0, false},
                                  {"recycle_faces", FieldType::Boolean, 0, false},
                                  {"create_active_photos", FieldType::Boolean, 0, false},
                                  {"active_ab_minimum", FieldType::Integer, 0, false},
                                  {"active_ip_minimum", FieldType::Integer, 0, false},
                                  {"level_scope", FieldType::Integer, 0, false},
                                  {"create_retired_photos", FieldType::Boolean, 0, false},
                                  {"retired_ab_minimum", FieldType::Integer, 0, false},
                                  {"retired_ip_minimum", FieldType::Integer, 0, false},
                                  {std::string(kSpreadFacesField), FieldType::Boolean, 0, false},
                                  {std::string(kPlayersAgeField), FieldType::Boolean, 0, false},
                              });
}

void AddMissingGamesFields(Database& db) {
  Connection& connection = db.ConnectionFor(kGamesTable);
  bool added = false;
  for (const std::string_view name : {kSpreadFacesField, kPlayersAgeField}) {
    bool there = false;
    for (const FieldDef& field : connection.Fields()) there = there || field.name == name;
    if (there) continue;
    connection.Execute("ALTER TABLE " + connection.QuotedTable() + " ADD COLUMN " +
                       QuoteSqlName(name) + " BOOLEAN");
    added = true;
  }
  if (!added) return;
  // The next cursor reads the fields again.
  db.Release(kGamesTable);
}

void CheckGamesTable(Table& gamesTable, ErrorLog& log, std::string_view name) {
  // The store keeps at most 30 characters of the name; looking the game up by that same cut form
  // finds a long-named game again instead of adding a row for it on every load.
  const std::string stored = TruncateUtf8(name, kUniverseNameSize);
  if (gamesTable.Locate("universe_name", stored)) return;

  gamesTable.Append();
  gamesTable.SetText("universe_name", name);
  gamesTable.SetBool("use_logos", true);
  gamesTable.SetBool("recycle_faces", true);
  gamesTable.SetBool("create_active_photos", true);
  gamesTable.SetInt("active_ab_minimum", 500);
  gamesTable.SetInt("active_ip_minimum", 150);
  gamesTable.SetInt("level_scope", 1);
  gamesTable.SetBool("create_retired_photos", true);
  gamesTable.SetInt("retired_ab_minimum", 1000);
  gamesTable.SetInt("retired_ip_minimum", 350);
  for (const FieldDef& field : gamesTable.Fields()) {
    if (field.name == kSpreadFacesField) gamesTable.SetBool(kSpreadFacesField, false);
    if (field.name == kPlayersAgeField) gamesTable.SetBool(kPlayersAgeField, false);
  }
  PostOrCancel(gamesTable, log, "Error posting record " + std::string(name) + " in games.db");
}

}  // namespace likentor
