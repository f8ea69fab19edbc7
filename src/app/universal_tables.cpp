#include "app/universal_tables.h"

#include <array>
#include <string>
#include <utility>

#include "app/session.h"
#include "database/accessories_table.h"
#include "database/face_tables.h"
#include "database/facial_hair_table.h"
#include "database/games_table.h"
#include "database/nations_table.h"
#include "portrait/artwork_paths.h"

namespace likentor {

namespace {

// The shared tables in the order they are opened and closed.
std::array<std::pair<Table*, std::string_view>, 8> InOrder(UniversalTables& t) {
  return {{{&t.GamesTable, kGamesTable},
           {&t.NationsTable, kNationsTable},
           {&t.FacialHairTable, kFacialHairTable},
           {&t.AfricanFacesTable, "faces_african.db"},
           {&t.AsianFacesTable, "faces_asian.db"},
           {&t.CaucasianFacesTable, "faces_caucasian.db"},
           {&t.EastIndianFacesTable, "faces_east_indian.db"},
           {&t.AccessoriesTable, kAccessoriesTable}}};
}

}  // namespace

void CreateUniversalTables(Session& session) {
  Database& db = session.Data();
  ErrorLog& log = session.Log();
  const auto& program = session.ProgramFolder();
  CreateGamesTable(db);
  // A game nation list that gives no nation is an error of the setup, shown as its others are.
  const std::string noNation = CreateNationsTable(db, log, program, session.GameFolder());
  if (!noNation.empty()) session.UserPrompts().ShowError(noNation);
  CreateFacialHairTable(db, log, program);
  CreateAccessoriesTable(db, log, program, KitAccessoryPictures(program));
  CreateAfricanFacesTable(db);
  CreateAsianFacesTable(db);
  CreateCaucasianFacesTable(db);
  CreateEastIndianFacesTable(db);
  for (const auto& [ethnicity, count] : {std::pair<std::string_view, int>{"african", kAfricanFaces},
                                         {"asian", kAsianFaces},
                                         {"caucasian", kCaucasianFaces},
                                         {"east_indian", kEastIndianFaces}}) {
    PopulateFaceTable(db, log, FaceTableLocationFolder(program, ethnicity), ethnicity, count);
  }
}

void RebuildMissingTables(Session& session) {
  if (!session.Data().TableExists(kNationsTable)) {
    CreateNationsTable(session.Data(), session.Log(), session.ProgramFolder(),
                       session.GameFolder());
  }
  // A games table of an earlier version gets the settings added since; one that is missing or not
  // a table is reported when the tables are opened.
  if (session.Data().TableExists(kGamesTable)) {
    try {
      AddMissingGamesFields(session.Data());
    } catch (const DamagedTableError&) {
    }
  }
}

std::string SetupCommandLine(const Session& session) {
  // Appended piece by piece: GCC 12 at -O3 reports a false overlap for the chained form.
  const auto quoted = [](const std::filesystem::path& path) { return "\"" + path.string() + "\""; };
  std::string line = "likentor -C ";
  line += quoted(session.Places().workingFolder);
  line += " setup --program-folder ";
  line += quoted(session.ProgramFolder());
  line += " --game-folder ";
  line += quoted(session.GameFolder());
  return line;
}

void ActivateUniversalTables(Session& session) {
  Database& db = session.Data();
  const auto remake = [&session] {
    return " Run the setup again to make the shared tables anew: " + SetupCommandLine(session);
  };
  for (auto [table, name] : InOrder(session.Universal())) {
    if (!db.TableExists(name)) {
      throw Error("The table " + std::string(name) + " is missing from " + db.Folder().string() +
                  "." + remake());
    }
    try {
      table->Open(db, name);
    } catch (const DamagedTableError& e) {
      throw Error("The table " + std::string(name) + " in " + db.Folder().string() +
                  " is not a readable table (" + e.what() + ")." + remake());
    }
  }
}

void DeActivateUniversalTables(Session& session) {
  for (auto [table, name] : InOrder(session.Universal())) table->Close();
}

}  // namespace likentor
