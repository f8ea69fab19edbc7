#include "ui/qt_prompts.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QSpacerItem>
#include <QStringList>
#include <QThread>
#include <system_error>
#include <utility>

namespace likentor {

namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Path(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

int MinimumBoxWidth(const QWidget& box) {
  return box.fontMetrics().averageCharWidth() * 40;
}

// One modal box; `buttons` OK, or OK and Cancel. Answers the button pressed.
QMessageBox::StandardButton Box(QWidget* parent, QMessageBox::Icon icon, std::string_view caption,
                                std::string_view text, QMessageBox::StandardButtons buttons) {
  QMessageBox box(icon, Text(caption), Text(text), buttons, parent);
  box.setObjectName("MessageBox");
  // A box as narrow as "Hello." would leave the window manager no room for its caption: it is at
  // least about 40 characters wide.
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
    grid->addItem(
        new QSpacerItem(MinimumBoxWidth(box), 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
        grid->rowCount(), 0, 1, grid->columnCount());
  }
  box.setDefaultButton(QMessageBox::Ok);
  // Cancel and Escape answer the same.
  if (buttons.testFlag(QMessageBox::Cancel)) box.setEscapeButton(QMessageBox::Cancel);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

// Runs `ask` on the application's thread and answers what it answered: a command on the worker
// asks through the window's boxes as one on the window's thread does, and waits for the answer.
template <typename Ask>
auto OnWindowThread(Ask ask) -> decltype(ask()) {
  QCoreApplication* application = QCoreApplication::instance();
  if (application == nullptr || QThread::currentThread() == application->thread()) return ask();
  decltype(ask()) answer{};
  QMetaObject::invokeMethod(
      application, [&answer, &ask] { answer = ask(); }, Qt::BlockingQueuedConnection);
  return answer;
}

}  // namespace

void QtPrompts::ShowMessage(std::string_view text) {
  OnWindowThread(
      [&] { return Box(parent_, QMessageBox::NoIcon, kMessageCaption, text, QMessageBox::Ok); });
}

void QtPrompts::ShowError(std::string_view text) {
  OnWindowThread(
      [&] { return Box(parent_, QMessageBox::Critical, kErrorCaption, text, QMessageBox::Ok); });
}

bool QtPrompts::Confirm(std::string_view text) {
  return OnWindowThread([&] {
    return Box(parent_, QMessageBox::Question, kConfirmCaption, text,
               QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
  });
}

std::filesystem::path QtPrompts::ChooseFolder(std::string_view title,
                                              const std::filesystem::path& root) {
  return OnWindowThread([&] { return AskFolder(title, root); });
}

std::filesystem::path QtPrompts::AskFolder(std::string_view title,
                                           const std::filesystem::path& root) {
  // The program's own chooser: its instructions are whole sentences, which a title bar would cut
  // off, so they are shown in the chooser as well.
  // A folder not made yet (a default the setup will make) opens the chooser at the nearest one
  // that is there, with nothing typed in: Qt would put the missing name in the name field, and
  // choosing would then only say that the folder does not exist.
  std::filesystem::path start = root;
  std::error_code ec;
  while (!start.empty() && start != start.root_path() &&
         !std::filesystem::is_directory(start, ec)) {
    start = start.parent_path();
  }
  QFileDialog chooser(parent_, Text(title), Path(start));
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
  return OnWindowThread([&] {
    const QString chosen =
        QFileDialog::getOpenFileName(parent_, QString(), Path(startFolder), QtFileFilter(filter));
    return std::filesystem::path(chosen.toStdString());
  });
}

std::filesystem::path QtPrompts::ChooseSaveFile(std::string_view filter,
                                                const std::filesystem::path& suggested) {
  return OnWindowThread([&] {
    const QString chosen =
        QFileDialog::getSaveFileName(parent_, QString(), Path(suggested), QtFileFilter(filter));
    return std::filesystem::path(chosen.toStdString());
  });
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
