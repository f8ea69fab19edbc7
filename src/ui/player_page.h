#pragma once

// The player page: the players a search found in a grid, the current player's names and lock
// flag, his current picture and a new portrait for him.

#include <QCheckBox>
#include <QLabel>
#include <optional>

#include "app/player_search.h"
#include "ui/done_page.h"

namespace likentor {

class DataGrid;
class PictureBox;
class CommandGuard;
class Session;
class TableModel;

// "N players found.": what a search found, for the status bar.
QString MatchesText(int count);

class PlayerPage : public DonePage {
  Q_OBJECT

 public:
  PlayerPage(Session& session, CommandGuard& commands, QWidget* parent);

  // A search found `count` rows in PlayersQuery: the grid shows them with the first row current,
  // and the count stands beside the navigator.
  // A pending edit of the earlier result is dropped, as closing the query drops it.
  void ShowMatches(int count);
  // The rows and the picture shown as they are stored now, after a command changed them behind
  // the page (an undo of a run).
  void ShowStored();

 private:
  void ShowPlayer();
  // Teams and nations shown by name in the grid.
  void ShowNames();
  // The preview shows the current picture of the player on `row` (none for -1).
  void FollowRow(int row);
  // The player id of the grid's row, after the grid's pending edit was posted. None when the post
  // was refused or there is no row.
  std::optional<int> CurrentPlayer();
  void SeeCurrentPhotoBtnClick();
  void MakeNewPhotoBtnClick();
  void NewLookBtnClick();
  void PlayerDoneClick();
  void ShowPreview();

  Session& session_;
  CommandGuard& commands_;
  TableModel* model_;
  DataGrid* grid_;
  QLabel* matches_;
  QLabel* firstName_;
  QLabel* lastName_;
  QCheckBox* locked_;
  PictureBox* preview_;
  std::optional<PlayerPicture> picture_;
};

}  // namespace likentor
