#include "ui/navigator.h"

#include <QIcon>
#include <QStyle>

#include "ui/data_grid.h"

namespace likentor {

namespace {

struct ButtonLook {
  const char* text;
  const char* themeIcon;
  QStyle::StandardPixmap fallback;
};

ButtonLook LookOf(NavigatorButton button) {
  switch (button) {
    case NavigatorButton::First:
      return {"First", "go-first", QStyle::SP_MediaSkipBackward};
    case NavigatorButton::Prior:
      return {"Prior", "go-previous", QStyle::SP_ArrowBack};
    case NavigatorButton::Next:
      return {"Next", "go-next", QStyle::SP_ArrowForward};
    case NavigatorButton::Last:
      return {"Last", "go-last", QStyle::SP_MediaSkipForward};
    case NavigatorButton::Edit:
      return {"Edit", "document-edit", QStyle::SP_FileDialogDetailedView};
    case NavigatorButton::Post:
      return {"Post", "dialog-ok-apply", QStyle::SP_DialogApplyButton};
    case NavigatorButton::Cancel:
      return {"Cancel", "dialog-cancel", QStyle::SP_DialogCancelButton};
    case NavigatorButton::Refresh:
      return {"Refresh", "view-refresh", QStyle::SP_BrowserReload};
  }
  return {"", "", QStyle::SP_CustomBase};
}

}  // namespace

Navigator::Navigator(const char* name, DataGrid* grid, const std::vector<NavigatorButton>& buttons,
                     QWidget* parent)
    : QToolBar(parent), grid_(grid) {
  setObjectName(name);
  setAccessibleName(grid->accessibleName().isEmpty() ? QString("Rows")
                                                     : grid->accessibleName() + " rows");
  setMovable(false);
  setFloatable(false);
  setIconSize(QSize(16, 16));
  setToolButtonStyle(Qt::ToolButtonIconOnly);
  for (NavigatorButton button : buttons) {
    const ButtonLook look = LookOf(button);
    const QIcon icon = QIcon::fromTheme(look.themeIcon, style()->standardIcon(look.fallback));
    QAction* action = addAction(icon, look.text);
    action->setObjectName(QString(name) + look.text);
    action->setToolTip(look.text);
    connect(action, &QAction::triggered, this, [this, button] { Act(button); });
    // A tool bar's buttons take no focus of their own: these are reached by Tab as any button.
    if (QWidget* widget = widgetForAction(action)) widget->setFocusPolicy(Qt::TabFocus);
    actions_.emplace_back(button, action);
  }
  TableModel* model = grid_->Model();
  connect(grid_, &DataGrid::RowChanged, this, &Navigator::UpdateButtons);
  connect(model, &TableModel::EditStateChanged, this, &Navigator::UpdateButtons);
  connect(model, &QAbstractItemModel::modelReset, this, &Navigator::UpdateButtons);
  UpdateButtons();
}

QAction* Navigator::Action(NavigatorButton button) const {
  for (const auto& [b, action] : actions_) {
    if (b == button) return action;
  }
  return nullptr;
}

void Navigator::Act(NavigatorButton button) {
  TableModel* model = grid_->Model();
  const int row = grid_->CurrentRow();
  switch (button) {
    case NavigatorButton::First:
      grid_->GoTo(0);
      break;
    case NavigatorButton::Prior:
      grid_->GoTo(row - 1);
      break;
    case NavigatorButton::Next:
      grid_->GoTo(row + 1);
      break;
    case NavigatorButton::Last:
      grid_->GoTo(model->rowCount() - 1);
      break;
    case NavigatorButton::Edit:
      if (row >= 0 && model->BeginEdit(row)) {
        grid_->setFocus();
        grid_->edit(grid_->currentIndex());
      }
      break;
    case NavigatorButton::Post:
      grid_->CommitEditor();
      model->Post();
      break;
    case NavigatorButton::Cancel:
      grid_->DropEditor();
      model->Cancel();
      break;
    case NavigatorButton::Refresh:
      grid_->CommitEditor();
      model->Refresh();
      break;
  }
  UpdateButtons();
}

void Navigator::UpdateButtons() {
  const TableModel* model = grid_->Model();
  const int rows = model->rowCount();
  const int row = grid_->CurrentRow();
  const bool editing = model->InEdit();
  for (const auto& [button, action] : actions_) {
    bool enabled = true;
    switch (button) {
      case NavigatorButton::First:
      case NavigatorButton::Prior:
        enabled = row > 0;
        break;
      case NavigatorButton::Next:
      case NavigatorButton::Last:
        enabled = row >= 0 && row < rows - 1;
        break;
      case NavigatorButton::Edit:
        enabled = row >= 0 && !editing;
        break;
      case NavigatorButton::Post:
      case NavigatorButton::Cancel:
        enabled = editing;
        break;
      case NavigatorButton::Refresh:
        enabled = model->IsOpen();
        break;
    }
    action->setEnabled(enabled);
  }
}

}  // namespace likentor
