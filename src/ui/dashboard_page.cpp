#include "ui/dashboard_page.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <climits>

#include "app/batch_runs.h"

namespace likentor {

namespace {

// The groups stay readable over the background picture: each lies on a nearly opaque white card,
// drawn under the style's own frame and caption.
class CardGroup : public QGroupBox {
 public:
  CardGroup(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 235));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    painter.end();
    QGroupBox::paintEvent(event);
  }
};

QGroupBox* Group(const char* name, const char* title, QWidget* parent) {
  auto* group = new CardGroup(title, parent);
  QFont bold = group->font();
  bold.setBold(true);
  group->setFont(bold);
  group->setObjectName(name);
  group->setAccessibleName(title);
  return group;
}

template <typename W>
W* Named(W* widget, const char* name, const QString& label) {
  widget->setObjectName(name);
  widget->setAccessibleName(label);
  return widget;
}

// "Do it!" with "What will this do?" beside it.
QHBoxLayout* GoButtons(QPushButton* go, QPushButton* dryRun) {
  auto* row = new QHBoxLayout;
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(go);
  row->addWidget(dryRun);
  row->addStretch(1);
  return row;
}

// A whole-number box with no bounds to speak of.
QSpinBox* NumberBox(const char* name, const QString& label, int minimum, QWidget* parent) {
  auto* box = Named(new QSpinBox(parent), name, label);
  box->setRange(minimum, INT_MAX);
  box->setAccelerated(true);
  return box;
}

// The text field of an editable drop-down reads as the drop-down's name.
void NameTextField(QComboBox* box) {
  if (QLineEdit* field = box->lineEdit()) field->setAccessibleName(box->accessibleName());
}

// A label that names the control under it, for screen readers and access keys.
QLabel* LabelFor(const QString& text, QWidget* control, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(control);
  return label;
}

}  // namespace

DashboardPage::DashboardPage(const QPixmap& background, QWidget* parent)
    : QWidget(parent), background_(background) {
  setObjectName("DashboardPage");
  setAccessibleName("Dashboard");

  QGroupBox* universe = MakeUniverseGroup();
  QGroupBox* team = MakeTeamGroup();
  QGroupBox* player = MakePlayerGroup();
  QGroupBox* tools = MakeToolBox();
  QGroupBox* errors = MakeErrorsGroup();
  // Captions are bold; the controls in the groups keep the page's font.
  QFont normal = font();
  normal.setBold(false);
  for (QGroupBox* group : {universe, team, player, tools, errors}) {
    for (QWidget* child : group->findChildren<QWidget*>()) child->setFont(normal);
  }
  // The log's starting size; the other groups take what their texts need.
  errors->setMinimumSize(249, 201);

  auto* left = new QVBoxLayout;
  left->addWidget(universe);
  left->addStretch(1);
  auto* middle = new QVBoxLayout;
  middle->addWidget(team);
  middle->addWidget(player);
  middle->addStretch(1);
  auto* right = new QVBoxLayout;
  right->addWidget(tools);
  right->addWidget(errors, 1);

  // The two left columns keep their groups' natural widths; the right column, with the log, takes
  // what is left.
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->addLayout(left, 0);
  layout->addLayout(middle, 0);
  layout->addLayout(right, 1);

  // Tab order follows the groups: left column, then middle, then right.
  QWidget* order[] = {activeBox_,  retiredBox_,     abEdit_,   ipEdit_, levelBox_,
                      universeGo_, universeDryRun_, teamBox_,  teamGo_, teamDryRun_,
                      firstName_,  lastName_,       playerId_, search_, logosBox_};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
  setTabOrder(logosBox_, spreadBox_);
  setTabOrder(spreadBox_, agingBox_);
  QWidget* previous = agingBox_;
  for (QPushButton* button : findChildren<QPushButton*>()) {
    if (button->parentWidget() != tools) continue;
    setTabOrder(previous, button);
    previous = button;
  }
  setTabOrder(previous, errorsBox_);

  ShowSettings(std::nullopt);
}

QGroupBox* DashboardPage::MakeUniverseGroup() {
  QGroupBox* group = Group("UniverseSettingsBox", "Universe at a Time", this);
  activeBox_ = Named(new QCheckBox("Make photos for active players", group), "DBCheckBox1",
                     "Make photos for active players");
  retiredBox_ = Named(new QCheckBox("Make photos for retired players", group), "DBCheckBox2",
                      "Make photos for retired players");
  abEdit_ = NumberBox("ActMinABEdit", "Minimum AB's", 0, group);
  ipEdit_ = NumberBox("ActMinIPEdit", "Minimum IP's", 0, group);
  levelBox_ = Named(new QComboBox(group), "LevelScopeBox", "For players down to level:");
  for (const char* item : kLevelScopeItems) levelBox_->addItem(item);
  levelBox_->setCurrentIndex(0);
  // The two "Do it!" and the two "What will this do?" read apart to a screen reader.
  universeGo_ =
      Named(new QPushButton("Do it!", group), "UniverseGoBtn", "Make photos for the universe");

  auto* numbers = new QFormLayout;
  numbers->setContentsMargins(0, 0, 0, 0);
  numbers->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  numbers->addRow(LabelFor("Minimum AB's", abEdit_, group), abEdit_);
  numbers->addRow(LabelFor("Minimum IP's", ipEdit_, group), ipEdit_);

  auto* layout = new QVBoxLayout(group);
  layout->addWidget(activeBox_);
  layout->addWidget(retiredBox_);
  layout->addLayout(numbers);
  layout->addWidget(LabelFor("For players down to level:", levelBox_, group));
  layout->addWidget(levelBox_);
  universeDryRun_ = Named(new QPushButton("What will this do?", group), "UniverseDryRunBtn",
                          "What will a universe run do?");
  layout->addLayout(GoButtons(universeGo_, universeDryRun_));

  connect(activeBox_, &QCheckBox::toggled, this, [this](bool on) {
    emit SettingEdited({"create_active_photos", on});
  });
  connect(retiredBox_, &QCheckBox::toggled, this, [this](bool on) {
    emit SettingEdited({"create_retired_photos", on});
  });
  connect(abEdit_, &QSpinBox::valueChanged, this, [this](int value) {
    emit SettingEdited({"active_ab_minimum", value});
  });
  connect(ipEdit_, &QSpinBox::valueChanged, this, [this](int value) {
    emit SettingEdited({"active_ip_minimum", value});
  });

  activeBox_->setToolTip("Active players get a photo when you make photos for the universe.");
  retiredBox_->setToolTip("Retired players get a photo when you make photos for the universe.");
  // The game's stored minimums for retired players are not used: both kinds of players are held
  // to these two.
  abEdit_->setToolTip(
      "Players need at least this many career at-bats, or the innings below, to "
      "get a photo (active and retired players alike).");
  ipEdit_->setToolTip(
      "Players need at least this many career innings pitched, or the at-bats "
      "above, to get a photo (active and retired players alike).");
  levelBox_->setToolTip("Only players in leagues of this level or higher get a photo.");
  universeGo_->setToolTip("Make new photos now for every player these settings take in.");
  universeDryRun_->setToolTip(
      "Count the players these settings would give a new photo, and why "
      "others are skipped, without changing anything.");
  connect(universeGo_, &QPushButton::clicked, this, &DashboardPage::UniverseGoClicked);
  connect(universeDryRun_, &QPushButton::clicked, this, &DashboardPage::UniverseDryRunClicked);
  return group;
}

QGroupBox* DashboardPage::MakeTeamGroup() {
  QGroupBox* group = Group("TeamSettingsBox", "Team at a Time", this);
  teamBox_ = Named(new QComboBox(group), "TeamLookupBox", "Team");
  teamBox_->setEditable(true);
  NameTextField(teamBox_);
  teamBox_->setInsertPolicy(QComboBox::NoInsert);
  teamBox_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  teamBox_->setMinimumContentsLength(14);
  teamGo_ = Named(new QPushButton("Do it!", group), "TeamGoBtn", "Make photos for the chosen team");
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(teamBox_);
  teamDryRun_ = Named(new QPushButton("What will this do?", group), "TeamDryRunBtn",
                      "What will a team run do?");
  layout->addLayout(GoButtons(teamGo_, teamDryRun_));
  teamBox_->setToolTip("The team to make photos for: pick it from the list or type its name.");
  teamGo_->setToolTip("Make new photos now for the players of this team who need one.");
  teamDryRun_->setToolTip(
      "Count the players of this team who would get a new photo, without "
      "changing anything.");
  connect(teamGo_, &QPushButton::clicked, this, &DashboardPage::TeamGoClicked);
  connect(teamDryRun_, &QPushButton::clicked, this, &DashboardPage::TeamDryRunClicked);
  return group;
}

QGroupBox* DashboardPage::MakePlayerGroup() {
  QGroupBox* group = Group("PlayerSettingsBox", "Player at a Time", this);
  firstName_ = Named(new QLineEdit(group), "FirstNameBox", "First Name");
  lastName_ = Named(new QLineEdit(group), "LastNameBox", "Last Name");
  playerId_ = NumberBox("PlayerIDBox", "Player ID", INT_MIN, group);
  playerId_->setValue(0);
  search_ = Named(new QPushButton("Search", group), "PlayerSearchBtn", "Search");
  auto* form = new QFormLayout;
  form->setContentsMargins(0, 0, 0, 0);
  form->addRow(LabelFor("First Name", firstName_, group), firstName_);
  form->addRow(LabelFor("Last Name", lastName_, group), lastName_);
  form->addRow(LabelFor("Player ID", playerId_, group), playerId_);
  auto* layout = new QVBoxLayout(group);
  layout->addLayout(form);
  layout->addWidget(search_, 0, Qt::AlignLeft);
  firstName_->setToolTip("Find players whose first name starts with this.");
  lastName_->setToolTip("Find players whose last name starts with this.");
  playerId_->setToolTip("Find the player with this id (0: find by the names instead).");
  search_->setToolTip("Show the players found, to look at, edit or make a photo for one of them.");
  connect(search_, &QPushButton::clicked, this, &DashboardPage::SearchClicked);
  // Return in a search field searches.
  connect(firstName_, &QLineEdit::returnPressed, search_, &QPushButton::click);
  connect(lastName_, &QLineEdit::returnPressed, search_, &QPushButton::click);
  return group;
}

QGroupBox* DashboardPage::MakeToolBox() {
  QGroupBox* group = Group("ToolBox", "ToolBox", this);
  logosBox_ = Named(new QCheckBox("Use Logos in Generic Uniforms?", group), "UseLogosCheckBox",
                    "Use Logos in Generic Uniforms?");
  connect(logosBox_, &QCheckBox::toggled, this, [this](bool on) {
    emit SettingEdited({"use_logos", on});
  });
  spreadBox_ = Named(new QCheckBox("Different faces within a team", group), "SpreadFacesCheckBox",
                     "Different faces within a team");
  connect(spreadBox_, &QCheckBox::toggled, this, [this](bool on) {
    emit SettingEdited({"spread_faces", on});
  });
  agingBox_ = Named(new QCheckBox("Players age with their careers", group), "PlayersAgeCheckBox",
                    "Players age with their careers");
  connect(agingBox_, &QCheckBox::toggled, this, [this](bool on) {
    emit SettingEdited({"players_age", on});
  });
  agingBox_->setToolTip(
      "Draw lines and grey hair on players with long careers; a player's photo is made anew "
      "when he reaches the next age.");

  logosBox_->setToolTip(
      "Put the team's logo on the uniforms drawn for teams without a custom "
      "uniform.");
  spreadBox_->setToolTip(
      "Give the players of one team different faces rather than similar "
      "ones.");
  struct ToolButton {
    const char* name;
    const char* text;
    void (DashboardPage::*clicked)();
    const char* tip;
  };
  const ToolButton buttons[] = {
      {"SaveSettingsBtn", "Save Current Settings", &DashboardPage::SaveSettingsClicked,
       "Keep the settings above for this saved game (they are lost at exit otherwise)."},
      {"CustomUniformsBtn", "Custom Uniforms", &DashboardPage::CustomUniformsClicked,
       "Choose your own uniform picture for a team."},
      {"LocksBtn", "Lock/Unlock Photos", &DashboardPage::LocksClicked,
       "Lock photos so that no run replaces them, or unlock them."},
      {"EthnicityBtn", "Nations/Ethnicity Data", &DashboardPage::EthnicityClicked,
       "How often players of each nation get each kind of face."},
      {"FacialHairBtn", "Facial Hair Frequency", &DashboardPage::FacialHairClicked,
       "How often each beard and moustache is drawn."},
      {"InstallBtn", "Install Components", &DashboardPage::InstallClicked,
       "Add art packs: more faces, accessories, uniform styles and facial hair."},
  };
  auto* grid = new QGridLayout;
  grid->setContentsMargins(0, 0, 0, 0);
  int index = 0;
  for (const ToolButton& b : buttons) {
    auto* button = Named(new QPushButton(b.text, group), b.name, b.text);
    button->setToolTip(b.tip);
    grid->addWidget(button, index % 3, index / 3);
    connect(button, &QPushButton::clicked, this, b.clicked);
    // Each of them opens a page that edits or saves a row: none while something writes.
    tableButtons_.push_back(button);
    ++index;
  }
  // The portraits page only shows: it stays usable while something writes.
  auto* portraits = Named(new QPushButton("Portraits", group), "PortraitsBtn", "Portraits");
  portraits->setToolTip("See the photos of a team, of the last run or of a search side by side.");
  grid->addWidget(portraits, index % 3, index / 3);
  connect(portraits, &QPushButton::clicked, this, &DashboardPage::PortraitsClicked);
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(logosBox_);
  layout->addWidget(spreadBox_);
  layout->addWidget(agingBox_);
  layout->addLayout(grid);
  return group;
}

QGroupBox* DashboardPage::MakeErrorsGroup() {
  QGroupBox* group = Group("ErrorsGroup", "Errors Log", this);
  errorsBox_ = Named(new QPlainTextEdit(group), "ErrorsBox", "Errors Log");
  errorsBox_->setReadOnly(true);
  errorsBox_->setToolTip("What went wrong so far (Tools > Clear Errors File empties it).");
  errorsBox_->setFrameShape(QFrame::NoFrame);
  errorsBox_->setLineWrapMode(QPlainTextEdit::NoWrap);
  errorsBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  errorsBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QPalette red = errorsBox_->palette();
  red.setColor(QPalette::Text, Qt::red);
  red.setColor(QPalette::Base, Qt::white);
  errorsBox_->setPalette(red);
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(errorsBox_);
  return group;
}

void DashboardPage::ShowSettings(const std::optional<BoundSettings>& settings) {
  const QSignalBlocker b1(activeBox_), b2(retiredBox_), b3(abEdit_), b4(ipEdit_), b5(logosBox_);
  hasSettings_ = settings.has_value();
  const BoundSettings shown = settings.value_or(BoundSettings{});
  activeBox_->setChecked(shown.createActivePhotos);
  retiredBox_->setChecked(shown.createRetiredPhotos);
  abEdit_->setValue(shown.abMinimum);
  ipEdit_->setValue(shown.ipMinimum);
  logosBox_->setChecked(shown.useLogos);
  const QSignalBlocker b6(spreadBox_);
  spreadBox_->setChecked(shown.spreadFaces);
  const QSignalBlocker b7(agingBox_);
  agingBox_->setChecked(shown.playersAge);
  UpdateEnabled();
}

void DashboardPage::ShowTeams(const std::vector<TeamItem>& teams) {
  teamBox_->clear();
  for (const TeamItem& team : teams) {
    teamBox_->addItem(QString::fromStdString(team.text), team.teamId);
  }
  teamBox_->setCurrentIndex(-1);
}

void DashboardPage::ShowErrors(const std::vector<std::string>& lines) {
  QStringList text;
  for (const std::string& line : lines) text << QString::fromStdString(line);
  errorsBox_->setPlainText(text.join('\n'));
}

void DashboardPage::SetBackground(const QPixmap& background) {
  background_ = background;
  update();
}

void DashboardPage::SetRunning(bool running) {
  running_ = running;
  UpdateEnabled();
}

void DashboardPage::UpdateEnabled() {
  const bool bound = hasSettings_ && !running_;
  for (QWidget* w :
       std::initializer_list<QWidget*>{activeBox_, retiredBox_, abEdit_, ipEdit_, logosBox_}) {
    w->setEnabled(bound);
  }
  spreadBox_->setEnabled(bound);
  agingBox_->setEnabled(bound);
  // Every control that starts a command or feeds one; the errors box stays to be read.
  for (QWidget* w :
       std::initializer_list<QWidget*>{universeGo_, teamGo_, search_, universeDryRun_, teamDryRun_,
                                       levelBox_, teamBox_, firstName_, lastName_, playerId_}) {
    w->setEnabled(!running_);
  }
  for (QPushButton* button : tableButtons_) button->setEnabled(!running_);
}

int DashboardPage::LevelScopeIndex() const {
  return levelBox_->currentIndex();
}

std::optional<int> DashboardPage::ChosenTeam() const {
  int index = teamBox_->currentIndex();
  // Typed text that is no item's text leaves no team chosen.
  if (index < 0 || teamBox_->itemText(index) != teamBox_->currentText()) {
    index = teamBox_->findText(teamBox_->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
  }
  if (index < 0) return std::nullopt;
  return teamBox_->itemData(index).toInt();
}

PlayerSearch DashboardPage::Search() const {
  return {firstName_->text().toStdString(), lastName_->text().toStdString(), playerId_->value()};
}

void DashboardPage::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (background_.isNull()) {
    painter.fillRect(rect(), Qt::white);
  } else {
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), background_);
  }
  QWidget::paintEvent(event);
}

}  // namespace likentor
