#include "ui/facial_hair_page.h"

#include <QLabel>

namespace likentor {

FacialHairPage::FacialHairPage(QWidget* parent)
    : DonePage("FacialHairPage", "Facial Hair Frequency", "FacialHairDone", parent) {
  auto* note = new QLabel(
      "This page is not in the window yet. Until it is, the command line shows the table: likentor "
      "show facial_hair.db.",
      this);
  note->setWordWrap(true);
  note->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  Body()->addWidget(note, 1);
}

}  // namespace likentor
