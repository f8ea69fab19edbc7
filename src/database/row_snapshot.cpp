#include "database/row_snapshot.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "database/connection.h"
#include "database/cursor_state.h"
#include "shell/error.h"

namespace likentor {

namespace {

// Rows kept, by position modulo this count: a screen of consecutive rows never evicts itself.
constexpr std::size_t kCachedRows = 256;

struct CachedRow {
  int index = -1;  // -1: the slot holds nothing
  bool exists = false;
  RowTexts texts;
};

std::string ValueText(const Value& v) {
  if (const auto* t = std::get_if<std::string>(&v)) return *t;
  if (const auto* i = std::get_if<std::int64_t>(&v)) return std::to_string(*i);
  return "";
}

// The row as texts, reusing the storage the texts already have.
void ToTexts(const Row& row, RowTexts& texts) {
  texts.resize(row.size());
  for (std::size_t i = 0; i < row.size(); ++i) {
    if (const auto* t = std::get_if<std::string>(&row[i])) {
      if (texts[i]) {
        texts[i]->assign(*t);
      } else {
        texts[i] = *t;
      }
    } else if (const auto* n = std::get_if<std::int64_t>(&row[i])) {
      texts[i] = std::to_string(*n);
    } else {
      texts[i].reset();
    }
  }
}

// A pending text in the field's stored form, by the same conversion a cursor's SetText uses (texts
// cut to their size). False with `error` naming the field and the text when the field cannot hold
// it.
bool ToValue(const Connection& c, std::size_t field, const std::optional<std::string>& text,
             Value& value, std::string& error) {
  if (!text) {
    value = std::monostate{};
    return true;
  }
  try {
    value = c.FromText(field, *text, true);
    return true;
  } catch (const Error&) {
    const FieldDef& f = c.Fields()[field];
    error = "Field '" + f.name + "' needs " +
            (f.type == FieldType::Boolean ? "true or false" : "a whole number") + ", not '" +
            *text + "'";
    return false;
  }
}

std::vector<Value> TableKeys(Connection& c, std::size_t expected) {
  const std::string key = c.QuotedField(0);
  StatementUse use(c.Prepare("SELECT " + key + " FROM " + c.QuotedTable() + " ORDER BY " + key));
  std::vector<Value> keys;
  keys.reserve(expected);
  while (use->Step()) keys.push_back(use->Column(0));
  return keys;
}

}  // namespace

struct RowSnapshot::State {
  std::shared_ptr<Connection> connection;
  std::string tableName;
  bool isQuery = false;
  std::string selectSql;    // a query's statement, in its order
  std::vector<Value> keys;  // the snapshot

  // Rows read lately, valid while the connection's Changes() stays at cacheChanges.
  std::vector<CachedRow> cache = std::vector<CachedRow>(kCachedRows);
  std::int64_t cacheChanges = -1;
  likentor::Row scratch;

  // The pending edit: the row's key as stored, its texts (the user's for the fields set) and which
  // fields were set.
  int editIndex = -1;
  Value editKey;
  RowTexts pending;
  std::vector<bool> set;
  std::string lastError;

  Connection& Open() const {
    if (!connection) throw Error("The table is not open");
    return *connection;
  }

  void CheckIndex(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= keys.size()) {
      throw Error("Row " + std::to_string(index) + " is outside the " +
                  std::to_string(keys.size()) + " rows of " + tableName);
    }
  }

  void ClearCache() {
    for (CachedRow& row : cache) row.index = -1;
  }

  void ClearEdit() {
    editIndex = -1;
    editKey = std::monostate{};
    pending.clear();
    set.clear();
  }

  // The row at a position as stored now, from the cache while nothing was written since.
  CachedRow& Read(int index) {
    Connection& c = Open();
    c.Handle();  // a replaced or deleted table fails here, with its message
    const std::int64_t changes = c.Changes();
    if (changes != cacheChanges) {
      ClearCache();
      cacheChanges = changes;
    }
    CachedRow& slot = cache[static_cast<std::size_t>(index) % kCachedRows];
    if (slot.index == index) return slot;
    slot.index = -1;
    slot.exists = c.ReadByKey(keys[static_cast<std::size_t>(index)], scratch);
    if (slot.exists) ToTexts(scratch, slot.texts);
    slot.index = index;
    return slot;
  }
};

RowSnapshot::RowSnapshot() : state_(std::make_unique<State>()) {}

RowSnapshot::RowSnapshot(Database& db, std::string_view tableName) : RowSnapshot() {
  Open(db, tableName);
}

RowSnapshot::RowSnapshot(const Query& query) : RowSnapshot() {
  Open(query);
}

RowSnapshot::~RowSnapshot() = default;
RowSnapshot::RowSnapshot(RowSnapshot&&) noexcept = default;
RowSnapshot& RowSnapshot::operator=(RowSnapshot&&) noexcept = default;

void RowSnapshot::Open(Database& db, std::string_view tableName) {
  Close();
  State& s = *state_;
  s.connection = db.ShareConnection(tableName);
  s.tableName = std::string(tableName);
  s.isQuery = false;
  Refresh();
}

void RowSnapshot::Open(const Query& query) {
  const Cursor::State& q = *query.state_;
  if (!q.connection || !q.connection->IsAttached() || q.selectSql.empty()) {
    throw Error("The query is not open");
  }
  Close();
  State& s = *state_;
  s.connection = q.connection;
  s.tableName = q.tableName;
  s.isQuery = true;
  s.selectSql = q.selectSql;
  s.keys = q.keys;
}

void RowSnapshot::Close() {
  *state_ = State{};
}

bool RowSnapshot::IsOpen() const {
  return state_->connection && state_->connection->IsAttached();
}

const std::string& RowSnapshot::TableName() const {
  return state_->tableName;
}

const std::vector<FieldDef>& RowSnapshot::Fields() const {
  return state_->Open().Fields();
}

int RowSnapshot::RowCount() const {
  return static_cast<int>(state_->keys.size());
}

const RowTexts* RowSnapshot::Row(int index) const {
  State& s = *state_;
  s.CheckIndex(index);
  const CachedRow& row = s.Read(index);
  if (index == s.editIndex) {
    // The user's texts over the row as stored now; the last known values when it has gone.
    if (row.exists) {
      for (std::size_t i = 0; i < s.pending.size(); ++i) {
        if (!s.set[i]) s.pending[i] = row.texts[i];
      }
    }
    return &s.pending;
  }
  return row.exists ? &row.texts : nullptr;
}

std::string RowSnapshot::KeyText(int index) const {
  state_->CheckIndex(index);
  return ValueText(state_->keys[static_cast<std::size_t>(index)]);
}

int RowSnapshot::IndexOfKey(std::string_view keyText) const {
  const State& s = *state_;
  if (!s.connection) return -1;
  Value probe;
  try {
    probe = s.connection->FromText(0, keyText, false);
  } catch (const Error&) {
    return -1;  // a text the key field cannot hold is no key of it
  }
  const auto it = std::find(s.keys.begin(), s.keys.end(), probe);
  return it == s.keys.end() ? -1 : static_cast<int>(it - s.keys.begin());
}

void RowSnapshot::Refresh() {
  State& s = *state_;
  Connection& c = s.Open();
  std::vector<Value> keys = s.isQuery ? SelectKeys(c, s.selectSql) : TableKeys(c, s.keys.size());
  if (s.editIndex >= 0) {
    // The row being edited stays in the snapshot until its edit ends.
    auto it = std::find(keys.begin(), keys.end(), s.editKey);
    if (it == keys.end()) {
      const auto at = std::min(static_cast<std::size_t>(s.editIndex), keys.size());
      it = keys.insert(keys.begin() + static_cast<std::ptrdiff_t>(at), s.editKey);
    }
    s.editIndex = static_cast<int>(it - keys.begin());
  }
  s.keys = std::move(keys);
  s.ClearCache();
}

bool RowSnapshot::Edit(int index) {
  State& s = *state_;
  s.CheckIndex(index);
  if (index == s.editIndex) return true;
  if (s.editIndex >= 0 && !Post()) return false;
  const CachedRow& row = s.Read(index);
  if (!row.exists) {
    s.lastError = "The record was deleted from " + s.tableName;
    return false;
  }
  s.pending = row.texts;
  s.set.assign(s.pending.size(), false);
  s.editKey = s.keys[static_cast<std::size_t>(index)];
  s.editIndex = index;
  return true;
}

bool RowSnapshot::SetText(std::size_t field, std::string_view text) {
  State& s = *state_;
  Connection& c = s.Open();
  if (s.editIndex < 0) throw Error(c.TableName() + " is not in edit or append mode");
  if (field >= c.Fields().size()) {
    throw Error("Field " + std::to_string(field) + " not found in " + c.TableName());
  }
  s.pending[field] = std::string(text);
  s.set[field] = true;
  Value value;
  return ToValue(c, field, s.pending[field], value, s.lastError);
}

bool RowSnapshot::SetText(std::string_view field, std::string_view text) {
  return SetText(state_->Open().FieldIndex(field), text);
}

void RowSnapshot::SetNull(std::size_t field) {
  State& s = *state_;
  Connection& c = s.Open();
  if (s.editIndex < 0) throw Error(c.TableName() + " is not in edit or append mode");
  if (field >= c.Fields().size()) {
    throw Error("Field " + std::to_string(field) + " not found in " + c.TableName());
  }
  s.pending[field].reset();
  s.set[field] = true;
}

bool RowSnapshot::Post() {
  State& s = *state_;
  if (s.editIndex < 0) return true;
  Connection& c = s.Open();
  // The fields that were set, onto the row as stored now: values that a cursor posted while the
  // edit was pending are kept.
  likentor::Row row;
  if (!c.ReadByKey(s.editKey, row)) {
    s.lastError = "The record was deleted from " + c.TableName();
    return false;
  }
  for (std::size_t i = 0; i < row.size(); ++i) {
    if (s.set[i] && !ToValue(c, i, s.pending[i], row[i], s.lastError)) return false;
  }
  std::string error;
  if (!c.Update(s.editKey, row, error)) {
    s.lastError = error;
    return false;
  }
  s.keys[static_cast<std::size_t>(s.editIndex)] = row[0];
  s.ClearEdit();
  return true;
}

void RowSnapshot::Cancel() {
  state_->ClearEdit();
}

bool RowSnapshot::InEdit() const {
  return state_->editIndex >= 0;
}

int RowSnapshot::EditIndex() const {
  return state_->editIndex;
}

const std::string& RowSnapshot::LastError() const {
  return state_->lastError;
}

}  // namespace likentor
