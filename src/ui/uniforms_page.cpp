#include "ui/uniforms_page.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>
#include <string>

#include "app/custom_uniforms.h"
#include "app/loaded_game.h"
#include "app/previews.h"
#include "app/session.h"
#include "ui/command_guard.h"
#include "ui/data_grid.h"
#include "ui/navigator.h"
#include "ui/picture_box.h"

namespace likentor {

namespace {

QLabel* Text(const char* name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

QPushButton* Button(const char* name, const char* text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setAccessibleName(text);
  return button;
}

}  // namespace

UniformsPage::UniformsPage(Session& session, CommandGuard& commands, QWidget* parent)
    : DonePage("UniformsPage", "Custom Uniforms", "UniformsDone", parent),
      session_(session),
      commands_(commands),
      model_(new TableModel(this)) {
  grid_ = new DataGrid("DBGrid1", model_, this);
  grid_->setAccessibleName("Teams");
  // The grid takes the page's free height; four rows at least.
  grid_->setMinimumHeight(grid_->verticalHeader()->defaultSectionSize() * 5 + 4);
  auto* navigator = new Navigator("DBNavigator1", grid_, kMoveNavigatorButtons, this);
  ReportRefusals(model_, session_);

  teamName_ = Text("TeamNameLabel", this);
  nickname_ = Text("NicknameLabel", this);
  QFont bold = teamName_->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.2);
  teamName_->setFont(bold);
  nickname_->setFont(bold);
  uniformFile_ = Text("UniformFileLabel", this);
  uniformFile_->setWordWrap(true);
  uniformFile_->setMinimumWidth(200);
  preview_ = new PictureBox("CustomUniformPreview", this);

  QPushButton* getPreview = Button("GetUniformPreviewBtn", "Get Preview", this);
  QPushButton* setCustom = Button("SetCustonBtn", "Set Custom Uniform", this);
  QPushButton* useGeneric = Button("UseGenericBtn", "Use Generic Uniform", this);

  auto* names = new QHBoxLayout;
  names->addWidget(teamName_);
  names->addWidget(nickname_);
  names->addStretch(1);

  auto* labels = new QGridLayout;
  labels->setColumnStretch(1, 1);
  labels->addWidget(new QLabel("Custom Uniform:", this), 0, 0, Qt::AlignTop);
  labels->addWidget(uniformFile_, 0, 1, Qt::AlignTop);
  labels->addWidget(new QLabel("Preview:", this), 1, 0, Qt::AlignTop);

  // The four buttons in one column right of the preview: Done joins them.
  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : {getPreview, setCustom, useGeneric, DoneButton()}) {
    button->setMinimumWidth(150);
    buttons->addWidget(button);
  }
  buttons->addStretch(1);
  auto* previewRow = new QHBoxLayout;
  previewRow->addWidget(preview_, 0, Qt::AlignTop);
  previewRow->addSpacing(12);
  previewRow->addLayout(buttons);
  previewRow->addStretch(1);
  labels->addLayout(previewRow, 1, 1);

  Body()->setSpacing(4);
  Body()->addWidget(grid_, 1);
  Body()->addWidget(navigator);
  Body()->addSpacing(6);
  Body()->addLayout(names);
  Body()->addLayout(labels);

  connect(grid_, &DataGrid::RowChanged, this, [this] { ShowTeam(); });
  connect(model_, &QAbstractItemModel::dataChanged, this, [this] { ShowTeam(); });
  connect(getPreview, &QPushButton::clicked, this, [this] { GetUniformPreviewBtnClick(); });
  connect(setCustom, &QPushButton::clicked, this,
          [this] { OnTeam([this](int team) { SetCustonBtnClick(session_, team); }); });
  connect(useGeneric, &QPushButton::clicked, this,
          [this] { OnTeam([this](int team) { UseGenericBtnClick(session_, team); }); });
}

void UniformsPage::showEvent(QShowEvent* event) {
  DonePage::showEvent(event);
  commands_.Show([this] {
    Table& teams = session_.Game().TeamsTable;
    if (!teams.IsOpen()) {
      model_->Close();
      ShowTeam();
      return;
    }
    // The loaded game's teams, as stored now; a pending edit of the grid stays. A game's first
    // showing opens on its first team; a later one stays on the grid's team unless another
    // command moved the current team since (a batch run moves it): then on that one.
    const std::string current = teams.GetText("team_id");
    if (model_->IsOpen() && model_->TableName() == teams.TableName()) {
      model_->Refresh();
      const int row = model_->RowOfKey(current);
      if (current != seenTeam_ && row >= 0) grid_->GoTo(row);
    } else {
      model_->Open(session_.Data(), teams.TableName());
      grid_->FitColumns();
    }
    seenTeam_ = current;
    ShowTeam();
  });
}

void UniformsPage::ShowTeam() {
  const int row = grid_->CurrentRow();
  teamName_->setText(model_->Text(row, "team_name"));
  nickname_->setText(model_->Text(row, "nickname"));
  uniformFile_->setText(model_->Text(row, "custom_uniform_file"));
}

void UniformsPage::OnTeam(const std::function<void(int)>& command) {
  commands_.Write([this, &command] {
    const int row = grid_->CurrentRow();
    if (row < 0) return;
    grid_->CommitEditor();
    if (!model_->Post()) return;
    try {
      command(std::stoi(model_->KeyText(row)));
    } catch (...) {
      model_->RowWritten(row);
      throw;
    }
    model_->RowWritten(row);
    // The command leaves the current team on the grid's.
    if (session_.Game().TeamsTable.IsOpen()) {
      seenTeam_ = session_.Game().TeamsTable.GetText("team_id");
    }
  });
  ShowTeam();
}

void UniformsPage::GetUniformPreviewBtnClick() {
  commands_.Show([this] {
    const int row = grid_->CurrentRow();
    if (row < 0) return;
    // A failure leaves the box empty rather than with another team's picture.
    preview_->ClearPicture();
    const int team = model_->Text(row, "team_id").toInt();
    const QString teamName =
        (model_->Text(row, "team_name") + " " + model_->Text(row, "nickname")).trimmed();
    preview_->ShowPicture(ToQImage(TeamUniformPreview(session_, team)),
                          "Uniform of the " + teamName);
  });
}

}  // namespace likentor
