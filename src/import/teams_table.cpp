#include "import/teams_table.h"

#include <string>

#include "database/record_fields.h"
#include "database/record_parser.h"
#include "database/stored_path.h"
#include "database/table_store.h"
#include "database/text_file.h"
#include "import/game_tables.h"
#include "portrait/uniforms.h"
#include "shell/error_log.h"

namespace likentor {

namespace {

// The team's name as it came from the export: cut and with control characters escaped.
std::string PostingError(std::string_view name, const std::string& tableName) {
  return "Error posting record " + FieldForMessage(name) + " in " + tableName;
}

// The custom uniform of a new team as it is stored: whole, or "none" with a line in the log when
// the field cannot hold its path.
std::string CustomUniformToStore(ErrorLog& log, const Table& table,
                                 const std::filesystem::path& programFolder,
                                 std::string_view teamName, std::string_view nickname) {
  const std::string picture = AutoRetrieveCustomUniform(programFolder, teamName, nickname);
  if (picture == "none") return picture;
  const int fieldSize = TextFieldSize(table, "custom_uniform_file");
  if (auto stored = PathToStore(programFolder, picture, fieldSize)) return *stored;
  log.ReportError("Cannot store the custom uniform of " + EscapeControls(teamName) + " " +
                  EscapeControls(nickname) + " (\"" + EscapeControls(picture) +
                  "\"): its path is longer than the " + std::to_string(fieldSize) +
                  " characters that the teams table holds.");
  return "none";
}

}  // namespace

void CreateTeamsTable(Database& db, const SavedGame& game) {
  db.CreateTable(game.teamsTable, {
                                      {"team_id", FieldType::Integer, 0, true},
                                      {"team_name", FieldType::Text, 25, true},
                                      {"abbreviation", FieldType::Text, 6, false},
                                      {"nickname", FieldType::Text, 25, true},
                                      {"logo_file", FieldType::Text, 60, false},
                                      {"league_id", FieldType::Integer, 0, true},
                                      {"level", FieldType::Integer, 0, true},
                                      {"background_color_id", FieldType::Text, 8, false},
                                      {"text_color_id", FieldType::Text, 8, false},
                                      {"custom_uniform_file", FieldType::Text, 127, false},
                                  });
}

void UpdateTeamsTable(Database& db, ErrorLog& log, const std::filesystem::path& programFolder,
                      const SavedGame& game, Table& teamsTable) {
  const std::string& tableName = game.teamsTable;
  {
    Table table(db, tableName);
    TableTransaction transaction(db, tableName, TableTransaction::Unfinished::RollBack);
    ForEachRecord(game.Export(kTeamsExport), kExportSeparator, Heading::Skip,
                  [&](const TextFileReader& file, const std::vector<std::string>& fields) {
                    const int teamId = WholeNumberAt(file, fields, 0);
                    const std::string& name = FieldAt(file, fields, 1);
                    const std::string& abbreviation = FieldAt(file, fields, 2);
                    const std::string& nickname = FieldAt(file, fields, 3);
                    const std::string& logoFile = FieldAt(file, fields, 4);
                    const int leagueId = WholeNumberAt(file, fields, 8);
                    const int level = WholeNumberAt(file, fields, 12);
                    const ColorTexts colors =
                        SanitizeColors(FieldAt(file, fields, 17), FieldAt(file, fields, 18));

                    if (table.Locate("team_id", teamId)) {
                      table.Edit();
                      WriteTextIfChanged(table, "team_name", name);
                      WriteTextIfChanged(table, "abbreviation", abbreviation);
                      WriteTextIfChanged(table, "nickname", nickname);
                      WriteTextIfChanged(table, "logo_file", logoFile);
                      WriteIntIfChanged(table, "league_id", leagueId);
                      WriteIntIfChanged(table, "level", level);
                      WriteTextIfChanged(table, "background_color_id", colors.background);
                      WriteTextIfChanged(table, "text_color_id", colors.text);
                    } else {
                      table.Append();
                      table.SetInt("team_id", teamId);
                      table.SetText("team_name", name);
                      table.SetText("abbreviation", abbreviation);
                      table.SetText("nickname", nickname);
                      table.SetText("logo_file", logoFile);
                      table.SetInt("league_id", leagueId);
                      table.SetInt("level", level);
                      table.SetText(
                          "custom_uniform_file",
                          CustomUniformToStore(log, table, programFolder, name, nickname));
                      table.SetText("background_color_id", colors.background);
                      table.SetText("text_color_id", colors.text);
                    }
                    PostOrCancel(table, log, PostingError(name, tableName));
                  });
    transaction.Commit();
  }
  teamsTable.Open(db, tableName);
}

}  // namespace likentor
