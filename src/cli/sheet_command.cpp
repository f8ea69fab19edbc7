#include "cli/sheet_command.h"

#include <algorithm>
#include <system_error>

#include "app/game_load.h"
#include "app/loaded_game.h"
#include "cli/contact_sheet.h"
#include "import/game_tables.h"
#include "portrait/artwork_paths.h"
#include "shell/folders.h"

namespace likentor {

namespace {

// "J. Smith": the first name's first character (whole, in UTF-8) and the last name.
std::string Caption(const std::string& first, const std::string& last) {
  if (first.empty()) return last;
  std::size_t end = 1;
  while (end < first.size() && (static_cast<unsigned char>(first[end]) & 0xC0) == 0x80) ++end;
  return first.substr(0, end) + ". " + last;
}

}  // namespace

std::string SheetCommand::Description() const {
  return "Write a contact sheet of the portraits of one team, or of the first few hundred players";
}

void SheetCommand::Configure(CLI::App& subcommand) {
  subcommand.add_option("NAME", name_, "The saved game's name (its folder without \".lg\")")
      ->required();
  subcommand.add_option("OUT", out_, "The PNG file to write")->required();
  subcommand.add_option("--team", team_, "Only the players of this team")->type_name("TEAM_ID");
}

int SheetCommand::Execute(CommandContext& context) {
  CliSession cli(context);
  Session& session = cli.session;
  LoadGame(session, name_);
  const std::filesystem::path pictures =
      PicturesFolder(SavedGameFolder(session.GameFolder(), name_));

  std::string title = name_;
  if (team_) {
    const auto& box = session.Game().TeamLookupBox;
    const auto item =
        std::find_if(box.begin(), box.end(), [&](const TeamItem& t) { return t.teamId == *team_; });
    if (item == box.end())
      throw Error("There is no team " + std::to_string(*team_) + " in " + name_ + ".");
    title += ": " + item->text;
  }

  std::vector<SheetEntry> entries;
  Table players(session.Data(), PlayersTableName(name_));
  for (players.First(); !players.Eof(); players.Next()) {
    if (!team_ && static_cast<int>(entries.size()) >= kSheetPlayersMax) break;
    if (team_ && players.GetInt("team_id", 0) != *team_) continue;
    const std::filesystem::path portrait = PortraitFile(pictures, players.GetInt("player_id"));
    std::error_code ec;
    if (!std::filesystem::is_regular_file(portrait, ec)) continue;
    entries.push_back(
        {portrait, Caption(players.GetText("first_name"), players.GetText("last_name"))});
  }
  players.Close();
  if (entries.empty()) {
    throw Error("There are no portraits to show in " + pictures.string() +
                ": make them first with \"likentor photos " + name_ + "\".");
  }
  title += " (" + std::to_string(entries.size()) + " portraits)";
  const std::filesystem::path out = context.Absolute(out_);
  WriteContactSheet(out, title, entries, team_ ? 10 : 20);
  context.out << "Contact sheet of " << entries.size() << " portraits: " << out.string() << '\n';
  session.Shutdown();
  return kExitOk;
}

}  // namespace likentor
