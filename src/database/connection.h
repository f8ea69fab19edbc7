#pragma once

// The connection behind every cursor on one table file. Not needed by callers of the table store;
// cursors and queries use it to read and write rows with cached prepared statements.

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "database/table_store.h"

struct sqlite3;
struct sqlite3_stmt;

namespace likentor {

// One stored value: null, an integer, or a text (booleans are stored as the texts "true"/"false").
using Value = std::variant<std::monostate, std::int64_t, std::string>;
using Row = std::vector<Value>;

inline bool IsNullValue(const Value& v) {
  return std::holds_alternative<std::monostate>(v);
}

// A prepared statement, finalized with its owner.
class Statement {
 public:
  // Error with SQLite's message when bad. `table` names the table in the messages of failures that
  // come from the machine rather than the statement (a full disk, a table locked elsewhere).
  Statement(sqlite3* db, const std::string& sql, std::string_view table = {});
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  void Bind(int index, const Value& value);  // 1-based
  // Steps once: true for a row, false when done. Throws Error on failure.
  bool Step();
  // Steps once and returns SQLite's result code instead of throwing (for writes that may be
  // refused).
  int TryStep();
  int ColumnCount() const;
  std::string ColumnName(int index) const;
  Value Column(int index) const;  // 0-based
  Row ReadRow() const;
  // The same into an existing row, reusing its storage.
  void ReadRowInto(Row& row) const;
  void Reset();  // ready for the next use, bindings cleared
  sqlite3_stmt* Handle() { return stmt_; }

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
  std::string table_;
};

// Resets a statement when a use of it ends, however it ends.
class StatementUse {
 public:
  explicit StatementUse(Statement& s) : s_(s) {}
  ~StatementUse() { s_.Reset(); }
  StatementUse(const StatementUse&) = delete;
  StatementUse& operator=(const StatementUse&) = delete;
  Statement* operator->() { return &s_; }
  Statement& operator*() { return s_; }

 private:
  Statement& s_;
};

class Connection {
 public:
  // Opens an existing table file and reads its field definitions. Error when missing or unreadable,
  // DamagedTableError when the file is not a readable table. A read-only connection never writes,
  // also not the files SQLite keeps beside the table, so it opens tables in a folder it may not
  // write.
  Connection(const std::filesystem::path& file, std::string tableName,
             Access access = Access::ReadWrite);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Creates the file with its one table. The table is made whole in a file beside `file` and then
  // moved into its place, replacing what was there; a creation that fails removes its own file and
  // leaves `file` untouched.
  static void CreateFile(const std::filesystem::path& file, std::string_view tableName,
                         const std::vector<FieldDef>& fields);

  // The SQLite handle; Error when the connection was detached.
  sqlite3* Handle() const;
  bool IsAttached() const { return db_ != nullptr; }
  // Closes the file now, before it is replaced or deleted, while cursors may still hold this
  // connection: they then fail with a message instead of touching the new file.
  void Detach();
  const std::string& TableName() const { return tableName_; }
  std::string QuotedTable() const;
  const std::vector<FieldDef>& Fields() const { return fields_; }
  // The position of a field; Error "Field '<name>' not found in <table>" when there is none.
  std::size_t FieldIndex(std::string_view name) const;
  std::string QuotedField(std::size_t index) const;

  void Execute(const std::string& sql);
  // A cached prepared statement for this SQL text; one use at a time (see StatementUse).
  Statement& Prepare(const std::string& sql);
  // Drops a cached statement that is no longer needed (a closed query's).
  void Forget(const std::string& sql);

  // How many rows have been inserted, updated or deleted through this connection so far, by any
  // cursor, snapshot or statement (-1 once detached). A reader that noted it when it read a row
  // knows the row may have changed since when it differs.
  std::int64_t Changes() const;

  // Nested transactions: only the outermost Begin/Commit reach SQLite.
  void Begin();
  void Commit();
  // Undoes every write since the outermost Begin and ends the transaction, however deeply nested.
  // Cursors that read a row before see Changes() differ and read it again.
  void Rollback();

  // Value conversions into a field's stored form.
  Value FromText(std::size_t field, std::string_view text, bool cut) const;
  Value FromInt(std::size_t field, std::int64_t value) const;
  Value FromBool(std::size_t field, bool value) const;

  // Row access in key order.
  bool ReadFirst(Row& row);
  bool ReadLast(Row& row);
  bool ReadAfter(const Value& key, Row& row);
  bool ReadBefore(const Value& key, Row& row);
  bool ReadByKey(const Value& key, Row& row);
  bool ReadFirstWhere(std::size_t field, const Value& value, Row& row);
  std::int64_t Count();

  // Writes; return false with `error` set when the store refuses the row. An update given the row
  // as it is stored (`stored`, read since the last write on this connection) that leaves every
  // value as it is writes nothing.
  bool Insert(Row& row, std::string& error);
  bool Update(const Value& oldKey, Row& row, std::string& error, const Row* stored = nullptr);

 private:
  void Open(const std::filesystem::path& file, Access access);
  // Runs a statement of its own (BEGIN, COMMIT); a failure names the step and the table.
  void ExecuteStep(const char* sql, std::string_view step);
  // Reads the field definitions; SQLite's result code of the failure, or SQLITE_OK.
  int ReadFields();
  bool Validate(Row& row, std::string& error);
  void NoteWritten(const Row& row);
  bool ReadOne(Statement& s, Row& row);

  sqlite3* db_ = nullptr;
  std::string tableName_;
  std::vector<FieldDef> fields_;
  // The statement of one of the fixed row operations, prepared on first use and kept.
  enum class Op { First, Last, After, Before, ByKey, Count, Insert, Update, OpCount };
  Statement& Fixed(Op op);
  Statement& LocateStatement(std::size_t field);

  std::map<std::string, std::unique_ptr<Statement>, std::less<>> statements_;
  std::vector<Statement*> fixed_ = std::vector<Statement*>(static_cast<std::size_t>(Op::OpCount));
  std::vector<Statement*> locate_;
  int transactionDepth_ = 0;
  // Transactions rolled back so far: counted in Changes(), which SQLite's own count never lowers.
  std::int64_t rollbacks_ = 0;
  // Next number of each auto-increment field, learned on first use.
  std::map<std::size_t, std::int64_t> nextNumber_;
};

}  // namespace likentor
