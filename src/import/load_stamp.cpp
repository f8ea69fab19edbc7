#include "import/load_stamp.h"

#include <bit>
#include <chrono>
#include <map>

#include "database/connection.h"
#include "database/table_store.h"
#include "shell/content_hash.h"

namespace likentor {

namespace {

// The stamp's table in the players table's file.
constexpr const char* kStampTable = "load_stamp";

struct FileFacts {
  std::int64_t size = -1;
  std::int64_t modifiedNs = 0;
};

FileFacts Look(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return {};
  const std::uintmax_t size = std::filesystem::file_size(file, ec);
  if (ec) return {};
  const auto modified = std::filesystem::last_write_time(file, ec);
  if (ec) return {};
  return {
      static_cast<std::int64_t>(size),
      std::chrono::duration_cast<std::chrono::nanoseconds>(modified.time_since_epoch()).count()};
}

bool HasStampTable(Connection& connection) {
  Statement s(connection.Handle(),
              "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = '" +
                  std::string(kStampTable) + "'",
              connection.TableName());
  return s.Step();
}

}  // namespace

const std::vector<std::string_view>& LoadedExports() {
  static const std::vector<std::string_view> exports = {
      kLeaguesExport, kTeamsExport, kBattingExport, kPitchingExport, kPlayersExport};
  return exports;
}

LoadStamp StampExports(const SavedGame& game) {
  LoadStamp stamp;
  for (const std::string_view name : LoadedExports()) {
    ExportStamp entry;
    entry.file = std::string(name);
    const std::filesystem::path file = game.Export(name);
    const FileFacts facts = Look(file);
    entry.modifiedNs = facts.modifiedNs;
    try {
      if (facts.size >= 0) {
        entry.hash = HashFile(file);
        entry.size = facts.size;
      }
    } catch (const Error&) {
      // Unreadable: the import says so itself, and a stamp with size -1 never matches.
    }
    stamp.push_back(std::move(entry));
  }
  return stamp;
}

void ClearLoadStamp(Database& db, const SavedGame& game) {
  if (!db.TableExists(game.playersTable)) return;
  Connection* connection = nullptr;
  try {
    connection = &db.ConnectionFor(game.playersTable);
  } catch (const DamagedTableError&) {
    return;
  }
  if (HasStampTable(*connection)) {
    connection->Execute("DROP TABLE " + QuoteSqlName(kStampTable));
  }
}

void WriteLoadStamp(Database& db, const SavedGame& game, const LoadStamp& stamp) {
  Connection& connection = db.ConnectionFor(game.playersTable);
  const std::string table = QuoteSqlName(kStampTable);
  connection.Execute("DROP TABLE IF EXISTS " + table);
  connection.Execute("CREATE TABLE " + table +
                     " (export TEXT PRIMARY KEY, size INTEGER NOT NULL,"
                     " modified_ns INTEGER NOT NULL, hash INTEGER NOT NULL)");
  Statement insert(connection.Handle(), "INSERT INTO " + table + " VALUES (?, ?, ?, ?)",
                   connection.TableName());
  for (const ExportStamp& entry : stamp) {
    insert.Bind(1, entry.file);
    insert.Bind(2, entry.size);
    insert.Bind(3, entry.modifiedNs);
    insert.Bind(4, std::bit_cast<std::int64_t>(entry.hash));
    insert.Step();
    insert.Reset();
  }
}

bool ExportsUnchanged(Database& db, const SavedGame& game) {
  std::map<std::string, ExportStamp, std::less<>> stamped;
  try {
    if (!db.TableExists(game.playersTable)) return false;
    Connection& connection = db.ConnectionFor(game.playersTable);
    if (!HasStampTable(connection)) return false;
    Statement rows(connection.Handle(),
                   "SELECT export, size, modified_ns, hash FROM " + QuoteSqlName(kStampTable),
                   connection.TableName());
    while (rows.Step()) {
      const Row row = rows.ReadRow();
      const auto* file = std::get_if<std::string>(&row.at(0));
      const auto* size = std::get_if<std::int64_t>(&row.at(1));
      const auto* modified = std::get_if<std::int64_t>(&row.at(2));
      const auto* hash = std::get_if<std::int64_t>(&row.at(3));
      if (file == nullptr || size == nullptr || modified == nullptr || hash == nullptr) {
        return false;
      }
      stamped[*file] = {*file, *size, *modified, std::bit_cast<std::uint64_t>(*hash)};
    }
  } catch (const Error&) {
    return false;
  }
  if (stamped.size() != LoadedExports().size()) return false;
  for (const std::string_view name : LoadedExports()) {
    const auto it = stamped.find(name);
    if (it == stamped.end() || it->second.size < 0) return false;
    const std::filesystem::path file = game.Export(name);
    const FileFacts facts = Look(file);
    if (facts.size != it->second.size || facts.modifiedNs != it->second.modifiedNs) return false;
  }
  // Size and time agree everywhere: only now are the bytes read, to catch an edit that kept both.
  for (const std::string_view name : LoadedExports()) {
    try {
      if (HashFile(game.Export(name)) != stamped.find(name)->second.hash) return false;
    } catch (const Error&) {
      return false;
    }
  }
  return true;
}

}  // namespace likentor
