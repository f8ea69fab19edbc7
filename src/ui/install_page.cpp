#include "ui/install_page.h"

#include <QGridLayout>
#include <QLabel>

#include "app/component_packs.h"
#include "app/portrait_types.h"
#include "app/session.h"
#include "app/write_command.h"
#include "ui/command_guard.h"

namespace likentor {

namespace {

struct InstallButton {
  const char* name;
  const char* text;
  int row;
  int column;
  PackKind kind;
  int ethnicity;
};

constexpr InstallButton kButtons[] = {
    {"InstallAfricanBtn", "Install African Faces", 0, 0, PackKind::Faces, kAfrican},
    {"InstallAsianBtn", "Install Asian Faces", 1, 0, PackKind::Faces, kAsian},
    {"InstallCaucasianBtn", "Install Caucasian Faces", 2, 0, PackKind::Faces, kCaucasian},
    {"InstallEastIndianBtn", "Install East Indian Faces", 3, 0, PackKind::Faces, kEastIndian},
    {"InstallAccessoriesBtn", "Install Accessories", 0, 1, PackKind::Accessories, 0},
    {"InstallUniformStyleBtn", "Install Custom Uniform Style", 1, 1, PackKind::Uniform, 0},
    {"InstallFacialHairBtn", "Install Facial Hair", 2, 1, PackKind::FacialHair, 0},
};

}  // namespace

InstallPage::InstallPage(Session& session, CommandGuard& commands, QWidget* parent)
    : DonePage("InstallPage", "Install Components", "InstallDone", parent),
      session_(session),
      commands_(commands) {
  auto* grid = new QGridLayout;
  for (const InstallButton& b : kButtons) {
    auto* button = new QPushButton(b.text, this);
    button->setObjectName(b.name);
    button->setAccessibleName(b.text);
    // Copying a pack takes a while: it goes on the worker, and the list shows it afterwards.
    connect(button, &QPushButton::clicked, this, [this, kind = b.kind, ethnicity = b.ethnicity] {
      commands_.Start(
          std::string(kInstallCommand),
          [this, kind, ethnicity] { InstallComponentClick(session_, kind, ethnicity); },
          [this] { ShowPacks(); });
    });
    grid->addWidget(button, b.row, b.column);
  }
  grid->setColumnStretch(2, 1);
  Body()->addLayout(grid);

  auto* label = new QLabel("Installed packs:", this);
  label->setObjectName("InstalledPacksLabel");
  label->setAccessibleName("Installed packs:");
  packs_ = new QListWidget(this);
  packs_->setObjectName("InstalledPacksList");
  packs_->setAccessibleName("Installed packs:");
  label->setBuddy(packs_);
  uninstall_ = new QPushButton("Uninstall Pack", this);
  uninstall_->setObjectName("UninstallPackBtn");
  uninstall_->setAccessibleName("Uninstall Pack");
  uninstall_->setEnabled(false);
  connect(packs_, &QListWidget::currentRowChanged, this,
          [this](int row) { uninstall_->setEnabled(row >= 0); });
  connect(uninstall_, &QPushButton::clicked, this, &InstallPage::UninstallPackBtnClick);
  auto* row = new QHBoxLayout;
  row->addWidget(uninstall_);
  row->addStretch(1);
  Body()->addWidget(label);
  Body()->addWidget(packs_, 1);
  Body()->addLayout(row);
}

void InstallPage::ShowPacks() {
  packs_->clear();
  commands_.Show([this] {
    for (const InstalledPack& pack : InstalledPacks(session_)) {
      auto* item = new QListWidgetItem(QString::fromStdString(PackLine(pack)), packs_);
      item->setData(Qt::UserRole, pack.packId);
    }
  });
  uninstall_->setEnabled(packs_->currentRow() >= 0);
}

void InstallPage::showEvent(QShowEvent* event) {
  DonePage::showEvent(event);
  ShowPacks();
}

void InstallPage::UninstallPackBtnClick() {
  const QListWidgetItem* item = packs_->currentItem();
  if (item == nullptr) return;
  const int packId = item->data(Qt::UserRole).toInt();
  // Uninstalling draws new looks for the pack's wearers in every saved game: on the worker.
  commands_.Start(
      std::string(kUninstallCommand), [this, packId] { UninstallPackClick(session_, packId); },
      [this] { ShowPacks(); });
}

}  // namespace likentor
