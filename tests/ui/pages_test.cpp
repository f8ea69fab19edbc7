// The custom uniforms page, the locks page and the data editors driven by object names: a custom
// uniform set and removed through the chooser, both previews, the six lock buttons, a nations
// weight that reaches the next load's draws, and the refusals of the editors' grids.

#include <QAction>
#include <QPlainTextEdit>
#include <filesystem>
#include <map>

#include "app/custom_uniforms.h"
#include "app/navigation.h"
#include "app/previews.h"
#include "database/table_store.h"
#include "import/players_fields.h"
#include "page_fixture.h"
#include "shell/folders.h"
#include "ui/locks_page.h"

namespace likentor {
namespace {

using test::PageTest;

class PagesTest : public PageTest {
 protected:
  std::string StoredTeam(int teamId, const char* field) const {
    Database db(DataFolder(program_));
    Table t(db, "sample_teams.db");
    EXPECT_TRUE(t.Locate("team_id", teamId));
    return t.GetText(field);
  }

  // player id -> (retired, locked)
  std::map<int, std::pair<bool, bool>> Locks() const {
    Database db(DataFolder(program_));
    Table t(db, "sample_players.db");
    std::map<int, std::pair<bool, bool>> rows;
    for (t.First(); !t.Eof(); t.Next()) {
      rows[t.GetInt(kPlayerIdField)] = {t.GetBool(kRetiredField), t.GetBool(kLockedField)};
    }
    return rows;
  }
};

TEST_F(PagesTest, CustomUniformSetRemovedAndPreviewed) {
  LoadSample();
  Trigger("CustomUniforms1");
  ASSERT_EQ(Page(), kUniformsPage);
  constexpr const char* kGrid = "DBGrid1";
  ASSERT_EQ(Model(kGrid)->rowCount(), 4);
  EXPECT_EQ(Model(kGrid)->columnCount(), 10);
  EXPECT_EQ(window_->findChild<QAction*>("DBNavigator1Post"), nullptr) << "no editing buttons";
  window_->findChild<QAction*>("DBNavigator1Next")->trigger();
  const int row = Grid(kGrid)->CurrentRow();
  ASSERT_EQ(row, 1);
  const int team = Cell(kGrid, row, "team_id").toInt();
  EXPECT_EQ(Find<QLabel>("TeamNameLabel")->text(), Cell(kGrid, row, "team_name"));
  EXPECT_EQ(Find<QLabel>("NicknameLabel")->text(), Cell(kGrid, row, "nickname"));

  // A cancelled chooser changes nothing.
  prompts_.ClearHistory();
  const std::string before = StoredTeam(team, "custom_uniform_file");
  Click("SetCustonBtn");
  ASSERT_EQ(prompts_.History().size(), 1U);
  EXPECT_EQ(prompts_.History()[0],
            (ScriptedPrompts::Shown{ScriptedPrompts::Kind::ChooseFile, "PNG Files|*.png",
                                    CustomUniformsFolder(program_).string()}));
  EXPECT_EQ(StoredTeam(team, "custom_uniform_file"), before);

  // Set: stored, and the grid and the label show it.
  const std::filesystem::path picture = CustomUniformsFolder(program_) / "MLB" / "Astros_home.png";
  ASSERT_TRUE(std::filesystem::exists(picture));
  prompts_.AnswerFile(picture);
  Click("SetCustonBtn");
  EXPECT_EQ(Messages().back(), "Successfully set custom uniform.");
  EXPECT_EQ(StoredTeam(team, "custom_uniform_file"), picture.string());
  EXPECT_EQ(Cell(kGrid, row, "custom_uniform_file").toStdString(), picture.string());
  EXPECT_EQ(Find<QLabel>("UniformFileLabel")->text().toStdString(), picture.string());

  // Its preview: the custom picture over the preview face.
  Click("GetUniformPreviewBtn");
  const QImage custom = Picture("CustomUniformPreview");
  EXPECT_TRUE(SamePixels(custom, *UniformPreview(program_, picture.string())));

  // Removed: "none" everywhere, and the preview shows the generic uniform of this team instead of
  // keeping the custom picture.
  Click("UseGenericBtn");
  EXPECT_EQ(Messages().back(), "Successfully removed custom uniform.");
  EXPECT_EQ(StoredTeam(team, "custom_uniform_file"), "none");
  EXPECT_EQ(Find<QLabel>("UniformFileLabel")->text(), "none");
  Click("GetUniformPreviewBtn");
  const QImage generic = Picture("CustomUniformPreview");
  ASSERT_FALSE(generic.isNull());
  EXPECT_NE(generic, custom);
  EXPECT_FALSE(SamePixels(generic, PngImage::Load(UniformPreviewFace(program_))));
  // Another team's generic uniform is its own.
  Grid(kGrid)->GoTo(row + 1);
  Click("UseGenericBtn");
  ASSERT_EQ(Cell(kGrid, row + 1, "custom_uniform_file"), "none");
  Click("GetUniformPreviewBtn");
  EXPECT_NE(Picture("CustomUniformPreview"), generic);

  Click("UniformsDone");
  EXPECT_EQ(Page(), kDashboardPage);
}

TEST_F(PagesTest, EachLockButtonWritesItsRows) {
  LoadSample();
  Trigger("ManageLockedPhotos1");
  ASSERT_EQ(Page(), kLocksPage);
  EXPECT_EQ(Find<QPlainTextEdit>("LocksMemo")->toPlainText(), kLocksNote);
  EXPECT_EQ(Find<QPlainTextEdit>("LocksMemo")->toPlainText().split('\n').size(), 7);
  const auto count = [](const auto& rows, bool retired) {
    int n = 0;
    for (const auto& [id, flags] : rows) n += flags.first == retired ? 1 : 0;
    return n;
  };
  ASSERT_GT(count(Locks(), true), 0);
  ASSERT_GT(count(Locks(), false), 0);

  struct Step {
    const char* button;
    const char* told;  // how the end message starts
    bool active;       // expected lock of active players after the click
    bool retired;      // of retired ones
  };
  const Step steps[] = {
      {"Button8", "Locked ", true, true},     {"Button2", "Unlocked ", false, true},
      {"Button3", "Unlocked ", false, false}, {"Button4", "Locked ", false, true},
      {"Button5", "Locked ", true, true},     {"Button1", "Unlocked ", false, false}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.button);
    prompts_.ClearHistory();
    prompts_.AnswerConfirm(true);
    Click(step.button);
    // Asked first, and told how many players changed.
    ASSERT_EQ(prompts_.Texts(ScriptedPrompts::Kind::Confirm).size(), 1u);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages().front().rfind(step.told, 0), 0u) << Messages().front();
    for (const auto& [id, flags] : Locks()) {
      EXPECT_EQ(flags.second, flags.first ? step.retired : step.active) << id;
    }
  }
  Click("LocksDone");
  EXPECT_EQ(Page(), kDashboardPage);
}

TEST_F(PagesTest, NationsWeightsReachTheNextLoadAndRefusalsKeepTheText) {
  LoadSample();
  Trigger("EthnicityData1");
  ASSERT_EQ(Page(), kNationsPage);
  constexpr const char* kGrid = "NationsGrid";
  TableModel* model = Model(kGrid);
  ASSERT_GT(model->rowCount(), 1);

  // A negative weight is refused with a message; nothing is stored.
  prompts_.ClearHistory();
  EXPECT_FALSE(SetCell(kGrid, 0, "asian", "-5"));
  EXPECT_EQ(Errors(), std::vector<std::string>{"Asian share cannot be negative: -5 was typed."});
  EXPECT_FALSE(model->InEdit());

  // A refused post (a name left empty): the error box and a log line, and the row keeps what was
  // typed.
  const QString name = Cell(kGrid, 1, "nation_name");
  const QString key = Cell(kGrid, 1, "nation_id");
  prompts_.ClearHistory();
  ASSERT_TRUE(SetCell(kGrid, 1, "nation_name", ""));
  ASSERT_TRUE(SetCell(kGrid, 1, "abbreviation", "ZZ"));
  Trigger("NationsNavigatorPost");
  ASSERT_EQ(Errors().size(), 1U);
  const std::string line = "Error posting record " + key.toStdString() + " in nations.db";
  EXPECT_EQ(Errors()[0], line + ": Nation name must have a value.");
  EXPECT_NE(test::ReadBytes(program_ / "errors.txt").find(line), std::string::npos);
  EXPECT_EQ(Cell(kGrid, 1, "nation_name"), "");
  EXPECT_EQ(Cell(kGrid, 1, "abbreviation"), "ZZ");
  EXPECT_TRUE(model->InEdit());
  Trigger("NationsNavigatorCancel");
  EXPECT_EQ(Cell(kGrid, 1, "nation_name"), name);

  // Every nation all Asian, each row posted by the move to the next, the last by the navigator.
  for (int row = 0; row < model->rowCount(); ++row) {
    ASSERT_TRUE(SetCell(kGrid, row, "caucasian", "0"));
    ASSERT_TRUE(SetCell(kGrid, row, "african", "0"));
    ASSERT_TRUE(SetCell(kGrid, row, "east_indian", "0"));
    ASSERT_TRUE(SetCell(kGrid, row, "asian", "10"));
  }
  Trigger("NationsNavigatorPost");
  Click("NationsDone");
  EXPECT_EQ(Page(), kDashboardPage);

  // The next load draws every new player's look from them.
  Trigger("CloseGame1");
  std::filesystem::remove(DataFolder(program_) / "sample_players.db");
  LoadSample();
  Database db(DataFolder(program_));
  Table players(db, "sample_players.db");
  ASSERT_GT(players.RecordCount(), 0);
  for (players.First(); !players.Eof(); players.Next()) {
    EXPECT_EQ(players.GetInt(kEthnicityField), 2) << players.GetInt(kPlayerIdField);
  }
}

TEST_F(PagesTest, FacialHairPreviewAndTheAccessoriesEditor) {
  LoadSample();
  Trigger("HairData1");
  ASSERT_EQ(Page(), kFacialHairPage);
  constexpr const char* kGrid = "FacialHairGrid";
  TableModel* model = Model(kGrid);
  int none = -1;
  int beard = -1;
  for (int row = 0; row < model->rowCount(); ++row) {
    const QString location = Cell(kGrid, row, "location");
    if (location == "none") none = row;
    if (location == "full beard") beard = row;
  }
  ASSERT_GE(none, 0);
  ASSERT_GE(beard, 0);
  Grid(kGrid)->GoTo(none);
  Click("GetFacialHairPreviewBtn");
  const PngImage face = PngImage::Load(FacialHairPreviewFace(program_));
  EXPECT_TRUE(SamePixels(Picture("FacialHairPreviewImage"), face));
  Grid(kGrid)->GoTo(beard);
  Click("GetFacialHairPreviewBtn");
  EXPECT_TRUE(
      SamePixels(Picture("FacialHairPreviewImage"), *FacialHairPreview(program_, "full beard")));
  EXPECT_FALSE(SamePixels(Picture("FacialHairPreviewImage"), face));
  prompts_.ClearHistory();
  EXPECT_FALSE(SetCell(kGrid, beard, "frequency", "-1"));
  EXPECT_EQ(Errors().size(), 1U);
  Click("FacialHairDone");

  // The accessories editor, behind the same guard as the others.
  Trigger("AccessoryData1");
  ASSERT_EQ(Page(), kAccessoriesPage);
  EXPECT_EQ(Model("DBGrid2")->headerData(6, Qt::Horizontal, Qt::DisplayRole).toString(),
            "Frequency");
  ASSERT_TRUE(SetCell("DBGrid2", 0, "frequency", "3"));
  Trigger("DBNavigator2Post");
  EXPECT_EQ(Cell("DBGrid2", 0, "frequency"), "3");
  Click("AccessoriesDoneBtn");
  EXPECT_EQ(Page(), kDashboardPage);
  Trigger("CloseGame1");
  prompts_.ClearHistory();
  Trigger("AccessoryData1");
  EXPECT_EQ(Messages(), std::vector<std::string>{"Load a game first!"});
  EXPECT_EQ(Page(), kDashboardPage);
}

}  // namespace
}  // namespace likentor
