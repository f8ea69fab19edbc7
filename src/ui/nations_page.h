#pragma once

// The nations editor: the ethnicity weights of every nation.

#include "ui/done_page.h"

namespace likentor {

class NationsPage : public DonePage {
  Q_OBJECT

 public:
  explicit NationsPage(QWidget* parent);
};

}  // namespace likentor
