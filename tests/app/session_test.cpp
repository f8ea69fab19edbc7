#include "app/session.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/setup.h"
#include "shell/scripted_prompts.h"
#include "support/program_folder.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

using Kind = ScriptedPrompts::Kind;
using Shown = ScriptedPrompts::Shown;

class SessionTest : public ::testing::Test {
 protected:
  SessionTest() {
    std::filesystem::create_directories(exe_);
    std::filesystem::create_directories(work_);
    ::setenv("HOME", (folder_ / "home").c_str(), 1);
  }

  test::TempFolder folder_;
  std::filesystem::path exe_ = folder_ / "exe";
  std::filesystem::path work_ = folder_ / "work";
  ScriptedPrompts prompts_;
};

TEST_F(SessionTest, SetupAsksForBothFoldersAndWritesLogDataAndConfiguration) {
  const auto program = folder_ / "program";
  test::InstallDataFiles(program);
  prompts_.AnswerFolder(program);
  prompts_.AnswerFolder("/games/Vask");
  Session session(prompts_, {work_, exe_});
  RunSetup(session);

  EXPECT_EQ(prompts_.History(),
            (std::vector<Shown>{
                {Kind::Message, "Likentor",
                 "This appears to be your first time running the program.  Please follow the "
                 "instructions to configure it for your machine."},
                {Kind::ChooseFolder,
                 "First, please select the folder where Likentor keeps its data.  Clicking cancel "
                 "will use the default folder.",
                 exe_.string()},
                {Kind::ChooseFolder,
                 "Next, select the game's folder (the one that holds data/saved_games).  Clicking "
                 "cancel will use the default folder.",
                 (folder_ / "home" / ".wine" / "drive_c" / "Program Files" / "Pellworth" /
                  "Vask Baseball 2006")
                     .string()},
                // No game there: the user is told so, and keeps it with Cancel.
                {Kind::Confirm, "Confirm", NoSavedGamesQuestion("/games/Vask")},
            }));
  EXPECT_EQ(session.ProgramFolder(), program);
  EXPECT_EQ(session.GameFolder(), "/games/Vask");
  EXPECT_EQ(test::ReadBytes(program / "errors.txt"), "Errors Log\r\n");
  EXPECT_TRUE(std::filesystem::is_directory(program / "data"));
  EXPECT_EQ(test::ReadBytes(program / "configuration.ini"),
            "7\r\n" + program.string() + "\r\n/games/Vask\r\n");
  EXPECT_EQ(session.Data().Folder(), program / "data");
  // The working folder holds no configuration, so the next start is a first start again.
  EXPECT_FALSE(std::filesystem::exists(work_ / "configuration.ini"));
}

TEST_F(SessionTest, CancelledPromptsUseTheDefaultFolders) {
  Session session(prompts_, {work_, exe_});
  RunSetup(session);
  const auto game =
      folder_ / "home" / ".wine" / "drive_c" / "Program Files" / "Pellworth" / "Vask Baseball 2006";
  EXPECT_EQ(session.ProgramFolder(), exe_);
  EXPECT_EQ(session.GameFolder(), game);
  EXPECT_EQ(test::ReadBytes(exe_ / "configuration.ini"),
            "7\r\n" + exe_.string() + "\r\n" + game.string() + "\r\n");
  EXPECT_TRUE(prompts_.Texts(Kind::Error).empty());
}

TEST_F(SessionTest, AFailedAliasIsLoggedAndShownButTheConfigurationIsStillWritten) {
  test::WriteBytes(exe_ / "data", "a file where the data folder should be");
  Session session(prompts_, {work_, exe_});
  RunSetup(session);
  EXPECT_EQ(prompts_.Texts(Kind::Error),
            std::vector<std::string>{"There was an error creating the database alias."});
  EXPECT_EQ(test::ReadBytes(exe_ / "errors.txt"),
            "Errors Log\r\nCould not create alias Likentor1 in " + exe_.string() + "\r\n");
  EXPECT_TRUE(std::filesystem::exists(exe_ / "configuration.ini"));
}

TEST_F(SessionTest, StartupReadsTheConfigurationOrRunsTheSetup) {
  const auto program = folder_ / "program";
  test::InstallDataFiles(program);
  {
    // The shared tables of an earlier setup into that folder.
    ScriptedPrompts setupPrompts;
    setupPrompts.AnswerFolder(program);
    Session setup(setupPrompts, {work_, exe_});
    RunSetup(setup);
  }
  test::WriteBytes(work_ / "configuration.ini", "7\r\n" + program.string() + "\r\n /g \r\n");
  test::WriteBytes(program / "errors.txt", "Errors Log\r\nold failure\r\n");
  {
    Session session(prompts_, {work_, exe_});
    session.SetLoadedGameName("stale");
    session.Startup(Session::Missing::Fail);
    EXPECT_TRUE(session.LoadedGameName().empty());
    EXPECT_EQ(session.ProgramFolder(), program);
    EXPECT_EQ(session.GameFolder(), " /g ");
    EXPECT_EQ(session.ErrorsBox(), (std::vector<std::string>{"Errors Log", "old failure"}));
    EXPECT_TRUE(prompts_.History().empty());
    session.Shutdown();
  }
  // Another version is no configuration: the command line refuses; the window asks before it
  // sets up again, and a cancel leaves the configuration as it was.
  const std::string otherVersion = "07\r\n" + program.string() + "\r\n/g\r\n";
  test::WriteBytes(work_ / "configuration.ini", otherVersion);
  {
    Session session(prompts_, {work_, exe_});
    EXPECT_THROW(session.Startup(Session::Missing::Fail), NotSetUpError);
    EXPECT_TRUE(prompts_.History().empty());
    prompts_.AnswerConfirm(false);
    EXPECT_THROW(session.Startup(Session::Missing::RunSetup), StartupDeclined);
    EXPECT_EQ(prompts_.Texts(Kind::Confirm), std::vector<std::string>{OtherVersionQuestion(work_)});
    EXPECT_TRUE(prompts_.Texts(Kind::ChooseFolder).empty());
    EXPECT_EQ(test::ReadBytes(work_ / "configuration.ini"), otherVersion);
    test::InstallDataFiles(work_);
    prompts_.AnswerConfirm(true);
    prompts_.AnswerFolder(work_);
    session.Startup(Session::Missing::RunSetup);
    EXPECT_EQ(prompts_.Texts(Kind::ChooseFolder).size(), 2u);
    EXPECT_EQ(test::ReadBytes(work_ / "configuration.ini").substr(0, 3), "7\r\n");
    EXPECT_EQ(session.ErrorsBox(), std::vector<std::string>{"Errors Log"});
  }
}

}  // namespace
}  // namespace likentor
