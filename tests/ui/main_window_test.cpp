// The window's frame and dashboard driven by object names: first start, load and close through
// the menu, the bound settings, the guards, the search, the error log and the about box.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSpinBox>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/batch_runs.h"
#include "app/navigation.h"
#include "app/setup.h"
#include "shell/error_log.h"
#include "ui/about_box.h"
#include "ui/main_window.h"
#include "window_fixture.h"

// Fontconfig, under Qt's text, keeps its caches for the life of the process by design.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\n";
}

namespace likentor {
namespace {

using Kind = ScriptedPrompts::Kind;
using test::WindowTest;

TEST_F(WindowTest, FirstStartThenLoadAndCloseThroughTheMenu) {
  // The setup asked before the window showed: the first-run box and the two choosers.
  ASSERT_GE(prompts_.History().size(), 3U);
  EXPECT_EQ(prompts_.History()[0],
            (ScriptedPrompts::Shown{Kind::Message, "Likentor", std::string(kFirstTimeMessage)}));
  EXPECT_EQ(prompts_.History()[1].kind, Kind::ChooseFolder);
  EXPECT_EQ(prompts_.History()[1].caption, kProgramFolderPrompt);
  EXPECT_EQ(prompts_.History()[2].caption, kGameFolderPrompt);
  EXPECT_TRUE(std::filesystem::exists(program_ / "configuration.ini"));

  // The window at start.
  EXPECT_EQ(Caption(), "Likentor");
  EXPECT_EQ(Status(), "No game loaded.");
  EXPECT_FALSE(Find("ProgressBar")->isVisible());
  EXPECT_EQ(Page(), kDashboardPage);
  EXPECT_TRUE(Teams().isEmpty());
  EXPECT_FALSE(window_->windowIcon().isNull());
  auto* scope = Find<QComboBox>("LevelScopeBox");
  ASSERT_EQ(scope->count(), 7);
  EXPECT_EQ(scope->currentText(), "All Levels");
  EXPECT_EQ(scope->itemText(6), "Rookie and Up");
  EXPECT_TRUE(Find<QAction>("Install1")->isEnabled());
  EXPECT_EQ(Find<QPlainTextEdit>("ErrorsBox")->toPlainText().split('\n').front(), "Errors Log");
  EXPECT_TRUE(Find<QPlainTextEdit>("ErrorsBox")->isReadOnly());
  // games.db has no row before the first load: nothing to edit.
  EXPECT_FALSE(Find("ActMinABEdit")->isEnabled());
  EXPECT_FALSE(Find("UseLogosCheckBox")->isEnabled());
  for (const char* name :
       {"UniverseGoBtn", "TeamLookupBox", "PlayerIDBox", "SaveSettingsBtn", "ErrorsBox"}) {
    EXPECT_FALSE(Find(name)->accessibleName().isEmpty()) << name;
  }

  prompts_.ClearHistory();
  LoadSample();
  EXPECT_EQ(prompts_.History().front(),
            (ScriptedPrompts::Shown{Kind::ChooseFolder, "Select the game folder.",
                                    SavedGamesFolder(game_).string()}));
  EXPECT_EQ(Messages(), std::vector<std::string>{"sample.lg loaded successfully."});
  EXPECT_EQ(Caption(), "Likentor: sample");
  EXPECT_EQ(Status(), "sample.lg loaded.");
  ASSERT_EQ(Teams().size(), 4);
  EXPECT_EQ(Find<QComboBox>("TeamLookupBox")->currentIndex(), -1);
  EXPECT_EQ(Page(), kDashboardPage);
  // The settings row of the game, with its defaults.
  EXPECT_TRUE(Find("ActMinABEdit")->isEnabled());
  EXPECT_EQ(Find<QSpinBox>("ActMinABEdit")->value(), 500);
  EXPECT_EQ(Find<QSpinBox>("ActMinIPEdit")->value(), 150);
  EXPECT_TRUE(Find<QCheckBox>("DBCheckBox1")->isChecked());

  // A cancelled chooser ends Load Game with the loaded game kept.
  TriggerAndWait("LoadGame1");
  EXPECT_EQ(Caption(), "Likentor: sample");
  EXPECT_EQ(Status(), "sample.lg loaded.");

  LoadSample();
  Trigger("CloseGame1");
  EXPECT_EQ(Caption(), "Likentor");
  EXPECT_EQ(Status(), "No game loaded.");
  EXPECT_TRUE(Teams().isEmpty());
  // Closing keeps the settings row current.
  EXPECT_TRUE(Find("ActMinABEdit")->isEnabled());

  // --load NAME loads the same way.
  prompts_.ClearHistory();
  window_->LoadSavedGameNamed("sample");
  Settle();
  EXPECT_EQ(Caption(), "Likentor: sample");
  EXPECT_EQ(Messages(), std::vector<std::string>{"sample.lg loaded successfully."});
}

TEST_F(WindowTest, FailedLoadShowsItsErrorBox) {
  const std::filesystem::path broken = SavedGamesFolder(game_) / "broken.lg";
  std::filesystem::create_directories(broken);
  prompts_.ClearHistory();
  prompts_.AnswerFolder(broken);
  TriggerAndWait("LoadGame1");
  ASSERT_EQ(Errors().size(), 1U);
  EXPECT_NE(Errors().front().find("broken"), std::string::npos) << Errors().front();
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(Status(), "No game loaded.");
  EXPECT_EQ(Caption(), "Likentor");
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // A folder that is no saved game is refused; the window goes on.
  prompts_.AnswerFolder(game_);
  TriggerAndWait("LoadGame1");
  EXPECT_EQ(Errors().size(), 2U);
  LoadSample();
  EXPECT_EQ(Caption(), "Likentor: sample");
}

TEST_F(WindowTest, GuardedCommandsNeedAGame) {
  prompts_.ClearHistory();
  const char* guardedActions[] = {"CustomUniforms1", "ManageLockedPhotos1", "EthnicityData1",
                                  "HairData1"};
  const char* guardedButtons[] = {"CustomUniformsBtn", "LocksBtn",      "EthnicityBtn",
                                  "FacialHairBtn",     "UniverseGoBtn", "TeamGoBtn"};
  for (const char* action : guardedActions) Trigger(action);
  for (const char* button : guardedButtons) Click(button);
  EXPECT_EQ(Messages(), std::vector<std::string>(10, std::string(kLoadGameFirst)));
  EXPECT_EQ(Page(), kDashboardPage);

  // Home Page and Install Components need no game.
  Click("InstallBtn");
  EXPECT_EQ(Page(), kInstallPage);
  ClickAndWait("InstallAfricanBtn");
  EXPECT_EQ(Page(), kInstallPage);
  Trigger("HomePage1");
  EXPECT_EQ(Page(), kDashboardPage);

  LoadSample();
  prompts_.ClearHistory();
  const std::pair<const char*, const char*> pages[] = {
      {"CustomUniforms1", "UniformsDone"},
      {"ManageLockedPhotos1", "LocksDone"},
      {"EthnicityData1", "NationsDone"},
      {"HairData1", "FacialHairDone"},
  };
  const int shown[] = {kUniformsPage, kLocksPage, kNationsPage, kFacialHairPage};
  for (std::size_t i = 0; i < std::size(pages); ++i) {
    Trigger(pages[i].first);
    EXPECT_EQ(Page(), shown[i]) << pages[i].first;
    Click(pages[i].second);
    EXPECT_EQ(Page(), kDashboardPage) << pages[i].second;
  }
  Click("FacialHairBtn");
  EXPECT_EQ(Page(), kFacialHairPage);
  Trigger("HomePage1");
  // The team run wants a team.
  Click("TeamGoBtn");
  EXPECT_EQ(Messages(), std::vector<std::string>{std::string(kPickTeamFirst)});
  Find<QComboBox>("TeamLookupBox")->setEditText("no such team");
  Click("TeamGoBtn");
  EXPECT_EQ(Messages().size(), 2U);
  EXPECT_FALSE(window_->RunGoing());
}

TEST_F(WindowTest, SettingsAreSavedOrLostAtExit) {
  LoadSample();
  Find<QSpinBox>("ActMinABEdit")->setValue(321);
  Find<QCheckBox>("UseLogosCheckBox")->setChecked(false);
  Click("SaveSettingsBtn");
  // Edited after the save: pending until the window closes without saving.
  Find<QSpinBox>("ActMinIPEdit")->setValue(77);
  Find<QCheckBox>("DBCheckBox2")->setChecked(false);
  CloseWindow();

  OpenWindow();
  LoadSample();
  EXPECT_EQ(Find<QSpinBox>("ActMinABEdit")->value(), 321);
  EXPECT_FALSE(Find<QCheckBox>("UseLogosCheckBox")->isChecked());
  EXPECT_EQ(Find<QSpinBox>("ActMinIPEdit")->value(), 150);
  EXPECT_TRUE(Find<QCheckBox>("DBCheckBox2")->isChecked());
  // A later start opens on the configuration and asks nothing more.
  EXPECT_EQ(Messages().back(), "sample.lg loaded successfully.");
}

TEST_F(WindowTest, SearchShowsTheMatchesCount) {
  LoadSample();
  prompts_.ClearHistory();
  Click("PlayerSearchBtn");
  EXPECT_EQ(Messages(), std::vector<std::string>{"No matches found."});
  EXPECT_EQ(Page(), kDashboardPage);

  const int someone = Players().begin()->first;
  Find<QSpinBox>("PlayerIDBox")->setValue(someone);
  Click("PlayerSearchBtn");
  EXPECT_EQ(Page(), kPlayerPage);
  EXPECT_EQ(Status(), "1 player found.");
  EXPECT_EQ(Find<QLabel>("PlayerMatches")->text(), "1 player found.");
  Click("PlayerDone");
  EXPECT_EQ(Page(), kDashboardPage);
  EXPECT_EQ(Status(), "sample.lg loaded.");
}

TEST_F(WindowTest, ClearErrorsFileAndTheAboutBox) {
  session_->Log().ReportError("an old failure");
  const std::string before = test::ReadBytes(program_ / "errors.txt");
  const QString shown = Find<QPlainTextEdit>("ErrorsBox")->toPlainText();
  prompts_.ClearHistory();
  prompts_.AnswerConfirm(false);
  Trigger("ClearErrorsFile1");
  EXPECT_EQ(prompts_.History(),
            (std::vector<ScriptedPrompts::Shown>{
                {Kind::Confirm, "Confirm", std::string(kClearErrorsQuestion)}}));
  EXPECT_EQ(test::ReadBytes(program_ / "errors.txt"), before);

  prompts_.AnswerConfirm(true);
  Trigger("ClearErrorsFile1");
  EXPECT_EQ(Messages(), std::vector<std::string>{std::string(kErrorsClearedMessage)});
  EXPECT_EQ(test::ReadBytes(program_ / "errors.txt"), "Errors Log\r\n");
  // The box keeps what it showed at start-up.
  EXPECT_EQ(Find<QPlainTextEdit>("ErrorsBox")->toPlainText(), shown);

  AboutBox* about = window_->About();
  EXPECT_FALSE(about->isVisible());
  Trigger("About1");
  EXPECT_TRUE(about->isVisible());
  EXPECT_FALSE(about->isModal());
  EXPECT_EQ(about->windowTitle(), "About Likentor");
  about->findChild<QPushButton*>("OKButton")->click();
  EXPECT_FALSE(about->isVisible());
  Trigger("About1");
  EXPECT_TRUE(about->isVisible());
}

TEST_F(WindowTest, OtherVersionAsksBeforeTheSetupRunsAgain) {
  CloseWindow();
  const std::string configuration = test::ReadBytes(program_ / "configuration.ini");
  test::WriteBytes(program_ / "configuration.ini", "6" + configuration.substr(1));
  prompts_.ClearHistory();
  prompts_.AnswerConfirm(false);
  session_ = std::make_unique<Session>(prompts_, SessionPlaces{program_, LIKENTOR_PROGRAM_DIR});
  window_ = std::make_unique<MainWindow>(*session_);
  EXPECT_EQ(window_->Start(), MainWindow::Started::Declined);
  EXPECT_EQ(prompts_.History(), (std::vector<ScriptedPrompts::Shown>{
                                    {Kind::Confirm, "Confirm", OtherVersionQuestion(program_)}}));
  EXPECT_EQ(test::ReadBytes(program_ / "configuration.ini").substr(0, 1), "6");
  window_.reset();
  session_.reset();

  // OK runs the setup again.
  prompts_.AnswerConfirm(true);
  prompts_.AnswerFolder(program_);
  prompts_.AnswerFolder(game_);
  OpenWindow();
  EXPECT_EQ(test::ReadBytes(program_ / "configuration.ini").substr(0, 3), "7\r\n");
  EXPECT_EQ(Caption(), "Likentor");
}

// A first start whose game folder has no data/saved_games: the user is told and chooses again;
// each chooser opens at the folder its Cancel would give.
TEST_F(WindowTest, TheSetupRefusesAGameFolderWithoutSavedGamesAndItsChoosersOpenAtTheirDefaults) {
  CloseWindow();
  std::filesystem::remove(program_ / "configuration.ini");
  const std::filesystem::path noGame = folder_ / "not the game";
  std::filesystem::create_directories(noGame);
  prompts_.ClearHistory();
  prompts_.AnswerFolder(program_);
  prompts_.AnswerFolder(noGame);
  prompts_.AnswerConfirm(true);  // choose again
  prompts_.AnswerFolder(game_);
  OpenWindow();

  const std::vector<ScriptedPrompts::Shown> shown = prompts_.History();
  ASSERT_EQ(shown.size(), 5U);
  EXPECT_EQ(shown[1].kind, Kind::ChooseFolder);
  EXPECT_EQ(shown[1].text, session_->Places().executableFolder.string());
  EXPECT_EQ(shown[2].text, DefaultGameFolder().string());
  EXPECT_EQ(shown[3],
            (ScriptedPrompts::Shown{Kind::Confirm, "Confirm", NoSavedGamesQuestion(noGame)}));
  EXPECT_EQ(shown[4].kind, Kind::ChooseFolder);
  EXPECT_EQ(shown[4].text, noGame.string());
  EXPECT_EQ(session_->GameFolder(), game_);
  EXPECT_NE(test::ReadBytes(program_ / "configuration.ini").find(game_.string()),
            std::string::npos);
}

// File > Change Folders, after Close Game: the choosers open at the folders in use, the new game
// folder is stored in configuration.ini and used by the next Load Game, and the loaded game, which
// lies in the previous one, is closed.
TEST_F(WindowTest, ChangeFoldersInTheFileMenuStoresTheFolders) {
  const QList<QAction*> file = Find<QMenu>("File1")->actions();
  const auto closeGame = std::find(file.begin(), file.end(), Find<QAction>("CloseGame1"));
  ASSERT_NE(closeGame, file.end());
  ASSERT_NE(closeGame + 1, file.end());
  EXPECT_EQ((*(closeGame + 1))->objectName(), "ChangeFolders1");
  EXPECT_EQ((*(closeGame + 1))->text(), "Change &Folders...");

  LoadSample();
  ASSERT_EQ(Caption(), "Likentor: sample");
  const std::filesystem::path game2 = folder_ / "game2";
  std::filesystem::create_directories(SavedGamesFolder(game2));
  prompts_.ClearHistory();
  prompts_.AnswerFolder({});
  prompts_.AnswerFolder(game2);
  Trigger("ChangeFolders1");
  EXPECT_TRUE(Errors().empty());
  ASSERT_EQ(prompts_.Texts(Kind::ChooseFolder),
            (std::vector<std::string>{program_.string(), game_.string()}));
  EXPECT_EQ(test::ReadBytes(program_ / "configuration.ini"),
            "7\r\n" + program_.string() + "\r\n" + game2.string() + "\r\n");
  EXPECT_EQ(Messages(),
            std::vector<std::string>{"Likentor now keeps its data in " + program_.string() +
                                     " and finds the game in " + game2.string() + "."});
  EXPECT_EQ(Caption(), "Likentor");
  EXPECT_EQ(Status(), "No game loaded.");

  prompts_.ClearHistory();
  TriggerAndWait("LoadGame1");
  ASSERT_FALSE(prompts_.History().empty());
  EXPECT_EQ(prompts_.History().front().text, SavedGamesFolder(game2).string());
}

}  // namespace
}  // namespace likentor
