// What people expect of a desktop window, driven by object names: pages that grow with the window
// and fit small screens, the window's place and the recent games kept between starts, the help
// window, the preview that follows the player grid, grids titled in words with read-only keys,
// and settings that are saved when asked and not dropped without a question.

#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTextBrowser>
#include <filesystem>

#include "app/navigation.h"
#include "database/table_store.h"
#include "import/players_fields.h"
#include "page_fixture.h"
#include "samplegame/image_files.h"
#include "shell/folders.h"
#include "ui/help_window.h"

namespace likentor {
namespace {

using Kind = ScriptedPrompts::Kind;
using test::PageTest;

constexpr const char* kGrid = "PlayersSearchResults";

class HabitsTest : public PageTest {
 protected:
  void Settled() { QCoreApplication::processEvents(); }

  // A last-name prefix that two or more players share.
  std::string SharedPrefix() const {
    Database db(DataFolder(program_));
    Table t(db, "sample_players.db");
    std::map<std::string, int> counts;
    for (t.First(); !t.Eof(); t.Next()) ++counts[t.GetText(kLastNameField).substr(0, 2)];
    for (const auto& [prefix, count] : counts) {
      if (count >= 2 && prefix.size() == 2) return prefix;
    }
    return {};
  }

  void SearchLast(const std::string& last) {
    Find<QLineEdit>("FirstNameBox")->setText("");
    Find<QLineEdit>("LastNameBox")->setText(QString::fromStdString(last));
    Find<QSpinBox>("PlayerIDBox")->setValue(0);
    Click("PlayerSearchBtn");
  }

  QStringList RecentMenu() const {
    QStringList texts;
    for (QAction* action : Find<QMenu>("OpenRecent1")->actions()) texts << action->text();
    return texts;
  }

  // A copy of the saved game "sample" under another name.
  void CopySample(const std::string& name) {
    std::filesystem::copy(SavedGameFolder(game_, "sample"), SavedGameFolder(game_, name),
                          std::filesystem::copy_options::recursive);
  }

  std::string StoredSetting(const char* field) const {
    Database db(DataFolder(program_));
    Table games(db, "games.db");
    EXPECT_TRUE(games.Locate("universe_name", std::string("sample")));
    return games.GetText(field);
  }
};

TEST_F(HabitsTest, PagesGrowWithTheWindowAndTheWindowFitsSmallScreensAtLargeScales) {
  // At 200 % on a 1600 x 1000 screen, and at 150 % on 1366 x 768, with room left for the frame
  // and a taskbar.
  const QSize minimum = window_->minimumSizeHint();
  EXPECT_LE(minimum.width() * 2, 1600 - 40) << minimum.width();
  EXPECT_LE(minimum.height() * 2, 1000 - 100) << minimum.height();
  EXPECT_LE(minimum.width() * 3 / 2, 1366 - 40) << minimum.width();
  EXPECT_LE(minimum.height() * 3 / 2, 768 - 100) << minimum.height();

  // The dashboard scrolls rather than clips in a window that small.
  window_->resize(minimum);
  Settled();
  auto* scroll = Find<QScrollArea>("DashboardScroll");
  ASSERT_EQ(scroll->widget(), Find("DashboardPage"));
  EXPECT_GT(scroll->verticalScrollBar()->maximum() + scroll->horizontalScrollBar()->maximum(), 0);

  // On a large window the number boxes keep their natural width.
  window_->resize(1600, 1000);
  Settled();
  auto* ab = Find<QSpinBox>("ActMinABEdit");
  EXPECT_LE(ab->width(), ab->sizeHint().width());
  EXPECT_EQ(scroll->verticalScrollBar()->maximum(), 0);

  // The player grid takes the page's free height.
  LoadSample();
  SearchLast(SharedPrefix());
  ASSERT_EQ(Page(), kPlayerPage);
  window_->resize(800, 600);
  Settled();
  const int small = Grid(kGrid)->height();
  window_->resize(1200, 1000);
  Settled();
  EXPECT_GE(Grid(kGrid)->height(), small + 350);
  // So does the teams grid of the custom uniforms page.
  Trigger("CustomUniforms1");
  Settled();
  const int teams = Grid("DBGrid1")->height();
  window_->resize(800, 600);
  Settled();
  EXPECT_LE(Grid("DBGrid1")->height(), teams - 350);
}

TEST_F(HabitsTest, TheWindowKeepsItsSizeAndTheLastFiveGamesBetweenStarts) {
  EXPECT_TRUE(RecentMenu().isEmpty());
  EXPECT_FALSE(Find<QMenu>("OpenRecent1")->isEnabled());
  for (const char* name : {"one", "two", "three", "four", "five"}) CopySample(name);
  for (const char* name : {"sample", "one", "two", "three", "four", "five", "two"}) {
    window_->LoadSavedGameNamed(name);
    Settle();
  }
  EXPECT_EQ(Caption(), "Likentor: two");
  const QStringList recent = {"&1 two", "&2 five", "&3 four", "&4 three", "&5 one"};
  EXPECT_EQ(RecentMenu(), recent);
  window_->resize(900, 640);
  Settled();

  CloseWindow();
  OpenWindow();
  EXPECT_EQ(window_->size(), QSize(900, 640));
  EXPECT_EQ(RecentMenu(), recent);
  // The folder's own configuration is the program's, as it was.
  EXPECT_EQ(test::ReadBytes(program_ / "configuration.ini").find("recent"), std::string::npos);

  // Chosen from the menu, a game loads and goes to the top.
  Trigger("RecentGame3");
  Settle();
  EXPECT_EQ(Caption(), "Likentor: four");
  EXPECT_EQ(RecentMenu().front(), "&1 four");
  EXPECT_EQ(RecentMenu().size(), 5);
}

TEST_F(HabitsTest, F1ShowsTheGuideInAWindowOfTheProgram) {
  EXPECT_EQ(Find<QAction>("Help1")->shortcut(), QKeySequence(Qt::Key_F1));
  EXPECT_EQ(window_->findChild<QAction*>("Forum1"), nullptr);
  Trigger("Help1");
  ASSERT_NE(window_->Help(), nullptr);
  EXPECT_TRUE(window_->Help()->isVisible());
  EXPECT_FALSE(window_->Help()->isModal());
  const QString text = window_->Help()->Browser()->toPlainText();
  for (const char* topic : {"The first start", "Loading a game", "Making photos", "Locks",
                            "Custom uniforms", "Art packs", "Undo", "The command line"}) {
    EXPECT_TRUE(text.contains(topic)) << topic;
  }
  // Markdown shown as text, not as its marks.
  EXPECT_FALSE(text.contains("## "));
}

TEST_F(HabitsTest, ThePreviewFollowsThePlayerOnTheCurrentRow) {
  LoadSample();
  const std::string prefix = SharedPrefix();
  SearchLast(prefix);
  ASSERT_EQ(Page(), kPlayerPage);
  const int first = Cell(kGrid, 0, "player_id").toInt();
  const int second = Cell(kGrid, 1, "player_id").toInt();
  Click("PlayerDone");
  // Each of the two players gets a picture of his own colour.
  const auto paint = [this](int id, std::uint8_t red) {
    samplegame::Image image(90, 135, false);
    for (int y = 0; y < 135; ++y) {
      for (int x = 0; x < 90; ++x) image.Set(x, y, red, 40, 40);
    }
    samplegame::WritePng(PicturesFolder(SavedGameFolder(game_, "sample")) /
                             ("Player_" + std::to_string(id) + ".png"),
                         image);
  };
  paint(first, 200);
  paint(second, 100);

  SearchLast(prefix);
  ASSERT_EQ(Cell(kGrid, 0, "player_id").toInt(), first);
  EXPECT_NEAR(Picture("PlayerPreviewImage").pixelColor(10, 10).red(), 200, 4);
  Trigger("PlayersSearchResultsNavigatorNext");
  EXPECT_NEAR(Picture("PlayerPreviewImage").pixelColor(10, 10).red(), 100, 4);
  Trigger("PlayersSearchResultsNavigatorPrior");
  EXPECT_NEAR(Picture("PlayerPreviewImage").pixelColor(10, 10).red(), 200, 4);
}

TEST_F(HabitsTest, GridsSpeakInWordsAndKeepTheirKeys) {
  LoadSample();
  SearchLast(SharedPrefix());
  ASSERT_EQ(Page(), kPlayerPage);
  TableModel* model = Model(kGrid);
  const auto title = [model](const char* field) {
    return model->headerData(model->FieldIndex(field), Qt::Horizontal, Qt::DisplayRole).toString();
  };
  EXPECT_EQ(title("player_id"), "Player id");
  EXPECT_EQ(title("first_name"), "First name");
  EXPECT_EQ(title("team_id"), "Team");
  EXPECT_EQ(title("nation_id"), "Nation");
  EXPECT_EQ(title("career_ab"), "Career at-bats");
  EXPECT_EQ(title("update_required"), "Needs a new photo");
  // The field's own name is the title's tooltip.
  EXPECT_EQ(
      model->headerData(model->FieldIndex("career_ab"), Qt::Horizontal, Qt::ToolTipRole).toString(),
      "career_ab");

  // Teams and nations by name beside their numbers; the number is what is stored and edited.
  const QStringList teamNames = Teams();
  int named = 0;
  for (int row = 0; row < model->rowCount(); ++row) {
    const QString team = Cell(kGrid, row, "team_id");
    const QModelIndex cell = model->index(row, model->FieldIndex("team_id"));
    if (team == "0") continue;
    const QString shown = model->data(cell, Qt::DisplayRole).toString();
    EXPECT_TRUE(shown.endsWith(" (" + team + ")")) << shown.toStdString();
    EXPECT_TRUE(teamNames.contains(shown.chopped(team.size() + 3))) << shown.toStdString();
    EXPECT_EQ(model->data(cell, Qt::EditRole).toString(), team);
    ++named;
  }
  EXPECT_GT(named, 0);
  const QString nation = Cell(kGrid, 0, "nation_id");
  EXPECT_TRUE(model->data(model->index(0, model->FieldIndex("nation_id")), Qt::DisplayRole)
                  .toString()
                  .endsWith(" (" + nation + ")"));

  // The key refuses edits, and says so.
  const QModelIndex key = model->index(0, model->FieldIndex("player_id"));
  EXPECT_FALSE(model->flags(key).testFlag(Qt::ItemIsEditable));
  const QString id = Cell(kGrid, 0, "player_id");
  prompts_.ClearHistory();
  EXPECT_FALSE(SetCell(kGrid, 0, "player_id", "99999"));
  EXPECT_EQ(Cell(kGrid, 0, "player_id"), id);
  EXPECT_FALSE(model->InEdit());
  EXPECT_EQ(Errors(),
            std::vector<std::string>{"Player id cannot be changed: it is the key of the row."});

  // The store's messages name the column as its title does.
  prompts_.ClearHistory();
  EXPECT_FALSE(SetCell(kGrid, 0, "career_ip", "lots"));
  EXPECT_EQ(Errors(),
            std::vector<std::string>{"Career innings pitched needs a whole number, not 'lots'."});

  // The nations' shares: said to be relative weights, with each row's sum.
  Click("PlayerDone");
  Trigger("EthnicityData1");
  TableModel* nations = Model("NationsGrid");
  const int sum = nations->columnCount() - 1;
  EXPECT_EQ(nations->headerData(sum, Qt::Horizontal, Qt::DisplayRole).toString(), "Sum of shares");
  EXPECT_TRUE(Find<QLabel>("NationsNote")->text().contains("relative weights"));
  ASSERT_TRUE(SetCell("NationsGrid", 0, "caucasian", "7"));
  ASSERT_TRUE(SetCell("NationsGrid", 0, "african", "2"));
  ASSERT_TRUE(SetCell("NationsGrid", 0, "east_indian", "0"));
  ASSERT_TRUE(SetCell("NationsGrid", 0, "asian", "1"));
  EXPECT_EQ(nations->data(nations->index(0, sum), Qt::DisplayRole).toString(), "10");
  EXPECT_FALSE(nations->flags(nations->index(0, sum)).testFlag(Qt::ItemIsEditable));
  Trigger("NationsNavigatorCancel");

  // The editors say what they refuse once, in words.
  Trigger("HairData1");
  prompts_.ClearHistory();
  EXPECT_FALSE(SetCell("FacialHairGrid", 0, "frequency", "-1"));
  EXPECT_EQ(Errors(), std::vector<std::string>{"Frequency cannot be negative: -1 was typed."});
}

TEST_F(HabitsTest, SettingsAreSavedWhenAskedAndNotDroppedWithoutAQuestion) {
  LoadSample();
  auto* minimum = Find<QSpinBox>("ActMinABEdit");
  const int stored = minimum->value();
  minimum->setValue(stored + 5);
  Click("SaveSettingsBtn");
  EXPECT_EQ(Status(), "Settings saved.");
  EXPECT_EQ(StoredSetting("active_ab_minimum"), std::to_string(stored + 5));

  // Changed, then another load: asked, and saved on OK.
  minimum->setValue(stored + 9);
  prompts_.ClearHistory();
  prompts_.AnswerConfirm(true);
  LoadSample();
  ASSERT_FALSE(prompts_.Texts(Kind::Confirm).empty());
  EXPECT_EQ(prompts_.Texts(Kind::Confirm).front(),
            "The photo settings of sample were changed and not saved. Save them?");
  EXPECT_EQ(StoredSetting("active_ab_minimum"), std::to_string(stored + 9));
  EXPECT_EQ(minimum->value(), stored + 9);

  // Changed, then the window closes: asked, and dropped on Cancel.
  minimum->setValue(stored + 12);
  prompts_.ClearHistory();
  prompts_.AnswerConfirm(false);
  CloseWindow();
  EXPECT_EQ(prompts_.Texts(Kind::Confirm).size(), 1U);
  EXPECT_EQ(StoredSetting("active_ab_minimum"), std::to_string(stored + 9));
}

TEST_F(HabitsTest, EveryDashboardControlSaysWhatItDoes) {
  int controls = 0;
  for (QWidget* control : Find("DashboardPage")->findChildren<QWidget*>()) {
    if (control->focusPolicy() == Qt::NoFocus || !control->isVisibleTo(Find("DashboardPage")) ||
        control->objectName().isEmpty() || control->objectName().startsWith("qt_")) {
      continue;
    }
    ++controls;
    EXPECT_FALSE(control->toolTip().isEmpty()) << control->objectName().toStdString();
  }
  EXPECT_GE(controls, 20);
  // The level box is a plain drop-down: no text can be typed that names no level.
  EXPECT_FALSE(Find<QComboBox>("LevelScopeBox")->isEditable());
}

TEST_F(HabitsTest, TheStatusBarShowsWhatBelongsToThePageInView) {
  LoadSample();
  SearchLast(SharedPrefix());
  ASSERT_EQ(Page(), kPlayerPage);
  EXPECT_TRUE(Status().endsWith("players found.")) << Status().toStdString();
  // Left by the menu: the count stays with the player page.
  Trigger("HairData1");
  EXPECT_EQ(Status(), "sample.lg loaded.");
}

}  // namespace
}  // namespace likentor
