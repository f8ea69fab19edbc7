// The portraits page, driven by object names on the offscreen platform: a team's pictures in
// roster order with names and marks, "Show them" after a run, the player page from a thumbnail,
// New Look of several thumbnails as one run that one undo takes back, the contact sheet from the
// window and the pictures a run replaced beside the new ones.

#include <QCheckBox>
#include <QListView>
#include <QMenu>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <set>
#include <tuple>

#include "app/navigation.h"
#include "app/player_search.h"
#include "database/table_store.h"
#include "import/players_fields.h"
#include "page_fixture.h"
#include "portrait/contact_sheet.h"
#include "portrait/png_image.h"
#include "shell/folders.h"
#include "ui/portraits_page.h"
#include "ui/thumbnail_model.h"

// Fontconfig, under Qt's text, keeps its caches for the life of the process by design.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\n";
}

namespace likentor {
namespace {

namespace fs = std::filesystem;
using test::PageTest;

struct Rostered {
  int id = 0;
  int position = 0;
  std::string first;
  std::string last;
  bool locked = false;
};

class PortraitsWindowTest : public PageTest {
 protected:
  PortraitsPage* Portraits() const { return Find<PortraitsPage>("PortraitsPage"); }
  ThumbnailModel* Model() const { return Portraits()->Model(); }
  QListView* View() const { return Find<QListView>("PortraitsView"); }

  // Runs the team of the team box's item `item` and answers its team id.
  int RunTeam(int item) {
    auto* teams = Find<QComboBox>("TeamLookupBox");
    teams->setCurrentIndex(item);
    RunAndWait("TeamGoBtn");
    return teams->itemData(item).toInt();
  }

  // The players of a team as the game lists a roster: position, then last and first name.
  std::vector<Rostered> Roster(int teamId) const {
    Database db(DataFolder(program_));
    Table t(db, "sample_players.db");
    std::vector<Rostered> roster;
    for (t.First(); !t.Eof(); t.Next()) {
      if (t.GetInt(kTeamIdField, 0) != teamId) continue;
      roster.push_back({t.GetInt(kPlayerIdField), t.GetInt(kPositionField, 0),
                        t.GetText(kFirstNameField), t.GetText(kLastNameField),
                        t.GetBool(kLockedField)});
    }
    std::sort(roster.begin(), roster.end(), [](const Rostered& a, const Rostered& b) {
      return std::tie(a.position, a.last, a.first, a.id) <
             std::tie(b.position, b.last, b.first, b.id);
    });
    return roster;
  }

  void SetStored(int id, const char* field, bool value) const {
    Database db(DataFolder(program_));
    Table t(db, "sample_players.db");
    ASSERT_TRUE(t.Locate(kPlayerIdField, id));
    t.Edit();
    t.SetBool(field, value);
    ASSERT_TRUE(t.Post());
  }
  std::tuple<int, int, int, int> Look(int id) const {
    Database db(DataFolder(program_));
    Table t(db, "sample_players.db");
    EXPECT_TRUE(t.Locate(kPlayerIdField, id));
    return {t.GetInt(kEthnicityField, 0), t.GetInt(kFaceField, 0), t.GetInt(kHairColorField, 0),
            t.GetInt(kFacialHairStyleField, 0)};
  }

  // Waits until every row's picture has been read on the worker.
  void WaitForPictures() {
    for (int i = 0; i < 2000; ++i) {
      bool all = true;
      for (int row = 0; row < Model()->rowCount(); ++row) {
        if (!Model()->Ready(row)) {
          // Asking is what starts the read.
          Model()->data(Model()->index(row), Qt::DecorationRole);
          Model()->data(Model()->index(row), ThumbnailModel::BeforeRole);
          all = false;
        }
      }
      if (all) return;
      QTest::qWait(5);
    }
    FAIL() << "the pictures were not read";
  }
  QImage Shown(int row, int role = Qt::DecorationRole) const {
    return Model()->data(Model()->index(row), role).value<QImage>();
  }
  std::vector<int> ShownIds() const {
    std::vector<int> ids;
    for (int row = 0; row < Model()->rowCount(); ++row) {
      ids.push_back(Model()->data(Model()->index(row), ThumbnailModel::PlayerIdRole).toInt());
    }
    return ids;
  }
  fs::path Pictures() const { return PicturesFolder(SavedGameFolder(game_, "sample")); }
};

TEST_F(PortraitsWindowTest, TeamShownInRosterOrderWithNamesAndMarks) {
  // Guarded as the other pages: nothing but the message before a game is loaded.
  prompts_.ClearHistory();
  Trigger("Portraits1");
  EXPECT_EQ(Messages(), std::vector<std::string>{std::string(kLoadGameFirst)});
  EXPECT_EQ(Page(), kDashboardPage);
  Click("PortraitsBtn");
  EXPECT_EQ(Messages().size(), 2u);
  EXPECT_EQ(Page(), kDashboardPage);

  LoadSample();
  const int teamId = RunTeam(1);
  std::vector<Rostered> roster = Roster(teamId);
  ASSERT_GE(roster.size(), 3u);
  // One player locked (and the next not), another whose picture is his own (named after him, no
  // portrait of ours).
  SetStored(roster[0].id, "locked", true);
  SetStored(roster[1].id, "locked", false);
  const Rostered own = roster[2];
  fs::remove(Portrait(own.id));
  fs::copy_file(Portrait(roster[1].id), Pictures() / (own.first + "_" + own.last + ".png"));
  roster = Roster(teamId);
  EXPECT_TRUE(roster[0].locked);
  EXPECT_FALSE(roster[1].locked);

  prompts_.ClearHistory();
  Find<QComboBox>("TeamLookupBox")->setCurrentIndex(1);
  Trigger("Portraits1");
  EXPECT_TRUE(Messages().empty());
  ASSERT_EQ(Page(), kPortraitsPage);
  EXPECT_EQ(Find<QComboBox>("PortraitsTeamBox")->currentData().toInt(), teamId);
  EXPECT_EQ(Find<QComboBox>("PortraitsShowBox")->currentIndex(), 0);
  const QString team = Find<QComboBox>("TeamLookupBox")->itemText(1);

  ASSERT_EQ(Model()->rowCount(), static_cast<int>(roster.size()));
  WaitForPictures();
  for (int row = 0; row < Model()->rowCount(); ++row) {
    const Rostered& player = roster[static_cast<std::size_t>(row)];
    const QModelIndex index = Model()->index(row);
    EXPECT_EQ(index.data(ThumbnailModel::PlayerIdRole).toInt(), player.id) << row;
    const QString name = QString::fromStdString(player.first + " " + player.last);
    EXPECT_EQ(index.data(Qt::DisplayRole).toString(), name);
    EXPECT_EQ(index.data(Qt::AccessibleTextRole).toString(), name + ", " + team);
    EXPECT_EQ(index.data(ThumbnailModel::LockedRole).toBool(), player.locked) << row;
    EXPECT_EQ(index.data(ThumbnailModel::OwnRole).toBool(), player.id == own.id) << row;
    const fs::path file = player.id == own.id ? Pictures() / (own.first + "_" + own.last + ".png")
                                              : Portrait(player.id);
    EXPECT_TRUE(SamePixels(Shown(row), PngImage::Load(file))) << row;
  }
  // Arrows move through the grid; the grid has the focus.
  View()->setFocus();
  View()->setCurrentIndex(Model()->index(0));
  QTest::keyClick(View(), Qt::Key_Right);
  EXPECT_EQ(View()->currentIndex().row(), 1);

  // Lock / Unlock of the thumbnail's menu: the unlocked player is locked, and marked so.
  View()->selectionModel()->select(Model()->index(1), QItemSelectionModel::ClearAndSelect);
  Find<QAction>("PortraitLock")->trigger();
  EXPECT_TRUE(Roster(teamId)[1].locked);
  EXPECT_TRUE(Model()->data(Model()->index(1), ThumbnailModel::LockedRole).toBool());

  // Larger thumbnails are laid out larger.
  const QSize small = View()->gridSize();
  Find<QSlider>("PortraitsSizeSlider")->setValue(2);
  EXPECT_EQ(Find<QLabel>("PortraitsSizeLabel")->text(), QString::fromUtf8("2\u00d7"));
  EXPECT_GT(View()->gridSize().width(), small.width() * 3 / 2);

  // The picture folder is said when no file manager opens.
  Portraits()->SetFolderOpener([](const QUrl&) { return false; });
  prompts_.ClearHistory();
  Find<QAction>("PortraitFolder")->trigger();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find(Pictures().string()), std::string::npos) << Messages()[0];
}

TEST_F(PortraitsWindowTest, ShowThemOpensTheRunsPlayersAndDoubleClickOpensThePlayerPage) {
  LoadSample();
  EXPECT_FALSE(Find("ShowThemBtn")->isVisible());
  const auto before = Players();
  const int teamId = RunTeam(2);
  std::set<int> made;
  for (const auto& [id, row] : Players()) {
    if (before.at(id).updateRequired && !row.updateRequired) made.insert(id);
  }
  ASSERT_FALSE(made.empty());
  ASSERT_TRUE(Find("ShowThemBtn")->isVisible());
  Click("ShowThemBtn");
  ASSERT_EQ(Page(), kPortraitsPage);
  EXPECT_EQ(Find<QComboBox>("PortraitsShowBox")->currentIndex(), 1);
  const std::vector<int> shown = ShownIds();
  EXPECT_EQ(std::set<int>(shown.begin(), shown.end()), made);
  EXPECT_EQ(shown.size(), made.size());
  for (int id : shown) EXPECT_EQ(Players().at(id).teamId, teamId);

  // Double-click on a thumbnail: the player page on that player.
  const int row = 1;
  const int id = shown[row];
  const QRect cell = View()->visualRect(Model()->index(row));
  ASSERT_TRUE(cell.isValid());
  QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseDClick(View()->viewport(), Qt::LeftButton, {}, cell.center());
  ASSERT_EQ(Page(), kPlayerPage);
  EXPECT_EQ(Cell("PlayersSearchResults", 0, "player_id").toInt(), id);
  EXPECT_EQ(Find<QLabel>("DBText1")->text(), Model()->Player(row).firstName.c_str());

  // Enter on another opens that one.
  Trigger("Portraits1");
  ASSERT_EQ(Page(), kPortraitsPage);
  View()->setFocus();
  View()->setCurrentIndex(Model()->index(0));
  QTest::keyClick(View(), Qt::Key_Return);
  ASSERT_EQ(Page(), kPlayerPage);
  EXPECT_EQ(Cell("PlayersSearchResults", 0, "player_id").toInt(), shown[0]);
}

TEST_F(PortraitsWindowTest, NewLookOfTwoThumbnailsIsOneRunThatOneUndoPutsBack) {
  LoadSample();
  const int teamId = RunTeam(1);
  const std::vector<Rostered> roster = Roster(teamId);
  for (const Rostered& player : {roster[0], roster[1]}) SetStored(player.id, "locked", false);
  Trigger("Portraits1");
  ASSERT_EQ(Page(), kPortraitsPage);
  const int a = roster[0].id;
  const int b = roster[1].id;
  const auto lookA = Look(a);
  const auto lookB = Look(b);
  const std::string bytesA = test::ReadBytes(Portrait(a));
  const std::string bytesB = test::ReadBytes(Portrait(b));

  View()->selectionModel()->select(Model()->index(0), QItemSelectionModel::Select);
  View()->selectionModel()->select(Model()->index(1), QItemSelectionModel::Select);
  prompts_.ClearHistory();
  Find<QAction>("PortraitNewLook")->trigger();
  EXPECT_TRUE(Errors().empty()) << Errors().front();
  EXPECT_NE(Look(a), lookA);
  EXPECT_NE(Look(b), lookB);
  EXPECT_NE(test::ReadBytes(Portrait(a)), bytesA);
  EXPECT_NE(test::ReadBytes(Portrait(b)), bytesB);
  // The page shows the new portraits.
  WaitForPictures();
  EXPECT_TRUE(SamePixels(Shown(0), PngImage::Load(Portrait(a))));
  EXPECT_TRUE(SamePixels(Shown(1), PngImage::Load(Portrait(b))));

  prompts_.AnswerConfirm(true);
  TriggerAndWait("UndoLastRun1");
  EXPECT_TRUE(Errors().empty()) << Errors().front();
  EXPECT_EQ(Look(a), lookA);
  EXPECT_EQ(Look(b), lookB);
  EXPECT_EQ(test::ReadBytes(Portrait(a)), bytesA);
  EXPECT_EQ(test::ReadBytes(Portrait(b)), bytesB);
  // The team run before it is the next to undo: the two new looks were one run.
  const auto confirms = prompts_.Texts(ScriptedPrompts::Kind::Confirm);
  ASSERT_EQ(confirms.size(), 1u);
  EXPECT_NE(confirms[0].find("New Look for 2 players"), std::string::npos) << confirms[0];
  WaitForPictures();
  EXPECT_TRUE(SamePixels(Shown(0), PngImage::Load(Portrait(a))));
}

TEST_F(PortraitsWindowTest, ContactSheetHoldsTheShownPortraits) {
  LoadSample();
  const int teamId = RunTeam(1);
  Trigger("Portraits1");
  ASSERT_EQ(Page(), kPortraitsPage);
  const std::vector<int> shown = ShownIds();
  ASSERT_EQ(shown.size(), Roster(teamId).size());

  const fs::path sheet = folder_ / "team sheet.png";
  prompts_.AnswerFile(sheet);
  prompts_.ClearHistory();
  Trigger("ExportContactSheet1");
  EXPECT_TRUE(Errors().empty()) << Errors().front();
  ASSERT_TRUE(fs::exists(sheet));
  const PngImage png = PngImage::Load(sheet);
  const int columns = std::min<int>(10, static_cast<int>(shown.size()));
  const int rows = (static_cast<int>(shown.size()) + columns - 1) / columns;
  EXPECT_EQ(png.Width(), 2 * kSheetMargin + columns * kSheetCellWidth);
  EXPECT_EQ(png.Height(), kSheetTitleHeight + kSheetMargin + rows * kSheetCellHeight);
  // Each tile is the player's portrait, pixel for pixel, in the page's order.
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const PngImage portrait = PngImage::Load(Portrait(shown[i]));
    const int left =
        kSheetMargin + static_cast<int>(i) % columns * kSheetCellWidth + (kSheetCellWidth - 90) / 2;
    const int top = kSheetTitleHeight + static_cast<int>(i) / columns * kSheetCellHeight;
    int differing = 0;
    for (int y = 0; y < 135; ++y) {
      for (int x = 0; x < 90; ++x) {
        if (!(png.Pixel(left + x, top + y) == portrait.Pixel(x, y))) ++differing;
      }
    }
    EXPECT_EQ(differing, 0) << "tile " << i;
  }
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find(sheet.string()), std::string::npos);
}

TEST_F(PortraitsWindowTest, BeforeAndAfterShowsThePictureTheRunReplaced) {
  LoadSample();
  const int teamId = RunTeam(1);
  // The team's first pictures, then a second run over them.
  std::map<int, std::string> first;
  for (const auto& [id, row] : Players()) {
    if (row.teamId == teamId && fs::exists(Portrait(id))) first[id] = test::ReadBytes(Portrait(id));
  }
  ASSERT_FALSE(first.empty());
  for (const auto& [id, bytes] : first) SetStored(id, "update_required", true);
  RunTeam(1);
  Click("ShowThemBtn");
  ASSERT_EQ(Page(), kPortraitsPage);
  auto* toggle = Find<QCheckBox>("BeforeAfterBox");
  ASSERT_TRUE(toggle->isEnabled());
  const QSize single = View()->gridSize();
  toggle->setChecked(true);
  EXPECT_GT(View()->gridSize().width(), single.width() * 3 / 2);
  WaitForPictures();
  ASSERT_GT(Model()->rowCount(), 0);
  for (int row = 0; row < Model()->rowCount(); ++row) {
    const int id = Model()->Player(row).playerId;
    ASSERT_TRUE(first.contains(id)) << id;
    ASSERT_TRUE(Model()->data(Model()->index(row), ThumbnailModel::HasBeforeRole).toBool());
    const fs::path earlier = folder_ / ("earlier_" + std::to_string(id) + ".png");
    test::WriteBytes(earlier, first.at(id));
    EXPECT_TRUE(SamePixels(Shown(row, ThumbnailModel::BeforeRole), PngImage::Load(earlier)));
    EXPECT_TRUE(SamePixels(Shown(row), PngImage::Load(Portrait(id))));
  }
  // A team shows no earlier pictures: the toggle goes off.
  Find<QComboBox>("PortraitsShowBox")->setCurrentIndex(0);
  Portraits()->ShowTeam(teamId);
  EXPECT_FALSE(toggle->isEnabled());
  EXPECT_FALSE(toggle->isChecked());
}

}  // namespace
}  // namespace likentor
