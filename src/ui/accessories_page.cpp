#include "ui/accessories_page.h"

namespace likentor {

AccessoriesPage::AccessoriesPage(Session& session, CommandGuard& commands, QWidget* parent)
    : EditorPage(session, commands,
                 {"AccessoriesPage", "Accessories", "AccessoriesDoneBtn", "DBGrid2", "DBNavigator2",
                  "accessories.db"},
                 parent) {
  RefuseNegative({"frequency"});
}

}  // namespace likentor
