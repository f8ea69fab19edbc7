// "What will this do?" beside each "Do it!", the run started from its dialog, the closing message
// of a run that kept earlier pictures, Tools > Undo Last Run with its confirmation, and the runs
// kept for undo, on the offscreen platform.

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <regex>

#include "app/run_backup.h"
#include "import/players_fields.h"
#include "support/table_helpers.h"
#include "support/temp_folder.h"
#include "window_fixture.h"

namespace likentor {
namespace {

using test::WindowTest;

class SafeRunsWindowTest : public WindowTest {
 protected:
  // The "What will this do?" dialog open over the window.
  QDialog* DryRunDialog() { return window_->findChild<QDialog*>("DryRunDialog"); }
  test::Rows Rows() const {
    Database db(DataFolder(program_));
    return test::ReadRows(db, "sample_players.db");
  }
  std::map<int, std::string> Portraits() const {
    std::map<int, std::string> bytes;
    for (const auto& [id, row] : Players()) {
      if (std::filesystem::exists(Portrait(id))) bytes[id] = test::ReadBytes(Portrait(id));
    }
    return bytes;
  }
};

TEST_F(SafeRunsWindowTest, WhatWillThisDoThenDoItThenUndo) {
  for (const char* name : {"UniverseDryRunBtn", "TeamDryRunBtn"}) {
    EXPECT_EQ(Find<QPushButton>(name)->text(), "What will this do?");
  }
  // A screen reader tells the two apart.
  EXPECT_EQ(Find<QPushButton>("UniverseDryRunBtn")->accessibleName(),
            "What will a universe run do?");
  EXPECT_EQ(Find<QPushButton>("TeamDryRunBtn")->accessibleName(), "What will a team run do?");
  EXPECT_EQ(Find<QAction>("UndoLastRun1")->text(), "U&ndo Last Run");
  TriggerAndWait("UndoLastRun1");
  EXPECT_EQ(Messages().back(), "Load a game first!");
  LoadSample();
  const std::map<int, std::string> atLoad = Portraits();

  // Team at a Time without a team: the same words as its "Do it!".
  Click("TeamDryRunBtn");
  EXPECT_EQ(Messages().back(), "Maybe you should pick WHICH team first.");
  EXPECT_EQ(DryRunDialog(), nullptr);

  const test::Rows before = Rows();
  Click("UniverseDryRunBtn");
  QDialog* dialog = DryRunDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  const std::string text = Find<QPlainTextEdit>("DryRunText")->toPlainText().toStdString();
  std::smatch make;
  ASSERT_TRUE(std::regex_search(text, make, std::regex(" +(\\d+)  photos it would make"))) << text;
  // It names the level scope it used.
  EXPECT_NE(text.find("for entire universe (All Levels) of sample"), std::string::npos) << text;
  EXPECT_EQ(Rows(), before);  // a dry run writes nothing
  EXPECT_EQ(Portraits(), atLoad);

  // "Do it!" in the dialog starts the run it told of.
  QSignalSpy ended(window_.get(), &MainWindow::RunEnded);
  prompts_.ClearHistory();
  dialog->findChild<QPushButton*>("DryRunDoItBtn")->click();
  ASSERT_TRUE(window_->RunGoing());
  ASSERT_TRUE(ended.wait(120000));
  EXPECT_EQ(Messages(), std::vector<std::string>{"Successfully created " + make[1].str() +
                                                 " photos (All Levels)."});
  const std::map<int, std::string> first = Portraits();

  // A second run over the same players, flagged anew: it keeps what it writes over.
  {
    Database db(DataFolder(program_));
    Table players(db, "sample_players.db");
    for (players.First(); !players.Eof(); players.Next()) {
      if (players.GetBool(kLockedField)) continue;
      players.Edit();
      players.SetBool(kUpdateRequiredField, true);
      ASSERT_TRUE(players.Post());
    }
  }
  prompts_.ClearHistory();
  RunAndWait("UniverseGoBtn");
  std::smatch counts;
  const std::string message = Messages().back();
  ASSERT_TRUE(std::regex_match(
      message, counts,
      std::regex("Successfully created (\\d+) photos \\(All Levels\\)\\. (\\d+) earlier "
                 "pictures were kept; Tools > Undo Last Run brings them "
                 "back\\.")))
      << message;

  // Undo asks first; Cancel changes nothing, OK puts the first run's pictures back.
  prompts_.AnswerConfirm(false);
  TriggerAndWait("UndoLastRun1");
  const std::string question = prompts_.Texts(ScriptedPrompts::Kind::Confirm).back();
  EXPECT_NE(question.find("It puts back " + counts[2].str() + " earlier pictures"),
            std::string::npos)
      << question;
  EXPECT_NE(Portraits(), first);
  prompts_.AnswerConfirm(true);
  TriggerAndWait("UndoLastRun1");
  EXPECT_NE(Messages().back().find(counts[2].str() + " earlier pictures put back"),
            std::string::npos)
      << Messages().back();
  EXPECT_EQ(Portraits(), first);
}

TEST_F(SafeRunsWindowTest, TheRunsKeptAreSetInTheirDialog) {
  LoadSample();
  EXPECT_EQ(Find<QAction>("KeptRuns1")->text(), "&Runs Kept for Undo...");
  Trigger("KeptRuns1");
  auto* dialog = window_->findChild<QDialog*>("KeptRunsDialog");
  ASSERT_NE(dialog, nullptr);
  auto* box = dialog->findChild<QSpinBox*>("KeptRunsBox");
  EXPECT_EQ(box->value(), kDefaultKeptRuns);
  EXPECT_EQ(box->accessibleName(), "Runs kept per game:");
  box->setValue(2);
  dialog->findChild<QPushButton*>("KeptRunsOkBtn")->click();
  EXPECT_EQ(KeptRuns(program_), 2);
  Trigger("KeptRuns1");
  dialog = window_->findChild<QDialog*>("KeptRunsDialog");
  ASSERT_NE(dialog, nullptr);
  dialog->findChild<QSpinBox*>("KeptRunsBox")->setValue(7);
  dialog->findChild<QPushButton*>("KeptRunsCancelBtn")->click();
  EXPECT_EQ(KeptRuns(program_), 2);
}

}  // namespace
}  // namespace likentor
