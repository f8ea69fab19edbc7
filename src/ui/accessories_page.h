#pragma once

// The accessories editor: the accessories and who may wear them.

#include "ui/done_page.h"

namespace likentor {

class AccessoriesPage : public DonePage {
  Q_OBJECT

 public:
  explicit AccessoriesPage(QWidget* parent);
};

}  // namespace likentor
