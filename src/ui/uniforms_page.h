#pragma once

// The custom uniforms page: the teams of the loaded game, a team's own uniform picture set or
// taken away, and a preview of the uniform its portraits get.

#include <QLabel>

#include "ui/done_page.h"

namespace likentor {

class DataGrid;
class PictureBox;
class Session;
class TableModel;

class UniformsPage : public DonePage {
  Q_OBJECT

 public:
  UniformsPage(Session& session, QWidget* parent);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // The grid's row becomes the current team of TeamsTable, and the texts follow it.
  void FollowRow(int row);
  void ShowTeam();
  // Runs a command on the grid's team after its pending edit was posted, then shows the row as
  // stored.
  void OnTeam(const std::function<void()>& command);
  void GetUniformPreviewBtnClick();

  Session& session_;
  TableModel* model_;
  DataGrid* grid_;
  QLabel* teamName_;
  QLabel* nickname_;
  QLabel* uniformFile_;
  PictureBox* preview_;
};

}  // namespace likentor
