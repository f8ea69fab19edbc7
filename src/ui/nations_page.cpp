#include "ui/nations_page.h"

#include <QLabel>

namespace likentor {

NationsPage::NationsPage(QWidget* parent)
    : DonePage("NationsPage", "Nations/Ethnicity Data", "NationsDone", parent) {
  auto* note = new QLabel(
      "This page is not in the window yet. Until it is, the command line shows the table: likentor "
      "show nations.db.",
      this);
  note->setWordWrap(true);
  note->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  Body()->addWidget(note, 1);
}

}  // namespace likentor
