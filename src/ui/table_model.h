#pragma once

// The one table model of the window's grids: the rows of a table or of an open query, read by
// position through a RowSnapshot, so that a grid never moves a cursor that the commands use, and
// edited through the store's rules. Columns are titled in words (the field's name is the title's
// tooltip); the key, the first field, is read-only: a row keeps its identity.
//
// Editing works row by row: a change starts an edit of its row that stays pending until it is
// posted (Post, or a move to another row through EditRow), and Cancel discards it. A refused post
// keeps the edit pending with the texts as typed. Booleans are check boxes; numbers are typed as
// whole numbers, and a text that a field cannot hold (or that the page's own check refuses) is
// refused at once with a message, the cell keeping its earlier value.

#include <QAbstractTableModel>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "database/row_snapshot.h"

namespace likentor {

// A field's column title in words ("career_ab": "Career at-bats"). The key, the first field, is
// named as such ("nation_id": "Nation id"); elsewhere an id that points at another table is named
// by what it points at ("team_id": "Team").
QString ColumnTitle(const std::string& field, bool key);

class TableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit TableModel(QObject* parent = nullptr);
  ~TableModel() override;

  // The rows of a whole table in key order, or of an open query's result. Error when the table
  // does not exist or the query is not open.
  void Open(Database& db, std::string_view tableName);
  void Open(const Query& query);
  void Close();  // discards a pending edit
  // False when closed, or when the table was replaced or deleted since it was opened.
  bool IsOpen() const;
  const std::string& TableName() const;
  const std::vector<FieldDef>& Fields() const;
  int FieldIndex(std::string_view name) const;  // -1 when the table has no such field

  // The title of a field's column (ColumnTitle).
  QString Title(std::string_view field) const;
  // A message of the table store in the user's words: fields by their titles, a taken key as
  // "Player id 71 is already taken.".
  QString InWords(const QString& message, int row) const;

  // A field of a row as text ("" for a null, a deleted row or a row outside the snapshot).
  QString Text(int row, std::string_view field) const;
  // The key of a row as text, and the row of a key (-1 when not in the snapshot).
  std::string KeyText(int row) const;
  int RowOfKey(std::string_view key) const;

  // Codes of a field shown with what they stand for ("Town Club (12)"); the code is still what is
  // edited and stored.
  void SetNames(const std::string& field, std::map<std::string, QString> names);

  // A last column, read-only, that shows the sum of these number fields of each row.
  void SetSumColumn(const QString& title, std::vector<std::string> fields);

  // The page's own check of a typed value: empty when it may be set, else the message shown.
  using Check = std::function<QString(const FieldDef& field, const QString& text)>;
  void SetCheck(Check check) { check_ = std::move(check); }
  // Whether the model may write now: empty when it may, else the message shown. An edit is then
  // neither started nor posted (a pending one stays pending).
  using WriteGate = std::function<QString()>;
  void SetWriteGate(WriteGate gate) { writeGate_ = std::move(gate); }

  // Moves the pending edit's row on: a pending edit of another row than `row` is posted. False
  // when that post is refused (Refused was emitted; the edit stays pending).
  bool LeaveEditFor(int row);
  // Starts an edit of a row with no change yet (the navigator's edit button); a pending edit of
  // another row is posted first. False when refused (Refused was emitted).
  bool BeginEdit(int row);
  // Posts the pending edit (true when none); a refused post emits Refused and answers false.
  bool Post();
  void Cancel();
  bool InEdit() const;
  int EditRow() const;  // -1 when no edit is pending
  // Takes a new snapshot of the rows; a pending edit stays pending.
  void Refresh();
  // A row was written by a cursor: the grid reads it again.
  void RowWritten(int row);

  // The row the grid's indicator marks as current.
  void SetCurrentRow(int row);
  int CurrentRow() const { return currentRow_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 signals:
  // A typed value or a post was refused: `message` says why; for a refused post, `key` names the
  // row (empty for a refused value).
  void Refused(const QString& message, const QString& key);
  // An edit started, was posted or was cancelled.
  void EditStateChanged(bool inEdit);

 private:
  bool SetField(int row, int column, const QString& text);
  // Emits Refused with the message in the user's words.
  void Refuse(const QString& message, const QString& key, int row);
  // False, with Refused emitted, when the write gate closes.
  bool MayWrite();
  void EmitRow(int row);
  void EmitHeaderRow(int row);

  RowSnapshot snapshot_;
  std::vector<FieldDef> fields_;  // as opened: the grid's columns
  bool IsSumColumn(int column) const;
  Check check_;
  WriteGate writeGate_;
  std::map<std::string, std::map<std::string, QString>> names_;  // field: code: name
  QString sumTitle_;
  std::vector<std::string> sumFields_;
  int currentRow_ = -1;
};

}  // namespace likentor
