#pragma once

// The custom uniforms page: a team's own uniform picture set or taken away.

#include "ui/done_page.h"

namespace likentor {

class UniformsPage : public DonePage {
  Q_OBJECT

 public:
  explicit UniformsPage(QWidget* parent);
};

}  // namespace likentor
