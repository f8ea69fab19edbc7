#pragma once

// A data grid: a table view over a TableModel that keeps one current row, posts a pending edit
// when the user moves to another row (and stays on the edited row when that post is refused), and
// tells its page which row is current so that the page's commands act on the row shown.
//
// The keyboard: the arrow keys move from cell to cell, the current cell framed while the grid has
// the focus; Tab and Shift+Tab (and Ctrl+Tab, Ctrl+Shift+Tab) leave the grid for the page's next or
// previous control, also from an open cell editor, whose value is kept. Enter posts the row being
// edited (from a cell editor too), Escape closes a cell editor and then cancels the row's edit.

#include <QTableView>

#include "ui/table_model.h"

namespace likentor {

class Session;

class DataGrid : public QTableView {
  Q_OBJECT

 public:
  DataGrid(const char* name, TableModel* model, QWidget* parent);

  TableModel* Model() const { return model_; }
  int CurrentRow() const;
  // Makes a row current (clamped to the rows there are); a pending edit of another row is posted
  // first, and when that is refused the grid stays where it is. False then.
  bool GoTo(int row);
  // Hands a value still open in a cell editor to the model, or drops it.
  void CommitEditor();
  void DropEditor();
  // Columns as wide as their field name and the contents of the rows on screen.
  void FitColumns();

 signals:
  // The current row changed (-1 when the grid has no rows).
  void RowChanged(int row);

 protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

 private:
  TableModel* model_;
  bool reverting_ = false;
};

// A refused value or post of the grid's model is shown in an error box; a refused post is also
// written to the error log as "Error posting record <key> in <table>", and its row keeps the
// user's texts. While another command writes, the model neither starts nor posts an edit and says
// so.
void ReportRefusals(TableModel* model, Session& session);

}  // namespace likentor
