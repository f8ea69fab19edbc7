#include "database/connection.h"
#include "database/cursor_state.h"

#include <sqlite3.h>

namespace likentor {

Table::Table() = default;

Table::Table(Database& db, std::string_view tableName) {
  Open(db, tableName);
}

void Table::Open(Database& db, std::string_view tableName) {
  Close();
  state_->connection = db.ShareConnection(tableName);
  state_->tableName = std::string(tableName);
  First();
}

void Table::Close() {
  // The name stays, so a closed table still says which table it was.
  Cursor::Close();
}

const std::string& Table::TableName() const {
  return state_->tableName;
}

void Table::BeginTransaction() {
  if (!state_->connection) throw Error("The table is not open");
  state_->connection->Begin();
}

void Table::Commit() {
  if (!state_->connection) throw Error("The table is not open");
  state_->connection->Commit();
}

int DeleteRows(Database& db, std::string_view tableName, std::string_view field, int first,
               int last) {
  Connection& c = db.ConnectionFor(tableName);
  c.FieldIndex(field);  // a field the table does not have fails with its name
  StatementUse use(c.Prepare("DELETE FROM " + c.QuotedTable() + " WHERE " + QuoteSqlName(field) +
                             " BETWEEN ? AND ?"));
  use->Bind(1, Value{std::int64_t{first}});
  use->Bind(2, Value{std::int64_t{last}});
  use->Step();
  return sqlite3_changes(c.Handle());
}

int RenumberRows(Database& db, std::string_view tableName, std::string_view field,
                 const std::map<int, int>& moves) {
  Connection& c = db.ConnectionFor(tableName);
  c.FieldIndex(field);
  TableTransaction transaction(db, tableName, TableTransaction::Unfinished::RollBack);
  Statement& update = c.Prepare("UPDATE " + c.QuotedTable() + " SET " + QuoteSqlName(field) +
                                " = ? WHERE " + QuoteSqlName(field) + " = ?");
  int changed = 0;
  for (const auto& [from, to] : moves) {
    StatementUse use(update);
    use->Bind(1, Value{std::int64_t{to}});
    use->Bind(2, Value{std::int64_t{from}});
    use->Step();
    changed += sqlite3_changes(c.Handle());
  }
  transaction.Commit();
  return changed;
}

int LargestValue(Database& db, std::string_view tableName, std::string_view field) {
  Connection& c = db.ConnectionFor(tableName);
  c.FieldIndex(field);
  StatementUse use(
      c.Prepare("SELECT coalesce(max(" + QuoteSqlName(field) + "), 0) FROM " + c.QuotedTable()));
  use->Step();
  const Value v = use->Column(0);
  const auto* n = std::get_if<std::int64_t>(&v);
  return n != nullptr ? static_cast<int>(*n) : 0;
}

}  // namespace likentor
