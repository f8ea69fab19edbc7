#pragma once

// The custom uniforms page: the teams of the loaded game, a team's own uniform picture set or
// taken away, and a preview of the uniform its portraits get.

#include <QLabel>
#include <functional>
#include <string>

#include "ui/done_page.h"

namespace likentor {

class DataGrid;
class PictureBox;
class CommandGuard;
class Session;
class TableModel;

class UniformsPage : public DonePage {
  Q_OBJECT

 public:
  UniformsPage(Session& session, CommandGuard& commands, QWidget* parent);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ShowTeam();
  // Runs a command on the grid's team (given its id) after its pending edit was posted, then shows
  // the row as stored.
  void OnTeam(const std::function<void(int)>& command);
  void GetUniformPreviewBtnClick();

  Session& session_;
  CommandGuard& commands_;
  // The current team of TeamsTable as the page last saw it.
  std::string seenTeam_;
  TableModel* model_;
  DataGrid* grid_;
  QLabel* teamName_;
  QLabel* nickname_;
  QLabel* uniformFile_;
  PictureBox* preview_;
};

}  // namespace likentor
