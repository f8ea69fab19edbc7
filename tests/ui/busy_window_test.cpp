// One writer at a time in the window: while a command writes, every control that would start
// another is greyed and the commands refuse if reached another way; closing during a run asks;
// failed commands reach the errors log's box.

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolBar>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <set>
#include <thread>

#include "app/component_packs.h"
#include "app/photo_locks.h"
#include "app/player_looks.h"
#include "app/undo_run.h"
#include "app/write_command.h"
#include "page_fixture.h"
#include "portrait/png_image.h"
#include "ui/command_guard.h"

namespace likentor {
namespace {

using test::PageTest;

// A command that writes on a thread of its own until released, as a run on the worker does.
class OtherWriter {
 public:
  explicit OtherWriter(Session& session)
      : thread_([this, &session] {
          const WriteCommand writing(session, kPhotoRunCommand);
          std::unique_lock lock(mutex_);
          started_ = true;
          changed_.notify_all();
          changed_.wait(lock, [this] { return released_; });
        }) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return started_; });
  }
  ~OtherWriter() { Release(); }
  void Release() {
    {
      std::lock_guard lock(mutex_);
      released_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool started_ = false;
  bool released_ = false;
  std::thread thread_;
};

// Every control and menu item of the window that is enabled, by object name.
std::set<std::string> EnabledControls(QWidget* window) {
  std::set<std::string> enabled;
  const auto note = [&](QWidget* w) {
    // The navigators only move through the rows a grid shows.
    if (w->isEnabled() && qobject_cast<QToolBar*>(w->parent()) == nullptr) {
      enabled.insert(w->objectName().toStdString());
    }
  };
  for (QAbstractButton* w : window->findChildren<QAbstractButton*>()) note(w);
  for (QComboBox* w : window->findChildren<QComboBox*>()) note(w);
  for (QAbstractSpinBox* w : window->findChildren<QAbstractSpinBox*>()) note(w);
  for (QLineEdit* w : window->findChildren<QLineEdit*>()) {
    if (qobject_cast<QComboBox*>(w->parentWidget()) == nullptr &&
        qobject_cast<QAbstractSpinBox*>(w->parentWidget()) == nullptr) {
      note(w);
    }
  }
  for (QMenu* menu : window->findChildren<QMenu*>()) {
    for (QAction* action : menu->actions()) {
      if (action->isEnabled() && !action->isSeparator()) {
        enabled.insert(action->objectName().toStdString());
      }
    }
  }
  enabled.erase("");  // the window's own scroll bars and the like
  return enabled;
}

TEST_F(PageTest, WhileACommandWritesEveryWritingControlIsGreyedAndEveryCommandRefused) {
  LoadSample();
  // Each page visited once, so that each has its rows and its buttons' own states.
  for (const char* page : {"CustomUniforms1", "ManageLockedPhotos1", "EthnicityData1", "HairData1",
                           "AccessoryData1", "Install1", "HomePage1"}) {
    Trigger(page);
  }
  const std::set<std::string> idle = EnabledControls(window_.get());
  ASSERT_TRUE(idle.count("UninstallPackBtn") == 0 || idle.count("InstallAsianBtn"));
  const auto players = Players();
  const std::string refusal = "Likentor is busy with a photo run; try again when it has ended.";

  {
    OtherWriter run(*session_);
    QCoreApplication::processEvents();
    EXPECT_TRUE(window_->Commands().Busy());
    // Only what shows, moves or leaves stays usable.
    const std::set<std::string> stillEnabled = EnabledControls(window_.get());
    const std::set<std::string> allowed = {"Exit1", "HomePage1", "Help1", "About1", "CancelRunBtn",
                                           "UniformsDone", "InstallDone", "LocksDone",
                                           "NationsDone", "FacialHairDone", "AccessoriesDoneBtn",
                                           "GetFacialHairPreviewBtn",
                                           // the about box's button and the menu bar's overflow
                                           "OKButton", "qt_menubar_ext_button"};
    // The portraits page only shows, and writes its contact sheet outside the game.
    const std::set<std::string> portraits = {"Portraits1",         "PortraitsBtn", "PortraitsDone",
                                             "ExportSheetBtn",     "ShowThemBtn",  "PortraitFolder",
                                             "ExportContactSheet1"};
    for (const std::string& name : stillEnabled) {
      EXPECT_TRUE(allowed.count(name) || portraits.count(name))
          << name << " stays enabled while a run writes";
    }
    for (const char* name : {"InstallBtn", "Install1", "LevelScopeBox", "TeamLookupBox",
                             "FirstNameBox", "LastNameBox", "UniverseGoBtn", "LoadGame1",
                             "UndoLastRun1", "SpreadFaces1", "InstallAsianBtn", "Button8"}) {
      EXPECT_FALSE(stillEnabled.count(name)) << name;
    }

    // Reached another way, every writing command refuses with the same words and changes nothing.
    prompts_.ClearHistory();
    const auto refuses = [&](const char* what, const std::function<void()>& command) {
      try {
        command();
        ADD_FAILURE() << what << " ran while a run wrote";
      } catch (const BusyError& e) {
        EXPECT_EQ(e.what(), refusal) << what;
      }
    };
    refuses("uninstall", [&] { UninstallPack(*session_, 1); });
    refuses("install", [&] { InstallPack(*session_, PackKind::Faces, folder_ / "none", 1); });
    refuses("relook",
            [&] { NewLook(*session_, players.begin()->first, KeepLook::Nothing, true, true); });
    refuses("spread", [&] { SpreadFaces(*session_, std::nullopt); });
    refuses("undo", [&] { UndoLastRun(*session_); });
    refuses("locks", [&] { SetPhotoLocks(*session_, LockScope::All, true); });
    EXPECT_EQ(Players(), players);

    // Through the window's guard the refusal is said, not logged as a failure.
    EXPECT_FALSE(window_->Commands().Write([] { ADD_FAILURE() << "ran"; }));
    EXPECT_EQ(Errors(), std::vector<std::string>{refusal});
    // An editor's grid neither starts nor posts an edit meanwhile.
    Trigger("EthnicityData1");
    EXPECT_FALSE(SetCell("NationsGrid", 0, "caucasian", "7"));
  }
  QCoreApplication::processEvents();
  EXPECT_FALSE(window_->Commands().Busy());
  EXPECT_EQ(EnabledControls(window_.get()), idle);
}

TEST_F(PageTest, ClosingDuringARunAsksAndStopsItOnlyWhenTheUserSaysSo) {
  LoadSample();
  Click("UniverseGoBtn");
  ASSERT_TRUE(window_->RunGoing());
  // Cancel: the run goes on and the window stays.
  prompts_.ClearHistory();
  window_->close();
  EXPECT_EQ(prompts_.Texts(ScriptedPrompts::Kind::Confirm),
            std::vector<std::string>{"A photo run is going. Stop it and quit?"});
  EXPECT_TRUE(window_->isVisible());
  EXPECT_TRUE(window_->RunGoing());
  EXPECT_FALSE(session_->Progress().CancelRequested());

  // OK: the run stops, keeping what it made, and the window closes when it has.
  prompts_.AnswerConfirm(true);
  window_->close();
  EXPECT_TRUE(session_->Progress().CancelRequested());
  for (int i = 0; i < 1200 && window_->isVisible(); ++i) {
    QTest::qWait(100);
  }
  EXPECT_FALSE(window_->isVisible());
  EXPECT_FALSE(window_->RunGoing());
  EXPECT_TRUE(session_->LoadedGameName().empty());  // the game was closed on the way out
}

// Answers OK to a question only once the window's work has ended: the user took so long that the
// run ended while the question was up.
class SlowToAnswer : public ScriptedPrompts {
 public:
  const MainWindow* window = nullptr;
  bool Confirm(std::string_view text) override {
    for (int i = 0; i < 1200 && window != nullptr && window->RunGoing(); ++i) QTest::qWait(100);
    AnswerConfirm(true);
    return ScriptedPrompts::Confirm(text);
  }
};

TEST_F(PageTest, ARunThatEndsWhileTheQuitQuestionIsUpLetsOkQuitAtOnce) {
  CloseWindow();
  SlowToAnswer prompts;
  session_ = std::make_unique<Session>(prompts, SessionPlaces{program_, LIKENTOR_PROGRAM_DIR});
  window_ = std::make_unique<MainWindow>(*session_);
  ASSERT_EQ(window_->Start(), MainWindow::Started::Ready);
  window_->show();
  prompts.AnswerFolder(SavedGameFolder(game_, "sample"));
  TriggerAndWait("LoadGame1");
  prompts.window = window_.get();
  Click("UniverseGoBtn");
  ASSERT_TRUE(window_->RunGoing());

  window_->close();
  ASSERT_EQ(prompts.Texts(ScriptedPrompts::Kind::Confirm),
            std::vector<std::string>{"A photo run is going. Stop it and quit?"});
  ASSERT_FALSE(window_->RunGoing());
  // OK closes the window at once: no work is left to end and close it later, and no request to
  // stop is left behind for the next run to take.
  EXPECT_FALSE(window_->isVisible());
  EXPECT_FALSE(session_->Progress().CancelRequested());
  EXPECT_TRUE(session_->LoadedGameName().empty());
  CloseWindow();
}

TEST_F(PageTest, AFailedCommandIsWrittenToTheErrorsLogAndItsBoxShowsIt) {
  LoadSample();
  const std::filesystem::path empty = folder_ / "empty pack";
  std::filesystem::create_directories(empty);
  Trigger("Install1");
  prompts_.AnswerFolder(empty);
  ClickAndWait("InstallAsianBtn");
  ASSERT_EQ(Errors().size(), 1U);
  const QString box = Find<QPlainTextEdit>("ErrorsBox")->toPlainText();
  EXPECT_TRUE(box.contains(QString::fromStdString(Errors().front()))) << box.toStdString();
  std::ifstream log(program_ / "errors.txt");
  const std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find(Errors().front()), std::string::npos);

  // A line written to the log from elsewhere (the command line in another process) shows too.
  ErrorLog(program_).ReportError("Written by another copy.");
  auto* errors = Find<QPlainTextEdit>("ErrorsBox");
  for (int i = 0; i < 100 && !errors->toPlainText().contains("Written by another copy."); ++i) {
    QTest::qWait(50);
  }
  EXPECT_TRUE(errors->toPlainText().contains("Written by another copy."));
}

TEST_F(PageTest, AnInstallStoppedByCancelTakesBackWhatItAdded) {
  const std::filesystem::path pack = folder_ / "faces";
  std::filesystem::create_directories(pack);
  for (int i = 0; i < 3; ++i) {
    PngImage face(83, 131, true);
    face.SetPixel(i, 0, {1, 2, 3});
    face.SetAlpha(i, 0, 255);
    face.Save(pack / ("face" + std::to_string(i) + ".png"));
  }
  const auto files = [&] {
    int n = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(program_ / "graphics")) {
      n += e.is_regular_file() ? 1 : 0;
    }
    return n;
  };
  const auto faces = [&] { return Table(session_->Data(), "faces_asian.db").RecordCount(); };
  const int filesBefore = files();
  const int facesBefore = faces();

  Trigger("Install1");
  prompts_.AnswerFolder(pack);
  // Cancel pressed as the install starts: it stops before its first picture.
  session_->Progress().RequestCancel();
  ClickAndWait("InstallAsianBtn");
  EXPECT_EQ(Errors(), std::vector<std::string>{
                          "The install was stopped: nothing of the pack was installed."});
  EXPECT_EQ(files(), filesBefore);
  EXPECT_EQ(faces(), facesBefore);
  EXPECT_FALSE(session_->Progress().CancelRequested());  // the next command starts afresh

  // Installed without a cancel, the same pack goes in whole.
  prompts_.AnswerFolder(pack);
  ClickAndWait("InstallAsianBtn");
  EXPECT_EQ(faces(), facesBefore + 3);
}

}  // namespace
}  // namespace likentor
