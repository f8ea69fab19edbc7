#pragma once

// What a cursor holds: its connection, the current row, a pending edit, and for a query the keys of
// its result. Shared by the Cursor, Table and Query implementations.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "database/connection.h"
#include "database/table_store.h"

namespace likentor {

struct Cursor::State {
  enum class Mode { Browse, Append, Edit };

  std::shared_ptr<Connection> connection;
  std::string tableName;
  Row row;  // the current row as last read
  // The connection's Changes() when `row` was read: when it differs, another cursor or a snapshot
  // may have written the row since, and the row is read again before a field is read or edited.
  std::int64_t rowChanges = 0;
  bool hasRow = false;
  bool eof = true;
  Mode mode = Mode::Browse;
  Row scratch;    // a row being read, swapped in when it becomes current
  Row edit;       // the pending edit
  Value editKey;  // the key of the row being edited, as stored
  std::string lastError;

  // Queries: the matching keys in result order, the position of the current one, a statement
  // that tells whether one key still matches, and the statement that selected the result (in its
  // order), so that a snapshot of the result can select it again.
  bool isQuery = false;
  std::vector<std::string> sql;
  std::vector<Value> keys;
  std::size_t index = 0;
  std::string matchSql;
  std::string selectSql;

  void Reset() {
    if (connection && connection->IsAttached() && !matchSql.empty()) connection->Forget(matchSql);
    matchSql.clear();
    selectSql.clear();
    connection.reset();
    row.clear();
    edit.clear();
    keys.clear();
    hasRow = false;
    eof = true;
    mode = Mode::Browse;
    index = 0;
  }
};

// The keys of the rows that a query's select statement returns, in its order. Error when the
// statement is bad or does not return the table's key field.
std::vector<Value> SelectKeys(Connection& connection, const std::string& selectSql);

}  // namespace likentor
