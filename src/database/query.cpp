#include <memory>
#include <regex>

#include "database/cursor_state.h"

namespace likentor {

namespace {

// The query text with its quoted parts blanked, so that words inside user texts are never taken for
// SQL keywords.
std::string Unquoted(const std::string& sql) {
  std::string out = sql;
  char quote = 0;
  for (char& c : out) {
    if (quote != 0) {
      if (c == quote) quote = 0;
      c = ' ';
    } else if (c == '\'' || c == '"') {
      quote = c;
      c = ' ';
    }
  }
  return out;
}

std::string TableNamed(const std::string& sql) {
  static const std::regex from(R"re(\bfrom\s+"((?:[^"]|"")*)")re", std::regex::icase);
  std::smatch m;
  if (!std::regex_search(sql, m, from)) throw Error("The query names no table: " + sql);
  std::string name = m[1].str();
  // A doubled quote inside a quoted name stands for one.
  for (std::size_t p = name.find("\"\""); p != std::string::npos; p = name.find("\"\"", p + 1)) {
    name.erase(p, 1);
  }
  return name;
}

// "SELECT * ..." as "SELECT <key> ...": the same rows in the same order, but SQLite then sorts the
// key with the order's terms instead of whole rows (about three times faster on a players table).
// "" when the statement does not start so.
std::string KeyOnly(const std::string& sql, const std::string& quotedKey) {
  static const std::regex selectAll(R"(^\s*select\s*\*)", std::regex::icase);
  std::smatch m;
  if (!std::regex_search(sql, m, selectAll)) return "";
  return "SELECT " + quotedKey + sql.substr(static_cast<std::size_t>(m.length(0)));
}

}  // namespace

std::vector<Value> SelectKeys(Connection& connection, const std::string& selectSql) {
  std::unique_ptr<Statement> select;
  if (const std::string keyOnly = KeyOnly(selectSql, connection.QuotedField(0)); !keyOnly.empty()) {
    try {
      select = std::make_unique<Statement>(connection.Handle(), keyOnly);
    } catch (const Error&) {
      // An order that names a column by its place (ORDER BY 3) needs the whole row.
    }
  }
  if (!select) select = std::make_unique<Statement>(connection.Handle(), selectSql);
  int keyColumn = -1;
  for (int i = 0; i < select->ColumnCount(); ++i) {
    if (select->ColumnName(i) == connection.Fields().front().name) keyColumn = i;
  }
  if (keyColumn < 0) {
    throw Error("The query does not return the key field of " + connection.TableName());
  }
  std::vector<Value> keys;
  while (select->Step()) keys.push_back(select->Column(keyColumn));
  return keys;
}

Query::Query() {
  state_->isQuery = true;
}

void Query::Clear() {
  Close();
  state_->sql.clear();
}

void Query::Add(std::string line) {
  state_->sql.push_back(std::move(line));
}

const std::vector<std::string>& Query::Sql() const {
  return state_->sql;
}

void Query::Open(Database& db) {
  Close();
  State& s = *state_;
  std::string sql;
  for (const std::string& line : s.sql) sql += line + "\n";
  while (!sql.empty() && (static_cast<unsigned char>(sql.back()) <= ' ' || sql.back() == ';')) {
    sql.pop_back();
  }
  const std::string tableName = TableNamed(sql);
  auto connection = db.ShareConnection(tableName);
  const std::string key = connection->QuotedField(0);

  static const std::regex orderBy(R"(\border\s+by\b)", std::regex::icase);
  const bool ordered = std::regex_search(Unquoted(sql), orderBy);
  // The result is the keys that match now, in key order unless the query gives its own order.
  std::string selectSql = ordered ? sql : sql + "\nORDER BY " + key;
  std::vector<Value> keys = SelectKeys(*connection, selectSql);

  s.selectSql = std::move(selectSql);
  s.matchSql = "SELECT 1 FROM (" + sql + "\n) WHERE " + key + " = ?1 LIMIT 1";
  connection->Prepare(s.matchSql);  // a condition SQLite cannot use fails here, not at a post
  s.connection = std::move(connection);
  s.tableName = tableName;
  s.keys = std::move(keys);
  s.index = 0;
  First();
}

void Query::Close() {
  Cursor::Close();
}

const std::string& Query::TableName() const {
  return state_->tableName;
}

}  // namespace likentor
