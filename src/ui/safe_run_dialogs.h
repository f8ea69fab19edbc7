#pragma once

// The dialogs of safe batch runs: "What will this do?", which shows a run's dry run and can start
// the run, and "Runs Kept for Undo", which sets how many runs of each game are kept. Both open
// window-modal without blocking, so the window's tests reach their controls by object name.

#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>

#include "app/dry_run.h"

namespace likentor {

class DryRunDialog : public QDialog {
  Q_OBJECT

 public:
  // Shows `summary` (DryRunText). "Do it!" closes the dialog with Accepted: the caller starts the
  // run; "Close" leaves it.
  DryRunDialog(const DryRunSummary& summary, QWidget* parent);
  QString Text() const { return text_->toPlainText(); }

 private:
  QPlainTextEdit* text_ = nullptr;
};

class KeptRunsDialog : public QDialog {
  Q_OBJECT

 public:
  KeptRunsDialog(int keptRuns, QWidget* parent);
  int KeptRuns() const { return box_->value(); }

 private:
  QSpinBox* box_ = nullptr;
};

}  // namespace likentor
