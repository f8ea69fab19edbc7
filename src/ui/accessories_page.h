#pragma once

// The accessories editor: the accessories, who may wear them and how often they are drawn.

#include "ui/editor_page.h"

namespace likentor {

class AccessoriesPage : public EditorPage {
  Q_OBJECT

 public:
  AccessoriesPage(Session& session, CommandGuard& commands, QWidget* parent);
};

}  // namespace likentor
