#include "import/leagues_table.h"

#include <string>

#include "database/record_fields.h"
#include "database/record_parser.h"
#include "database/table_store.h"
#include "database/text_file.h"
#include "import/game_tables.h"
#include "shell/error_log.h"

namespace likentor {

namespace {

// The league's name as it came from the export: cut and with control characters escaped.
std::string PostingError(std::string_view name, const std::string& tableName) {
  return "Error posting record " + FieldForMessage(name) + " to " + tableName;
}

}  // namespace

void CreateLeaguesTable(Database& db, const SavedGame& game) {
  db.CreateTable(game.leaguesTable, {
                                        {"league_id", FieldType::Integer, 0, true},
                                        {"league_name", FieldType::Text, 40, true},
                                        {"abbreviation", FieldType::Text, 10, false},
                                        {"nation_id", FieldType::Integer, 0, true},
                                        {"logo_file", FieldType::Text, 60, false},
                                        {"parent_league_id", FieldType::Integer, 0, false},
                                        {"league_level", FieldType::Integer, 0, true},
                                    });
}

void UpdateLeaguesTable(Database& db, ErrorLog& log, const SavedGame& game, Table& leaguesTable) {
  const std::string& tableName = game.leaguesTable;
  {
    Table table(db, tableName);
    TableTransaction transaction(db, tableName, TableTransaction::Unfinished::RollBack);
    ForEachRecord(game.Export(kLeaguesExport), kExportSeparator, Heading::Skip,
                  [&](const TextFileReader& file, const std::vector<std::string>& fields) {
                    const int leagueId = WholeNumberAt(file, fields, 0);
                    const std::string& name = FieldAt(file, fields, 1);
                    const std::string& abbreviation = FieldAt(file, fields, 2);
                    const int nationId = WholeNumberAt(file, fields, 3);
                    const std::string& logoFile = FieldAt(file, fields, 7);
                    const int parentLeagueId = WholeNumberAt(file, fields, 29);
                    const int level = WholeNumberAt(file, fields, 33);

                    if (table.Locate("league_id", leagueId)) {
                      table.Edit();
                      WriteTextIfChanged(table, "league_name", name);
                      WriteTextIfChanged(table, "abbreviation", abbreviation);
                      WriteIntIfChanged(table, "nation_id", nationId);
                      WriteTextIfChanged(table, "logo_file", logoFile);
                      WriteIntIfChanged(table, "parent_league_id", parentLeagueId);
                      WriteIntIfChanged(table, "league_level", level);
                    } else {
                      table.Append();
                      table.SetInt("league_id", leagueId);
                      table.SetText("league_name", name);
                      table.SetText("abbreviation", abbreviation);
                      table.SetInt("nation_id", nationId);
                      table.SetText("logo_file", logoFile);
                      table.SetInt("parent_league_id", parentLeagueId);
                      table.SetInt("league_level", level);
                    }
                    PostOrCancel(table, log, PostingError(name, tableName));
                  });
    transaction.Commit();
  }
  leaguesTable.Open(db, tableName);
}

}  // namespace likentor
