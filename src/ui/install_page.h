#pragma once

// The components page: seven install buttons that do nothing in this version, and "Done".

#include "ui/done_page.h"

namespace likentor {

class InstallPage : public DonePage {
  Q_OBJECT

 public:
  explicit InstallPage(QWidget* parent);
};

}  // namespace likentor
