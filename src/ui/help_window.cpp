#include "ui/help_window.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

// The guide lives in this static library: its resource is registered by hand, as a linker keeps
// no unreferenced initializer of a static library.
static void InitGuideResource() {
  Q_INIT_RESOURCE(guide);
}

namespace likentor {

QString GuideText() {
  static const bool registered = (InitGuideResource(), true);
  (void)registered;
  QFile file(":/likentor/guide.md");
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent) {
  setObjectName("HelpWindow");
  setWindowTitle("Likentor Help");
  // Beside the main window, which stays usable.
  setModal(false);
  browser_ = new QTextBrowser(this);
  browser_->setObjectName("HelpText");
  browser_->setAccessibleName("Likentor Help");
  browser_->setOpenExternalLinks(false);
  browser_->setMarkdown(GuideText());
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::Close)->setObjectName("HelpCloseBtn");
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser_, 1);
  layout->addWidget(buttons);
  // About 90 characters a line, and a good part of a screen high.
  const int em = fontMetrics().averageCharWidth();
  resize(em * 100, fontMetrics().lineSpacing() * 40);
}

}  // namespace likentor
