#include "database/cursor_state.h"

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

}  // namespace likentor
