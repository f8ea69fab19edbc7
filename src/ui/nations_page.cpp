#include "ui/nations_page.h"

#include <QLabel>
#include <QVBoxLayout>

namespace likentor {

NationsPage::NationsPage(Session& session, CommandGuard& commands, QWidget* parent)
    : EditorPage(session, commands,
                 {"NationsPage", "Nations/Ethnicity Data", "NationsDone", "NationsGrid",
                  "NationsNavigator", "nations.db"},
                 parent) {
  RefuseNegative({"caucasian", "african", "east_indian", "asian"});
  // The shares are weights against each other, not percentages: each row's sum shows what they
  // are taken out of.
  Model()->SetSumColumn("Sum of shares", {"caucasian", "african", "east_indian", "asian"});
  auto* note = new QLabel(
      "The four shares of a nation are relative weights: how many of its players get each kind "
      "of face, out of the row's sum. 3, 1, 0, 0 gives three in four players the first kind; the "
      "shares need not add up to 100.",
      this);
  note->setObjectName("NationsNote");
  note->setWordWrap(true);
  Body()->addWidget(note);
}

}  // namespace likentor
