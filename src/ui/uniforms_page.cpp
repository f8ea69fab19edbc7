#include "ui/uniforms_page.h"

#include <QLabel>

namespace likentor {

UniformsPage::UniformsPage(QWidget* parent)
    : DonePage("UniformsPage", "Custom Uniforms", "UniformsDone", parent) {
  auto* note = new QLabel(
      "This page is not in the window yet. Until it is, the command line sets or removes a team's "
      "custom uniform: likentor uniform NAME TEAM_ID PATH|none.",
      this);
  note->setWordWrap(true);
  note->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  Body()->addWidget(note, 1);
}

}  // namespace likentor
