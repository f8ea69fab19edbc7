#pragma once

// What the pack code needs to know of each kind of art pack, in one place: the size of its
// pictures, where its items go below graphics/, which catalogue table and key number them, which
// players field wears them and what a new catalogue row holds. Used by the checking, installing and
// uninstalling of packs (component_packs.h is the public face).

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/component_packs.h"

namespace likentor {

class Database;
class Cursor;

struct PackKindInfo {
  PackKind kind;
  std::string_view name;  // the command line's word
  std::string_view one;   // "face", for messages
  std::string_view many;  // "faces"
  int width;
  int height;
  // Each item is a folder holding brown.png and blonde.png (facial-hair styles).
  bool styleFolders;
  // The catalogue's key field ("" for uniforms, which have no catalogue table).
  std::string_view key;
  // Numbers above an uninstalled pack move down into the gap (the face and accessory draws count
  // the catalogue's rows).
  bool closesGaps;
  // The players field that wears an item ("" for uniforms, worn by teams).
  std::string_view playerField;
  // What becomes of a wearer of an uninstalled item: drawn anew, or (accessories) none until the
  // next portrait draws one.
  bool redrawWorn;
};

const PackKindInfo& KindInfo(PackKind kind);

// The catalogue table of a kind ("" for uniforms).
std::string CatalogueTable(PackKind kind, int ethnicity);
// The file (or style folder) of item `number` of a kind.
std::filesystem::path ItemPlace(PackKind kind, const std::filesystem::path& program, int ethnicity,
                                int number);
// Fills a new catalogue row for an item at `place` (its key set by the caller). Error when the
// place cannot be stored in the row. `frequency` is the facial-hair style's.
void FillCatalogueRow(PackKind kind, Cursor& row, const std::filesystem::path& program,
                      const std::filesystem::path& place, int frequency);

// installed_components.db, made when missing.
void MakeComponentsTable(Database& db);
// Every saved game's table of one kind in the data folder ("_players.db", "_teams.db").
std::vector<std::string> GameTables(Database& db, std::string_view suffix);

}  // namespace likentor
