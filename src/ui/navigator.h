#pragma once

// The navigator bar under a grid: tool buttons that move the grid's current row and post, cancel
// or start its edit. Each page names the buttons it has, in the order they stand. The buttons are
// reached by Tab and pressed with Space; in the grid itself Enter posts and Escape cancels.

#include <QAction>
#include <QToolBar>
#include <vector>

namespace likentor {

class DataGrid;

enum class NavigatorButton { First, Prior, Next, Last, Edit, Post, Cancel, Refresh };

// The eight buttons of the editors and the player page; the uniforms page has no editing ones.
inline const std::vector<NavigatorButton> kAllNavigatorButtons = {
    NavigatorButton::First,  NavigatorButton::Prior,  NavigatorButton::Next,
    NavigatorButton::Last,   NavigatorButton::Edit,   NavigatorButton::Post,
    NavigatorButton::Cancel, NavigatorButton::Refresh};
inline const std::vector<NavigatorButton> kMoveNavigatorButtons = {
    NavigatorButton::First, NavigatorButton::Prior, NavigatorButton::Next, NavigatorButton::Last,
    NavigatorButton::Refresh};

class Navigator : public QToolBar {
  Q_OBJECT

 public:
  // `name` is the bar's object name; each button's action is named `name` + its text
  // ("DBNavigator1First"), its text is also its tooltip.
  Navigator(const char* name, DataGrid* grid, const std::vector<NavigatorButton>& buttons,
            QWidget* parent);

  QAction* Action(NavigatorButton button) const;

 private:
  void Act(NavigatorButton button);
  // Buttons that can do nothing now are greyed: no moving past either end, post and cancel only
  // while an edit is pending.
  void UpdateButtons();

  DataGrid* grid_;
  std::vector<std::pair<NavigatorButton, QAction*>> actions_;
};

}  // namespace likentor
