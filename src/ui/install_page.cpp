#include "ui/install_page.h"

#include <QGridLayout>
#include <QPushButton>

namespace likentor {

namespace {

struct InstallButton {
  const char* name;
  const char* text;
  int row;
  int column;
};

constexpr InstallButton kButtons[] = {
    {"InstallAfricanBtn", "Install African Faces", 0, 0},
    {"InstallAsianBtn", "Install Asian Faces", 1, 0},
    {"InstallCaucasianBtn", "Install Caucasian Faces", 2, 0},
    {"InstallEastIndianBtn", "Install East Indian Faces", 3, 0},
    {"InstallAccessoriesBtn", "Install Accessories", 0, 1},
    {"InstallUniformStyleBtn", "Install Custom Uniform Style", 1, 1},
    {"InstallFacialHairBtn", "Install Facial Hair", 2, 1},
};

}  // namespace

InstallPage::InstallPage(QWidget* parent)
    : DonePage("InstallPage", "Install Components", "InstallDone", parent) {
  auto* grid = new QGridLayout;
  for (const InstallButton& b : kButtons) {
    auto* button = new QPushButton(b.text, this);
    button->setObjectName(b.name);
    button->setAccessibleName(b.text);
    grid->addWidget(button, b.row, b.column);
  }
  grid->setColumnStretch(2, 1);
  Body()->addLayout(grid);
  Body()->addStretch(1);
}

}  // namespace likentor
