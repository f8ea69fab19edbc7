#pragma once

// The main window: menus, the page stack, the progress bar with its Cancel button and the status
// bar, over one Session. Handlers translate a click into a call of the session's commands; any
// failure that escapes a command is shown in an error box and the window goes on. Batch runs go on
// a worker thread while the window keeps answering; commands that would touch the tables wait.

#include <QAction>
#include <QLabel>
#include <QMainWindow>
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
class DashboardPage;
class PlayerPage;
class RunThread;

// The forum page that Help > Forum opens.
inline constexpr const char* kForumAddress = "https://likentor.example.org/forum/latest";

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

  bool RunGoing() const;
  AboutBox* About() const { return about_; }

 signals:
  // A batch run ended and its message was shown.
  void RunEnded();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void BuildPages();
  void ShowArtwork();
  // The general error handler around every command.
  void Command(const std::function<void()>& command);
  void ApplyState(StateChange change, const WindowState& state);
  void ApplyProgress(const ProgressReport& report);
  void ShowStatus(const QString& text);
  void RefreshSettings();
  void SetRunning(bool running);
  void StartRun(std::function<RunResult()> run);
  void FinishRun();

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
  void Forum1Click();
  void About1Click();

  Session& session_;
  bool shutDown_ = false;
  bool closing_ = false;
  bool loading_ = false;  // a load runs: the wait cursor goes up with its first status text
  bool waitCursor_ = false;

  QStackedWidget* pages_ = nullptr;
  DashboardPage* dashboard_ = nullptr;
  PlayerPage* playerPage_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QWidget* progressRow_ = nullptr;
  QLabel* statusText_ = nullptr;
  AboutBox* about_ = nullptr;
  RunThread* run_ = nullptr;

  QAction* loadGame_ = nullptr;
  QAction* closeGame_ = nullptr;
  QAction* clearErrors_ = nullptr;
  std::vector<QAction*> guardedActions_;
};

}  // namespace likentor
