#include "ui/portraits_page.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cmath>

#include "app/loaded_game.h"
#include "app/navigation.h"
#include "app/player_looks.h"
#include "app/player_search.h"
#include "app/portrait_gallery.h"
#include "app/session.h"
#include "ui/command_guard.h"
#include "ui/thumbnail_model.h"

namespace likentor {

namespace {

constexpr int kPictureWidth = 90;
constexpr int kPictureHeight = 135;
constexpr int kPad = 6;          // around a cell's pictures
constexpr int kGap = 4;          // between a portrait and the picture it replaced
constexpr int kNameHeight = 18;  // the name under the pictures

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A padlock, in the top-right corner of a locked player's picture.
void DrawLock(QPainter& painter, const QRect& picture) {
  const QRectF badge(picture.right() - 17, picture.top() + 3, 15, 17);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0, 0, 0, 150));
  painter.drawRoundedRect(badge, 3, 3);
  painter.setPen(QPen(QColor(255, 214, 90), 1.6));
  painter.setBrush(Qt::NoBrush);
  painter.drawArc(QRectF(badge.left() + 4, badge.top() + 2.5, 7, 8), 0, 180 * 16);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 214, 90));
  painter.drawRect(QRectF(badge.left() + 3, badge.top() + 7.5, 9, 7));
}

// A folded corner, top-left, on a picture of the user's own.
void DrawOwn(QPainter& painter, const QRect& picture) {
  QPainterPath corner;
  corner.moveTo(picture.topLeft());
  corner.lineTo(picture.left() + 16, picture.top());
  corner.lineTo(picture.left(), picture.top() + 16);
  corner.closeSubpath();
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(64, 160, 255));
  painter.drawPath(corner);
}

// One thumbnail: the portrait (and the picture it replaced, when shown) scaled smoothly, the
// marks, and the name under it.
class PortraitDelegate : public QStyledItemDelegate {
 public:
  PortraitDelegate(const ThumbnailModel& model, const double& scale, QObject* parent)
      : QStyledItemDelegate(parent), model_(model), scale_(scale) {}

  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return CellSize(model_.BeforeShown(), scale_);
  }

  static QSize CellSize(bool before, double scale) {
    const int w = static_cast<int>(std::lround(kPictureWidth * scale));
    const int h = static_cast<int>(std::lround(kPictureHeight * scale));
    return {(before ? 2 * w + kGap : w) + 2 * kPad, h + 2 * kPad + kNameHeight};
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    painter->save();
    const QRect cell = option.rect;
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    if (selected) {
      painter->fillRect(cell.adjusted(1, 1, -1, -1), option.palette.highlight());
    }
    if (option.state.testFlag(QStyle::State_HasFocus)) {
      painter->setPen(QPen(option.palette.highlight().color().darker(130), 1, Qt::DotLine));
      painter->setBrush(Qt::NoBrush);
      painter->drawRect(cell.adjusted(1, 1, -2, -2));
    }
    const int w = static_cast<int>(std::lround(kPictureWidth * scale_));
    const int h = static_cast<int>(std::lround(kPictureHeight * scale_));
    painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter->setRenderHint(QPainter::Antialiasing, true);
    int x = cell.left() + kPad;
    const int y = cell.top() + kPad;
    if (model_.BeforeShown()) {
      const QRect earlier(x, y, w, h);
      DrawPicture(*painter, earlier, index.data(ThumbnailModel::BeforeRole).value<QImage>(),
                  index.data(ThumbnailModel::HasBeforeRole).toBool());
      if (index.data(ThumbnailModel::HasBeforeRole).toBool()) {
        painter->setPen(Qt::white);
        painter->fillRect(QRect(earlier.left(), earlier.top(), 44, 14), QColor(0, 0, 0, 150));
        QFont small = option.font;
        small.setPointSizeF(small.pointSizeF() * 0.8);
        painter->setFont(small);
        painter->drawText(QRect(earlier.left(), earlier.top(), 44, 14), Qt::AlignCenter, "before");
      }
      x += w + kGap;
    }
    const QRect picture(x, y, w, h);
    DrawPicture(*painter, picture, index.data(Qt::DecorationRole).value<QImage>(), true);
    if (index.data(ThumbnailModel::OwnRole).toBool()) DrawOwn(*painter, picture);
    if (index.data(ThumbnailModel::LockedRole).toBool()) DrawLock(*painter, picture);

    const QRect name(cell.left() + 2, y + h + 2, cell.width() - 4, kNameHeight);
    painter->setFont(option.font);
    painter->setPen(selected ? option.palette.highlightedText().color()
                             : option.palette.text().color());
    const QString text = option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(),
                                                       Qt::ElideRight, name.width());
    painter->drawText(name, Qt::AlignHCenter | Qt::AlignTop, text);
    painter->restore();
  }

 private:
  // The picture scaled to `box` with Qt's smooth transform; an empty frame while it is read, or
  // when there is none.
  static void DrawPicture(QPainter& painter, const QRect& box, const QImage& image, bool framed) {
    if (image.isNull()) {
      painter.fillRect(box, QColor(232, 235, 240));
    } else {
      painter.drawImage(box, image);
    }
    if (framed) {
      painter.setPen(QColor(170, 178, 190));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(box.adjusted(0, 0, -1, -1));
    }
  }

  const ThumbnailModel& model_;
  const double& scale_;
};

QAction* MenuItem(QMenu* menu, const char* name, const QString& text) {
  QAction* action = menu->addAction(text);
  action->setObjectName(name);
  return action;
}

}  // namespace

PortraitsPage::PortraitsPage(Session& session, CommandGuard& commands, QWidget* parent)
    : DonePage("PortraitsPage", "Portraits", "PortraitsDone", parent),
      session_(session),
      commands_(commands),
      model_(new ThumbnailModel(this)),
      openFolder_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
  auto* showLabel = new QLabel("&Show:", this);
  showBox_ = new QComboBox(this);
  showBox_->setObjectName("PortraitsShowBox");
  showBox_->setAccessibleName("Show");
  showBox_->addItems({"Team", "The last run", "Search results"});
  showLabel->setBuddy(showBox_);
  teamBox_ = new QComboBox(this);
  teamBox_->setObjectName("PortraitsTeamBox");
  teamBox_->setAccessibleName("Team");
  teamBox_->setMinimumContentsLength(22);
  teamBox_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

  auto* sizeText = new QLabel("Si&ze:", this);
  sizeSlider_ = new QSlider(Qt::Horizontal, this);
  sizeSlider_->setObjectName("PortraitsSizeSlider");
  sizeSlider_->setAccessibleName("Thumbnail size");
  sizeSlider_->setRange(0, 2);
  sizeSlider_->setPageStep(1);
  sizeSlider_->setTickPosition(QSlider::TicksBelow);
  sizeSlider_->setFixedWidth(70);
  sizeText->setBuddy(sizeSlider_);
  sizeLabel_ = new QLabel(this);
  sizeLabel_->setObjectName("PortraitsSizeLabel");
  sizeLabel_->setMinimumWidth(32);

  beforeAfter_ = new QCheckBox("&Before and after", this);
  beforeAfter_->setObjectName("BeforeAfterBox");
  beforeAfter_->setAccessibleName("Before and after");
  beforeAfter_->setToolTip("Each portrait beside the picture the run replaced");
  MarkShowsOnly(beforeAfter_);

  auto* exportButton = new QPushButton("Export &Contact Sheet...", this);
  exportButton->setObjectName("ExportSheetBtn");
  exportButton->setAccessibleName("Export Contact Sheet");
  MarkShowsOnly(exportButton);

  auto* top = new QHBoxLayout;
  top->addWidget(showLabel);
  top->addWidget(showBox_);
  top->addWidget(teamBox_, 1);
  top->addSpacing(8);
  top->addWidget(sizeText);
  top->addWidget(sizeSlider_);
  top->addWidget(sizeLabel_);
  top->addWidget(beforeAfter_);
  top->addStretch(1);

  view_ = new QListView(this);
  view_->setObjectName("PortraitsView");
  view_->setAccessibleName("Portraits");
  view_->setViewMode(QListView::IconMode);
  view_->setMovement(QListView::Static);
  view_->setResizeMode(QListView::Adjust);
  view_->setWrapping(true);
  view_->setUniformItemSizes(true);
  view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  view_->setContextMenuPolicy(Qt::CustomContextMenu);
  view_->setModel(model_);
  view_->setItemDelegate(new PortraitDelegate(*model_, scale_, view_));
  QPalette white = view_->palette();
  white.setColor(QPalette::Base, Qt::white);
  view_->setPalette(white);

  count_ = new QLabel(this);
  count_->setObjectName("PortraitsCount");
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(count_, 1);
  bottom->addWidget(exportButton);

  Body()->addLayout(top);
  Body()->addWidget(view_, 1);
  Body()->addLayout(bottom);
  MarkShowsOnly(DoneButton());

  menu_ = new QMenu(this);
  menu_->setObjectName("PortraitsMenu");
  QAction* newLook = MenuItem(menu_, "PortraitNewLook", "New &Look");
  QAction* newPhoto = MenuItem(menu_, "PortraitNewPhoto", "Make New &Photo");
  QAction* lock = MenuItem(menu_, "PortraitLock", "Loc&k / Unlock");
  menu_->addSeparator();
  QAction* folder = MenuItem(menu_, "PortraitFolder", "Open Picture &Folder");
  connect(newLook, &QAction::triggered, this, [this] { NewLook(); });
  connect(newPhoto, &QAction::triggered, this, [this] { MakeNewPhoto(); });
  connect(lock, &QAction::triggered, this, [this] { LockUnlock(); });
  connect(folder, &QAction::triggered, this, [this] { OpenPictureFolder(); });
  // The items that write: none while something else writes.
  connect(&commands_, &CommandGuard::BusyChanged, this, [newLook, newPhoto, lock](bool busy) {
    for (QAction* action : {newLook, newPhoto, lock}) action->setEnabled(!busy);
  });
  connect(view_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { menu_->popup(view_->viewport()->mapToGlobal(at)); });

  connect(view_, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
    if (index.isValid()) emit OpenPlayer(index.data(ThumbnailModel::PlayerIdRole).toInt());
  });
  connect(showBox_, &QComboBox::activated, this, [this](int mode) { Show(Mode(mode)); });
  connect(teamBox_, &QComboBox::activated, this, [this](int) {
    if (teamBox_->currentIndex() >= 0) ShowTeam(teamBox_->currentData().toInt());
  });
  connect(sizeSlider_, &QSlider::valueChanged, this, [this](int step) { SetSizeStep(step); });
  connect(beforeAfter_, &QCheckBox::toggled, this, [this](bool on) {
    model_->SetBeforeShown(on);
    UpdateGrid();
  });
  connect(exportButton, &QPushButton::clicked, this, [this] { ExportContactSheet(); });

  SetSizeStep(0);
  UpdateBeforeAfter();
}

void PortraitsPage::Open(std::optional<int> dashboardTeam) {
  commands_.Show([this, dashboardTeam] {
    if (!GameLoadedGuard(session_)) return;
    if (!shownOnce_) {
      if (dashboardTeam) {
        ShowTeam(*dashboardTeam);
      } else if (!teams_.empty()) {
        ShowTeam(teams_.front().teamId);
      }
    }
    session_.ShowPage(kPortraitsPage);
    view_->setFocus();
  });
}

void PortraitsPage::Show(Mode mode) {
  switch (mode) {
    case Mode::Team:
      if (teamBox_->currentIndex() >= 0) ShowTeam(teamBox_->currentData().toInt());
      break;
    case Mode::LastRun:
      ShowLastRun();
      break;
    case Mode::Search:
      ShowSearch();
      break;
  }
}

void PortraitsPage::ShowMode(Mode mode) {
  showBox_->setCurrentIndex(static_cast<int>(mode));
  // A run or a search is no team's: the box would name one that has nothing to do with them.
  teamBox_->setVisible(mode == Mode::Team);
  shownOnce_ = true;
  const int shown = model_->rowCount();
  count_->setText(shown == 1 ? QString("1 portrait") : QString("%1 portraits").arg(shown));
  if (shown > 0) view_->setCurrentIndex(model_->index(0));
  view_->scrollToTop();
  UpdateBeforeAfter();
}

void PortraitsPage::ShowTeam(int teamId) {
  commands_.Show([this, teamId] {
    Gallery gallery = TeamGallery(session_, teamId);
    const int item = teamBox_->findData(teamId);
    if (item >= 0) teamBox_->setCurrentIndex(item);
    model_->SetGallery(std::move(gallery));
    ShowMode(Mode::Team);
  });
}

void PortraitsPage::ShowLastRun() {
  commands_.Show([this] {
    if (!lastRun_) {
      model_->SetGallery({});
    } else {
      // Only a run that wrote over pictures has earlier ones to read from its backup.
      model_->SetGallery(
          RunGallery(session_, lastRun_->players,
                     lastRun_->kept > 0 ? lastRun_->backupFolder : std::filesystem::path()));
    }
    ShowMode(Mode::LastRun);
  });
}

void PortraitsPage::ShowSearch() {
  commands_.Show([this] {
    model_->SetGallery(SearchGallery(session_));
    ShowMode(Mode::Search);
  });
}

void PortraitsPage::ShowTeams(const std::vector<TeamItem>& teams) {
  teams_ = teams;
  teamBox_->clear();
  for (const TeamItem& team : teams) teamBox_->addItem(Text(team.text), team.teamId);
  if (teams.empty()) {
    // The game was closed: nothing of it stays on the page.
    model_->SetGallery({});
    model_->Reload();
    lastRun_.reset();
    shownOnce_ = false;
    if (showThem_ != nullptr) showThem_->hide();
    ShowMode(Mode::Team);
    shownOnce_ = false;
  }
}

void PortraitsPage::RunEnded(const RunResult& result) {
  if (result.made == 0) return;
  lastRun_ = result;
  if (showThem_ != nullptr) showThem_->show();
  // The pictures the page shows may be among those the run wrote.
  model_->Reload(result.players);
  if (Showing() == Mode::LastRun) ShowLastRun();
}

QPushButton* PortraitsPage::MakeShowThemButton(QWidget* parent) {
  showThem_ = new QPushButton("Show them", parent);
  showThem_->setObjectName("ShowThemBtn");
  showThem_->setAccessibleName("Show the portraits of the last run");
  showThem_->hide();
  MarkShowsOnly(showThem_);
  connect(showThem_, &QPushButton::clicked, this, [this] {
    ShowLastRun();
    session_.ShowPage(kPortraitsPage);
    view_->setFocus();
  });
  return showThem_;
}

void PortraitsPage::SetSizeStep(int step) {
  step = std::clamp(step, 0, 2);
  scale_ = kScales[step];
  if (sizeSlider_->value() != step) sizeSlider_->setValue(step);
  sizeLabel_->setText(QString::fromUtf8(step == 0   ? "1\u00d7"
                                        : step == 1 ? "1.5\u00d7"
                                                    : "2\u00d7"));
  UpdateGrid();
}

void PortraitsPage::UpdateGrid() {
  const QSize cell = PortraitDelegate::CellSize(model_->BeforeShown(), scale_);
  view_->setGridSize(cell);
  view_->setIconSize(cell);
  view_->doItemsLayout();
  view_->viewport()->update();
}

void PortraitsPage::UpdateBeforeAfter() {
  bool any = false;
  if (Showing() == Mode::LastRun) {
    for (const GalleryPlayer& player : model_->Shown().players) {
      if (!player.before.empty()) {
        any = true;
        break;
      }
    }
  }
  beforeAfter_->setEnabled(any);
  if (!any && beforeAfter_->isChecked()) beforeAfter_->setChecked(false);
}

void PortraitsPage::PicturesChanged() {
  model_->Reload();
}

std::vector<int> PortraitsPage::SelectedPlayers() const {
  std::vector<int> ids;
  QModelIndexList rows = view_->selectionModel()->selectedIndexes();
  std::sort(rows.begin(), rows.end(),
            [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
  for (const QModelIndex& row : rows) ids.push_back(row.data(ThumbnailModel::PlayerIdRole).toInt());
  if (ids.empty() && view_->currentIndex().isValid()) {
    ids.push_back(view_->currentIndex().data(ThumbnailModel::PlayerIdRole).toInt());
  }
  return ids;
}

void PortraitsPage::NewLook() {
  const std::vector<int> ids = SelectedPlayers();
  if (ids.empty()) return;
  commands_.Write([this, ids] {
    try {
      NewLooks(session_, ids);
    } catch (...) {
      model_->Reload(ids);
      throw;
    }
    model_->Reload(ids);
  });
}

void PortraitsPage::MakeNewPhoto() {
  const std::vector<int> ids = SelectedPlayers();
  if (ids.empty()) return;
  const int id = view_->currentIndex().isValid()
                     ? view_->currentIndex().data(ThumbnailModel::PlayerIdRole).toInt()
                     : ids.front();
  commands_.Write([this, id] {
    likentor::MakeNewPhoto(session_, id);
    model_->Reload({id});
  });
}

void PortraitsPage::LockUnlock() {
  const std::vector<int> ids = SelectedPlayers();
  if (ids.empty()) return;
  // All locked: they are unlocked; otherwise all are locked.
  bool allLocked = true;
  for (int id : ids) {
    const int row = model_->RowOf(id);
    if (row >= 0 && !model_->Player(row).locked) allLocked = false;
  }
  commands_.Write([this, ids, allLocked] {
    SetPlayersLocked(session_, ids, !allLocked);
    model_->SetLocked(ids, !allLocked);
  });
}

void PortraitsPage::OpenPictureFolder() {
  commands_.Show([this] {
    if (!GameLoadedGuard(session_)) return;
    const std::filesystem::path folder = session_.Game().Saved.picturesFolder;
    const QString path = QString::fromStdString(folder.string());
    if (!openFolder_(QUrl::fromLocalFile(path))) {
      session_.UserPrompts().ShowMessage("No file manager opened. The pictures are in " +
                                         folder.string() + ".");
    }
  });
}

void PortraitsPage::ExportContactSheet() {
  commands_.Show([this] {
    if (!GameLoadedGuard(session_)) return;
    const Gallery& gallery = model_->Shown();
    if (gallery.players.empty()) {
      session_.UserPrompts().ShowMessage("The portraits page shows no portraits to export.");
      return;
    }
    const std::filesystem::path suggested = session_.Game().Saved.picturesFolder.parent_path() /
                                            (session_.LoadedGameName() + "_sheet.png");
    std::filesystem::path file =
        session_.UserPrompts().ChooseSaveFile("PNG images (*.png)|*.png", suggested);
    if (file.empty()) return;
    if (file.extension().empty()) file += ".png";
    WriteGallerySheet(gallery, file);
    session_.UserPrompts().ShowMessage(
        "Contact sheet of " + std::to_string(gallery.players.size()) +
        (gallery.players.size() == 1 ? " portrait: " : " portraits: ") + file.string());
  });
}

}  // namespace likentor
