#include <fstream>
#include <system_error>

#include "database/connection.h"
#include "database/table_store.h"

namespace likentor {

namespace {

// Files SQLite may keep beside a table file.
constexpr const char* kCompanionSuffixes[] = {"-wal", "-shm", "-journal"};

void RemoveTableFiles(const std::filesystem::path& file) {
  std::error_code ec;
  std::filesystem::remove(file, ec);
  if (ec) throw Error("Could not delete " + file.string() + ": " + ec.message());
  for (const char* suffix : kCompanionSuffixes) {
    std::filesystem::remove(file.string() + suffix, ec);
  }
}

}  // namespace

Database::Database(std::filesystem::path folder, Access access)
    : folder_(std::move(folder)), access_(access) {}

Database::~Database() = default;

std::filesystem::path Database::TablePath(std::string_view tableName) const {
  return folder_ / std::filesystem::path(std::string(tableName));
}

bool Database::TableExists(std::string_view tableName) const {
  std::error_code ec;
  return std::filesystem::is_regular_file(TablePath(tableName), ec);
}

void Database::DetachTable(std::string_view tableName) {
  Release(tableName);
  // A connection left open on a replaced file would, on closing, remove the new file's write-ahead
  // log by name; so cursors still open on the old table lose their connection now.
  auto it = handedOut_.find(tableName);
  if (it == handedOut_.end()) return;
  for (const auto& weak : it->second) {
    if (auto connection = weak.lock()) connection->Detach();
  }
  handedOut_.erase(it);
}

void Database::CreateTable(std::string_view tableName, const std::vector<FieldDef>& fields) {
  DetachTable(tableName);
  // The old file stays in place until the new one replaces it whole.
  Connection::CreateFile(TablePath(tableName), tableName, fields);
}

void Database::ReplaceTable(std::string_view tableName, std::string_view replacement) {
  const std::filesystem::path from = TablePath(replacement);
  const std::filesystem::path to = TablePath(tableName);
  // The table inside the file carries the file's name: the replacement takes its new name first.
  {
    Connection& connection = ConnectionFor(replacement);
    connection.Execute("ALTER TABLE " + connection.QuotedTable() + " RENAME TO " +
                       QuoteSqlName(tableName));
  }
  // Closing every connection writes each file's log into the file itself.
  DetachTable(replacement);
  DetachTable(tableName);
  std::error_code ec;
  if (std::filesystem::exists(from.string() + "-wal", ec) &&
      std::filesystem::file_size(from.string() + "-wal", ec) > 0) {
    throw Error("Could not complete the table " + to.string() + ": " + from.string() +
                " keeps a log that was not written into it.");
  }
  // Whatever SQLite kept beside the old table belongs to it and would be read into the new one.
  for (const char* suffix : kCompanionSuffixes) {
    std::filesystem::remove(to.string() + suffix, ec);
    if (ec) throw Error("Could not delete " + to.string() + suffix + ": " + ec.message());
    std::filesystem::remove(from.string() + suffix, ec);
  }
  std::filesystem::rename(from, to, ec);
  if (ec)
    throw Error("Could not put " + from.string() + " in place of " + to.string() + ": " +
                ec.message());
}

void Database::DeleteTable(std::string_view tableName) {
  DetachTable(tableName);
  RemoveTableFiles(TablePath(tableName));
}

std::shared_ptr<Connection> Database::ShareConnection(std::string_view tableName) {
  auto it = connections_.find(tableName);
  if (it == connections_.end()) {
    auto connection =
        std::make_shared<Connection>(TablePath(tableName), std::string(tableName), access_);
    handedOut_[std::string(tableName)].push_back(connection);
    it = connections_.emplace(std::string(tableName), std::move(connection)).first;
  }
  return it->second;
}

Connection& Database::ConnectionFor(std::string_view tableName) {
  return *ShareConnection(tableName);
}

void Database::Release(std::string_view tableName) {
  auto it = connections_.find(tableName);
  if (it != connections_.end()) connections_.erase(it);
}

void Database::ReleaseAll() {
  connections_.clear();
}

bool CreateAlias(const std::filesystem::path& dataFolder) {
  std::error_code ec;
  std::filesystem::create_directories(dataFolder, ec);
  if (ec || !std::filesystem::is_directory(dataFolder, ec)) return false;
  // Writable means a file can be made there; a probe file answers that on every file system.
  const auto probe = dataFolder / ".likentor-write-test";
  {
    std::ofstream out(probe, std::ios::binary | std::ios::trunc);
    if (!out || !(out << "x") || !(out.flush())) return false;
  }
  std::filesystem::remove(probe, ec);
  return true;
}

std::string QuoteSqlName(std::string_view name) {
  std::string quoted = "\"";
  for (char c : name) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

std::string QuoteSql(std::string_view text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\0') continue;  // SQLite would end the statement's text there
    out += c;
    if (c == '\'') out += '\'';
  }
  out += '\'';
  return out;
}

std::string EscapeLike(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '%' || c == '_' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

TableTransaction::TableTransaction(Database& db, std::string_view tableName, Unfinished unfinished)
    : connection_(db.ShareConnection(tableName)), open_(true), unfinished_(unfinished) {
  connection_->Begin();
}

TableTransaction::~TableTransaction() {
  if (!open_) return;
  try {
    if (unfinished_ == Unfinished::RollBack) {
      connection_->Rollback();
    } else {
      connection_->Commit();
    }
  } catch (...) {
    // A destructor must not throw; a commit or rollback that fails here leaves SQLite to roll back.
  }
}

void TableTransaction::Commit() {
  if (!open_) return;
  open_ = false;
  connection_->Commit();
}

}  // namespace likentor
