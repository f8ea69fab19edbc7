#include "ui/table_model.h"

#include <QRegularExpression>
#include <exception>
#include <map>

#include "shell/error.h"

namespace likentor {

namespace {

QString Qs(const std::string& text) {
  return QString::fromStdString(text);
}

// The grid's row indicator: the current row, and the row whose edit is pending.
constexpr char16_t kCurrentMark[] = u"\u25B6";
constexpr char16_t kEditMark[] = u"\u270E";

// Titles of the fields whose plain words would say too little.
const std::map<std::string, QString>& Titles() {
  static const std::map<std::string, QString> titles = {
      {"nation_id", "Nation"},
      {"team_id", "Team"},
      {"uniform_team_id", "Uniform team"},
      {"league_id", "League"},
      {"hair_color", "Hair colour"},
      {"facial_hair_style", "Facial hair"},
      {"career_ab", "Career at-bats"},
      {"career_ip", "Career innings pitched"},
      {"update_required", "Needs a new photo"},
      {"background_color_id", "Background colour"},
      {"text_color_id", "Text colour"},
      {"nation_short_name", "Short name"},
      {"caucasian", "Caucasian share"},
      {"african", "African share"},
      {"east_indian", "East Indian share"},
      {"asian", "Asian share"},
      {"pitcher_eligible", "For pitchers"},
      {"batter_eligible", "For batters"},
      {"lefty_eligible", "For left-handers"},
      {"righty_eligible", "For right-handers"},
  };
  return titles;
}

// "retired_as_team": "Retired as team".
QString PlainWords(const std::string& field) {
  QString words = Qs(field);
  words.replace('_', ' ');
  if (!words.isEmpty()) words[0] = words[0].toUpper();
  return words;
}

}  // namespace

QString ColumnTitle(const std::string& field, bool key) {
  if (!key) {
    const auto title = Titles().find(field);
    if (title != Titles().end()) return title->second;
  }
  return PlainWords(field);
}

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

void TableModel::SetSumColumn(const QString& title, std::vector<std::string> fields) {
  beginResetModel();
  sumTitle_ = title;
  sumFields_ = std::move(fields);
  endResetModel();
}

void TableModel::SetNames(const std::string& field, std::map<std::string, QString> names) {
  names_[field] = std::move(names);
  const int column = FieldIndex(field);
  if (column >= 0 && rowCount() > 0) {
    emit dataChanged(index(0, column), index(rowCount() - 1, column), {Qt::DisplayRole});
  }
}

bool TableModel::IsSumColumn(int column) const {
  return !sumFields_.empty() && column == static_cast<int>(fields_.size());
}

QString TableModel::Title(std::string_view field) const {
  const int column = FieldIndex(field);
  return ColumnTitle(std::string(field), column == 0);
}

QString TableModel::InWords(const QString& message, int row) const {
  if (message.startsWith("Key violation") && !fields_.empty()) {
    const QString key = Text(row, fields_.front().name);
    return QString("%1 %2 is already taken.").arg(Title(fields_.front().name), key);
  }
  // "Field 'career_ip' needs a whole number, not 'lots'": the field by its title.
  static const QRegularExpression fieldName("^Field '([A-Za-z0-9_]+)' ");
  const QRegularExpressionMatch match = fieldName.match(message);
  if (!match.hasMatch()) return message;
  QString words = message;
  words.replace(0, match.capturedLength(), Title(match.captured(1).toStdString()) + " ");
  if (!words.endsWith('.')) words += '.';
  return words;
}

void TableModel::Refuse(const QString& message, const QString& key, int row) {
  emit Refused(InWords(message, row), key);
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
    Refuse(Qs(snapshot_.LastError()), Qs(snapshot_.KeyText(row)), row);
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
    Refuse(QString::fromStdString(why), Qs(snapshot_.KeyText(editing)), editing);
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
  if (parent.isValid() || fields_.empty()) return 0;
  return static_cast<int>(fields_.size()) + (sumFields_.empty() ? 0 : 1);
}

QVariant TableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
  if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::CheckStateRole &&
      role != Qt::TextAlignmentRole) {
    return {};
  }
  if (IsSumColumn(index.column())) {
    if (role == Qt::TextAlignmentRole) return QVariant(int(Qt::AlignRight | Qt::AlignVCenter));
    if (role != Qt::DisplayRole) return {};
    long long sum = 0;
    for (const std::string& field : sumFields_) sum += Text(index.row(), field).toLongLong();
    return QString::number(sum);
  }
  const FieldDef& field = Fields()[static_cast<std::size_t>(index.column())];
  const bool boolean = field.type == FieldType::Boolean;
  if (role == Qt::TextAlignmentRole) {
    // Codes shown with their names read as texts.
    return boolean || field.type == FieldType::Text || names_.count(field.name) != 0
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
  if (role == Qt::DisplayRole && text && !names_.empty()) {
    const auto names = names_.find(field.name);
    if (names != names_.end()) {
      const auto name = names->second.find(*text);
      if (name != names->second.end()) return QString("%1 (%2)").arg(name->second, Qs(*text));
    }
  }
  return text ? Qs(*text) : QString();
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::ToolTipRole && section >= 0 &&
      section < static_cast<int>(fields_.size())) {
    // The field's own name, as the command line and the table files know it.
    const std::string& name = Fields()[static_cast<std::size_t>(section)].name;
    return section == 0 ? Qs(name) + " (the key: it cannot be changed)" : Qs(name);
  }
  if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
  if (orientation == Qt::Horizontal) {
    if (section < 0 || section >= columnCount()) return {};
    if (IsSumColumn(section)) return sumTitle_;
    return ColumnTitle(Fields()[static_cast<std::size_t>(section)].name, section == 0);
  }
  if (section == snapshot_.EditIndex()) return QString::fromUtf16(kEditMark);
  if (section == currentRow_) return QString::fromUtf16(kCurrentMark);
  return QString();
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == 0 || IsSumColumn(index.column())) return flags;  // the key, a sum
  if (Fields()[static_cast<std::size_t>(index.column())].type == FieldType::Boolean) {
    return flags | Qt::ItemIsUserCheckable;
  }
  return flags | Qt::ItemIsEditable;
}

bool TableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
    return false;
  }
  if (IsSumColumn(index.column())) return false;
  const FieldDef& field = Fields()[static_cast<std::size_t>(index.column())];
  if (index.column() == 0) {
    // The key names the row, in this table and in others that point at it.
    Refuse(QString("%1 cannot be changed: it is the key of the row.").arg(Title(field.name)), {},
           index.row());
    return false;
  }
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
        Refuse(Qs(snapshot_.LastError()), Qs(snapshot_.KeyText(row)), row);
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
      Refuse(why, {}, row);
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
