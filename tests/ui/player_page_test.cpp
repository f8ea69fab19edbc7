// The player page driven by object names: searches, the results grid with its navigator and the
// "Locked?" box, See Current Photo for each kind of file, and Make New Photo.

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>
#include <filesystem>
#include <map>

#include "app/navigation.h"
#include "database/table_store.h"
#include "import/players_fields.h"
#include "page_fixture.h"
#include "samplegame/image_files.h"
#include "shell/folders.h"

namespace likentor {
namespace {

using test::PageTest;

constexpr const char* kGrid = "PlayersSearchResults";

class PlayerPageTest : public PageTest {
 protected:
  // A value of one player as stored.
  std::string Stored(int id, const char* field) const {
    Database db(DataFolder(program_));
    Table t(db, "sample_players.db");
    EXPECT_TRUE(t.Locate(kPlayerIdField, id));
    return t.GetText(field);
  }

  // A last-name prefix that two or more players share, and how many share it.
  std::pair<std::string, int> SharedPrefix() const {
    Database db(DataFolder(program_));
    Table t(db, "sample_players.db");
    std::map<std::string, int> counts;
    for (t.First(); !t.Eof(); t.Next()) ++counts[t.GetText(kLastNameField).substr(0, 2)];
    for (const auto& [prefix, count] : counts) {
      if (count >= 2 && prefix.size() == 2) return {prefix, count};
    }
    return {"", 0};
  }

  void Search(const std::string& last, int id = 0) {
    Find<QLineEdit>("FirstNameBox")->setText("");
    Find<QLineEdit>("LastNameBox")->setText(QString::fromStdString(last));
    Find<QSpinBox>("PlayerIDBox")->setValue(id);
    Click("PlayerSearchBtn");
  }

  int CurrentId() const { return Cell(kGrid, Grid(kGrid)->CurrentRow(), "player_id").toInt(); }

  std::filesystem::path Pictures() const {
    return PicturesFolder(SavedGameFolder(game_, "sample"));
  }
};

TEST_F(PlayerPageTest, SearchesAndEditsInTheGrid) {
  LoadSample();
  prompts_.ClearHistory();
  Search("Zzqx");
  EXPECT_EQ(Messages(), std::vector<std::string>{"No matches found."});
  EXPECT_EQ(Page(), kDashboardPage);

  const auto [prefix, count] = SharedPrefix();
  ASSERT_GE(count, 2);
  Search(prefix);
  ASSERT_EQ(Page(), kPlayerPage);
  TableModel* model = Model(kGrid);
  ASSERT_EQ(model->rowCount(), count);
  EXPECT_EQ(model->columnCount(), 23);
  EXPECT_EQ(model->headerData(20, Qt::Horizontal, Qt::DisplayRole).toString(), "Hand");
  EXPECT_EQ(Grid(kGrid)->CurrentRow(), 0);
  EXPECT_EQ(Find<QLabel>("DBText1")->text(), Cell(kGrid, 0, "first_name"));
  EXPECT_EQ(Find<QLabel>("DBText2")->text(), Cell(kGrid, 0, "last_name"));
  const int first = Cell(kGrid, 0, "player_id").toInt();
  const int second = Cell(kGrid, 1, "player_id").toInt();

  // Posted by the navigator.
  ASSERT_TRUE(SetCell(kGrid, 0, "career_ab", "4321"));
  EXPECT_NE(Stored(first, "career_ab"), "4321");
  Trigger("PlayersSearchResultsNavigatorPost");
  EXPECT_EQ(Stored(first, "career_ab"), "4321");

  // Cancelled.
  ASSERT_TRUE(SetCell(kGrid, 0, "career_ab", "99"));
  Trigger("PlayersSearchResultsNavigatorCancel");
  EXPECT_EQ(Cell(kGrid, 0, "career_ab"), "4321");
  EXPECT_EQ(Stored(first, "career_ab"), "4321");

  // A number field takes no other text, and says so.
  prompts_.ClearHistory();
  EXPECT_FALSE(SetCell(kGrid, 0, "career_ip", "lots"));
  EXPECT_EQ(Errors(),
            std::vector<std::string>{"Career innings pitched needs a whole number, not 'lots'."});

  // Posted by a move to the next row.
  ASSERT_TRUE(SetCell(kGrid, 0, "career_ip", "77"));
  Trigger("PlayersSearchResultsNavigatorNext");
  EXPECT_EQ(Grid(kGrid)->CurrentRow(), 1);
  EXPECT_EQ(Stored(first, "career_ip"), "77");

  // Lost when the query closes under it: leaving by the menu, then a new search.
  ASSERT_TRUE(SetCell(kGrid, 1, "career_ip", "55"));
  Trigger("HomePage1");
  EXPECT_EQ(Page(), kDashboardPage);
  Search(prefix);
  EXPECT_NE(Stored(second, "career_ip"), "55");

  // "Locked?" ticked on the first row, a move on, Done: kept.
  ASSERT_EQ(Stored(first, "locked"), "false");
  Find<QCheckBox>("DBCheckBox3")->click();
  EXPECT_EQ(Cell(kGrid, 0, "locked"), "true");
  Trigger("PlayersSearchResultsNavigatorNext");
  EXPECT_FALSE(Find<QCheckBox>("DBCheckBox3")->isChecked());
  // Ticked on the second row and Done at once: Done posts it.
  Find<QCheckBox>("DBCheckBox3")->click();
  Click("PlayerDone");
  EXPECT_EQ(Page(), kDashboardPage);
  EXPECT_EQ(Stored(first, "locked"), "true");
  EXPECT_EQ(Stored(second, "locked"), "true");
}

TEST_F(PlayerPageTest, SeeCurrentPhotoTakesTheFirstFileInOrder) {
  LoadSample();
  const int id = Players().begin()->first;
  Search("", id);
  ASSERT_EQ(Page(), kPlayerPage);
  const std::string name =
      Cell(kGrid, 0, "first_name").toStdString() + "_" + Cell(kGrid, 0, "last_name").toStdString();
  const std::string player = "Player_" + std::to_string(id);
  const std::string files[] = {"default_player_photo.jpg", player + ".jpg", name + ".jpg",
                               name + ".png", player + ".png"};
  for (const std::string& file : files) std::filesystem::remove(Pictures() / file);

  // Nothing there, the default picture neither: an error box and an empty preview.
  prompts_.ClearHistory();
  Click("SeeCurrentPhotoBtn");
  EXPECT_EQ(Errors().size(), 1U);
  EXPECT_TRUE(Picture("PlayerPreviewImage").isNull());

  // Each file added comes before those added earlier; its colour tells which one is shown.
  int red = 30;
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    red += 40;
    samplegame::Image image(120, 150, false);
    for (int y = 0; y < 150; ++y) {
      for (int x = 0; x < 120; ++x) image.Set(x, y, static_cast<std::uint8_t>(red), 90, 30);
    }
    if (file.ends_with(".png")) {
      samplegame::WritePng(Pictures() / file, image);
    } else {
      samplegame::WriteJpeg(Pictures() / file, image, 95);
    }
    Click("SeeCurrentPhotoBtn");
    const QImage shown = Picture("PlayerPreviewImage");
    // At its own size, clipped by the 90 x 135 box.
    ASSERT_EQ(shown.size(), QSize(120, 150));
    EXPECT_NEAR(shown.pixelColor(5, 5).red(), red, 6);
    EXPECT_NEAR(shown.pixelColor(5, 5).blue(), 30, 6);
    EXPECT_EQ(Find<PictureBox>("PlayerPreviewImage")->contentsRect().size(), QSize(90, 135));
  }
}

TEST_F(PlayerPageTest, MakeNewPhotoShowsTheFileAndAsksBeforeReplacingALockedOne) {
  LoadSample();
  const int id = Players().begin()->first;
  Search("", id);
  ASSERT_EQ(Page(), kPlayerPage);
  ASSERT_TRUE(SetCell(kGrid, 0, "update_required", "true"));
  Trigger("PlayersSearchResultsNavigatorPost");
  ASSERT_TRUE(SetCell(kGrid, 0, "locked", "false"));
  prompts_.ClearHistory();
  Click("MakeNewPhotoBtn");
  EXPECT_TRUE(Errors().empty());
  ASSERT_TRUE(std::filesystem::exists(Portrait(id)));
  EXPECT_TRUE(SamePixels(Picture("PlayerPreviewImage"), PngImage::Load(Portrait(id))));
  // The grid shows the row as the portrait left it.
  EXPECT_EQ(Cell(kGrid, 0, "update_required"), "false");
  EXPECT_EQ(Model(kGrid)->data(Model(kGrid)->index(0, Model(kGrid)->FieldIndex("update_required")),
                               Qt::CheckStateRole),
            QVariant(Qt::Unchecked));

  // Locked, with a picture that may be the user's own: asked first, naming the file.
  Find<QCheckBox>("DBCheckBox3")->click();
  samplegame::Image own(90, 135, false);
  for (int y = 0; y < 135; ++y) {
    for (int x = 0; x < 90; ++x) own.Set(x, y, 1, 2, 3);
  }
  samplegame::WritePng(Portrait(id), own);
  const std::string before = test::ReadBytes(Portrait(id));
  prompts_.ClearHistory();
  prompts_.AnswerConfirm(false);
  Click("MakeNewPhotoBtn");
  const auto asked = prompts_.Texts(ScriptedPrompts::Kind::Confirm);
  ASSERT_EQ(asked.size(), 1U);
  EXPECT_NE(asked[0].find(Portrait(id).string()), std::string::npos) << asked[0];
  EXPECT_EQ(test::ReadBytes(Portrait(id)), before);
  // The tick was posted before the question.
  EXPECT_EQ(Players().at(id).locked, true);

  prompts_.AnswerConfirm(true);
  Click("MakeNewPhotoBtn");
  EXPECT_NE(test::ReadBytes(Portrait(id)), before);
  EXPECT_TRUE(SamePixels(Picture("PlayerPreviewImage"), PngImage::Load(Portrait(id))));
  EXPECT_TRUE(Players().at(id).locked);
}

}  // namespace
}  // namespace likentor
