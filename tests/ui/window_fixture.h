#pragma once

// The real main window on the offscreen platform over a program folder set up by its own first
// start (the prompts answered from a script) on a small generated saved game "sample". Controls
// are found by their object names, menu commands by their actions' names.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStackedWidget>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "app/session.h"
#include "database/table_store.h"
#include "import/players_fields.h"
#include "shell/folders.h"
#include "shell/scripted_prompts.h"
#include "support/program_folder.h"
#include "support/small_sample_game.h"
#include "support/temp_folder.h"
#include "ui/main_window.h"

namespace likentor::test {

// One QApplication for the whole test program, made on first use.
inline QApplication& Application() {
  static int argc = 1;
  static char name[] = "ui_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* application = new QApplication(argc, argv);
  return *application;
}

struct PlayerState {
  int teamId = 0;
  bool locked = false;
  bool updateRequired = false;
  bool operator==(const PlayerState&) const = default;
};

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application();
    const std::filesystem::path kit = std::filesystem::path(LIKENTOR_PROGRAM_DIR) / "graphics";
    if (!std::filesystem::exists(kit / "uniforms" / "bill underside.png")) {
      GTEST_SKIP() << "the build drew no artwork kit into " << kit;
    }
    // The default game folder of a cancelled chooser lies under HOME.
    ::setenv("HOME", (folder_ / "home").c_str(), 1);
    // The window's own settings (its place, the recent games) go to the test's folder, never to
    // the user's configuration.
    ::setenv("XDG_CONFIG_HOME", (folder_ / "config").c_str(), 1);
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
      QSettings::setPath(format, QSettings::UserScope,
                         QString::fromStdString((folder_ / "config").string()));
    }
    InstallDataFiles(program_);
    WriteSmallSampleGame(game_);
    prompts_.AnswerFolder(program_);
    prompts_.AnswerFolder(game_);
    OpenWindow();
  }

  void TearDown() override { CloseWindow(); }

  // A session and its window started in the program folder, as the program runs installed.
  void OpenWindow() {
    session_ = std::make_unique<Session>(prompts_, SessionPlaces{program_, LIKENTOR_PROGRAM_DIR});
    window_ = std::make_unique<MainWindow>(*session_);
    ASSERT_EQ(window_->Start(), MainWindow::Started::Ready);
    window_->show();
  }

  // Closing the window closes the game and the shared tables, as File > Exit does.
  void CloseWindow() {
    if (window_) window_->close();
    window_.reset();
    session_.reset();
  }

  template <typename W = QWidget>
  W* Find(const char* name) const {
    W* widget = window_->findChild<W*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  void Trigger(const char* action) { Find<QAction>(action)->trigger(); }
  void Click(const char* button) { Find<QPushButton>(button)->click(); }
  // Waits until the work on the worker (a load, an install, an undo...) has ended and its message
  // was shown.
  void Settle() {
    if (!window_->RunGoing()) return;
    QSignalSpy ended(window_.get(), &MainWindow::WorkEnded);
    ASSERT_TRUE(ended.wait(120000));
  }
  void TriggerAndWait(const char* action) {
    Trigger(action);
    Settle();
  }
  void ClickAndWait(const char* button) {
    Click(button);
    Settle();
  }

  // File > Load Game on the saved game "sample", as chosen in the folder chooser.
  void LoadSample() {
    prompts_.AnswerFolder(SavedGameFolder(game_, "sample"));
    TriggerAndWait("LoadGame1");
  }

  QString Status() const { return Find<QLabel>("StatusText")->text(); }
  QString Caption() const { return window_->windowTitle(); }
  int Page() const { return Find<QStackedWidget>("PageControl")->currentIndex(); }
  QStringList Teams() const {
    auto* box = Find<QComboBox>("TeamLookupBox");
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
  }

  // Starts a run with `button` and waits for its end message.
  void RunAndWait(const char* button) {
    QSignalSpy ended(window_.get(), &MainWindow::RunEnded);
    Click(button);
    ASSERT_TRUE(window_->RunGoing());
    ASSERT_TRUE(ended.wait(120000));
  }

  std::map<int, PlayerState> Players() const {
    Database db(DataFolder(program_));
    Table t(db, "sample_players.db");
    std::map<int, PlayerState> rows;
    for (t.First(); !t.Eof(); t.Next()) {
      rows[t.GetInt(kPlayerIdField)] = {t.GetInt(kTeamIdField, 0), t.GetBool(kLockedField),
                                        t.GetBool(kUpdateRequiredField)};
    }
    return rows;
  }

  std::filesystem::path Portrait(int id) const {
    return PicturesFolder(SavedGameFolder(game_, "sample")) /
           ("Player_" + std::to_string(id) + ".png");
  }

  std::vector<std::string> Messages() const {
    return prompts_.Texts(ScriptedPrompts::Kind::Message);
  }
  std::vector<std::string> Errors() const { return prompts_.Texts(ScriptedPrompts::Kind::Error); }

  TempFolder folder_;
  std::filesystem::path program_ = folder_ / "program";
  std::filesystem::path game_ = folder_ / "game";
  ScriptedPrompts prompts_;
  std::unique_ptr<Session> session_;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace likentor::test
