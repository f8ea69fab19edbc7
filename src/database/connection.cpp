#include "database/connection.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <limits>

#include "shell/error.h"
#include "shell/whole_number.h"

namespace likentor {

namespace {

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::string Trimmed(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
  return std::string(text.substr(b, e - b));
}

// The first `chars` characters of UTF-8 text. A character starts at every byte that is not a
// continuation byte (10xxxxxx), so a cut there never splits one.
std::string CutToCharacters(std::string_view text, int chars) {
  if (chars <= 0 || text.size() <= static_cast<std::size_t>(chars)) return std::string(text);
  int seen = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      if (seen == chars) return std::string(text.substr(0, i));
      ++seen;
    }
  }
  return std::string(text);
}

// Field types are kept in the column's declared type, so a table file describes itself.
std::string DeclaredType(const FieldDef& f) {
  switch (f.type) {
    case FieldType::Text:
      return "TEXT(" + std::to_string(f.size) + ")";
    case FieldType::Integer:
      return "INTEGER";
    case FieldType::Boolean:
      return "BOOLEAN";
    case FieldType::AutoIncrement:
      return "AUTOINC";
  }
  return "TEXT";
}

FieldDef FieldFromDeclared(std::string name, std::string_view declared, bool notNull) {
  FieldDef f;
  f.name = std::move(name);
  f.required = notNull;
  const std::string type = Upper(declared);
  if (type == "INTEGER") {
    f.type = FieldType::Integer;
  } else if (type == "BOOLEAN") {
    f.type = FieldType::Boolean;
  } else if (type == "AUTOINC") {
    f.type = FieldType::AutoIncrement;
  } else {
    f.type = FieldType::Text;
    const auto open = type.find('(');
    if (open != std::string::npos) {
      f.size = TryWholeNumber(type.substr(open + 1, type.find(')', open) - open - 1)).value_or(0);
    }
  }
  return f;
}

// Failures that come from the machine or another program rather than from the statement or the
// row: their messages name the table and the step, since SQLite's own text ("database or disk is
// full", "database is locked") says neither.
bool IsMachineFailure(int code) {
  switch (code & 0xFF) {
    case SQLITE_FULL:
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_IOERR:
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
      return true;
    default:
      return false;
  }
}

// SQLite's message of the last failure on `db`, with the step and the table when the failure is one
// of the machine's.
std::string FailureMessage(sqlite3* db, std::string_view step, std::string_view table) {
  std::string message = sqlite3_errmsg(db);
  if (table.empty() || !IsMachineFailure(sqlite3_extended_errcode(db))) return message;
  return "Could not " + std::string(step) + " " + std::string(table) + ": " + message;
}

// A table file that SQLite cannot take for a database, or one that it finds damaged.
bool IsDamage(int code) {
  return (code & 0xFF) == SQLITE_NOTADB || (code & 0xFF) == SQLITE_CORRUPT;
}

// The file as an SQLite URI: every byte outside the unreserved set and "/" percent-encoded, so no
// name can add a parameter.
std::string FileUri(const std::filesystem::path& file) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string uri = "file:";
  for (const char c : std::filesystem::absolute(file).string()) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) != 0 || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
      uri += c;
    } else {
      uri += '%';
      uri += kHex[byte >> 4];
      uri += kHex[byte & 0x0F];
    }
  }
  return uri;
}

// How long a reader waits for a table that another connection holds for a moment (the recovery of
// its log by a copy of the program that writes) before it fails with "database is locked". A
// writer holds the program folder's lock and waits for nobody.
constexpr int kReaderBusyTimeoutMs = 2000;

bool IsEmptyValue(const Value& v) {
  if (IsNullValue(v)) return true;
  const auto* s = std::get_if<std::string>(&v);
  return s != nullptr && s->empty();
}

}  // namespace

// ---- Statement ----

Statement::Statement(sqlite3* db, const std::string& sql, std::string_view table)
    : db_(db), table_(table) {
  if (sqlite3_prepare_v3(db, sql.c_str(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                         &stmt_, nullptr) != SQLITE_OK) {
    std::string message = sqlite3_errmsg(db);
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    throw Error(message);
  }
  if (stmt_ == nullptr) throw Error("Empty SQL statement");
}

Statement::~Statement() {
  sqlite3_finalize(stmt_);
}

void Statement::Bind(int index, const Value& value) {
  int rc = SQLITE_OK;
  if (const auto* i = std::get_if<std::int64_t>(&value)) {
    rc = sqlite3_bind_int64(stmt_, index, *i);
  } else if (const auto* s = std::get_if<std::string>(&value)) {
    rc = sqlite3_bind_text(stmt_, index, s->data(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
  } else {
    rc = sqlite3_bind_null(stmt_, index);
  }
  if (rc != SQLITE_OK) throw Error(sqlite3_errmsg(db_));
}

int Statement::TryStep() {
  return sqlite3_step(stmt_);
}

bool Statement::Step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  throw Error(FailureMessage(db_, "read", table_));
}

int Statement::ColumnCount() const {
  return sqlite3_column_count(stmt_);
}

std::string Statement::ColumnName(int index) const {
  const char* name = sqlite3_column_name(stmt_, index);
  return name != nullptr ? name : "";
}

Value Statement::Column(int index) const {
  switch (sqlite3_column_type(stmt_, index)) {
    case SQLITE_NULL:
      return std::monostate{};
    case SQLITE_INTEGER:
      return static_cast<std::int64_t>(sqlite3_column_int64(stmt_, index));
    default: {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
      const int size = sqlite3_column_bytes(stmt_, index);
      return std::string(text != nullptr ? text : "", static_cast<std::size_t>(size));
    }
  }
}

Row Statement::ReadRow() const {
  Row row;
  const int n = ColumnCount();
  row.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) row.push_back(Column(i));
  return row;
}

void Statement::ReadRowInto(Row& row) const {
  const auto n = static_cast<std::size_t>(ColumnCount());
  row.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    const int column = static_cast<int>(i);
    switch (sqlite3_column_type(stmt_, column)) {
      case SQLITE_NULL:
        row[i] = std::monostate{};
        break;
      case SQLITE_INTEGER:
        row[i] = static_cast<std::int64_t>(sqlite3_column_int64(stmt_, column));
        break;
      default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
        const auto size = static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column));
        if (auto* held = std::get_if<std::string>(&row[i])) {
          held->assign(text != nullptr ? text : "", size);
        } else {
          row[i] = std::string(text != nullptr ? text : "", size);
        }
      }
    }
  }
}

void Statement::Reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

// ---- Connection ----

Connection::Connection(const std::filesystem::path& file, std::string tableName, Access access)
    : tableName_(std::move(tableName)) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) {
    throw Error("Table does not exist: " + file.string());
  }
  Open(file, access);
}

void Connection::Open(const std::filesystem::path& file, Access access) {
  const auto fail = [this](const auto& error) {
    sqlite3_close(db_);
    db_ = nullptr;
    fields_.clear();
    throw error;
  };
  const bool readOnly = access == Access::ReadOnly;
  const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
  int rc = sqlite3_open_v2(file.c_str(), &db_, flags, nullptr);
  if (rc != SQLITE_OK) {
    fail(Error("Could not open " + file.string() + ": " +
               (db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory")));
  }
  sqlite3_extended_result_codes(db_, 1);
  if (readOnly) {
    sqlite3_busy_timeout(db_, kReaderBusyTimeoutMs);
  } else {
    // Write-ahead logging keeps each commit cheap (posts outside a transaction are frequent) while
    // a crash never leaves a half-written table. Refused on a read-only file, which is fine.
    sqlite3_exec(db_, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL", nullptr, nullptr,
                 nullptr);
    // The log and its index stay beside the table between runs instead of being made and deleted
    // by every connection: creating a file costs far more than opening one, and a command opens a
    // dozen tables. The last connection to close still writes the log into the table and empties
    // it (the size limit is what makes it empty the file), so a table at rest is whole in its file
    // and a 0-byte log beside it, as ReplaceTable expects.
    int persist = 1;
    sqlite3_file_control(db_, "main", SQLITE_FCNTL_PERSIST_WAL, &persist);
    sqlite3_exec(db_, "PRAGMA journal_size_limit=8388608", nullptr, nullptr, nullptr);
  }
  rc = ReadFields();
  if (rc != SQLITE_OK && readOnly && !IsDamage(rc)) {
    // A table in write-ahead mode is read through its -shm file, which a reader must be able to
    // make when it is missing: in a folder it may not write it cannot. With no log beside the
    // table everything committed is in the file itself, so the file is read as it stands.
    std::error_code ec;
    const std::filesystem::path log = file.string() + "-wal";
    if (!std::filesystem::exists(log, ec) || std::filesystem::file_size(log, ec) == 0) {
      sqlite3_close(db_);
      db_ = nullptr;
      rc = sqlite3_open_v2((FileUri(file) + "?immutable=1").c_str(), &db_,
                           SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI, nullptr);
      if (rc == SQLITE_OK) {
        sqlite3_extended_result_codes(db_, 1);
        rc = ReadFields();
      }
    }
  }
  if (rc != SQLITE_OK) {
    const std::string message = db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
    if (IsDamage(rc)) fail(DamagedTableError("Could not read " + file.string() + ": " + message));
    fail(Error("Could not read " + file.string() + ": " + message));
  }
  if (fields_.empty()) fail(DamagedTableError("Table does not exist: " + file.string()));
}

int Connection::ReadFields() {
  fields_.clear();
  const std::string sql = "PRAGMA table_info(" + QuoteSqlName(tableName_) + ")";
  sqlite3_stmt* info = nullptr;
  int rc = sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &info, nullptr);
  while (rc == SQLITE_OK) {
    const int step = sqlite3_step(info);
    if (step == SQLITE_DONE) break;
    if (step != SQLITE_ROW) {
      rc = step;
      break;
    }
    const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(info, 1));
    const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(info, 2));
    fields_.push_back(FieldFromDeclared(name != nullptr ? name : "", type != nullptr ? type : "",
                                        sqlite3_column_int64(info, 3) != 0));
  }
  sqlite3_finalize(info);
  if (rc != SQLITE_OK) fields_.clear();
  return rc == SQLITE_OK ? SQLITE_OK : sqlite3_extended_errcode(db_);
}

Connection::~Connection() {
  Detach();
}

void Connection::CreateFile(const std::filesystem::path& file, std::string_view tableName,
                            const std::vector<FieldDef>& fields) {
  if (fields.empty()) throw Error("A table needs at least one field: " + std::string(tableName));
  std::string sql = "CREATE TABLE " + QuoteSqlName(tableName) + " (";
  for (const FieldDef& f : fields) {
    sql += QuoteSqlName(f.name) + " " + DeclaredType(f);
    if (f.required) sql += " NOT NULL";
    sql += ", ";
  }
  sql += "PRIMARY KEY (" + QuoteSqlName(fields.front().name) + "))";

  // The new table is made whole beside its place; an interrupted creation leaves only this file,
  // which the next creation of the table removes.
  const std::filesystem::path partial = file.string() + ".partial";
  const auto removePartial = [&partial] {
    std::error_code ec;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
      std::filesystem::remove(partial.string() + suffix, ec);
    }
  };
  removePartial();
  const auto failed = [&](const std::string& message) {
    removePartial();
    throw Error("Could not create table " + file.string() + ": " + message);
  };

  sqlite3* db = nullptr;
  int rc =
      sqlite3_open_v2(partial.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  // The table is written in rollback mode, each step synced into the file itself, and the file is
  // switched to write-ahead logging last: once closed, the file alone holds the whole table.
  if (rc == SQLITE_OK) rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  if (rc == SQLITE_OK) rc = sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) {
    std::string message = db != nullptr ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    failed(message);
  }
  if (sqlite3_close(db) != SQLITE_OK) failed("the file could not be closed");
  std::error_code ec;
  if (std::filesystem::exists(partial.string() + "-wal", ec) &&
      std::filesystem::file_size(partial.string() + "-wal", ec) > 0) {
    failed("the file could not be completed");
  }
  // Whatever SQLite kept beside the old table belongs to it and would be read into the new one.
  for (const char* suffix : {"-wal", "-shm", "-journal"}) {
    std::filesystem::remove(file.string() + suffix, ec);
    if (ec) failed("could not delete " + file.string() + suffix + ": " + ec.message());
  }
  std::filesystem::rename(partial, file, ec);
  if (ec) failed(ec.message());
}

sqlite3* Connection::Handle() const {
  if (db_ == nullptr) {
    throw Error("The table " + tableName_ + " was replaced or deleted; open it again");
  }
  return db_;
}

void Connection::Detach() {
  if (db_ == nullptr) return;
  if (transactionDepth_ > 0 && sqlite3_get_autocommit(db_) == 0) {
    sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
  }
  transactionDepth_ = 0;
  std::fill(fixed_.begin(), fixed_.end(), nullptr);
  locate_.clear();
  statements_.clear();
  sqlite3_close(db_);
  db_ = nullptr;
}

std::string Connection::QuotedTable() const {
  return QuoteSqlName(tableName_);
}

std::string Connection::QuotedField(std::size_t index) const {
  return QuoteSqlName(fields_.at(index).name);
}

std::size_t Connection::FieldIndex(std::string_view name) const {
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    if (fields_[i].name == name) return i;
  }
  throw Error("Field '" + std::string(name) + "' not found in " + tableName_);
}

void Connection::ExecuteStep(const char* sql, std::string_view step) {
  if (sqlite3_exec(Handle(), sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
    throw Error(FailureMessage(db_, step, tableName_));
  }
}

void Connection::Execute(const std::string& sql) {
  char* message = nullptr;
  if (sqlite3_exec(Handle(), sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    std::string text = message != nullptr ? message : sqlite3_errmsg(db_);
    sqlite3_free(message);
    throw Error(text);
  }
}

Statement& Connection::Prepare(const std::string& sql) {
  auto it = statements_.find(sql);
  if (it == statements_.end()) {
    it = statements_.emplace(sql, std::make_unique<Statement>(Handle(), sql, tableName_)).first;
  }
  return *it->second;
}

void Connection::Forget(const std::string& sql) {
  auto it = statements_.find(sql);
  if (it != statements_.end()) statements_.erase(it);
}

std::int64_t Connection::Changes() const {
  return db_ != nullptr ? static_cast<std::int64_t>(sqlite3_total_changes64(db_)) + rollbacks_ : -1;
}

void Connection::Begin() {
  if (transactionDepth_++ == 0) {
    try {
      ExecuteStep("BEGIN", "begin a transaction on");
    } catch (...) {
      transactionDepth_ = 0;
      throw;
    }
  }
}

void Connection::Commit() {
  if (transactionDepth_ == 0 || db_ == nullptr) return;
  // SQLite may already have rolled the transaction back itself (a full disk); then there is nothing
  // left to commit.
  if (--transactionDepth_ == 0 && sqlite3_get_autocommit(db_) == 0) {
    ExecuteStep("COMMIT", "commit the changes to");
  }
}

void Connection::Rollback() {
  if (transactionDepth_ == 0 || db_ == nullptr) return;
  transactionDepth_ = 0;
  ++rollbacks_;
  // Numbers handed out inside the transaction are free again.
  nextNumber_.clear();
  if (sqlite3_get_autocommit(db_) == 0) ExecuteStep("ROLLBACK", "undo the changes to");
}

Value Connection::FromText(std::size_t field, std::string_view text, bool cut) const {
  const FieldDef& f = fields_.at(field);
  switch (f.type) {
    case FieldType::Text:
      return cut ? CutToCharacters(text, f.size) : std::string(text);
    case FieldType::Integer:
    case FieldType::AutoIncrement: {
      if (Trimmed(text).empty()) return std::monostate{};
      return static_cast<std::int64_t>(ToWholeNumber(text));
    }
    case FieldType::Boolean: {
      const std::string word = Upper(Trimmed(text));
      if (word.empty()) return std::monostate{};
      if (word == "TRUE") return std::string("true");
      if (word == "FALSE") return std::string("false");
      throw Error("'" + std::string(text) + "' is not a boolean value");
    }
  }
  return std::string(text);
}

Value Connection::FromInt(std::size_t field, std::int64_t value) const {
  switch (fields_.at(field).type) {
    case FieldType::Text:
      return FromText(field, std::to_string(value), true);
    case FieldType::Boolean:
      return std::string(value != 0 ? "true" : "false");
    default:
      return value;
  }
}

Value Connection::FromBool(std::size_t field, bool value) const {
  if (fields_.at(field).type == FieldType::Integer ||
      fields_.at(field).type == FieldType::AutoIncrement) {
    return std::int64_t{value ? 1 : 0};
  }
  return std::string(value ? "true" : "false");
}

bool Connection::ReadOne(Statement& s, Row& row) {
  StatementUse use(s);
  if (!use->Step()) return false;
  use->ReadRowInto(row);
  return true;
}

Statement& Connection::Fixed(Op op) {
  Statement*& cached = fixed_[static_cast<std::size_t>(op)];
  if (cached != nullptr) return *cached;
  Handle();  // a detached connection prepares nothing
  const std::string table = QuotedTable();
  const std::string key = QuotedField(0);
  std::string sql;
  switch (op) {
    case Op::First:
      sql = "SELECT * FROM " + table + " ORDER BY " + key + " LIMIT 1";
      break;
    case Op::Last:
      sql = "SELECT * FROM " + table + " ORDER BY " + key + " DESC LIMIT 1";
      break;
    case Op::After:
      sql = "SELECT * FROM " + table + " WHERE " + key + " > ?1 ORDER BY " + key + " LIMIT 1";
      break;
    case Op::Before:
      sql = "SELECT * FROM " + table + " WHERE " + key + " < ?1 ORDER BY " + key + " DESC LIMIT 1";
      break;
    case Op::ByKey:
      sql = "SELECT * FROM " + table + " WHERE " + key + " = ?1";
      break;
    case Op::Count:
      sql = "SELECT count(*) FROM " + table;
      break;
    case Op::Insert:
      sql = "INSERT INTO " + table + " VALUES (";
      for (std::size_t i = 0; i < fields_.size(); ++i) sql += (i == 0 ? "?" : ", ?");
      sql += ")";
      break;
    case Op::Update:
      sql = "UPDATE " + table + " SET ";
      for (std::size_t i = 0; i < fields_.size(); ++i) {
        sql += (i == 0 ? "" : ", ") + QuotedField(i) + " = ?" + std::to_string(i + 1);
      }
      sql += " WHERE " + key + " = ?" + std::to_string(fields_.size() + 1);
      break;
    case Op::OpCount:
      break;
  }
  cached = &Prepare(sql);
  return *cached;
}

Statement& Connection::LocateStatement(std::size_t field) {
  if (locate_.empty()) locate_.resize(fields_.size());
  Statement*& cached = locate_.at(field);
  if (cached == nullptr) {
    cached = &Prepare("SELECT * FROM " + QuotedTable() + " WHERE " + QuotedField(field) +
                      " = ?1 ORDER BY " + QuotedField(0) + " LIMIT 1");
  }
  return *cached;
}

bool Connection::ReadFirst(Row& row) {
  return ReadOne(Fixed(Op::First), row);
}

bool Connection::ReadLast(Row& row) {
  return ReadOne(Fixed(Op::Last), row);
}

bool Connection::ReadAfter(const Value& key, Row& row) {
  Statement& s = Fixed(Op::After);
  s.Bind(1, key);
  return ReadOne(s, row);
}

bool Connection::ReadBefore(const Value& key, Row& row) {
  Statement& s = Fixed(Op::Before);
  s.Bind(1, key);
  return ReadOne(s, row);
}

bool Connection::ReadByKey(const Value& key, Row& row) {
  Statement& s = Fixed(Op::ByKey);
  s.Bind(1, key);
  return ReadOne(s, row);
}

bool Connection::ReadFirstWhere(std::size_t field, const Value& value, Row& row) {
  if (field == 0) return ReadByKey(value, row);
  Statement& s = LocateStatement(field);
  s.Bind(1, value);
  return ReadOne(s, row);
}

std::int64_t Connection::Count() {
  StatementUse use(Fixed(Op::Count));
  use->Step();
  return std::get<std::int64_t>(use->Column(0));
}

bool Connection::Validate(Row& row, std::string& error) {
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    const FieldDef& f = fields_[i];
    if (f.type == FieldType::AutoIncrement && IsNullValue(row[i])) {
      auto next = nextNumber_.find(i);
      if (next == nextNumber_.end()) {
        StatementUse use(
            Prepare("SELECT coalesce(max(" + QuotedField(i) + "), 0) FROM " + QuotedTable()));
        use->Step();
        const Value max = use->Column(0);
        const auto* m = std::get_if<std::int64_t>(&max);
        next = nextNumber_.emplace(i, (m != nullptr ? *m : 0) + 1).first;
      }
      row[i] = next->second;
    }
    if ((i == 0 && IsNullValue(row[i])) || (f.required && IsEmptyValue(row[i]))) {
      error = "Field '" + f.name + "' must have a value";
      return false;
    }
  }
  return true;
}

void Connection::NoteWritten(const Row& row) {
  for (auto& [field, next] : nextNumber_) {
    if (const auto* v = std::get_if<std::int64_t>(&row[field]); v != nullptr && *v >= next) {
      next = *v + 1;
    }
  }
}

namespace {

bool FinishWrite(sqlite3* db, StatementUse& use, const std::string& tableName, std::string& error) {
  const int rc = use->TryStep();
  if (rc == SQLITE_DONE) return true;
  if (rc == SQLITE_CONSTRAINT_PRIMARYKEY || rc == SQLITE_CONSTRAINT_UNIQUE) {
    error = "Key violation in " + tableName;
  } else {
    error = FailureMessage(db, "write a row to", tableName);
  }
  return false;
}

}  // namespace

bool Connection::Insert(Row& row, std::string& error) {
  if (!Validate(row, error)) return false;
  StatementUse use(Fixed(Op::Insert));
  for (std::size_t i = 0; i < fields_.size(); ++i) use->Bind(static_cast<int>(i + 1), row[i]);
  if (!FinishWrite(db_, use, tableName_, error)) return false;
  NoteWritten(row);
  return true;
}

bool Connection::Update(const Value& oldKey, Row& row, std::string& error, const Row* stored) {
  if (!Validate(row, error)) return false;
  // A load posts every known row; most come back as they are stored.
  if (stored != nullptr && row == *stored) {
    NoteWritten(row);
    return true;
  }
  StatementUse use(Fixed(Op::Update));
  for (std::size_t i = 0; i < fields_.size(); ++i) use->Bind(static_cast<int>(i + 1), row[i]);
  use->Bind(static_cast<int>(fields_.size() + 1), oldKey);
  if (!FinishWrite(db_, use, tableName_, error)) return false;
  if (sqlite3_changes(db_) == 0) {
    error = "The record was deleted from " + tableName_;
    return false;
  }
  NoteWritten(row);
  return true;
}

}  // namespace likentor
