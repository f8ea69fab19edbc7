#pragma once

// The components page: seven "Install ..." buttons that each take a folder of pictures into the
// artwork kit (faces of one ethnicity, accessories, custom uniforms, facial hair), the packs
// installed so far with a button that uninstalls the chosen one, and "Done".

#include <QListWidget>
#include <QPushButton>

#include "ui/done_page.h"

namespace likentor {

class CommandGuard;
class Session;

class InstallPage : public DonePage {
  Q_OBJECT

 public:
  InstallPage(Session& session, CommandGuard& commands, QWidget* parent);

  // Fills the list of installed packs from the record of them.
  void ShowPacks();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void UninstallPackBtnClick();

  Session& session_;
  CommandGuard& commands_;
  QListWidget* packs_;
  QPushButton* uninstall_;
};

}  // namespace likentor
