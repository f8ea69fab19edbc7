// Load Game in the window: a cancelled chooser keeps the loaded game as it was, and a load that
// fails leaves no game for any command to act on and every table as it was.

#include <QLineEdit>
#include <QSpinBox>
#include <fstream>

#include "page_fixture.h"
#include "support/table_helpers.h"

namespace likentor {
namespace {

using test::PageTest;

class LoadWindowTest : public PageTest {
 protected:
  std::filesystem::path Exports() const {
    return ImportExportFolder(SavedGameFolder(game_, "sample"));
  }
  test::Rows Rows(const std::string& table) const {
    Database db(DataFolder(program_));
    return test::ReadRows(db, table);
  }
  // A search for the first player's last name.
  void Search() {
    const std::string last = Rows("sample_players.db").begin()->second.at("last_name");
    Find<QLineEdit>("FirstNameBox")->setText("");
    Find<QLineEdit>("LastNameBox")->setText(QString::fromStdString(last));
    Find<QSpinBox>("PlayerIDBox")->setValue(0);
    Click("PlayerSearchBtn");
  }
  // Loads the sample again and expects its failure.
  void FailingLoad() {
    prompts_.ClearHistory();
    LoadSample();
    ASSERT_EQ(Errors().size(), 1U);
    EXPECT_EQ(Caption(), "Likentor");
    EXPECT_EQ(Status(), "No game loaded.");
    EXPECT_TRUE(Teams().isEmpty());
  }
  // Search and Make New Photo refuse: no game is loaded.
  void NothingActsOnTheGame() {
    prompts_.ClearHistory();
    Search();
    EXPECT_EQ(Messages(), std::vector<std::string>{"Load a game first!"});
    prompts_.ClearHistory();
    Click("MakeNewPhotoBtn");
    EXPECT_EQ(Errors(), std::vector<std::string>{"Load a game first!"});
  }
};

TEST_F(LoadWindowTest, CancelInLoadGameKeepsTheGameItsCaptionAndItsSettings) {
  LoadSample();
  auto* minimum = Find<QSpinBox>("ActMinABEdit");
  const int stored = minimum->value();
  minimum->setValue(stored + 17);  // edited on the dashboard, not saved
  const QStringList teams = Teams();

  prompts_.ClearHistory();
  prompts_.AnswerConfirm(true);  // the changed settings are saved first
  TriggerAndWait("LoadGame1");   // the chooser is cancelled
  EXPECT_TRUE(Errors().empty());
  EXPECT_EQ(Caption(), "Likentor: sample");
  EXPECT_EQ(Status(), "sample.lg loaded.");
  EXPECT_EQ(Teams(), teams);
  EXPECT_EQ(minimum->value(), stored + 17);
  // The game still answers commands.
  Search();
  EXPECT_EQ(Page(), kPlayerPage);
}

TEST_F(LoadWindowTest, AFailedLoadLeavesNoGameToActOnAndTheTablesAsTheyWere) {
  LoadSample();
  // A search's matches stay on the player page, as the user left them.
  Search();
  ASSERT_EQ(Page(), kPlayerPage);
  const test::Rows players = Rows("sample_players.db");
  const test::Rows batting = Rows("sample_batting.db");
  const test::Rows pitching = Rows("sample_pitching.db");
  const auto portraits = [&] {
    int n = 0;
    for (const auto& e :
         std::filesystem::directory_iterator(PicturesFolder(SavedGameFolder(game_, "sample")))) {
      n += e.path().filename().string().starts_with("Player_") ? 1 : 0;
    }
    return n;
  };
  const int portraitsBefore = portraits();

  // A career export that cannot be read: the career tables keep their rows.
  const std::filesystem::path career = Exports() / "players_career_batting_stats.csv";
  const std::filesystem::path aside = folder_ / "batting.csv";
  std::filesystem::rename(career, aside);
  std::filesystem::create_directories(career);
  FailingLoad();
  EXPECT_EQ(Rows("sample_batting.db"), batting);
  EXPECT_EQ(Rows("sample_pitching.db"), pitching);
  NothingActsOnTheGame();
  std::filesystem::remove(career);
  std::filesystem::rename(aside, career);

  // A players export damaged past its first rows: the players table is as it was.
  std::ofstream(Exports() / "players.csv", std::ios::app) << "12345;short\r\n";
  FailingLoad();
  EXPECT_EQ(Rows("sample_players.db"), players);
  NothingActsOnTheGame();
  EXPECT_EQ(portraits(), portraitsBefore);
}

}  // namespace
}  // namespace likentor
