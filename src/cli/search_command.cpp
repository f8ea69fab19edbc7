#include "cli/search_command.h"

#include "app/game_load.h"
#include "app/loaded_game.h"
#include "app/player_search.h"

namespace likentor {

namespace {

// A field as the record parser reads it back: quoted when it holds the separator, a quote or blanks
// at its ends, with quotes doubled.
std::string CsvField(const std::string& text) {
  const bool needsQuotes = text.find_first_of(";\"") != std::string::npos ||
                           (!text.empty() && (static_cast<unsigned char>(text.front()) <= 32 ||
                                              static_cast<unsigned char>(text.back()) <= 32));
  if (!needsQuotes) return text;
  std::string quoted = "\"";
  for (char c : text) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

void PrintRows(Cursor& rows, std::ostream& out) {
  const auto& fields = rows.Fields();
  for (std::size_t i = 0; i < fields.size(); ++i) out << (i ? ";" : "") << fields[i].name;
  out << '\n';
  for (rows.First(); !rows.Eof(); rows.Next()) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
      out << (i ? ";" : "") << CsvField(rows.GetText(fields[i].name));
    }
    out << '\n';
  }
}

}  // namespace

std::string SearchCommand::Description() const {
  return "Find players of a saved game by id, or by the beginning of their first or last name";
}

void SearchCommand::Configure(CLI::App& subcommand) {
  subcommand.add_option("NAME", name_, "The saved game's name (its folder without \".lg\")")
      ->required();
  subcommand.add_option("--first", first_, "First name begins with F (as typed, no wildcards)")
      ->type_name("F");
  subcommand.add_option("--last", last_, "Last name begins with L (as typed, no wildcards)")
      ->type_name("L");
  subcommand.add_option("--id", id_, "Player id N; the names are then not used")->type_name("N");
}

int SearchCommand::Execute(CommandContext& context) {
  CliSession cli(context);
  LoadGame(cli.session, name_);
  if (PlayerSearchBtnClick(cli.session, {first_, last_, id_})) {
    PrintRows(cli.session.Game().PlayersQuery, context.out);
    PlayerDoneClick(cli.session);
  }
  cli.session.Shutdown();
  return kExitOk;
}

}  // namespace likentor
