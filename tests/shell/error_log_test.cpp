#include "shell/error_log.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>

#include "shell/scripted_prompts.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

using Kind = ScriptedPrompts::Kind;

TEST(ErrorLog, AppendsOneLinePerMessageInOrder) {
  test::TempFolder folder;
  ErrorLog log(folder.Path());
  log.CreateErrorFile();
  EXPECT_EQ(test::ReadBytes(folder / "errors.txt"), "Errors Log\r\n");
  log.ReportError("Error posting record Smith in games.db");
  log.ReportError("Error adding record in facial_hair.db");
  EXPECT_EQ(test::ReadBytes(folder / "errors.txt"),
            "Errors Log\r\nError posting record Smith in games.db\r\n"
            "Error adding record in facial_hair.db\r\n");
  EXPECT_EQ(log.ShowErrors(),
            (std::vector<std::string>{"Errors Log", "Error posting record Smith in games.db",
                                      "Error adding record in facial_hair.db"}));
  // Creating the log again starts it over.
  log.CreateErrorFile();
  EXPECT_EQ(log.ShowErrors(), std::vector<std::string>{"Errors Log"});
}

TEST(ErrorLog, ADeletedLogIsMadeAgainWithItsHeader) {
  test::TempFolder folder;
  ErrorLog log(folder.Path());
  log.ReportError("first");
  EXPECT_EQ(test::ReadBytes(folder / "errors.txt"), "Errors Log\r\nfirst\r\n");
  std::filesystem::remove(folder / "errors.txt");
  EXPECT_EQ(log.ShowErrors(), std::vector<std::string>{"Errors Log"});
  EXPECT_EQ(test::ReadBytes(folder / "errors.txt"), "Errors Log\r\n");
  // A log that cannot be written is skipped without a fuss.
  ErrorLog nowhere(folder / "missing");
  nowhere.ReportError("lost");
  EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
}

TEST(ErrorLog, ALineThatDoesNotFitIsLeftOutWholeAndCounted) {
  test::TempFolder folder;
  ErrorLog log(folder.Path());
  log.CreateErrorFile();
  log.ReportError("kept");
  const std::string before = test::ReadBytes(folder / "errors.txt");
  // A full disk: the file may grow by a few bytes only. In a child, so the limit stays there.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{before.size() + 10, before.size() + 10};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(2);
    log.ReportError("Error posting record " + std::string(200, 'x') + " in sample_players.db");
    log.ReportError("short");
    ::_exit(log.Reported() == 3 && log.Unwritten() == 1 ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(test::ReadBytes(folder / "errors.txt"), before + "short\r\n");

  EXPECT_EQ(ErrorsToSee(log.File(), 1, 0), "1 error; see the errors log.");
  EXPECT_EQ(ErrorsToSee(log.File(), 3, 2),
            "3 errors; see the errors log (2 of them could not be written to " +
                (folder / "errors.txt").string() + ").");
}

TEST(ErrorLog, ClearingAsksFirstAndCancelLeavesTheLogAlone) {
  test::TempFolder folder;
  ErrorLog log(folder.Path());
  log.CreateErrorFile();
  log.ReportError("old");
  ScriptedPrompts prompts;
  prompts.AnswerConfirm(false);
  EXPECT_FALSE(ClearErrorsFile1Click(log, prompts));
  EXPECT_EQ(test::ReadBytes(folder / "errors.txt"), "Errors Log\r\nold\r\n");
  ASSERT_EQ(prompts.History().size(), 1u);
  EXPECT_EQ(prompts.History()[0],
            (ScriptedPrompts::Shown{Kind::Confirm, "Confirm",
                                    "Are you sure you want to clear the errors log file?"}));

  prompts.ClearHistory();
  prompts.AnswerConfirm(true);
  EXPECT_TRUE(ClearErrorsFile1Click(log, prompts));
  EXPECT_EQ(test::ReadBytes(folder / "errors.txt"), "Errors Log\r\n");
  EXPECT_EQ(prompts.History(),
            (std::vector<ScriptedPrompts::Shown>{
                {Kind::Confirm, "Confirm", "Are you sure you want to clear the errors log file?"},
                {Kind::Message, "Likentor", "Error log file cleared."}}));
}

}  // namespace
}  // namespace likentor
