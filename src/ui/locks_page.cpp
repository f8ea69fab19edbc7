#include "ui/locks_page.h"

#include <QLabel>

namespace likentor {

LocksPage::LocksPage(QWidget* parent)
    : DonePage("LocksPage", "Lock/Unlock Photos", "LocksDone", parent) {
  auto* note = new QLabel(
      "This page is not in the window yet. Until it is, the command line locks and unlocks photos: "
      "likentor lock|unlock NAME all|active|retired.",
      this);
  note->setWordWrap(true);
  note->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  Body()->addWidget(note, 1);
}

}  // namespace likentor
