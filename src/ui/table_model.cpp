#include "ui/table_model.h"

#include <exception>

#include "shell/error.h"

namespace likentor {

namespace {

QString Qs(const std::string& text) {
  return QString::fromStdString(text);
}

// The grid's row indicator: the current row, and the row whose edit is pending.
constexpr char16_t kCurrentMark[] = u"\u25B6";
constexpr char16_t kEditMark[] = u"\u270E";

}  // namespace

TableModel::TableModel(QObject* parent) : QAbstractTableModel(parent) {}

TableModel::~TableModel() = default;

void TableModel::Open(Database& db, std::string_view tableName) {
  beginResetModel();
  try {
    snapshot_.Open(db, tableName);
  } catch (...) {
    snapshot_.Close();
    fields_.clear();
    endResetModel();
    throw;
  }
  fields_ = snapshot_.Fields();
  currentRow_ = -1;
  endResetModel();
}

void TableModel::Open(const Query& query) {
  beginResetModel();
  try {
    snapshot_.Open(query);
  } catch (...) {
    snapshot_.Close();
    fields_.clear();
    endResetModel();
    throw;
  }
  fields_ = snapshot_.Fields();
  currentRow_ = -1;
  endResetModel();
}

void TableModel::Close() {
  const bool wasEditing = snapshot_.InEdit();
  beginResetModel();
  snapshot_.Close();
  fields_.clear();
  currentRow_ = -1;
  endResetModel();
  if (wasEditing) emit EditStateChanged(false);
}

bool TableModel::IsOpen() const {
  return snapshot_.IsOpen();
}

const std::string& TableModel::TableName() const {
  return snapshot_.TableName();
}

const std::vector<FieldDef>& TableModel::Fields() const {
  return fields_;
}

int TableModel::FieldIndex(std::string_view name) const {
  const std::vector<FieldDef>& fields = Fields();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

QString TableModel::Text(int row, std::string_view field) const {
  const int column = FieldIndex(field);
  if (column < 0 || row < 0 || row >= rowCount()) return {};
  try {
    const RowTexts* texts = snapshot_.Row(row);
    if (texts == nullptr) return {};
    const auto& text = (*texts)[static_cast<std::size_t>(column)];
    return text ? Qs(*text) : QString();
  } catch (const std::exception&) {
    return {};
  }
}

std::string TableModel::KeyText(int row) const {
  if (row < 0 || row >= rowCount()) return {};
  return snapshot_.KeyText(row);
}

int TableModel::RowOfKey(std::string_view key) const {
  return snapshot_.IndexOfKey(key);
}

bool TableModel::LeaveEditFor(int row) {
  const int editing = snapshot_.EditIndex();
  if (editing < 0 || editing == row) return true;
  return Post();
}

bool TableModel::BeginEdit(int row) {
  if (row < 0 || row >= rowCount()) return false;
  if (snapshot_.EditIndex() == row) return true;
  if (!LeaveEditFor(row)) return false;
  if (!snapshot_.Edit(row)) {
    emit Refused(Qs(snapshot_.LastError()), Qs(snapshot_.KeyText(row)));
    return false;
  }
  EmitRow(row);
  emit EditStateChanged(true);
  return true;
}

bool TableModel::MayWrite() {
  const QString refusal = writeGate_ ? writeGate_() : QString();
  if (refusal.isEmpty()) return true;
  emit Refused(refusal, {});
  return false;
}

bool TableModel::Post() {
  const int editing = snapshot_.EditIndex();
  if (editing < 0) return true;
  if (!MayWrite()) return false;
  bool posted = false;
  std::string why;
  try {
    posted = snapshot_.Post();
    if (!posted) why = snapshot_.LastError();
  } catch (const std::exception& e) {
    why = e.what();  // the table was replaced under the grid
  }
  if (!posted) {
    emit Refused(QString::fromStdString(why), Qs(snapshot_.KeyText(editing)));
    return false;
  }
  EmitRow(editing);
  emit EditStateChanged(false);
  return true;
}

void TableModel::Cancel() {
  const int editing = snapshot_.EditIndex();
  if (editing < 0) return;
  snapshot_.Cancel();
  EmitRow(editing);
  emit EditStateChanged(false);
}

bool TableModel::InEdit() const {
  return snapshot_.InEdit();
}

int TableModel::EditRow() const {
  return snapshot_.EditIndex();
}

void TableModel::Refresh() {
  if (!snapshot_.IsOpen()) return;
  const std::string current = currentRow_ >= 0 ? KeyText(currentRow_) : std::string();
  beginResetModel();
  try {
    snapshot_.Refresh();
  } catch (const std::exception& e) {
    endResetModel();
    emit Refused(QString::fromUtf8(e.what()), {});
    return;
  }
  currentRow_ = current.empty() ? -1 : snapshot_.IndexOfKey(current);
  endResetModel();
}

void TableModel::RowWritten(int row) {
  if (row >= 0 && row < rowCount()) EmitRow(row);
}

void TableModel::SetCurrentRow(int row) {
  if (row == currentRow_) return;
  const int before = currentRow_;
  currentRow_ = row;
  EmitHeaderRow(before);
  EmitHeaderRow(row);
}

int TableModel::rowCount(const QModelIndex& parent) const {
  // The rows and columns stay as opened until the next reset, also when the table is replaced
  // under the grid (its rows then read as empty).
  return parent.isValid() || fields_.empty() ? 0 : snapshot_.RowCount();
}

int TableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(Fields().size());
}

QVariant TableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
  if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::CheckStateRole &&
      role != Qt::TextAlignmentRole) {
    return {};
  }
  const FieldDef& field = Fields()[static_cast<std::size_t>(index.column())];
  const bool boolean = field.type == FieldType::Boolean;
  if (role == Qt::TextAlignmentRole) {
    return boolean || field.type == FieldType::Text
               ? QVariant(int(Qt::AlignLeft | Qt::AlignVCenter))
               : QVariant(int(Qt::AlignRight | Qt::AlignVCenter));
  }
  const RowTexts* texts = nullptr;
  try {
    texts = snapshot_.Row(index.row());
  } catch (const std::exception&) {
    return {};  // a table replaced under the grid shows nothing until it is opened again
  }
  if (texts == nullptr) return {};
  const auto& text = (*texts)[static_cast<std::size_t>(index.column())];
  if (boolean) {
    if (role == Qt::CheckStateRole) return text == "true" ? Qt::Checked : Qt::Unchecked;
    return role == Qt::EditRole ? QVariant(text == "true") : QVariant();
  }
  if (role == Qt::CheckStateRole) return {};
  return text ? Qs(*text) : QString();
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
  if (orientation == Qt::Horizontal) {
    if (section < 0 || section >= columnCount()) return {};
    return Qs(Fields()[static_cast<std::size_t>(section)].name);
  }
  if (section == snapshot_.EditIndex()) return QString::fromUtf16(kEditMark);
  if (section == currentRow_) return QString::fromUtf16(kCurrentMark);
  return QString();
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (Fields()[static_cast<std::size_t>(index.column())].type == FieldType::Boolean) {
    return flags | Qt::ItemIsUserCheckable;
  }
  return flags | Qt::ItemIsEditable;
}

bool TableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
    return false;
  }
  const FieldDef& field = Fields()[static_cast<std::size_t>(index.column())];
  if (field.type == FieldType::Boolean) {
    if (role != Qt::CheckStateRole && role != Qt::EditRole) return false;
    const bool ticked = role == Qt::CheckStateRole ? value.value<Qt::CheckState>() == Qt::Checked ||
                                                         value.toInt() == int(Qt::Checked)
                                                   : value.toBool();
    return SetField(index.row(), index.column(), ticked ? "true" : "false");
  }
  if (role != Qt::EditRole) return false;
  return SetField(index.row(), index.column(), value.toString());
}

bool TableModel::SetField(int row, int column, const QString& text) {
  if (!MayWrite()) return false;
  const FieldDef& field = Fields()[static_cast<std::size_t>(column)];
  if (check_) {
    const QString refusal = check_(field, text);
    if (!refusal.isEmpty()) {
      emit Refused(refusal, {});
      return false;
    }
  }
  try {
    bool started = false;
    if (snapshot_.EditIndex() != row) {
      if (!LeaveEditFor(row)) return false;
      if (!snapshot_.Edit(row)) {
        emit Refused(Qs(snapshot_.LastError()), Qs(snapshot_.KeyText(row)));
        return false;
      }
      started = true;
    }
    const std::optional<std::string> before =
        (*snapshot_.Row(row))[static_cast<std::size_t>(column)];
    const auto at = static_cast<std::size_t>(column);
    // An empty number or flag is no value at all; an empty text stays a text.
    const bool ok = text.isEmpty() && field.type != FieldType::Text
                        ? (snapshot_.SetNull(at), true)
                        : snapshot_.SetText(at, text.toStdString());
    if (!ok) {
      const QString why = Qs(snapshot_.LastError());
      // The refused text is not kept: the cell shows its earlier value again.
      if (started) {
        snapshot_.Cancel();
      } else if (before) {
        (void)snapshot_.SetText(at, *before);
      } else {
        snapshot_.SetNull(at);
      }
      EmitRow(row);
      emit Refused(why, {});
      return false;
    }
    EmitRow(row);
    if (started) emit EditStateChanged(true);
    return true;
  } catch (const std::exception& e) {
    emit Refused(QString::fromUtf8(e.what()), {});
    return false;
  }
}

void TableModel::EmitRow(int row) {
  if (row < 0 || row >= rowCount() || columnCount() == 0) return;
  emit dataChanged(index(row, 0), index(row, columnCount() - 1));
  EmitHeaderRow(row);
}

void TableModel::EmitHeaderRow(int row) {
  if (row < 0 || row >= rowCount()) return;
  emit headerDataChanged(Qt::Vertical, row, row);
}

}  // namespace likentor
