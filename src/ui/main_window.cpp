#include "ui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QStatusBar>
#include <QThread>
#include <QUrl>
#include <QVBoxLayout>
#include <exception>

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
#include "shell/error_log.h"
#include "ui/about_box.h"
#include "ui/accessories_page.h"
#include "ui/artwork.h"
#include "ui/dashboard_page.h"
#include "ui/facial_hair_page.h"
#include "ui/install_page.h"
#include "ui/locks_page.h"
#include "ui/nations_page.h"
#include "ui/player_page.h"
#include "ui/run_thread.h"
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
  }
  return settings;
}

}  // namespace

MainWindow::MainWindow(Session& session, QWidget* parent)
    : QMainWindow(parent), session_(session), run_(new RunThread(this)) {
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
  statusText_->setAccessibleName("Status");
  status->addWidget(statusText_, 1);
  setStatusBar(status);

  about_ = new AboutBox(QPixmap(), this);
  about_->hide();
  ShowArtwork();

  connect(run_, &RunThread::Ended, this, &MainWindow::FinishRun);

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
  if (RunGoing()) {
    session_.Progress().RequestCancel();
    run_->Wait();
  }
  session_.SetStateListener({});
  session_.Progress().SetListener({});
}

void MainWindow::BuildPages() {
  pages_ = new QStackedWidget(this);
  pages_->setObjectName("PageControl");
  dashboard_ = new DashboardPage(QPixmap(), pages_);
  auto* uniforms = new UniformsPage(session_, pages_);
  playerPage_ = new PlayerPage(session_, pages_);
  auto* install = new InstallPage(session_, pages_);
  auto* locks = new LocksPage(session_, pages_);
  auto* nations = new NationsPage(session_, pages_);
  auto* facialHair = new FacialHairPage(session_, pages_);
  auto* accessories = new AccessoriesPage(session_, pages_);
  // In the order of the session's Page numbers.
  for (QWidget* page : std::initializer_list<QWidget*>{dashboard_, uniforms, playerPage_, install,
                                                       locks, nations, facialHair, accessories}) {
    pages_->addWidget(page);
  }
  const auto home = [this] { Command([this] { session_.ShowPage(kDashboardPage); }); };
  connect(uniforms, &DonePage::DoneClicked, this,
          [this] { Command([this] { UniformsDoneClick(session_); }); });
  connect(locks, &DonePage::DoneClicked, this,
          [this] { Command([this] { LocksDoneClick(session_); }); });
  connect(playerPage_, &DonePage::DoneClicked, this, [this] {
    Command([this] {
      PlayerDoneClick(session_);
      ShowStatus(Text(session_.Window().statusText));
    });
  });
  for (DonePage* page :
       std::initializer_list<DonePage*>{install, nations, facialHair, accessories}) {
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
          [this] { Command([this] { CustomUniforms1Click(session_); }); });
  connect(dashboard_, &DashboardPage::LocksClicked, this,
          [this] { Command([this] { ManageLockedPhotos1Click(session_); }); });
  connect(dashboard_, &DashboardPage::EthnicityClicked, this,
          [this] { Command([this] { EthnicityData1Click(session_); }); });
  connect(dashboard_, &DashboardPage::FacialHairClicked, this,
          [this] { Command([this] { HairData1Click(session_); }); });
  connect(dashboard_, &DashboardPage::InstallClicked, this,
          [this] { Command([this] { session_.ShowPage(kInstallPage); }); });
  connect(dashboard_, &DashboardPage::SettingEdited, this, [this](const SettingChange& change) {
    Command([this, change] { EditSettings(session_, {change}); });
  });

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
    session_.Progress().RequestCancel();
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
  const auto add = [this](QMenu* menu, const char* name, const QString& text, auto handler) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, handler);
    return action;
  };
  const auto page = [this](void (*command)(Session&)) {
    return [this, command] { Command([this, command] { command(session_); }); };
  };

  QMenu* file = menuBar()->addMenu("&File");
  file->setObjectName("File1");
  loadGame_ = add(file, "LoadGame1", "&Load Game", [this] { LoadGame1Click(); });
  closeGame_ = add(file, "CloseGame1", "&Close Game", [this] { CloseGame1Click(); });
  guardedActions_.push_back(add(file, "ChangeFolders1", "Change &Folders...", [this] {
    Command([this] { ChangeFolders1Click(session_); });
    RefreshSettings();
  }));
  file->addSeparator();
  add(file, "Exit1", "E&xit", [this] { close(); });

  QMenu* tools = menuBar()->addMenu("&Tools");
  tools->setObjectName("Tools1");
  add(tools, "HomePage1", "&Home Page",
      [this] { Command([this] { session_.ShowPage(kDashboardPage); }); });
  tools->addSeparator();
  guardedActions_.push_back(
      add(tools, "CustomUniforms1", "Custom &Uniforms", page(&CustomUniforms1Click)));
  guardedActions_.push_back(
      add(tools, "ManageLockedPhotos1", "Manage &Locked Photos", page(&ManageLockedPhotos1Click)));
  tools->addSeparator();
  guardedActions_.push_back(
      add(tools, "EthnicityData1", "&Ethnicity Data", page(&EthnicityData1Click)));
  guardedActions_.push_back(add(tools, "HairData1", "&Facial Hair Data", page(&HairData1Click)));
  // The accessories editor has no command of its own elsewhere: it sits beside facial hair.
  guardedActions_.push_back(add(tools, "AccessoryData1", "&Accessory Data", [this] {
    Command([this] {
      if (GameLoadedGuard(session_)) session_.ShowPage(kAccessoriesPage);
    });
  }));
  tools->addSeparator();
  guardedActions_.push_back(
      add(tools, "UndoLastRun1", "U&ndo Last Run", [this] { UndoLastRun1Click(); }));
  guardedActions_.push_back(
      add(tools, "KeptRuns1", "&Runs Kept for Undo...", [this] { KeptRuns1Click(); }));
  tools->addSeparator();
  guardedActions_.push_back(add(tools, "SpreadFaces1", "&Spread Faces...", [this] {
    Command([this] { SpreadFaces1Click(session_, dashboard_->ChosenTeam()); });
  }));
  tools->addSeparator();
  guardedActions_.push_back(add(tools, "Install1", "&Install Components",
                                [this] { Command([this] { session_.ShowPage(kInstallPage); }); }));
  tools->addSeparator();
  clearErrors_ =
      add(tools, "ClearErrorsFile1", "&Clear Errors File", [this] { ClearErrorsFile1Click(); });

  QMenu* help = menuBar()->addMenu("&Help");
  help->setObjectName("Help1");
  add(help, "Forum1", "&Forum", [this] { Forum1Click(); });
  add(help, "About1", "&About", [this] { About1Click(); });
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
  const WindowState& state = session_.Window();
  for (StateChange change :
       {StateChange::Caption, StateChange::Status, StateChange::Teams, StateChange::Page}) {
    ApplyState(change, state);
  }
  RefreshSettings();
  return Started::Ready;
}

bool MainWindow::RunGoing() const {
  return run_->Running();
}

void MainWindow::Command(const std::function<void()>& command) {
  try {
    command();
  } catch (const std::exception& e) {
    session_.UserPrompts().ShowError(e.what());
  }
}

void MainWindow::ApplyState(StateChange change, const WindowState& state) {
  switch (change) {
    case StateChange::Caption:
      setWindowTitle(Text(state.caption));
      // The caption names the game once the load is through: its closing message is answered
      // with the normal cursor.
      if (waitCursor_) {
        QGuiApplication::restoreOverrideCursor();
        waitCursor_ = false;
      }
      break;
    case StateChange::Status:
      ShowStatus(Text(state.statusText));
      // A load reports its first status once it has its game's name and starts reading (closing
      // the game before it clears the name): the wait cursor goes up until the load is through.
      if (loading_ && !waitCursor_ && !session_.LoadedGameName().empty()) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        waitCursor_ = true;
      }
      break;
    case StateChange::Teams:
      dashboard_->ShowTeams(state.teams);
      break;
    case StateChange::Page:
      pages_->setCurrentIndex(state.page);
      break;
  }
}

void MainWindow::ApplyProgress(const ProgressReport& report) {
  ShowStatus(Text(report.status));
  progressBar_->setValue(report.position);
  if (report.visible != progressRow_->isVisible()) progressRow_->setVisible(report.visible);
}

void MainWindow::ShowStatus(const QString& text) {
  statusText_->setText(text);
  // Commands on the window's thread (the load) keep it busy: the new text is painted at once.
  if (statusText_->isVisible()) statusText_->repaint();
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

void MainWindow::SetRunning(bool running) {
  dashboard_->SetRunning(running);
  for (QAction* action : guardedActions_) action->setEnabled(!running);
  loadGame_->setEnabled(!running);
  closeGame_->setEnabled(!running);
  clearErrors_->setEnabled(!running);
  cancelButton_->setEnabled(running);
}

void MainWindow::StartRun(std::function<RunResult()> run) {
  SetRunning(true);
  run_->Start(std::move(run));
}

void MainWindow::FinishRun() {
  const RunThread::Outcome outcome = run_->TakeOutcome();
  SetRunning(false);
  // The bar is hidden whatever the run's last report said.
  progressRow_->hide();
  progressBar_->setValue(0);
  if (closing_) return;
  if (outcome.result) {
    ShowRunMessage(session_.UserPrompts(), *outcome.result);
  } else {
    session_.UserPrompts().ShowError(outcome.error);
  }
  emit RunEnded();
}

void MainWindow::LoadGame1Click() {
  loading_ = true;
  Command([this] { likentor::LoadGame1Click(session_); });
  loading_ = false;
  if (waitCursor_) QGuiApplication::restoreOverrideCursor();
  waitCursor_ = false;
  RefreshSettings();
}

void MainWindow::LoadSavedGameNamed(const std::string& name) {
  loading_ = true;
  Command([this, &name] { LoadGame(session_, name); });
  loading_ = false;
  if (waitCursor_) QGuiApplication::restoreOverrideCursor();
  waitCursor_ = false;
  RefreshSettings();
}

void MainWindow::CloseGame1Click() {
  Command([this] { likentor::CloseGame1Click(session_); });
  RefreshSettings();
}

void MainWindow::UniverseGoBtnClick() {
  Command([this] {
    if (!GameLoadedGuard(session_)) return;
    const UniverseRequest request{ReadUniverseFilters(session_), dashboard_->LevelScopeIndex()};
    StartRun([this, request] { return MakeUniversePhotos(session_, request); });
  });
}

std::optional<int> MainWindow::TeamToRun() {
  if (!GameLoadedGuard(session_)) return std::nullopt;
  const std::optional<int> team = dashboard_->ChosenTeam();
  if (!team) session_.UserPrompts().ShowMessage(kPickTeamFirst);
  return team;
}

void MainWindow::TeamGoBtnClick() {
  Command([this] {
    if (const std::optional<int> team = TeamToRun()) {
      StartRun([this, id = *team] { return MakeTeamPhotos(session_, id); });
    }
  });
}

void MainWindow::UniverseDryRunBtnClick() {
  Command([this] {
    if (!GameLoadedGuard(session_)) return;
    ShowDryRun(RunChoice::Universe({ReadUniverseFilters(session_), dashboard_->LevelScopeIndex()}));
  });
}

void MainWindow::TeamDryRunBtnClick() {
  Command([this] {
    if (const std::optional<int> team = TeamToRun()) ShowDryRun(RunChoice::Team(*team));
  });
}

void MainWindow::ShowDryRun(const RunChoice& choice) {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  DryRunSummary summary;
  try {
    summary = DryRun(session_, choice);
  } catch (...) {
    QGuiApplication::restoreOverrideCursor();
    throw;
  }
  QGuiApplication::restoreOverrideCursor();
  auto* dialog = new DryRunDialog(summary, this);
  // "Do it!" runs what the dialog told, with the settings it was told for.
  connect(dialog, &QDialog::accepted, this, [this, choice] {
    Command([this, choice] {
      if (RunGoing() || !GameLoadedGuard(session_)) return;
      if (choice.teamId) {
        StartRun([this, id = *choice.teamId] { return MakeTeamPhotos(session_, id); });
      } else {
        StartRun(
            [this, request = choice.universe] { return MakeUniversePhotos(session_, request); });
      }
    });
  });
  dialog->open();
}

void MainWindow::UndoLastRun1Click() {
  Command([this] { likentor::UndoLastRun1Click(session_); });
}

void MainWindow::KeptRuns1Click() {
  Command([this] {
    auto* dialog = new KeptRunsDialog(KeptRuns(session_.ProgramFolder()), this);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
      const int kept = dialog->KeptRuns();
      Command([this, kept] { SetKeptRuns(session_.ProgramFolder(), kept); });
    });
    dialog->open();
  });
}

void MainWindow::PlayerSearchBtnClick() {
  Command([this] {
    if (!likentor::PlayerSearchBtnClick(session_, dashboard_->Search())) return;
    const int found = session_.Game().PlayersQuery.RecordCount();
    playerPage_->ShowMatches(found);
    ShowStatus(MatchesText(found));
  });
}

void MainWindow::SaveSettingsBtnClick() {
  Command([this] { likentor::SaveSettingsBtnClick(session_); });
  // A refused post was cancelled: the controls show the row as stored.
  RefreshSettings();
}

void MainWindow::ClearErrorsFile1Click() {
  Command([this] { likentor::ClearErrorsFile1Click(session_.Log(), session_.UserPrompts()); });
}

void MainWindow::Forum1Click() {
  QDesktopServices::openUrl(QUrl(kForumAddress));
}

void MainWindow::About1Click() {
  about_->show();
  about_->raise();
  about_->activateWindow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // A run still going is stopped between two portraits; what it made stays.
  if (RunGoing()) {
    closing_ = true;
    session_.Progress().RequestCancel();
    run_->Wait();
  }
  if (!shutDown_) {
    shutDown_ = true;
    Command([this] { session_.Shutdown(); });
  }
  about_->close();
  event->accept();
}

}  // namespace likentor
