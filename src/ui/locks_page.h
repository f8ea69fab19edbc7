#pragma once

// The locks page: lock or unlock the photos of all, active or retired players.

#include "ui/done_page.h"

namespace likentor {

class LocksPage : public DonePage {
  Q_OBJECT

 public:
  explicit LocksPage(QWidget* parent);
};

}  // namespace likentor
