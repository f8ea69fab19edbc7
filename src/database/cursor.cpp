#include <algorithm>
#include <cstdint>
#include <limits>

#include "database/cursor_state.h"
#include "shell/error_log.h"
#include "shell/whole_number.h"

namespace likentor {

namespace {

const Value kNull{};

// The rowChanges of a row that was not found when read again: no count of changes matches it.
constexpr std::int64_t kRowGone = -2;

}  // namespace

Cursor::Cursor() : state_(std::make_unique<State>()) {}

Cursor::~Cursor() = default;

bool Cursor::IsOpen() const {
  return state_->connection != nullptr && state_->connection->IsAttached();
}

void Cursor::Close() {
  state_->Reset();
}

// ---- helpers shared by the movement operations ----

namespace {

Connection& Open(const Cursor::State& s) {
  if (!s.connection) throw Error("The table is not open");
  return *s.connection;
}

// Notes that the current row was just read (or written) as stored.
void NoteRead(Cursor::State& s) {
  s.rowChanges = s.connection->Changes();
}

// Reads the current row again when the table was written since it was read (by another cursor on
// the same connection, a grid's snapshot, or a statement), so that its fields read as stored and an
// edit starts from the stored row instead of writing an old copy back over a newer post. A row that
// has gone keeps its last values; editing it is then refused at the post.
void ReadAgainIfWritten(Cursor::State& s) {
  if (s.mode != Cursor::State::Mode::Browse || !s.hasRow || !s.connection ||
      !s.connection->IsAttached()) {
    return;
  }
  const std::int64_t changes = s.connection->Changes();
  if (changes == s.rowChanges) return;
  s.rowChanges = changes;
  if (s.connection->ReadByKey(s.row[0], s.scratch)) {
    std::swap(s.row, s.scratch);
  } else {
    // Gone: the values kept are no longer the stored row's, whatever is written next.
    s.rowChanges = kRowGone;
  }
}

// Makes the query row at `index` current, reading it fresh; keys whose rows have gone are dropped.
void LoadQueryRow(Cursor::State& s) {
  NoteRead(s);
  while (s.index < s.keys.size()) {
    if (s.connection->ReadByKey(s.keys[s.index], s.row)) {
      s.hasRow = true;
      s.eof = false;
      return;
    }
    s.keys.erase(s.keys.begin() + static_cast<std::ptrdiff_t>(s.index));
  }
  s.hasRow = false;
  s.row.clear();
  s.eof = true;
}

bool StillMatches(Cursor::State& s, const Value& key) {
  StatementUse use(s.connection->Prepare(s.matchSql));
  use->Bind(1, key);
  return use->Step();
}

// After a successful query post: keeps the row in the result while it matches, otherwise the row
// after it becomes current. True when the current row changed that way.
bool SettleQueryPost(Cursor::State& s, bool appended) {
  const Value key = s.row[0];
  const bool matches = StillMatches(s, key);
  if (appended) {
    if (matches) {
      const std::size_t at = s.eof ? s.keys.size() : std::min(s.index, s.keys.size());
      s.keys.insert(s.keys.begin() + static_cast<std::ptrdiff_t>(at), key);
      s.index = at;
      s.hasRow = true;
      s.eof = false;
      return false;
    }
    LoadQueryRow(s);
    return true;
  }
  if (matches) {
    s.keys[s.index] = key;
    return false;
  }
  s.keys.erase(s.keys.begin() + static_cast<std::ptrdiff_t>(s.index));
  LoadQueryRow(s);
  return true;
}

// Posts the pending edit: refused posts set lastError and return false, leaving the edit pending.
bool PostPending(Cursor::State& s, bool& moved) {
  moved = false;
  if (s.mode == Cursor::State::Mode::Browse) return true;
  Connection& c = Open(s);
  const bool appended = s.mode == Cursor::State::Mode::Append;
  std::string error;
  // The row as read, when nothing was written since: an edit that changed nothing is not written.
  const Row* stored = s.hasRow && c.IsAttached() && s.rowChanges == c.Changes() ? &s.row : nullptr;
  const bool ok = appended ? c.Insert(s.edit, error) : c.Update(s.editKey, s.edit, error, stored);
  if (!ok) {
    s.lastError = error;
    return false;
  }
  // Swapping keeps the old row's storage for the next edit.
  std::swap(s.row, s.edit);
  NoteRead(s);
  s.mode = Cursor::State::Mode::Browse;
  if (s.isQuery) {
    moved = SettleQueryPost(s, appended);
  } else {
    s.hasRow = true;
    s.eof = false;
  }
  return true;
}

// Moving the cursor posts first; a refused post ends the move with the reason.
bool PostBeforeMove(Cursor::State& s) {
  bool moved = false;
  if (!PostPending(s, moved)) throw Error(s.lastError);
  return moved;
}

const Value& FieldValue(Cursor::State& s, std::string_view field) {
  const std::size_t i = Open(s).FieldIndex(field);
  if (s.mode != Cursor::State::Mode::Browse) return s.edit[i];
  if (!s.hasRow) return kNull;
  ReadAgainIfWritten(s);
  return s.row[i];
}

Value& EditValue(Cursor::State& s, std::string_view field, std::size_t& index) {
  Connection& c = Open(s);
  if (s.mode == Cursor::State::Mode::Browse) {
    throw Error(c.TableName() + " is not in edit or append mode");
  }
  index = c.FieldIndex(field);
  return s.edit[index];
}

}  // namespace

void Cursor::First() {
  State& s = *state_;
  Open(s);
  PostBeforeMove(s);
  if (s.isQuery) {
    s.index = 0;
    LoadQueryRow(s);
  } else {
    NoteRead(s);
    s.hasRow = s.connection->ReadFirst(s.row);
    s.eof = !s.hasRow;
  }
}

void Cursor::Next() {
  State& s = *state_;
  Open(s);
  // A posted row that left a query's result already made the row after it current.
  if (PostBeforeMove(s)) return;
  if (!s.hasRow) {
    s.eof = true;
    return;
  }
  if (s.isQuery) {
    if (s.index + 1 < s.keys.size()) {
      ++s.index;
      LoadQueryRow(s);
    } else {
      s.eof = true;
    }
    return;
  }
  if (s.connection->ReadAfter(s.row[0], s.scratch)) {
    std::swap(s.row, s.scratch);
    NoteRead(s);
    s.eof = false;
  } else {
    s.eof = true;
  }
}

void Cursor::Prior() {
  State& s = *state_;
  Open(s);
  if (PostBeforeMove(s) || !s.hasRow) return;
  if (s.isQuery) {
    if (s.index > 0) {
      --s.index;
      LoadQueryRow(s);
    }
    return;
  }
  if (s.connection->ReadBefore(s.row[0], s.scratch)) {
    std::swap(s.row, s.scratch);
    NoteRead(s);
    s.eof = false;
  }
}

void Cursor::Last() {
  State& s = *state_;
  Open(s);
  PostBeforeMove(s);
  if (s.isQuery) {
    s.index = s.keys.empty() ? 0 : s.keys.size() - 1;
    LoadQueryRow(s);
  } else {
    NoteRead(s);
    s.hasRow = s.connection->ReadLast(s.row);
    s.eof = !s.hasRow;
  }
}

bool Cursor::Eof() const {
  return state_->eof;
}

int Cursor::RecordCount() const {
  const State& s = *state_;
  if (s.isQuery) return static_cast<int>(s.keys.size());
  return static_cast<int>(Open(s).Count());
}

namespace {

bool LocateValue(Cursor::State& s, std::size_t field, const Value& probe) {
  if (IsNullValue(probe)) return false;
  Connection& c = *s.connection;
  if (!s.isQuery) {
    if (!c.ReadFirstWhere(field, probe, s.scratch)) return false;
    std::swap(s.row, s.scratch);
    NoteRead(s);
    s.hasRow = true;
    s.eof = false;
    return true;
  }
  for (std::size_t k = 0; k < s.keys.size(); ++k) {
    if (c.ReadByKey(s.keys[k], s.scratch) && s.scratch[field] == probe) {
      s.index = k;
      std::swap(s.row, s.scratch);
      NoteRead(s);
      s.hasRow = true;
      s.eof = false;
      return true;
    }
  }
  return false;
}

}  // namespace

bool Cursor::Locate(std::string_view field, std::string_view value) {
  State& s = *state_;
  Connection& c = Open(s);
  PostBeforeMove(s);
  const std::size_t i = c.FieldIndex(field);
  Value probe;
  try {
    probe = c.FromText(i, value, false);
  } catch (const Error&) {
    return false;  // a text that the field cannot hold matches no row
  }
  return LocateValue(s, i, probe);
}

bool Cursor::Locate(std::string_view field, int value) {
  State& s = *state_;
  Connection& c = Open(s);
  PostBeforeMove(s);
  const std::size_t i = c.FieldIndex(field);
  // Texts compare with the number's digits, uncut.
  if (c.Fields()[i].type == FieldType::Text) return LocateValue(s, i, std::to_string(value));
  return LocateValue(s, i, c.FromInt(i, value));
}

void Cursor::Append() {
  State& s = *state_;
  Connection& c = Open(s);
  PostBeforeMove(s);
  s.edit.assign(c.Fields().size(), Value{});
  s.mode = State::Mode::Append;
}

void Cursor::Edit() {
  State& s = *state_;
  Connection& c = Open(s);
  if (s.mode != State::Mode::Browse) return;
  if (!s.hasRow) throw Error("There is no current record to edit in " + c.TableName());
  ReadAgainIfWritten(s);
  s.edit = s.row;
  s.editKey = s.row[0];
  s.mode = State::Mode::Edit;
}

void Cursor::SetText(std::string_view field, std::string_view value) {
  std::size_t i = 0;
  Value& v = EditValue(*state_, field, i);
  v = state_->connection->FromText(i, value, true);
}

void Cursor::SetInt(std::string_view field, int value) {
  std::size_t i = 0;
  Value& v = EditValue(*state_, field, i);
  v = state_->connection->FromInt(i, value);
}

void Cursor::SetBool(std::string_view field, bool value) {
  std::size_t i = 0;
  Value& v = EditValue(*state_, field, i);
  v = state_->connection->FromBool(i, value);
}

void Cursor::SetNull(std::string_view field) {
  std::size_t i = 0;
  EditValue(*state_, field, i) = std::monostate{};
}

bool Cursor::Post() {
  bool moved = false;
  return PostPending(*state_, moved);
}

void Cursor::Cancel() {
  state_->mode = State::Mode::Browse;
  state_->edit.clear();
}

bool Cursor::InEdit() const {
  return state_->mode != State::Mode::Browse;
}

bool PostOrCancel(Cursor& cursor, ErrorLog& log, std::string_view message) {
  if (cursor.Post()) return true;
  cursor.Cancel();
  log.ReportError(message);
  return false;
}

void PostOrThrow(Cursor& cursor, std::string_view what) {
  if (cursor.Post()) return;
  const std::string why = cursor.LastError();
  cursor.Cancel();
  throw Error(std::string(what) + " was not stored: " + why + ".");
}

const std::string& Cursor::LastError() const {
  return state_->lastError;
}

const std::vector<FieldDef>& Cursor::Fields() const {
  return Open(*state_).Fields();
}

bool Cursor::HasField(std::string_view name) const {
  return std::any_of(Fields().begin(), Fields().end(),
                     [name](const FieldDef& field) { return field.name == name; });
}

std::string Cursor::GetText(std::string_view field) const {
  const Value& v = FieldValue(*state_, field);
  if (const auto* t = std::get_if<std::string>(&v)) return *t;
  if (const auto* i = std::get_if<std::int64_t>(&v)) return std::to_string(*i);
  return "";
}

int Cursor::GetInt(std::string_view field) const {
  const Value& v = FieldValue(*state_, field);
  if (const auto* i = std::get_if<std::int64_t>(&v)) {
    if (*i < std::numeric_limits<int>::min() || *i > std::numeric_limits<int>::max()) {
      throw Error("'" + std::to_string(*i) + "' is not a whole number");
    }
    return static_cast<int>(*i);
  }
  if (const auto* t = std::get_if<std::string>(&v)) return ToWholeNumber(*t);
  throw Error("Field '" + std::string(field) + "' of " + state_->tableName + " has no value");
}

int Cursor::GetInt(std::string_view field, int ifNull) const {
  if (IsNull(field)) return ifNull;
  return GetInt(field);
}

bool Cursor::GetBool(std::string_view field) const {
  const Value& v = FieldValue(*state_, field);
  if (const auto* t = std::get_if<std::string>(&v)) {
    return t->size() == 4 && (*t == "true" || *t == "True" || *t == "TRUE");
  }
  if (const auto* i = std::get_if<std::int64_t>(&v)) return *i != 0;
  return false;
}

bool Cursor::IsNull(std::string_view field) const {
  return IsNullValue(FieldValue(*state_, field));
}

}  // namespace likentor
