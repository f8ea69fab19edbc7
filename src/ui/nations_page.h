#pragma once

// The nations editor: the ethnicity weights of every nation.

#include "ui/editor_page.h"

namespace likentor {

class NationsPage : public EditorPage {
  Q_OBJECT

 public:
  NationsPage(Session& session, CommandGuard& commands, QWidget* parent);
};

}  // namespace likentor
