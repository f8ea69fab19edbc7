#include "ui/player_page.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "app/loaded_game.h"
#include "app/player_looks.h"
#include "app/player_search.h"
#include "app/session.h"
#include "ui/command_guard.h"
#include "ui/data_grid.h"
#include "ui/navigator.h"
#include "ui/picture_box.h"

namespace likentor {

namespace {

QPushButton* Button(const char* name, const char* text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setAccessibleName(text);
  button->setMinimumWidth(140);
  return button;
}

QLabel* Text(const char* name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  QFont bold = label->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.2);
  label->setFont(bold);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace

QString MatchesText(int count) {
  return count == 1 ? QString("1 player found.") : QString("%1 players found.").arg(count);
}

PlayerPage::PlayerPage(Session& session, CommandGuard& commands, QWidget* parent)
    : DonePage("PlayerPage", "Player", "PlayerDone", parent),
      session_(session),
      commands_(commands),
      model_(new TableModel(this)) {
  grid_ = new DataGrid("PlayersSearchResults", model_, this);
  grid_->setAccessibleName("Players found");
  // The grid takes the page's free height; four rows at least.
  grid_->setMinimumHeight(grid_->verticalHeader()->defaultSectionSize() * 5 + 4);
  auto* navigator =
      new Navigator("PlayersSearchResultsNavigator", grid_, kAllNavigatorButtons, this);
  ReportRefusals(model_, session_);

  matches_ = new QLabel(this);
  matches_->setObjectName("PlayerMatches");
  auto* bar = new QHBoxLayout;
  bar->addWidget(navigator);
  bar->addStretch(1);
  bar->addWidget(matches_);

  preview_ = new PictureBox("PlayerPreviewImage", this);
  firstName_ = Text("DBText1", this);
  lastName_ = Text("DBText2", this);
  locked_ = new QCheckBox("Locked?", this);
  locked_->setObjectName("DBCheckBox3");
  locked_->setAccessibleName("Locked?");
  QPushButton* seeCurrent = Button("SeeCurrentPhotoBtn", "See Current Photo", this);
  QPushButton* makeNew = Button("MakeNewPhotoBtn", "Make New Photo", this);
  QPushButton* newLook = Button("NewLookBtn", "New Look", this);

  auto* details = new QVBoxLayout;
  details->addWidget(firstName_);
  details->addWidget(lastName_);
  details->addSpacing(6);
  details->addWidget(locked_);
  details->addSpacing(10);
  details->addWidget(seeCurrent, 0, Qt::AlignLeft);
  details->addWidget(makeNew, 0, Qt::AlignLeft);
  details->addWidget(newLook, 0, Qt::AlignLeft);
  details->addWidget(DoneButton(), 0, Qt::AlignLeft);
  DoneButton()->setMinimumWidth(140);
  details->addStretch(1);
  auto* player = new QHBoxLayout;
  player->addWidget(preview_, 0, Qt::AlignTop);
  player->addSpacing(12);
  player->addLayout(details);
  player->addStretch(1);

  Body()->setSpacing(4);
  Body()->addWidget(grid_, 1);
  Body()->addLayout(bar);
  Body()->addSpacing(8);
  Body()->addLayout(player);

  connect(grid_, &DataGrid::RowChanged, this, [this](int row) {
    ShowPlayer();
    FollowRow(row);
  });
  connect(model_, &QAbstractItemModel::dataChanged, this, [this] { ShowPlayer(); });
  // However the box was ticked (a click, the space key, a screen reader's toggle), the row takes
  // it; the page's own showing of a row blocks the signal.
  connect(locked_, &QCheckBox::toggled, this, [this](bool ticked) {
    const int row = grid_->CurrentRow();
    const int column = model_->FieldIndex(kLockedField);
    if (row < 0 || column < 0) return;
    model_->setData(model_->index(row, column), ticked ? Qt::Checked : Qt::Unchecked,
                    Qt::CheckStateRole);
    ShowPlayer();
  });
  connect(seeCurrent, &QPushButton::clicked, this, [this] { SeeCurrentPhotoBtnClick(); });
  connect(makeNew, &QPushButton::clicked, this, [this] { MakeNewPhotoBtnClick(); });
  connect(newLook, &QPushButton::clicked, this, [this] { NewLookBtnClick(); });
  // Done posts a pending edit before the query closes; a refused post keeps the page.
  disconnect(DoneButton(), &QPushButton::clicked, this, &DonePage::DoneClicked);
  connect(DoneButton(), &QPushButton::clicked, this, [this] { PlayerDoneClick(); });
  ShowPlayer();
}

void PlayerPage::ShowMatches(int count) {
  matches_->setText(MatchesText(count));
  commands_.Show([this] {
    model_->Open(session_.Game().PlayersQuery);
    ShowNames();
    grid_->FitColumns();
  });
}

void PlayerPage::ShowStored() {
  if (!model_->IsOpen()) return;
  model_->Refresh();
  const int row = model_->CurrentRow();
  if (row >= 0) grid_->GoTo(row);
  ShowPlayer();
  if (!picture_ || row < 0) return;
  commands_.Show([this, row] {
    picture_.reset();
    try {
      picture_ = CurrentPhoto(session_, std::stoi(model_->KeyText(row)));
    } catch (...) {
      ShowPreview();  // cleared
      throw;
    }
    ShowPreview();
  });
}

void PlayerPage::ShowNames() {
  // Teams and nations by name beside their numbers: the teams of the team box, the nations of the
  // shared nations table.
  std::map<std::string, QString> teams;
  for (const TeamItem& team : session_.Window().teams) {
    teams[std::to_string(team.teamId)] = QString::fromStdString(team.text);
  }
  for (const std::string_view field : {kTeamIdField, kUniformTeamIdField, kRetiredAsTeamField}) {
    model_->SetNames(std::string(field), teams);
  }
  std::map<std::string, QString> nations;
  try {
    for (const auto& [number, name] : NationNames(session_)) {
      nations[number] = QString::fromStdString(name);
    }
  } catch (const std::exception&) {
    nations.clear();  // numbers alone
  }
  model_->SetNames(std::string(kNationIdField), std::move(nations));
}

void PlayerPage::FollowRow(int row) {
  // The picture beside the names is the current player's: moving to another player shows his.
  // Quietly: a player without any picture (or a missing default) shows an empty box, and "See
  // Current Photo" says why.
  picture_.reset();
  if (row >= 0) {
    try {
      picture_ = CurrentPhoto(session_, std::stoi(model_->KeyText(row)));
    } catch (const std::exception&) {
      picture_.reset();
    }
  }
  ShowPreview();
}

void PlayerPage::ShowPlayer() {
  const int row = grid_->CurrentRow();
  firstName_->setText(model_->Text(row, kFirstNameField));
  lastName_->setText(model_->Text(row, kLastNameField));
  locked_->setEnabled(row >= 0);
  const QSignalBlocker quiet(locked_);
  locked_->setChecked(model_->Text(row, kLockedField) == "true");
}

std::optional<int> PlayerPage::CurrentPlayer() {
  const int row = grid_->CurrentRow();
  if (row < 0) return std::nullopt;
  grid_->CommitEditor();
  if (!model_->Post()) return std::nullopt;
  return std::stoi(model_->KeyText(row));
}

void PlayerPage::SeeCurrentPhotoBtnClick() {
  commands_.Show([this] {
    const std::optional<int> player = CurrentPlayer();
    if (!player) return;
    picture_.reset();
    try {
      picture_ = CurrentPhoto(session_, *player);
    } catch (...) {
      ShowPreview();  // cleared
      throw;
    }
    ShowPreview();
    // A JPEG decoded on the window's thread is shown at once.
    preview_->repaint();
  });
}

void PlayerPage::MakeNewPhotoBtnClick() {
  commands_.Write([this] {
    const int row = grid_->CurrentRow();
    const std::optional<int> player = CurrentPlayer();
    if (!player) return;
    std::optional<NewPhoto> made;
    try {
      made = MakeNewPhoto(session_, *player);
    } catch (...) {
      model_->RowWritten(row);
      throw;
    }
    if (!made) return;  // the user kept his own picture
    model_->RowWritten(row);
    picture_ = std::move(made->picture);
    ShowPreview();
  });
}

void PlayerPage::NewLookBtnClick() {
  commands_.Write([this] {
    const int row = grid_->CurrentRow();
    const std::optional<int> player = CurrentPlayer();
    if (!player) return;
    std::optional<PlayerPicture> picture;
    try {
      picture = likentor::NewLookBtnClick(session_, *player);
    } catch (...) {
      model_->RowWritten(row);
      throw;
    }
    model_->RowWritten(row);
    if (picture) {
      picture_ = std::move(picture);
      ShowPreview();
    }
  });
}

void PlayerPage::PlayerDoneClick() {
  grid_->CommitEditor();
  if (!model_->Post()) return;
  model_->Close();
  emit DoneClicked();
}

void PlayerPage::ShowPreview() {
  if (!picture_) {
    preview_->ClearPicture();
    return;
  }
  // What the picture shows, for screen readers: the player of the row it was made for.
  const int row = grid_->CurrentRow();
  const QString name =
      (model_->Text(row, kFirstNameField) + " " + model_->Text(row, kLastNameField)).trimmed();
  const QString description = picture_->file.filename().string() == kDefaultPlayerPhoto
                                  ? "Default picture: no portrait of " + name + " yet"
                                  : "Portrait of " + name;
  std::visit([this, &description](
                 const auto& image) { preview_->ShowPicture(ToQImage(image), description); },
             picture_->image);
}

}  // namespace likentor
