#pragma once

// The portraits page: the pictures of a team, of the players the last run made, or of the player
// page's matches, side by side in a grid of thumbnails with the player's name under each and
// marks for locked players and for pictures of the user's own. From a thumbnail the player page
// opens (double-click or Enter); its menu gives him a new look, a new photo, a lock, or opens the
// picture folder. The pictures come from a model over the players (thumbnail_model.h), read on a
// worker thread.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QUrl>
#include <functional>
#include <optional>
#include <vector>

#include "app/batch_runs.h"
#include "app/window_state.h"
#include "ui/done_page.h"

namespace likentor {

class CommandGuard;
class Session;
class ThumbnailModel;

class PortraitsPage : public DonePage {
  Q_OBJECT

 public:
  // What the page shows, in the order of its "Show" box.
  enum class Mode { Team = 0, LastRun = 1, Search = 2 };
  // The sizes of the thumbnails: 1x, 1.5x and 2x the portrait's 90 x 135.
  static constexpr double kScales[] = {1.0, 1.5, 2.0};

  PortraitsPage(Session& session, CommandGuard& commands, QWidget* parent);

  // Tools > Portraits and the ToolBox button: the guard, then the page, on what it showed last
  // (the team chosen on the dashboard, or the first team, when it showed nothing yet).
  void Open(std::optional<int> dashboardTeam);
  // The page on a team, the last run, or the player page's matches; shown when `show`.
  void ShowTeam(int teamId);
  void ShowLastRun();
  void ShowSearch();
  Mode Showing() const { return static_cast<Mode>(showBox_->currentIndex()); }

  // The team box follows the dashboard's; an empty one (no game) empties the page.
  void ShowTeams(const std::vector<TeamItem>& teams);
  // A batch run ended: it becomes the last run, and "Show them" is offered when it made any.
  void RunEnded(const RunResult& result);
  // The "Show them" button for the status bar: hidden until a run made portraits.
  QPushButton* MakeShowThemButton(QWidget* parent);

  // File > Export Contact Sheet: what the page shows as one PNG, through a save chooser.
  void ExportContactSheet();
  // 0, 1 or 2: kScales.
  void SetSizeStep(int step);
  // Pictures changed behind the page (an undo, a run): they are read again.
  void PicturesChanged();

  // Opens a folder in the desktop's file manager; QDesktopServices unless replaced (tests).
  void SetFolderOpener(std::function<bool(const QUrl&)> opener) { openFolder_ = std::move(opener); }

  // The last batch run that made portraits, as "Show them" shows it.
  const std::optional<RunResult>& LastRun() const { return lastRun_; }

  ThumbnailModel* Model() const { return model_; }
  QListView* View() const { return view_; }
  QMenu* ContextMenu() const { return menu_; }

 signals:
  // Double-click or Enter on a thumbnail.
  void OpenPlayer(int playerId);

 private:
  void ShowMode(Mode mode);
  void Show(Mode mode);
  void UpdateGrid();
  void UpdateBeforeAfter();
  std::vector<int> SelectedPlayers() const;
  void NewLook();
  void MakeNewPhoto();
  void LockUnlock();
  void OpenPictureFolder();

  Session& session_;
  CommandGuard& commands_;
  ThumbnailModel* model_;
  QComboBox* showBox_;
  QComboBox* teamBox_;
  QSlider* sizeSlider_;
  QLabel* sizeLabel_;
  QCheckBox* beforeAfter_;
  QLabel* count_;
  QListView* view_;
  QMenu* menu_;
  QPushButton* showThem_ = nullptr;
  std::vector<TeamItem> teams_;
  std::optional<RunResult> lastRun_;
  double scale_ = 1.0;
  bool shownOnce_ = false;
  std::function<bool(const QUrl&)> openFolder_;
};

}  // namespace likentor
