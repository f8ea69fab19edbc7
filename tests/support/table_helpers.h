#pragma once

// Reading a table's rows or one of its columns, and making the store refuse updates, for tests on
// real table files.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <map>
#include <string>

#include "database/table_store.h"

namespace likentor::test {

// One field of every row of a table, by the row's key (its first field), as text.
inline std::map<int, std::string> ColumnByKey(Database& db, const std::string& table,
                                              const std::string& field) {
  std::map<int, std::string> values;
  Table t(db, table);
  for (t.First(); !t.Eof(); t.Next()) values[t.GetInt(t.Fields().front().name)] = t.GetText(field);
  return values;
}

// Every row of a table, by its key, as texts by field name.
using Rows = std::map<int, std::map<std::string, std::string>>;
inline Rows ReadRows(Database& db, const std::string& tableName) {
  Rows rows;
  Table t(db, tableName);
  for (t.First(); !t.Eof(); t.Next()) {
    auto& row = rows[t.GetInt(t.Fields().front().name)];
    for (const FieldDef& f : t.Fields()) row[f.name] = t.GetText(f.name);
  }
  return rows;
}

// Makes the store refuse every update of the table's rows that meet `when` (SQL over NEW), the
// way a locked or damaged file refuses a post.
inline void RefuseUpdates(Database& store, const std::string& table, const std::string& when) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(store.TablePath(table).c_str(), &db), SQLITE_OK);
  const std::string sql = "CREATE TRIGGER refuse BEFORE UPDATE ON \"" + table + "\" WHEN " + when +
                          " BEGIN SELECT RAISE(ABORT, 'refused by the test'); END";
  char* message = nullptr;
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
  const std::string error = message != nullptr ? message : "";
  sqlite3_free(message);
  sqlite3_close(db);
  ASSERT_EQ(rc, SQLITE_OK) << error;
}

}  // namespace likentor::test
