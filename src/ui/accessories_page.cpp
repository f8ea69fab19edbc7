#include "ui/accessories_page.h"

#include <QLabel>

namespace likentor {

AccessoriesPage::AccessoriesPage(QWidget* parent)
    : DonePage("AccessoriesPage", "Accessories", "AccessoriesDoneBtn", parent) {
  auto* note = new QLabel(
      "This page is not in the window yet. Until it is, the command line shows the table: likentor "
      "show accessories.db.",
      this);
  note->setWordWrap(true);
  note->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  Body()->addWidget(note, 1);
}

}  // namespace likentor
