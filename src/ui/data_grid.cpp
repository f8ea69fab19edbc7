#include "ui/data_grid.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

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

// Paints the cells as the style does, and frames the current cell while the grid has the focus, so
// that one sees which cell the arrow keys and typing act on within the selected row.
class CurrentCellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyledItemDelegate::paint(painter, option, index);
    if (!option.state.testFlag(QStyle::State_HasFocus)) return;
    painter->save();
    QPen pen(option.palette.color(QPalette::Active, QPalette::Text), 2);
    pen.setJoinStyle(Qt::MiterJoin);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRectF(option.rect).adjusted(1, 1, -1, -1));
    painter->restore();
  }
};

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
  // Tab leaves the grid: the arrow keys move between its cells.
  setTabKeyNavigation(false);
  setItemDelegate(new CurrentCellDelegate(this));
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

void DataGrid::keyPressEvent(QKeyEvent* event) {
  const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
  switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      // Ctrl+Tab too: in a grid it would otherwise do nothing at all.
      if (ctrl) {
        const bool back =
            event->key() == Qt::Key_Backtab || event->modifiers().testFlag(Qt::ShiftModifier);
        focusNextPrevChild(!back);
        return;
      }
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (model_->InEdit()) {
        CommitEditor();
        model_->Post();
        return;
      }
      break;
    case Qt::Key_Escape:
      if (model_->InEdit()) {
        DropEditor();
        model_->Cancel();
        return;
      }
      break;
    default:
      break;
  }
  QTableView::keyPressEvent(event);
}

void DataGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  switch (hint) {
    case QAbstractItemDelegate::EditNextItem:
    case QAbstractItemDelegate::EditPreviousItem:
      // Tab in a cell editor: the value was handed over; the focus leaves the grid.
      QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
      focusNextPrevChild(hint == QAbstractItemDelegate::EditNextItem);
      return;
    case QAbstractItemDelegate::SubmitModelCache:
      // Enter in a cell editor ends the row's edit.
      QTableView::closeEditor(editor, hint);
      model_->Post();
      return;
    default:
      QTableView::closeEditor(editor, hint);
  }
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
