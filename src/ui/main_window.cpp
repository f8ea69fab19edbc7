#include "ui/main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <exception>
#include <memory>

#include "app/dry_run.h"
#include "app/game_load.h"
#include "app/game_settings.h"
#include "app/loaded_game.h"
#include "app/navigation.h"
#include "app/player_looks.h"
#include "app/player_search.h"
#include "app/run_backup.h"
#include "app/setup.h"
#include "app/undo_run.h"
#include "app/universal_tables.h"
#include "app/write_command.h"
#include "shell/error_log.h"
#include "ui/about_box.h"
#include "ui/accessories_page.h"
#include "ui/artwork.h"
#include "ui/command_guard.h"
#include "ui/dashboard_page.h"
#include "ui/data_grid.h"
#include "ui/facial_hair_page.h"
#include "ui/help_window.h"
#include "ui/install_page.h"
#include "ui/locks_page.h"
#include "ui/nations_page.h"
#include "ui/page_focus.h"
#include "ui/player_page.h"
#include "ui/portraits_page.h"
#include "ui/safe_run_dialogs.h"
#include "ui/uniforms_page.h"

namespace likentor {

namespace {

// The progress bar's colour: sky blue.
const QColor kBarColor(166, 202, 240);

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The settings row the dashboard's bound controls show: the games table's current row, none
// before the first load of a program folder whose games table is still empty.
std::optional<BoundSettings> ReadBoundSettings(Session& session) {
  Table& games = session.Universal().GamesTable;
  if (!games.IsOpen() || games.RecordCount() == 0) return std::nullopt;
  BoundSettings settings;
  settings.useLogos = games.GetBool("use_logos");
  settings.createActivePhotos = games.GetBool("create_active_photos");
  settings.createRetiredPhotos = games.GetBool("create_retired_photos");
  settings.abMinimum = games.GetInt("active_ab_minimum", 0);
  settings.ipMinimum = games.GetInt("active_ip_minimum", 0);
  for (const FieldDef& field : games.Fields()) {
    if (field.name == "spread_faces") settings.spreadFaces = games.GetBool("spread_faces");
    if (field.name == "players_age") settings.playersAge = games.GetBool("players_age");
  }
  return settings;
}

// The errors log's size and modification time, to tell whether its box is behind.
std::string LogStamp(const std::filesystem::path& file) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(file, ec);
  if (ec) return {};
  const auto time = std::filesystem::last_write_time(file, ec);
  return std::to_string(size) + "/" + std::to_string(time.time_since_epoch().count());
}

// The user's own settings of the window (its place, size, recent games): in the user's
// configuration folder, apart from the program folder's configuration.
std::unique_ptr<QSettings> UserSettings() {
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, "likentor",
                                     "window");
}

// The keys of a command: `key` first (shown in the menu), then the platform's own for it.
QList<QKeySequence> Keys(const QKeySequence& key, QKeySequence::StandardKey standard) {
  QList<QKeySequence> keys{key};
  for (const QKeySequence& other : QKeySequence::keyBindings(standard)) {
    if (!keys.contains(other)) keys << other;
  }
  return keys;
}

// Set on the controls that SetBusy greyed, so that it gives back exactly those.
constexpr const char* kGreyedWhileBusy = "greyedWhileBusy";

}  // namespace

std::string MainWindow::QuitQuestion(const std::string& busyWith) {
  if (busyWith == kPhotoRunCommand) return "A photo run is going. Stop it and quit?";
  return "Likentor is busy with " + busyWith + ". Stop it and quit?";
}

MainWindow::MainWindow(Session& session, QWidget* parent)
    : QMainWindow(parent), session_(session), commands_(new CommandGuard(session, this)) {
  setObjectName("MainForm");
  setWindowTitle(Text(kIdleCaption));
  resize(728, 600);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);

  BuildPages();
  BuildMenus();

  auto* status = new QStatusBar(this);
  status->setObjectName("StatusBar");
  status->setSizeGripEnabled(true);
  statusText_ = new QLabel(Text(kNoGameLoaded), status);
  statusText_->setObjectName("StatusText");
  status->addWidget(statusText_, 1);
  status->addPermanentWidget(portraitsPage_->MakeShowThemButton(status));
  setStatusBar(status);

  about_ = new AboutBox(QPixmap(), this);
  about_->hide();
  ShowArtwork();
  // The starting size shows the whole dashboard, within the screen; a size the user left is
  // taken instead.
  QSize start = dashboard_->sizeHint() +
                QSize(0, menuBar()->sizeHint().height() + status->sizeHint().height());
  start = start.expandedTo(QSize(728, 600));
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    start = start.boundedTo(screen->availableSize() * 9 / 10);
  }
  resize(start);
  RestoreWindowLayout();

  connect(commands_, &CommandGuard::BusyChanged, this, &MainWindow::SetBusy);
  connect(commands_, &CommandGuard::WorkEnded, this, &MainWindow::WorkDone);
  connect(commands_, &CommandGuard::Logged, this, &MainWindow::RefreshErrors);
  // The log also grows from refused posts, and from the command line in another process: its box
  // follows the file.
  logWatcher_ = new QFileSystemWatcher(this);
  connect(logWatcher_, &QFileSystemWatcher::fileChanged, this, [this] { RefreshErrors(); });

  // Changes of the session may come from a run's thread: they are handed to the window's thread.
  session_.SetStateListener([this](StateChange change, const WindowState& state) {
    if (QThread::currentThread() == thread()) {
      ApplyState(change, state);
    } else {
      QMetaObject::invokeMethod(
          this, [this, change, state] { ApplyState(change, state); }, Qt::QueuedConnection);
    }
  });
  session_.Progress().SetListener([this](const ProgressReport& report) {
    if (QThread::currentThread() == thread()) {
      ApplyProgress(report);
    } else {
      QMetaObject::invokeMethod(
          this, [this, report] { ApplyProgress(report); }, Qt::QueuedConnection);
    }
  });
}

MainWindow::~MainWindow() {
  // Work still going is stopped; a question it asks meanwhile is answered on this thread.
  if (RunGoing()) {
    quitWhenDone_ = false;
    commands_->CancelWork();
    while (RunGoing()) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  session_.SetStateListener({});
  session_.Progress().SetListener({});
}

void MainWindow::BuildPages() {
  pages_ = new QStackedWidget(this);
  pages_->setObjectName("PageControl");
  dashboard_ = new DashboardPage(QPixmap(), pages_);
  // The dashboard scrolls when the window is smaller than its groups need, rather than clipping
  // them; the window's own minimum then comes from the other pages.
  auto* dashboardScroll = new QScrollArea(pages_);
  dashboardScroll->setObjectName("DashboardScroll");
  dashboardScroll->setFrameShape(QFrame::NoFrame);
  dashboardScroll->setWidgetResizable(true);
  dashboardScroll->setWidget(dashboard_);
  auto* uniforms = new UniformsPage(session_, *commands_, pages_);
  playerPage_ = new PlayerPage(session_, *commands_, pages_);
  auto* install = new InstallPage(session_, *commands_, pages_);
  auto* locks = new LocksPage(session_, *commands_, pages_);
  auto* nations = new NationsPage(session_, *commands_, pages_);
  auto* facialHair = new FacialHairPage(session_, *commands_, pages_);
  auto* accessories = new AccessoriesPage(session_, *commands_, pages_);
  portraitsPage_ = new PortraitsPage(session_, *commands_, pages_);
  // In the order of the session's Page numbers.
  for (QWidget* page :
       std::initializer_list<QWidget*>{dashboardScroll, uniforms, playerPage_, install, locks,
                                       nations, facialHair, accessories, portraitsPage_}) {
    pages_->addWidget(page);
  }
  connect(portraitsPage_, &PortraitsPage::OpenPlayer, this, [this](int id) {
    commands_->Write([this, id] {
      if (!likentor::PlayerSearchBtnClick(session_, PlayerSearch{"", "", id})) return;
      playerPage_->ShowMatches(session_.Game().PlayersQuery.RecordCount());
    });
  });
  connect(commands_, &CommandGuard::WorkEnded, portraitsPage_, &PortraitsPage::PicturesChanged);
  connect(dashboard_, &DashboardPage::PortraitsClicked, this,
          [this] { portraitsPage_->Open(dashboard_->ChosenTeam()); });
  const auto home = [this] { commands_->Show([this] { session_.ShowPage(kDashboardPage); }); };
  connect(uniforms, &DonePage::DoneClicked, this, [this] { Show(&UniformsDoneClick); });
  connect(locks, &DonePage::DoneClicked, this, [this] { Show(&LocksDoneClick); });
  // Done of the player page closes the players query that runs use.
  connect(playerPage_, &DonePage::DoneClicked, this, [this] {
    commands_->Write([this] {
      PlayerDoneClick(session_);
      ShowStatus(Text(session_.Window().statusText));
    });
  });
  for (DonePage* page : std::initializer_list<DonePage*>{install, nations, facialHair, accessories,
                                                         portraitsPage_}) {
    connect(page, &DonePage::DoneClicked, this, home);
  }

  connect(dashboard_, &DashboardPage::UniverseGoClicked, this, &MainWindow::UniverseGoBtnClick);
  connect(dashboard_, &DashboardPage::TeamGoClicked, this, &MainWindow::TeamGoBtnClick);
  connect(dashboard_, &DashboardPage::UniverseDryRunClicked, this,
          &MainWindow::UniverseDryRunBtnClick);
  connect(dashboard_, &DashboardPage::TeamDryRunClicked, this, &MainWindow::TeamDryRunBtnClick);
  connect(dashboard_, &DashboardPage::SearchClicked, this, &MainWindow::PlayerSearchBtnClick);
  connect(dashboard_, &DashboardPage::SaveSettingsClicked, this, &MainWindow::SaveSettingsBtnClick);
  connect(dashboard_, &DashboardPage::CustomUniformsClicked, this,
          [this] { Show(&CustomUniforms1Click); });
  connect(dashboard_, &DashboardPage::LocksClicked, this,
          [this] { Show(&ManageLockedPhotos1Click); });
  connect(dashboard_, &DashboardPage::EthnicityClicked, this,
          [this] { Show(&EthnicityData1Click); });
  connect(dashboard_, &DashboardPage::FacialHairClicked, this, [this] { Show(&HairData1Click); });
  connect(dashboard_, &DashboardPage::InstallClicked, this,
          [this] { commands_->Show([this] { session_.ShowPage(kInstallPage); }); });
  connect(dashboard_, &DashboardPage::SettingEdited, this, [this](const SettingChange& change) {
    commands_->Write([this, change] { EditSettings(session_, {change}); });
  });
  // A page's Done only shows another page: it stays usable while something writes.
  for (DonePage* page : std::initializer_list<DonePage*>{uniforms, install, locks, nations,
                                                         facialHair, accessories}) {
    MarkShowsOnly(page->DoneButton());
  }

  progressBar_ = new QProgressBar;
  progressBar_->setObjectName("ProgressBar");
  progressBar_->setAccessibleName("Progress");
  progressBar_->setRange(0, 100);
  progressBar_->setValue(0);
  progressBar_->setTextVisible(true);
  progressBar_->setAlignment(Qt::AlignCenter);
  QPalette bar = progressBar_->palette();
  bar.setColor(QPalette::Highlight, kBarColor);
  bar.setColor(QPalette::HighlightedText, Qt::black);
  progressBar_->setPalette(bar);
  cancelButton_ = new QPushButton("Cancel");
  cancelButton_->setObjectName("CancelRunBtn");
  cancelButton_->setAccessibleName("Cancel");
  connect(cancelButton_, &QPushButton::clicked, this, [this] {
    commands_->CancelWork();
    cancelButton_->setEnabled(false);
  });

  progressRow_ = new QWidget;
  progressRow_->setObjectName("ProgressRow");
  auto* row = new QHBoxLayout(progressRow_);
  row->setContentsMargins(4, 2, 4, 2);
  row->addWidget(progressBar_, 1);
  row->addWidget(cancelButton_);
  progressRow_->hide();

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(pages_, 1);
  layout->addWidget(progressRow_);
  setCentralWidget(central);
}

void MainWindow::BuildMenus() {
  // `writes`: the item starts a writing command (or opens a page that edits), greyed while
  // anything writes.
  const auto add = [this](QMenu* menu, const char* name, const QString& text, bool writes,
                          auto handler) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, handler);
    if (writes) writingActions_.push_back(action);
    return action;
  };
  const auto page = [this](void (*command)(Session&)) {
    return [this, command] { Show(command); };
  };

  QMenu* file = menuBar()->addMenu("&File");
  file->setObjectName("File1");
  add(file, "LoadGame1", "&Load Game...", true, [this] {
    LoadGame1Click();
  })->setShortcuts(Keys(Qt::CTRL | Qt::Key_O, QKeySequence::Open));
  recentMenu_ = file->addMenu("Open &Recent");
  recentMenu_->setObjectName("OpenRecent1");
  recentMenu_->menuAction()->setObjectName("OpenRecentMenu1");
  writingActions_.push_back(recentMenu_->menuAction());
  ShowRecentGames();
  add(file, "CloseGame1", "&Close Game", true, [this] {
    CloseGame1Click();
  })->setShortcuts(Keys(Qt::CTRL | Qt::Key_W, QKeySequence::Close));
  add(file, "ChangeFolders1", "Change &Folders...", true, [this] {
    commands_->Write([this] { ChangeFolders1Click(session_); });
    RefreshSettings();
    RefreshErrors();
  });
  add(file, "ExportContactSheet1", "Export &Contact Sheet...", false,
      [this] { portraitsPage_->ExportContactSheet(); });
  file->addSeparator();
  add(file, "Exit1", "E&xit", false, [this] {
    close();
  })->setShortcuts(Keys(Qt::CTRL | Qt::Key_Q, QKeySequence::Quit));

  QMenu* tools = menuBar()->addMenu("&Tools");
  tools->setObjectName("Tools1");
  add(tools, "HomePage1", "&Home Page", false,
      [this] { commands_->Show([this] { session_.ShowPage(kDashboardPage); }); });
  tools->addSeparator();
  add(tools, "CustomUniforms1", "Custom &Uniforms", true, page(&CustomUniforms1Click));
  add(tools, "ManageLockedPhotos1", "Manage &Locked Photos", true, page(&ManageLockedPhotos1Click));
  tools->addSeparator();
  add(tools, "EthnicityData1", "&Ethnicity Data", true, page(&EthnicityData1Click));
  add(tools, "HairData1", "&Facial Hair Data", true, page(&HairData1Click));
  add(tools, "Portraits1", "&Portraits", false,
      [this] { portraitsPage_->Open(dashboard_->ChosenTeam()); });
  // The accessories editor has no command of its own elsewhere: it sits beside facial hair.
  add(tools, "AccessoryData1", "&Accessory Data", true, [this] {
    commands_->Show([this] {
      if (GameLoadedGuard(session_)) session_.ShowPage(kAccessoriesPage);
    });
  });
  tools->addSeparator();
  add(tools, "UndoLastRun1", "U&ndo Last Run", true, [this] {
    UndoLastRun1Click();
  })->setShortcuts(Keys(Qt::CTRL | Qt::Key_Z, QKeySequence::Undo));
  add(tools, "KeptRuns1", "&Runs Kept for Undo...", true, [this] { KeptRuns1Click(); });
  tools->addSeparator();
  add(tools, "SpreadFaces1", "&Spread Faces...", true, [this] {
    const std::optional<int> team = dashboard_->ChosenTeam();
    commands_->Start(std::string(kSpreadCommand),
                     [this, team] { SpreadFaces1Click(session_, team); });
  });
  tools->addSeparator();
  add(tools, "Install1", "&Install Components", true,
      [this] { commands_->Show([this] { session_.ShowPage(kInstallPage); }); });
  tools->addSeparator();
  add(tools, "ClearErrorsFile1", "&Clear Errors File", true, [this] { ClearErrorsFile1Click(); });

  QMenu* help = menuBar()->addMenu("&Help");
  help->setObjectName("Help1");
  add(help, "Help1", "Likentor &Help", false, [this] {
    Help1Click();
  })->setShortcut(QKeySequence(Qt::Key_F1));
  add(help, "About1", "&About", false, [this] { About1Click(); });
}

void MainWindow::ShowArtwork() {
  const QIcon icon = ProgramIcon(session_);
  setWindowIcon(icon);
  about_->setWindowIcon(icon);
  dashboard_->SetBackground(DashboardBackground(session_));
  if (auto* logo = about_->findChild<QLabel*>("ProgramIcon")) logo->setPixmap(AboutLogo(session_));
}

MainWindow::Started MainWindow::Start() {
  try {
    session_.Startup(Session::Missing::RunSetup);
  } catch (const StartupDeclined&) {
    return Started::Declined;
  } catch (const std::exception& e) {
    session_.UserPrompts().ShowError(e.what());
    return Started::Failed;
  }
  ShowArtwork();
  dashboard_->ShowErrors(session_.ErrorsBox());
  errorsShown_ = LogStamp(session_.Log().File());
  logWatcher_->addPath(QString::fromStdString(session_.Log().File().string()));
  const WindowState& state = session_.Window();
  for (StateChange change :
       {StateChange::Caption, StateChange::Status, StateChange::Teams, StateChange::Page}) {
    ApplyState(change, state);
  }
  RefreshSettings();
  return Started::Ready;
}

bool MainWindow::RunGoing() const {
  return commands_->WorkGoing();
}

void MainWindow::Show(void (*command)(Session&)) {
  commands_->Show([this, command] { command(session_); });
}

void MainWindow::ApplyState(StateChange change, const WindowState& state) {
  switch (change) {
    case StateChange::Caption:
      setWindowTitle(Text(state.caption));
      break;
    case StateChange::Status:
      ShowStatus(Text(state.statusText));
      break;
    case StateChange::Teams:
      dashboard_->ShowTeams(state.teams);
      portraitsPage_->ShowTeams(state.teams);
      break;
    case StateChange::Page:
      // What a page said (a search's count) stays with it: another page shows the game's status.
      if (pages_->currentIndex() != state.page) ShowStatus(Text(state.statusText));
      pages_->setCurrentIndex(state.page);
      FocusPageLater();
      break;
  }
}

void MainWindow::ApplyProgress(const ProgressReport& report) {
  ShowStatus(Text(report.status));
  progressBar_->setValue(report.position);
  if (report.visible != progressRow_->isVisible()) progressRow_->setVisible(report.visible);
}

void MainWindow::ShowStatus(const QString& text) {
  // The label has no accessible name of its own: its text is its name, and screen readers are
  // told when it changes.
  statusText_->setText(text);
}

void MainWindow::FocusPageLater() {
  focusPending_ = true;
  // After the command that showed the page has ended, when its controls are enabled as they stay.
  QTimer::singleShot(0, this, [this] {
    if (!focusPending_ || commands_->Busy()) return;  // again when the work has ended
    focusPending_ = false;
    FocusFirstControl(pages_->currentWidget());
  });
}

void MainWindow::FocusAfterWork(QWidget* before) {
  // Greyed while the work went, the control that had the focus lost it: it gets it back, unless
  // the work showed a page anew (a load), which then opens on its first control.
  QTimer::singleShot(0, this, [this, before = QPointer<QWidget>(before)] {
    if (focusPending_ || commands_->Busy()) return;
    if (before && pages_->currentWidget()->isAncestorOf(before) && TakesTabFocus(before)) {
      before->setFocus(Qt::OtherFocusReason);
    } else {
      FocusFirstControl(pages_->currentWidget());
    }
  });
}

void MainWindow::RefreshSettings() {
  std::optional<BoundSettings> settings;
  try {
    settings = ReadBoundSettings(session_);
  } catch (const std::exception&) {
    // A row that cannot be read leaves the controls disabled.
  }
  dashboard_->ShowSettings(settings);
}

void MainWindow::RefreshErrors() {
  // A log made anew (cleared, or deleted and made again) is a new file to watch.
  const QString file = QString::fromStdString(session_.Log().File().string());
  if (!logWatcher_->files().contains(file)) logWatcher_->addPath(file);
  const std::string stamp = LogStamp(session_.Log().File());
  if (stamp == errorsShown_) return;
  errorsShown_ = stamp;
  dashboard_->ShowErrors(session_.Log().ShowErrors());
}

void MainWindow::SetBusy(bool busy) {
  if (busy && !focusBeforeWork_) focusBeforeWork_ = focusWidget();
  dashboard_->SetRunning(busy);
  if (!busy) {
    QWidget* before = std::exchange(focusBeforeWork_, nullptr);
    if (focusPending_) {
      FocusPageLater();
    } else {
      FocusAfterWork(before);
    }
  }
  for (QAction* action : writingActions_) action->setEnabled(!busy);
  for (QAction* action : recentMenu_->actions()) action->setEnabled(!busy);
  cancelButton_->setEnabled(busy && RunGoing());
  // The other pages: every button, box and field that would write is greyed, and given back as it
  // was; the grids stay to be looked through, their edits refused by their models meanwhile.
  for (int i = 0; i < pages_->count(); ++i) {
    QWidget* page = pages_->widget(i);
    if (page == dashboard_ || page->isAncestorOf(dashboard_)) continue;
    QList<QWidget*> controls;
    for (QAbstractButton* b : page->findChildren<QAbstractButton*>()) controls << b;
    for (QComboBox* b : page->findChildren<QComboBox*>()) controls << b;
    for (QLineEdit* e : page->findChildren<QLineEdit*>()) controls << e;
    for (QWidget* control : controls) {
      // The navigators' moves, and controls inside a grid or a box.
      if (ShowsOnly(control) || qobject_cast<QToolBar*>(control->parent()) ||
          qobject_cast<DataGrid*>(control->parentWidget()) != nullptr ||
          qobject_cast<QComboBox*>(control->parentWidget()) != nullptr) {
        continue;
      }
      if (busy && control->isEnabled()) {
        control->setEnabled(false);
        control->setProperty(kGreyedWhileBusy, true);
      } else if (!busy && control->property(kGreyedWhileBusy).toBool()) {
        control->setEnabled(true);
        control->setProperty(kGreyedWhileBusy, false);
      }
    }
  }
}

void MainWindow::StartRun(std::function<RunResult()> run, const std::string& scope) {
  auto result = std::make_shared<RunResult>();
  runGoing_ = commands_->Start(
      std::string(kPhotoRunCommand), [result, run = std::move(run)] { *result = run(); },
      [this, result, scope] {
        portraitsPage_->RunEnded(*result);
        const std::string message = ScopedRunMessage(RunMessage(*result), scope);
        if (result->errors > 0) {
          session_.UserPrompts().ShowError(message);
        } else {
          session_.UserPrompts().ShowMessage(message);
        }
      });
}

std::string MainWindow::ScopedRunMessage(std::string message, const std::string& scope) {
  if (scope.empty()) return message;
  const std::size_t photos = message.find(" photos");
  if (photos != std::string::npos) message.insert(photos + 7, " (" + scope + ")");
  return message;
}

void MainWindow::WorkDone() {
  // The bar is hidden whatever the work's last report said.
  progressRow_->hide();
  progressBar_->setValue(0);
  RefreshSettings();
  RefreshErrors();
  RememberLoadedGame();
  const bool run = std::exchange(runGoing_, false);
  if (quitWhenDone_) {
    close();
    return;
  }
  if (run) emit RunEnded();
  emit WorkEnded();
}

void MainWindow::LoadGame1Click() {
  AskToSaveSettings();
  // The dashboard opens anew on the game loaded (or on none).
  if (commands_->Start(std::string(kLoadCommand), [this] { likentor::LoadGame1Click(session_); })) {
    FocusPageLater();
  }
}

void MainWindow::LoadSavedGameNamed(const std::string& name) {
  AskToSaveSettings();
  if (commands_->Start(std::string(kLoadCommand), [this, name] { LoadGame(session_, name); })) {
    FocusPageLater();
  }
}

void MainWindow::CloseGame1Click() {
  commands_->Write([this] { likentor::CloseGame1Click(session_); });
  RefreshSettings();
  FocusPageLater();
}

void MainWindow::UniverseGoBtnClick() {
  commands_->Write([this] {
    if (!GameLoadedGuard(session_)) return;
    const UniverseRequest request{ReadUniverseFilters(session_), dashboard_->LevelScopeIndex()};
    StartRun([this, request] { return MakeUniversePhotos(session_, request); },
             LevelScopeName(request.levelScope));
  });
}

std::optional<int> MainWindow::TeamToRun() {
  if (!GameLoadedGuard(session_)) return std::nullopt;
  const std::optional<int> team = dashboard_->ChosenTeam();
  if (!team) session_.UserPrompts().ShowMessage(kPickTeamFirst);
  return team;
}

void MainWindow::TeamGoBtnClick() {
  commands_->Write([this] {
    if (const std::optional<int> team = TeamToRun()) {
      StartRun([this, id = *team] { return MakeTeamPhotos(session_, id); });
    }
  });
}

void MainWindow::UniverseDryRunBtnClick() {
  // A dry run moves the players query that runs use: it waits for no writer, as they do.
  commands_->Write([this] {
    if (!GameLoadedGuard(session_)) return;
    ShowDryRun(RunChoice::Universe({ReadUniverseFilters(session_), dashboard_->LevelScopeIndex()}));
  });
}

void MainWindow::TeamDryRunBtnClick() {
  commands_->Write([this] {
    if (const std::optional<int> team = TeamToRun()) ShowDryRun(RunChoice::Team(*team));
  });
}

void MainWindow::ShowDryRun(const RunChoice& choice) {
  const DryRunSummary summary = DryRun(session_, choice);
  auto* dialog = new DryRunDialog(summary, this);
  // "Do it!" runs what the dialog told, with the settings it was told for.
  connect(dialog, &QDialog::accepted, this, [this, choice] {
    commands_->Write([this, choice] {
      if (!GameLoadedGuard(session_)) return;
      if (choice.teamId) {
        StartRun([this, id = *choice.teamId] { return MakeTeamPhotos(session_, id); });
      } else {
        StartRun(
            [this, request = choice.universe] { return MakeUniversePhotos(session_, request); },
            LevelScopeName(choice.universe.levelScope));
      }
    });
  });
  dialog->open();
}

void MainWindow::UndoLastRun1Click() {
  // The player page shows the pictures and rows the undo put back.
  commands_->Start(
      std::string(kUndoCommand), [this] { likentor::UndoLastRun1Click(session_); },
      [this] { playerPage_->ShowStored(); });
}

void MainWindow::KeptRuns1Click() {
  commands_->Show([this] {
    auto* dialog = new KeptRunsDialog(KeptRuns(session_.ProgramFolder()), this);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
      const int kept = dialog->KeptRuns();
      commands_->Write(
          [this, kept] { ChangeKeptRuns(session_.UserPrompts(), session_.ProgramFolder(), kept); });
    });
    dialog->open();
  });
}

void MainWindow::PlayerSearchBtnClick() {
  // The search fills the players query that runs use.
  commands_->Write([this] {
    if (!likentor::PlayerSearchBtnClick(session_, dashboard_->Search())) return;
    const int found = session_.Game().PlayersQuery.RecordCount();
    playerPage_->ShowMatches(found);
    ShowStatus(MatchesText(found));
  });
}

void MainWindow::SaveSettingsBtnClick() {
  commands_->Write([this] {
    if (likentor::SaveSettingsBtnClick(session_)) ShowStatus("Settings saved.");
  });
  // A refused post was cancelled: the controls show the row as stored.
  RefreshSettings();
}

void MainWindow::ClearErrorsFile1Click() {
  commands_->Write(
      [this] { likentor::ClearErrorsFile1Click(session_.Log(), session_.UserPrompts()); });
  RefreshErrors();
}

void MainWindow::Help1Click() {
  if (help_ == nullptr) help_ = new HelpWindow(this);
  help_->show();
  help_->raise();
  help_->activateWindow();
}

QStringList MainWindow::RecentGames() const {
  return UserSettings()->value("recent/games").toStringList();
}

void MainWindow::RememberLoadedGame() {
  const std::string& name = session_.LoadedGameName();
  if (name.empty() || session_.Window().caption == kIdleCaption) return;
  QStringList games = RecentGames();
  const QString game = QString::fromStdString(name);
  if (!games.isEmpty() && games.front() == game) return;
  games.removeAll(game);
  games.prepend(game);
  while (games.size() > kRecentGames) games.removeLast();
  UserSettings()->setValue("recent/games", games);
  ShowRecentGames();
}

void MainWindow::ShowRecentGames() {
  recentMenu_->clear();
  const QStringList games = RecentGames();
  for (qsizetype i = 0; i < games.size(); ++i) {
    QAction* action = recentMenu_->addAction(QString("&%1 %2").arg(i + 1).arg(games[i]));
    action->setObjectName(QString("RecentGame%1").arg(i + 1));
    action->setEnabled(!commands_->Busy());
    connect(action, &QAction::triggered, this,
            [this, name = games[i].toStdString()] { LoadSavedGameNamed(name); });
  }
  recentMenu_->setEnabled(!games.isEmpty());
}

void MainWindow::AskToSaveSettings() {
  Table& games = session_.Universal().GamesTable;
  if (RunGoing() || !games.IsOpen() || !games.InEdit()) return;
  std::string name = session_.LoadedGameName();
  if (name.empty()) name = games.GetText("universe_name");
  const std::string question =
      QString(kSaveSettingsQuestion).arg(QString::fromStdString(name)).toStdString();
  if (session_.UserPrompts().Confirm(question)) {
    commands_->Write([this] { likentor::SaveSettingsBtnClick(session_); });
    RefreshSettings();
  } else {
    commands_->Write([&games] { games.Cancel(); });
    RefreshSettings();
  }
}

void MainWindow::SaveWindowLayout() {
  const auto settings = UserSettings();
  settings->setValue("window/geometry", saveGeometry());
  settings->setValue("window/state", saveState());
}

void MainWindow::RestoreWindowLayout() {
  const auto settings = UserSettings();
  restoreGeometry(settings->value("window/geometry").toByteArray());
  restoreState(settings->value("window/state").toByteArray());
}

void MainWindow::About1Click() {
  about_->show();
  about_->raise();
  about_->activateWindow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Work still going is stopped between two of its steps, what it made kept, once the user says
  // so; the window closes when it has ended.
  if (RunGoing()) {
    if (quitWhenDone_ || !session_.UserPrompts().Confirm(QuitQuestion(commands_->BusyWith()))) {
      event->ignore();
      return;
    }
    // The work may have ended while the question was up: the window then closes at once, as no
    // end of work is left to close it, and no request to stop is left for the next run to take.
    if (RunGoing()) {
      event->ignore();
      quitWhenDone_ = true;
      commands_->CancelWork();
      cancelButton_->setEnabled(false);
      return;
    }
  }
  if (!shutDown_) {
    AskToSaveSettings();
    SaveWindowLayout();
    shutDown_ = true;
    commands_->Show([this] { session_.Shutdown(); });
  }
  about_->close();
  event->accept();
}

}  // namespace likentor
