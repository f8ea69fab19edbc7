#include "shell/error_log.h"

#include <gtest/gtest.h>

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
