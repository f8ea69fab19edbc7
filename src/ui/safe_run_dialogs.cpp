#include "ui/safe_run_dialogs.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/run_backup.h"

namespace likentor {

namespace {

template <typename W>
W* Named(W* widget, const char* name, const QString& label) {
  widget->setObjectName(name);
  widget->setAccessibleName(label);
  return widget;
}

}  // namespace

DryRunDialog::DryRunDialog(const DryRunSummary& summary, QWidget* parent) : QDialog(parent) {
  setObjectName("DryRunDialog");
  setWindowTitle("What will this do?");
  setAccessibleName("What will this do?");
  setAttribute(Qt::WA_DeleteOnClose);

  text_ = Named(new QPlainTextEdit(this), "DryRunText", "What will this do?");
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  // The summary's table lines up in columns: the system's fixed-width font.
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  const QString text = QString::fromStdString(DryRunText(summary));
  text_->setPlainText(text);
  // Wide enough for the summary's longest line, so that its table shows whole.
  const QFontMetrics metrics(text_->font());
  qsizetype longest = 80;
  for (const QString& line : text.split('\n')) longest = std::max(longest, line.size());
  text_->setMinimumSize(metrics.horizontalAdvance(QString(longest + 4, 'x')),
                        metrics.lineSpacing() * 24);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* doIt =
      Named(buttons->addButton("Do it!", QDialogButtonBox::AcceptRole), "DryRunDoItBtn", "Do it!");
  QPushButton* close =
      Named(buttons->addButton("&Close", QDialogButtonBox::RejectRole), "DryRunCloseBtn", "Close");
  // Nothing to do: the run would make no portrait.
  doIt->setEnabled(summary.total.toMake > 0);
  close->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_, 1);
  layout->addWidget(buttons);
}

KeptRunsDialog::KeptRunsDialog(int keptRuns, QWidget* parent) : QDialog(parent) {
  setObjectName("KeptRunsDialog");
  setWindowTitle("Runs Kept for Undo");
  setAccessibleName("Runs Kept for Undo");
  setAttribute(Qt::WA_DeleteOnClose);

  auto* note = new QLabel(
      "Before a run writes over a picture, the picture is kept, so that Tools > Undo Last Run "
      "can bring it back. How many runs of each game are kept (0 keeps none):",
      this);
  note->setWordWrap(true);
  box_ = Named(new QSpinBox(this), "KeptRunsBox", "Runs kept per game:");
  box_->setRange(0, kMostKeptRuns);
  box_->setValue(keptRuns);
  auto* label = new QLabel("&Runs kept per game:", this);
  label->setBuddy(box_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  Named(buttons->button(QDialogButtonBox::Ok), "KeptRunsOkBtn", "OK");
  Named(buttons->button(QDialogButtonBox::Cancel), "KeptRunsCancelBtn", "Cancel");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* form = new QFormLayout;
  form->addRow(label, box_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(note);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

}  // namespace likentor
