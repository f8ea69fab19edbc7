#pragma once

// The facial hair editor: the styles and how often each is drawn.

#include "ui/done_page.h"

namespace likentor {

class FacialHairPage : public DonePage {
  Q_OBJECT

 public:
  explicit FacialHairPage(QWidget* parent);
};

}  // namespace likentor
