#include "cli/table_commands.h"

#include <string_view>

#include "app/row_printer.h"
#include "app/universal_tables.h"

namespace likentor {

void TablesCommand::Configure(CLI::App& /*subcommand*/) {}

int TablesCommand::Execute(CommandContext& context) {
  CliSession cli(context, Access::ReadOnly);
  UniversalTables& t = cli.session.Universal();
  const std::pair<std::string_view, Table*> tables[] = {
      {"games.db", &t.GamesTable},
      {"nations.db", &t.NationsTable},
      {"facial_hair.db", &t.FacialHairTable},
      {"faces_african.db", &t.AfricanFacesTable},
      {"faces_asian.db", &t.AsianFacesTable},
      {"faces_caucasian.db", &t.CaucasianFacesTable},
      {"faces_east_indian.db", &t.EastIndianFacesTable},
      {"accessories.db", &t.AccessoriesTable}};
  for (const auto& [name, table] : tables) {
    context.out << name << ';' << table->RecordCount() << '\n';
  }
  cli.ShutDown();
  return kExitOk;
}

void ShowCommand::Configure(CLI::App& subcommand) {
  subcommand.add_option("TABLE", table_, "Table name, with or without .db")->required();
}

int ShowCommand::Execute(CommandContext& context) {
  CliSession cli(context, Access::ReadOnly);
  std::string name = table_;
  if (name.size() < 3 || name.compare(name.size() - 3, 3, ".db") != 0) name += ".db";
  Database& db = cli.session.Data();
  // Only plain table names of the data folder: nothing that reaches outside it.
  if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos ||
      !db.TableExists(name)) {
    throw Error("There is no table " + name + " in " + db.Folder().string() + ".");
  }
  Table table(db, name);
  PrintRows(table, context.out);
  table.Close();
  cli.ShutDown();
  return kExitOk;
}

}  // namespace likentor
