#include "ui/qt_prompts.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QStringList>

namespace likentor {

namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Path(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

// One modal box; `buttons` OK, or OK and Cancel. Answers the button pressed.
QMessageBox::StandardButton Box(QWidget* parent, QMessageBox::Icon icon, std::string_view caption,
                                std::string_view text, QMessageBox::StandardButtons buttons) {
  QMessageBox box(icon, Text(caption), Text(text), buttons, parent);
  box.setObjectName("MessageBox");
  box.setDefaultButton(QMessageBox::Ok);
  // Cancel and Escape answer the same.
  if (buttons.testFlag(QMessageBox::Cancel)) box.setEscapeButton(QMessageBox::Cancel);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

void QtPrompts::ShowMessage(std::string_view text) {
  Box(parent_, QMessageBox::NoIcon, kMessageCaption, text, QMessageBox::Ok);
}

void QtPrompts::ShowError(std::string_view text) {
  Box(parent_, QMessageBox::Critical, kErrorCaption, text, QMessageBox::Ok);
}

bool QtPrompts::Confirm(std::string_view text) {
  return Box(parent_, QMessageBox::Question, kConfirmCaption, text,
             QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

std::filesystem::path QtPrompts::ChooseFolder(std::string_view title,
                                              const std::filesystem::path& root) {
  // The program's own chooser: its instructions are whole sentences, which a title bar would cut
  // off, so they are shown in the chooser as well.
  QFileDialog chooser(parent_, Text(title), Path(root));
  chooser.setObjectName("FolderChooser");
  chooser.setFileMode(QFileDialog::Directory);
  chooser.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
  if (auto* grid = qobject_cast<QGridLayout*>(chooser.layout())) {
    auto* instructions = new QLabel(Text(title), &chooser);
    instructions->setObjectName("ChooserInstructions");
    instructions->setWordWrap(true);
    QFont bold = instructions->font();
    bold.setBold(true);
    instructions->setFont(bold);
    grid->addWidget(instructions, grid->rowCount(), 0, 1, grid->columnCount());
  }
  if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return {};
  return chooser.selectedFiles().front().toStdString();
}

std::filesystem::path QtPrompts::ChooseFile(std::string_view filter,
                                            const std::filesystem::path& startFolder) {
  const QString chosen =
      QFileDialog::getOpenFileName(parent_, QString(), Path(startFolder), QtFileFilter(filter));
  return chosen.toStdString();
}

QString QtFileFilter(std::string_view filter) {
  const QStringList parts = Text(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    // A description that already names its patterns ("PNG images (*.png)") is taken as it is.
    if (parts[i].trimmed().endsWith(')')) {
      filters << parts[i].trimmed();
      continue;
    }
    QString pattern = parts[i + 1];
    pattern.replace(';', ' ');
    filters << parts[i] + " (" + pattern + ")";
  }
  if (filters.isEmpty() && !parts.isEmpty() && !parts.front().isEmpty()) filters << parts.front();
  return filters.join(";;");
}

}  // namespace likentor
