// Uninstalling an art pack: the catalogue rows and files of its items go, the numbers above them
// move down (faces and accessories), the pack's records go, and the players who wore its items get
// new looks. The journal is written first; every step can be run again after a stop and ends as an
// uninterrupted run would, so that the next start carries a stopped uninstall to its end.

#include <algorithm>
#include <iterator>
#include <map>
#include <set>
#include <system_error>

#include "app/component_packs.h"
#include "app/pack_kinds.h"
#include "app/pack_work.h"
#include "app/session.h"
#include "app/universal_tables.h"
#include "app/write_command.h"
#include "database/stored_path.h"
#include "database/table_store.h"
#include "import/players_fields.h"
#include "portrait/appearance.h"
#include "portrait/artwork_paths.h"
#include "shell/error.h"
#include "shell/platform.h"

namespace likentor {

namespace fs = std::filesystem;

namespace {

// Steps of the journal that may not be done twice.
constexpr const char* kFilesSetAside = "files set aside";
constexpr const char* kPlayersSetAside = "players set aside";
constexpr const char* kMovingSuffix = ".moving";

std::set<int> Numbers(const PackJournal& journal) {
  std::set<int> numbers;
  for (const JournalItem& item : journal.items) numbers.insert(item.number);
  return numbers;
}

// Deletes the rows of `numbers` from the catalogue, one statement per run of consecutive numbers.
void DeleteNumbers(Database& db, const std::string& table, std::string_view key,
                   const std::set<int>& numbers) {
  for (auto it = numbers.begin(); it != numbers.end();) {
    const int first = *it;
    int last = first;
    while (++it != numbers.end() && *it == last + 1) ++last;
    DeleteRows(db, table, key, first, last);
  }
}

// The catalogue without the pack's rows, those above moved down: done in one transaction, so the
// number of rows tells whether it was done.
void RemoveCatalogueRows(Database& db, const PackJournal& journal, const std::set<int>& removed) {
  const PackKindInfo& info = KindInfo(journal.kind);
  if (info.key.empty()) return;
  const std::string catalogue = CatalogueTable(journal.kind, journal.ethnicity);
  const int rows = Table(db, catalogue).RecordCount();
  const int after = journal.catalogueRows - static_cast<int>(removed.size());
  if (rows == after) return;
  if (rows != journal.catalogueRows) {
    throw Error("Cannot carry on the uninstall of pack " + std::to_string(journal.packId) + ": " +
                catalogue + " holds " + std::to_string(rows) + " rows, neither the " +
                std::to_string(journal.catalogueRows) + " it held before nor the " +
                std::to_string(after) + " it holds after.");
  }
  TableTransaction transaction(db, catalogue, TableTransaction::Unfinished::RollBack);
  DeleteNumbers(db, catalogue, info.key, removed);
  RenumberRows(db, catalogue, info.key, journal.moves);
  transaction.Commit();
}

// The pack's files go. Faces moved down take the places of removed ones: once they have been set
// aside, the places are no longer the pack's and stay.
void RemoveFiles(const PackJournal& journal) {
  if (journal.done.contains(kFilesSetAside)) return;
  std::string failed;
  for (const JournalItem& item : journal.items) {
    std::error_code ec;
    fs::remove_all(item.place, ec);
    if (ec && failed.empty()) {
      failed.append("\"").append(item.place.string()).append("\": ").append(ec.message());
    }
  }
  if (!failed.empty()) {
    throw Error("Cannot remove " + failed +
                "; the next command that writes carries the uninstall of pack " +
                std::to_string(journal.packId) + " on.");
  }
}

// Faces above the pack take the numbers it leaves free: each file is first set aside under the
// name of its new number (a name no face has), then every one is put in place, so that a stopped
// move is never done twice.
void MoveFaceFiles(const fs::path& program, const PackJournal& journal) {
  if (journal.kind != PackKind::Faces || journal.moves.empty()) return;
  const auto fail = [&](const fs::path& file, const std::error_code& ec) {
    return Error("Cannot move the face \"" + file.string() + "\": " + ec.message() +
                 "; the next command that writes carries the uninstall on.");
  };
  if (!journal.done.contains(kFilesSetAside)) {
    for (const auto& [from, to] : journal.moves) {
      const fs::path file = FaceFile(program, journal.ethnicity, from);
      std::error_code ec;
      if (!fs::exists(file, ec)) continue;
      fs::rename(file, FaceFile(program, journal.ethnicity, to).string() + kMovingSuffix, ec);
      if (ec) throw fail(file, ec);
    }
    MarkJournal(program, kFilesSetAside);
  }
  for (const auto& [from, to] : journal.moves) {
    const fs::path file = FaceFile(program, journal.ethnicity, to);
    const fs::path aside = file.string() + kMovingSuffix;
    std::error_code ec;
    if (!fs::exists(aside, ec)) continue;
    fs::rename(aside, file, ec);
    if (ec) throw fail(aside, ec);
  }
}

// The pack's records go; later packs of the same catalogue record their moved numbers.
void RemoveRecords(Database& db, const fs::path& program, const PackJournal& journal) {
  if (!db.TableExists(kComponentsTable)) return;
  Table records(db, kComponentsTable);
  if (!records.Locate("pack_id", journal.packId)) return;
  TableTransaction transaction(db, kComponentsTable, TableTransaction::Unfinished::RollBack);
  DeleteRows(db, kComponentsTable, "pack_id", journal.packId, journal.packId);
  for (records.First(); !records.Eof(); records.Next()) {
    if (records.GetText("kind") != PackKindName(journal.kind) ||
        records.GetInt("ethnicity", 0) != journal.ethnicity) {
      continue;
    }
    const auto found = journal.moves.find(records.GetInt("number"));
    if (found == journal.moves.end()) continue;
    records.Edit();
    records.SetInt("number", found->second);
    if (journal.kind == PackKind::Faces) {
      // Accessory files keep their names: their rows name them.
      records.SetText("location", FaceFile(program, journal.ethnicity, found->second)
                                      .lexically_relative(program)
                                      .generic_string());
    }
    PostOrThrow(records, "A moved number in " + std::string(kComponentsTable));
  }
  records.Close();
  transaction.Commit();
}

// Teams that wore one of the pack's uniforms go back to the generic one, their players flagged for
// a new portrait (players first: the teams' rows are what tells which players).
int FreeUniforms(Session& session, const PackJournal& journal) {
  Database& db = session.Data();
  const fs::path& program = session.ProgramFolder();
  std::set<fs::path> files;
  for (const JournalItem& item : journal.items) files.insert(item.place.lexically_normal());
  int flagged = 0;
  for (const std::string& table : GameTables(db, "_teams.db")) {
    std::set<int> wearing;
    {
      Table teams(db, table);
      for (teams.First(); !teams.Eof(); teams.Next()) {
        const std::string stored = teams.GetText("custom_uniform_file");
        if (stored.empty() || stored == "none") continue;
        if (files.contains(StoredPathFile(program, stored).lexically_normal())) {
          wearing.insert(teams.GetInt("team_id"));
        }
      }
    }
    if (wearing.empty()) continue;
    const std::string game = table.substr(0, table.size() - std::string_view("_teams.db").size());
    const std::string playersTable = game + "_players.db";
    if (db.TableExists(playersTable)) {
      Table players(db, playersTable);
      TableTransaction transaction(db, playersTable);
      for (players.First(); !players.Eof(); players.Next()) {
        if (!wearing.contains(players.GetInt(kTeamIdField, 0))) continue;
        players.Edit();
        players.SetBool(kUpdateRequiredField, true);
        if (PostOrCancel(players, session.Log(),
                         "Error posting record in " + playersTable + " while uninstalling pack " +
                             std::to_string(journal.packId) + ".")) {
          ++flagged;
        }
      }
      transaction.Commit();
    }
    Table teams(db, table);
    TableTransaction transaction(db, table);
    for (teams.First(); !teams.Eof(); teams.Next()) {
      if (!wearing.contains(teams.GetInt("team_id"))) continue;
      teams.Edit();
      teams.SetText("custom_uniform_file", "none");
      PostOrCancel(teams, session.Log(),
                   "Error posting record in " + table + " while uninstalling pack " +
                       std::to_string(journal.packId) + ".");
    }
    transaction.Commit();
  }
  return flagged;
}

// Players who wore one of the pack's items get a new one (or none), those who wore an item whose
// number moved its new number. The new values are first written negated, a form no number has,
// and only when every game is done made positive: a stopped pass is then never applied twice.
int NewLooks(Session& session, const PackJournal& journal, const std::set<int>& removed) {
  Database& db = session.Data();
  const PackKindInfo& info = KindInfo(journal.kind);
  const std::string field(info.playerField);
  const auto post = [&](Table& players, const std::string& table) {
    return PostOrCancel(players, session.Log(),
                        "Error posting record in " + table + " while uninstalling pack " +
                            std::to_string(journal.packId) + ".");
  };
  int changed = 0;
  if (!journal.done.contains(kPlayersSetAside)) {
    AppearanceDraws draws(
        session.Random(),
        {session.Universal().NationsTable, session.Universal().AfricanFacesTable,
         session.Universal().AsianFacesTable, session.Universal().CaucasianFacesTable,
         session.Universal().EastIndianFacesTable, session.Universal().FacialHairTable});
    for (const std::string& table : GameTables(db, "_players.db")) {
      Table players(db, table);
      TableTransaction transaction(db, table);
      for (players.First(); !players.Eof(); players.Next()) {
        if (journal.kind == PackKind::Faces &&
            players.GetInt(kEthnicityField, 0) != journal.ethnicity) {
          continue;
        }
        const int worn = players.GetInt(field, 0);
        if (worn <= 0) continue;
        if (removed.contains(worn)) {
          int next = 0;
          if (info.redrawWorn) {
            next = journal.kind == PackKind::Faces ? draws.GetFace(journal.ethnicity)
                                                   : draws.GetFacialHair();
          }
          players.Edit();
          players.SetInt(field, -next);
          players.SetBool(kUpdateRequiredField, true);
          if (post(players, table)) ++changed;
        } else if (const auto found = journal.moves.find(worn); found != journal.moves.end()) {
          players.Edit();
          players.SetInt(field, -found->second);
          post(players, table);
        }
      }
      transaction.Commit();
    }
    MarkJournal(session.ProgramFolder(), kPlayersSetAside);
  }
  for (const std::string& table : GameTables(db, "_players.db")) {
    Table players(db, table);
    TableTransaction transaction(db, table);
    for (players.First(); !players.Eof(); players.Next()) {
      const int worn = players.GetInt(field, 0);
      if (worn >= 0) continue;
      players.Edit();
      players.SetInt(field, -worn);
      post(players, table);
    }
    transaction.Commit();
  }
  return changed;
}

// The files of the pack that cannot be removed, and the faces that cannot move: checked before
// anything changes, so that an uninstall that could not remove them changes nothing.
std::vector<fs::path> Unremovable(const PackJournal& journal) {
  std::vector<fs::path> stuck;
  std::map<fs::path, bool> writable;
  const auto canWrite = [&](const fs::path& folder) {
    auto found = writable.find(folder);
    if (found == writable.end()) found = writable.emplace(folder, CanWriteFolder(folder)).first;
    return found->second;
  };
  for (const JournalItem& item : journal.items) {
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(item.place, ec))) continue;
    const bool folder = fs::is_directory(item.place, ec);
    if (!canWrite(item.place.parent_path()) || (folder && !canWrite(item.place))) {
      stuck.push_back(item.place);
    }
  }
  return stuck;
}

}  // namespace

int CarryOutUninstall(Session& session, const PackJournal& journal) {
  Database& db = session.Data();
  const fs::path& program = session.ProgramFolder();
  const std::set<int> removed = Numbers(journal);
  RunProgress& progress = session.Progress();
  const std::string status = "Uninstalling pack " + std::to_string(journal.packId) + "...";
  progress.Report(status, true, 0);
  RemoveCatalogueRows(db, journal, removed);
  progress.Report(status, true, 20);
  RemoveFiles(journal);
  progress.Report(status, true, 40);
  MoveFaceFiles(program, journal);
  progress.Report(status, true, 60);
  RemoveRecords(db, program, journal);
  progress.Report(status, true, 80);
  if (journal.kind == PackKind::Uniform) return FreeUniforms(session, journal);
  return NewLooks(session, journal, removed);
}

PackUninstall UninstallPack(Session& session, int packId) {
  const WriteCommand writing(session, kUninstallCommand);
  Database& db = session.Data();
  const fs::path& program = session.ProgramFolder();
  PackJournal journal;
  journal.work = PackJournal::Work::Uninstall;
  journal.packId = packId;
  if (db.TableExists(kComponentsTable)) {
    Table records(db, kComponentsTable);
    for (records.First(); !records.Eof(); records.Next()) {
      if (records.GetInt("pack_id") != packId) continue;
      journal.kind = PackKindFromName(records.GetText("kind")).value_or(PackKind::Faces);
      journal.ethnicity = records.GetInt("ethnicity", 0);
      journal.items.push_back({records.GetInt("number"), records.GetInt("item_id"),
                               StoredPathFile(program, records.GetText("location"))});
    }
  }
  if (journal.items.empty()) {
    throw Error("There is no installed pack " + std::to_string(packId) + ".");
  }
  const PackKindInfo& info = KindInfo(journal.kind);
  const std::set<int> removed = Numbers(journal);
  if (!info.key.empty()) {
    const std::string catalogue = CatalogueTable(journal.kind, journal.ethnicity);
    Table rows(db, catalogue);
    journal.catalogueRows = rows.RecordCount();
    if (info.closesGaps) {
      // Numbers above a removed one move down by the removed numbers below them; ascending, so
      // that each new number is free when it is taken.
      for (rows.First(); !rows.Eof(); rows.Next()) {
        const int number = rows.GetInt(info.key);
        if (number <= *removed.begin() || removed.contains(number)) continue;
        journal.moves[number] =
            number - static_cast<int>(std::distance(removed.begin(), removed.lower_bound(number)));
      }
    }
  }

  if (const std::vector<fs::path> stuck = Unremovable(journal); !stuck.empty()) {
    std::string names;
    for (std::size_t i = 0; i < stuck.size() && i < 5; ++i) {
      names.append(i == 0 ? "\"" : ", \"").append(stuck[i].string()).append("\"");
    }
    if (stuck.size() > 5) names += " and " + std::to_string(stuck.size() - 5) + " more";
    throw Error("Cannot uninstall pack " + std::to_string(packId) + ": " +
                std::to_string(stuck.size()) + " of its " + std::to_string(journal.items.size()) +
                " files cannot be removed, since their folder may not be written: " + names +
                ". Nothing was changed.");
  }

  struct BarHidden {
    Session& session;
    ~BarHidden() {
      session.Progress().Report(session.Window().statusText, false, 0);
      session.Progress().EndRun();
    }
  } hidden{session};
  WriteJournal(program, journal);
  PackUninstall result;
  result.packId = packId;
  result.items = static_cast<int>(journal.items.size());
  // A failure leaves the journal: the next command that writes carries the uninstall on.
  result.playersChanged = CarryOutUninstall(session, journal);
  EndJournal(program);
  return result;
}

}  // namespace likentor
