#include "app/aging.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <string>

#include "app/component_packs.h"
#include "app/session.h"
#include "app/universal_tables.h"
#include "database/games_table.h"
#include "database/table_store.h"
#include "database/text_file.h"

namespace likentor {

namespace {

std::string Trimmed(const std::string& line) {
  const auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
  auto begin = std::find_if_not(line.begin(), line.end(), blank);
  auto end = std::find_if_not(line.rbegin(), line.rend(), blank).base();
  std::string text(begin, begin < end ? end : begin);
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

bool PlayersAgeSetting(Session& session, std::string_view name) {
  const std::string stored = TruncateUtf8(name, kUniverseNameSize);
  Table& current = session.Universal().GamesTable;
  if (current.IsOpen() && !current.Eof() && current.RecordCount() > 0 &&
      current.GetText("universe_name") == stored) {
    return current.HasField(kPlayersAgeField) && current.GetBool(kPlayersAgeField);
  }
  Table games(session.Data(), kGamesTable);
  if (!games.HasField(kPlayersAgeField) || !games.Locate("universe_name", stored)) return false;
  return games.GetBool(kPlayersAgeField);
}

bool PackFollowsKitGrid(const std::filesystem::path& packFolder) {
  std::ifstream in(packFolder / kPackDescriptionFile);
  std::string line;
  while (std::getline(in, line)) {
    if (Trimmed(line) == kPackFollowsGridLine) return true;
  }
  return false;
}

std::map<std::pair<int, int>, bool> PackFacesAging(Database& db) {
  std::map<std::pair<int, int>, bool> faces;
  if (!db.TableExists(std::string(kComponentsTable))) return faces;
  // A pack's description is read once, however many faces it brought.
  std::map<std::filesystem::path, bool> folders;
  Table items(db, kComponentsTable);
  for (items.First(); !items.Eof(); items.Next()) {
    if (items.GetText("kind") != PackKindName(PackKind::Faces)) continue;
    const std::filesystem::path folder =
        std::filesystem::path(items.GetText("source")).parent_path();
    auto known = folders.find(folder);
    if (known == folders.end()) known = folders.emplace(folder, PackFollowsKitGrid(folder)).first;
    faces[{items.GetInt("ethnicity", 0), items.GetInt("number", 0)}] = known->second;
  }
  return faces;
}

}  // namespace likentor
