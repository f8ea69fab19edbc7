#include "ui/nations_page.h"

namespace likentor {

NationsPage::NationsPage(Session& session, CommandGuard& commands, QWidget* parent)
    : EditorPage(session, commands,
                 {"NationsPage", "Nations/Ethnicity Data", "NationsDone", "NationsGrid",
                  "NationsNavigator", "nations.db"},
                 parent) {
  RefuseNegative({"caucasian", "african", "east_indian", "asian"}, "weight");
}

}  // namespace likentor
