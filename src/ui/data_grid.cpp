#include "ui/data_grid.h"

#include <QHeaderView>
#include <QItemSelectionModel>

#include "app/session.h"
#include "app/write_command.h"
#include "shell/error_log.h"
#include "shell/prompts.h"

namespace likentor {

namespace {

// Sky-blue title and indicator cells.
constexpr const char* kGridStyle =
    "QHeaderView::section { background-color: rgb(166, 202, 240); color: black; border: none; "
    "border-right: 1px solid rgb(120, 156, 200); border-bottom: 1px solid rgb(120, 156, 200); "
    "padding: 2px 5px; }"
    "QTableCornerButton::section { background-color: rgb(166, 202, 240); border: none; "
    "border-right: 1px solid rgb(120, 156, 200); border-bottom: 1px solid rgb(120, 156, 200); }";

// How many rows the column widths are taken from: the rows on screen and a few more, so that a
// grid of a large table opens at once.
constexpr int kRowsMeasured = 100;

}  // namespace

DataGrid::DataGrid(const char* name, TableModel* model, QWidget* parent)
    : QTableView(parent), model_(model) {
  setObjectName(name);
  setModel(model);
  setStyleSheet(kGridStyle);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
  setAlternatingRowColors(true);
  setWordWrap(false);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setResizeContentsPrecision(kRowsMeasured);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  verticalHeader()->setMinimumWidth(fontMetrics().horizontalAdvance(QChar(0x270E)) + 12);
  verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
  verticalHeader()->setHighlightSections(false);
  connect(model, &QAbstractItemModel::modelReset, this, [this] {
    // A new snapshot: the first row is current unless the model kept one.
    const int row = model_->CurrentRow();
    if (model_->rowCount() > 0) {
      GoTo(row >= 0 ? row : 0);
    } else {
      emit RowChanged(-1);
    }
  });
}

int DataGrid::CurrentRow() const {
  return currentIndex().isValid() ? currentIndex().row() : -1;
}

bool DataGrid::GoTo(int row) {
  const int rows = model_->rowCount();
  if (rows == 0) return false;
  row = std::clamp(row, 0, rows - 1);
  CommitEditor();
  const int column = currentIndex().isValid() ? currentIndex().column() : 0;
  selectionModel()->setCurrentIndex(
      model_->index(row, column), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  scrollTo(model_->index(row, column));
  return CurrentRow() == row;
}

void DataGrid::CommitEditor() {
  if (state() != QAbstractItemView::EditingState) return;
  for (QWidget* editor : viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!editor->isVisible()) continue;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
  }
}

void DataGrid::DropEditor() {
  if (state() != QAbstractItemView::EditingState) return;
  for (QWidget* editor : viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (editor->isVisible()) closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
  }
}

void DataGrid::FitColumns() {
  resizeColumnsToContents();
}

void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (reverting_) return;
  const int row = current.isValid() ? current.row() : -1;
  const int before = previous.isValid() ? previous.row() : -1;
  if (row == before && row == model_->CurrentRow()) return;
  // A move to another row posts the edit pending on the row left.
  if (row >= 0 && !model_->LeaveEditFor(row)) {
    const int editing = model_->EditRow();
    reverting_ = true;
    selectionModel()->setCurrentIndex(
        model_->index(editing, std::max(current.column(), 0)),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    reverting_ = false;
    return;
  }
  model_->SetCurrentRow(row);
  emit RowChanged(row);
}

void ReportRefusals(TableModel* model, Session& session) {
  // A grid's edits wait for no other command writing, as every writing command does.
  model->SetWriteGate([&session] {
    const std::string busyWith = session.BusyWith();
    return busyWith.empty() ? QString() : QString::fromUtf8(BusyError(busyWith).what());
  });
  QObject::connect(model, &TableModel::Refused, model,
                   [model, &session](const QString& message, const QString& key) {
                     if (key.isEmpty()) {
                       session.UserPrompts().ShowError(message.toStdString());
                       return;
                     }
                     const std::string line =
                         "Error posting record " + key.toStdString() + " in " + model->TableName();
                     session.Log().ReportError(line);
                     session.UserPrompts().ShowError(line + ": " + message.toStdString());
                   });
}

}  // namespace likentor
