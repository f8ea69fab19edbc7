#pragma once

// The main window: menus, the page stack, the progress bar with its Cancel button and the status
// bar, over one Session. Handlers translate a click into a call of the session's commands through
// the command guard (command_guard.h): a failure is shown in an error box and logged, and the
// window goes on. Long work (runs, loads, installs, undo, spread) goes on a worker thread while the
// window keeps answering; while anything writes, every control that would start another writing
// command is greyed.

#include <QAction>
#include <QFileSystemWatcher>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <functional>
#include <optional>
#include <string>

#include "app/batch_runs.h"
#include "app/run_plan.h"
#include "app/run_progress.h"
#include "app/session.h"
#include "app/window_state.h"

namespace likentor {

class AboutBox;
class CommandGuard;
class DashboardPage;
class HelpWindow;
class PlayerPage;
class PortraitsPage;

// How many saved games File > Open Recent lists.
inline constexpr int kRecentGames = 5;
// The question before the loaded game's settings, changed and not saved, would be dropped.
inline constexpr const char* kSaveSettingsQuestion =
    "The photo settings of %1 were changed and not saved. Save them?";

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // The window of `session`, built hidden; its boxes and choosers are the session's prompts.
  explicit MainWindow(Session& session, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The start-up: the setup (first start) or the configuration, the shared tables and the errors
  // box. The program ends unless Ready: the user declined the setup, or it failed (error shown).
  enum class Started { Ready, Declined, Failed };
  Started Start();
  // The Load Game command on the saved game `name` (as File > Load Game on its folder).
  void LoadSavedGameNamed(const std::string& name);

  // Long work goes on the worker (a run, a load, an install...).
  bool RunGoing() const;
  CommandGuard& Commands() const { return *commands_; }
  AboutBox* About() const { return about_; }
  // The help window, made when Help > Likentor Help is first chosen.
  HelpWindow* Help() const { return help_; }
  // The saved games of File > Open Recent, the last loaded first. Kept in the user's settings
  // (QSettings "likentor"/"window"), not in the program folder.
  QStringList RecentGames() const;

  // A run's end message naming the level scope a universe run used: "Successfully created 12
  // photos (All Levels)."; as it is for an empty scope.
  static std::string ScopedRunMessage(std::string message, const std::string& scope);

  // The question before quitting while work goes.
  static std::string QuitQuestion(const std::string& busyWith);

 signals:
  // A batch run ended and its message was shown.
  void RunEnded();
  // Long work of any kind ended and its message was shown.
  void WorkEnded();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void BuildPages();
  void ShowArtwork();
  void ApplyState(StateChange change, const WindowState& state);
  void ApplyProgress(const ProgressReport& report);
  void ShowStatus(const QString& text);
  // The focus goes to the first control of the page shown, once no command is going.
  void FocusPageLater();
  // The focus after work: back on `before` where it still takes it, else on the page's first
  // control.
  void FocusAfterWork(QWidget* before);
  void RefreshSettings();
  // The errors log's box shows the log anew when the file changed since it was last shown.
  void RefreshErrors();
  // Greys (or gives back) every control and menu item that would start a writing command.
  void SetBusy(bool busy);
  // `scope`: the universe run's level scope, which its end message names; empty for a team run.
  void StartRun(std::function<RunResult()> run, const std::string& scope = {});
  void WorkDone();
  // A command of the session that shows a page or a message only.
  void Show(void (*command)(Session&));

  void LoadGame1Click();
  void CloseGame1Click();
  void UniverseGoBtnClick();
  // The team chosen in the team box for a run or a dry run; none, with the guard's or "Maybe you
  // should pick WHICH team first." said, when no game is loaded or no team is chosen.
  std::optional<int> TeamToRun();
  void TeamGoBtnClick();
  void UniverseDryRunBtnClick();
  void TeamDryRunBtnClick();
  // The dry run of `choice` in the "What will this do?" dialog, whose "Do it!" starts the run.
  void ShowDryRun(const RunChoice& choice);
  void UndoLastRun1Click();
  void KeptRuns1Click();
  void PlayerSearchBtnClick();
  void SaveSettingsBtnClick();
  void ClearErrorsFile1Click();
  void Help1Click();
  void About1Click();
  // The loaded game goes to the top of the recent games, and the menu shows the list.
  void RememberLoadedGame();
  void ShowRecentGames();
  // Changed settings not saved: asks whether to save them; saved (OK) or dropped (Cancel).
  void AskToSaveSettings();
  void SaveWindowLayout();
  void RestoreWindowLayout();

  Session& session_;
  CommandGuard* commands_ = nullptr;
  bool shutDown_ = false;
  bool quitWhenDone_ = false;  // the user chose to quit while work went: the window closes after it
  bool runGoing_ = false;      // the work going is a batch run
  bool focusPending_ = false;  // a page was shown while work went: its focus waits for the end
  QPointer<QWidget> focusBeforeWork_;  // where the focus was when work began
  std::string errorsShown_;            // the size and time of the log when its box was filled

  QStackedWidget* pages_ = nullptr;
  DashboardPage* dashboard_ = nullptr;
  PlayerPage* playerPage_ = nullptr;
  PortraitsPage* portraitsPage_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QWidget* progressRow_ = nullptr;
  QLabel* statusText_ = nullptr;
  AboutBox* about_ = nullptr;
  HelpWindow* help_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  QFileSystemWatcher* logWatcher_ = nullptr;

  // Menu items that start a writing command (or need the cursors a writer uses).
  std::vector<QAction*> writingActions_;
};

}  // namespace likentor
