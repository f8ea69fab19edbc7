#pragma once

// The read interface for grids: the rows of a table, or of a query's result, by position over a
// snapshot of their keys.
//
// A snapshot holds the keys that were there when it opened (or at its last Refresh), in key order
// for a table and in the query's order for a query. Each row is read by its key on the table's
// shared connection, so it reads what cursors have posted, and reading never moves or disturbs a
// cursor (Table or Query) open on the same table. A row deleted since the snapshot reads as gone.
// Rows read lately are kept in a small cache, emptied whenever anything writes through the table's
// shared connection (cursors, snapshots, statements); a write by another program to the file shows
// only once the row is read again after that, or after a Refresh.
//
// Edits go through the store's own rules, as a cursor's do: texts longer than a text field's size
// are cut to it, a required field left empty or a taken key refuses the post with the same reason
// (LastError) as a cursor gives. An integer or boolean field set from a text that is not a whole
// number (or true/false) is refused naming the field and the text, never stored as 0. A refused
// post keeps the pending texts, so a grid can keep what the user typed; logging the refusal is the
// caller's job. A post writes only the fields that were set, onto the row as stored at that moment,
// so it never writes back values that a cursor posted while the edit was pending.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "database/table_store.h"

namespace likentor {

// One row as texts, one per field of Fields(); std::nullopt for a null value (an empty text is ""),
// integers in decimal, booleans as "true" / "false".
using RowTexts = std::vector<std::optional<std::string>>;

class RowSnapshot {
 public:
  RowSnapshot();
  RowSnapshot(Database& db, std::string_view tableName);  // opens at once
  explicit RowSnapshot(const Query& query);               // opens at once
  ~RowSnapshot();
  // A snapshot moved from may only be assigned to or destroyed.
  RowSnapshot(RowSnapshot&&) noexcept;
  RowSnapshot& operator=(RowSnapshot&&) noexcept;
  RowSnapshot(const RowSnapshot&) = delete;
  RowSnapshot& operator=(const RowSnapshot&) = delete;

  // All rows of a table, in key order. Error when the table does not exist.
  void Open(Database& db, std::string_view tableName);
  // The rows of an open query's result as it stands (its keys, in its order). The snapshot does not
  // follow the query afterwards: Refresh runs the query's statement again for itself, and a query
  // opened again with other lines needs the snapshot opened again on it. Error when not open.
  void Open(const Query& query);
  void Close();  // discards a pending edit
  // False when closed, or when its table was replaced or deleted since (reading then fails with
  // Error "The table ... was replaced or deleted; open it again").
  bool IsOpen() const;
  const std::string& TableName() const;
  const std::vector<FieldDef>& Fields() const;

  int RowCount() const;
  // The row at a position (0 .. RowCount()-1; Error outside), or nullptr when it was deleted since
  // the snapshot. The row being edited reads with its pending texts. The pointer stays valid until
  // the next call on this snapshot.
  const RowTexts* Row(int index) const;
  // The key of the row at a position as text, and the position of a key ("-1" when not in the
  // snapshot), to keep the current row across a Refresh.
  std::string KeyText(int index) const;
  int IndexOfKey(std::string_view keyText) const;
  // Takes a new snapshot of keys: rows appended since appear, deleted ones leave. A pending edit
  // stays pending and keeps its row in the snapshot (at its new position, or where it was when it
  // no longer belongs there).
  void Refresh();

  // Starts editing the row at a position. A pending edit of another row is posted first (a move to
  // another row posts); false with LastError when that post is refused (its edit stays pending) or
  // when the row was deleted since the snapshot.
  [[nodiscard]] bool Edit(int index);
  // Sets a field of the pending edit from text, kept as typed until the post. False with LastError
  // when the field cannot hold the text (an integer field and not a whole number, a boolean field
  // and not true/false); the text stays pending and the post refuses it the same way. Error when
  // no edit is pending or the field does not exist.
  bool SetText(std::size_t field, std::string_view text);
  bool SetText(std::string_view field, std::string_view text);
  void SetNull(std::size_t field);
  // Posts the pending edit; true when none is pending. False with LastError when refused: the
  // edit stays pending, with the texts as set.
  [[nodiscard]] bool Post();
  void Cancel();
  bool InEdit() const;
  int EditIndex() const;  // -1 when no edit is pending
  // Why the last refused post or text was refused.
  const std::string& LastError() const;

  struct State;  // opaque; defined beside the implementation

 private:
  std::unique_ptr<State> state_;
};

}  // namespace likentor
