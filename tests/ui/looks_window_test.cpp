// The window's looks and art packs: the player page's "New Look", the dashboard's "Different
// faces within a team" with Tools > "Spread Faces...", and the components page reached from
// Tools > "Install Components", its folder chooser answered from the script.

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QSpinBox>
#include <filesystem>
#include <iterator>

#include "app/navigation.h"
#include "database/table_store.h"
#include "import/players_fields.h"
#include "page_fixture.h"
#include "portrait/appearance.h"
#include "portrait/artwork_paths.h"
#include "portrait/png_image.h"
#include "shell/folders.h"

// Fontconfig, under Qt's text, keeps its caches for the life of the process by design.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\n";
}

namespace likentor {
namespace {

namespace fs = std::filesystem;
using test::PageTest;

constexpr const char* kGrid = "PlayersSearchResults";

class LooksWindowTest : public PageTest {
 protected:
  int StoredInt(const char* table, const char* key, int id, const char* field) const {
    Database db(DataFolder(program_));
    Table t(db, table);
    EXPECT_TRUE(t.Locate(key, id));
    return t.GetInt(field, 0);
  }
  void SetStored(int id, const char* field, int value) const {
    Database db(DataFolder(program_));
    Table t(db, "sample_players.db");
    ASSERT_TRUE(t.Locate(kPlayerIdField, id));
    t.Edit();
    t.SetInt(field, value);
    ASSERT_TRUE(t.Post());
  }
  std::string LastMessage() const { return Messages().empty() ? "" : Messages().back(); }
  // The sample loaded and its first player on the player page, his photo unlocked: his id.
  int ShowFirstPlayerUnlocked() {
    LoadSample();
    const int id = Players().begin()->first;
    Find<QSpinBox>("PlayerIDBox")->setValue(id);
    Click("PlayerSearchBtn");
    EXPECT_TRUE(SetCell(kGrid, 0, "locked", "false"));
    return id;
  }
};

TEST_F(LooksWindowTest, NewLookDrawsAnotherFaceAndShowsTheNewPortrait) {
  const int id = ShowFirstPlayerUnlocked();
  ASSERT_EQ(Page(), kPlayerPage);
  auto* button = Find<QPushButton>("NewLookBtn");
  EXPECT_EQ(button->text(), "New Look");
  EXPECT_EQ(button->accessibleName(), "New Look");

  const int ethnicity = StoredInt("sample_players.db", "player_id", id, "ethnicity");
  const int face = StoredInt("sample_players.db", "player_id", id, "face");
  prompts_.ClearHistory();
  Click("NewLookBtn");
  EXPECT_TRUE(Errors().empty()) << Errors().front();
  const int newEthnicity = StoredInt("sample_players.db", "player_id", id, "ethnicity");
  const int newFace = StoredInt("sample_players.db", "player_id", id, "face");
  EXPECT_FALSE(newEthnicity == ethnicity && newFace == face);
  // The portrait was made at once and is shown; the grid shows the new face.
  ASSERT_TRUE(fs::exists(Portrait(id)));
  EXPECT_TRUE(SamePixels(Picture("PlayerPreviewImage"), PngImage::Load(Portrait(id))));
  EXPECT_EQ(Cell(kGrid, 0, "face").toInt(), newFace);
  EXPECT_EQ(Cell(kGrid, 0, "update_required"), "false");

  // A locked player: asked first; declined, nothing changes.
  Find<QCheckBox>("DBCheckBox3")->click();
  const std::string portrait = test::ReadBytes(Portrait(id));
  prompts_.AnswerConfirm(false);
  Click("NewLookBtn");
  EXPECT_EQ(prompts_.Texts(ScriptedPrompts::Kind::Confirm).size(), 1u);
  EXPECT_EQ(StoredInt("sample_players.db", "player_id", id, "face"), newFace);
  EXPECT_EQ(test::ReadBytes(Portrait(id)), portrait);
  prompts_.AnswerConfirm(true);
  Click("NewLookBtn");
  EXPECT_NE(test::ReadBytes(Portrait(id)), portrait);
}

TEST_F(LooksWindowTest, UndoAfterNewLookPutsBackTheWholeLookAndThePageShowsIt) {
  const int id = ShowFirstPlayerUnlocked();
  ASSERT_EQ(Page(), kPlayerPage);
  // His portrait as it was, made before the New Look.
  Click("MakeNewPhotoBtn");
  ASSERT_TRUE(Errors().empty());
  const std::string before = test::ReadBytes(Portrait(id));
  const auto look = [&] {
    std::map<std::string, int> fields;
    for (const char* field : {"ethnicity", "face", "hair_color", "facial_hair_style", "accessory",
                              "background", "uniform_team_id"}) {
      fields[field] = StoredInt("sample_players.db", "player_id", id, field);
    }
    return fields;
  };
  const auto lookBefore = look();

  Click("NewLookBtn");
  ASSERT_TRUE(Errors().empty());
  ASSERT_NE(look(), lookBefore);

  prompts_.ClearHistory();
  prompts_.AnswerConfirm(true);
  TriggerAndWait("UndoLastRun1");
  ASSERT_EQ(prompts_.Texts(ScriptedPrompts::Kind::Confirm).size(), 1U);
  const std::string question = prompts_.Texts(ScriptedPrompts::Kind::Confirm).front();
  EXPECT_NE(question.find("New Look for "), std::string::npos) << question;
  EXPECT_EQ(question.find("Make New Photo"), std::string::npos) << question;
  EXPECT_EQ(look(), lookBefore);
  EXPECT_EQ(Cell(kGrid, 0, "update_required"), "false");
  EXPECT_EQ(test::ReadBytes(Portrait(id)), before);
  // The page shows the picture put back, not the undone one.
  EXPECT_TRUE(SamePixels(Picture("PlayerPreviewImage"), PngImage::Load(Portrait(id))));
  EXPECT_EQ(Cell(kGrid, 0, "face").toInt(), lookBefore.at("face"));
}

TEST_F(LooksWindowTest, TheAgingCheckBoxKeepsTheSettingAcrossLoads) {
  LoadSample();
  auto* box = Find<QCheckBox>("PlayersAgeCheckBox");
  EXPECT_EQ(box->text(), "Players age with their careers");
  EXPECT_EQ(box->accessibleName(), "Players age with their careers");
  EXPECT_FALSE(box->toolTip().isEmpty());
  EXPECT_TRUE(box->isEnabled());
  EXPECT_FALSE(box->isChecked());  // off for a new game
  const auto stored = [this] {
    Database db(DataFolder(program_));
    Table games(db, "games.db");
    EXPECT_TRUE(games.Locate("universe_name", "sample"));
    return games.GetBool("players_age");
  };
  box->click();
  Click("SaveSettingsBtn");
  EXPECT_TRUE(stored());
  LoadSample();
  EXPECT_TRUE(Find<QCheckBox>("PlayersAgeCheckBox")->isChecked());
  Find<QCheckBox>("PlayersAgeCheckBox")->click();
  Click("SaveSettingsBtn");
  EXPECT_FALSE(stored());
}

TEST_F(LooksWindowTest, TheCheckBoxKeepsTheSettingAndSpreadFacesWorksOnTheChosenTeam) {
  LoadSample();
  auto* box = Find<QCheckBox>("SpreadFacesCheckBox");
  EXPECT_EQ(box->text(), "Different faces within a team");
  EXPECT_EQ(box->accessibleName(), "Different faces within a team");
  EXPECT_TRUE(box->isEnabled());
  EXPECT_FALSE(box->isChecked());  // off for a new game
  box->click();
  Click("SaveSettingsBtn");
  {
    Database db(DataFolder(program_));
    Table games(db, "games.db");
    ASSERT_TRUE(games.Locate("universe_name", "sample"));
    EXPECT_TRUE(games.GetBool("spread_faces"));
  }

  // Two unlocked teammates of team 2 made to share a face; one other pair on team 3.
  std::vector<int> two, three;
  for (const auto& [id, p] : Players()) {
    if (p.locked) continue;
    if (p.teamId == 2 && two.size() < 2) two.push_back(id);
    if (p.teamId == 3 && three.size() < 2) three.push_back(id);
  }
  ASSERT_EQ(two.size(), 2u);
  ASSERT_EQ(three.size(), 2u);
  for (int id : {two[0], two[1], three[0], three[1]}) {
    SetStored(id, "ethnicity", 1);
    SetStored(id, "face", 9);
  }
  auto* teams = Find<QComboBox>("TeamLookupBox");
  teams->setCurrentIndex(teams->findData(2));
  ASSERT_GE(teams->currentIndex(), 0);
  prompts_.ClearHistory();
  prompts_.AnswerConfirm(true);
  TriggerAndWait("SpreadFaces1");
  const auto asked = prompts_.Texts(ScriptedPrompts::Kind::Confirm);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_NE(asked[0].find(teams->currentText().toStdString()), std::string::npos) << asked[0];
  // One of the pair keeps face 9 and the other is named with his new face. Other teammates may
  // have drawn a shared face at load, so the count is not fixed.
  const int first = StoredInt("sample_players.db", "player_id", two[0], "face");
  const int second = StoredInt("sample_players.db", "player_id", two[1], "face");
  EXPECT_NE(first, second);
  EXPECT_TRUE(first == 9 || second == 9);
  const int moved = first == 9 ? two[1] : two[0];
  EXPECT_EQ(LastMessage().rfind("Gave ", 0), 0u) << LastMessage();
  EXPECT_NE(LastMessage().find("Player " + std::to_string(moved) + " "), std::string::npos)
      << LastMessage();
  EXPECT_NE(LastMessage().find("face 9 -> "), std::string::npos) << LastMessage();
  // Team 3 was not chosen: its pair stays.
  EXPECT_EQ(StoredInt("sample_players.db", "player_id", three[0], "face"), 9);
  EXPECT_EQ(StoredInt("sample_players.db", "player_id", three[1], "face"), 9);

  // Cancelled: nothing.
  prompts_.ClearHistory();
  prompts_.AnswerConfirm(false);
  teams->setCurrentIndex(-1);
  TriggerAndWait("SpreadFaces1");
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(StoredInt("sample_players.db", "player_id", three[1], "face"), 9);
}

TEST_F(LooksWindowTest, TheComponentsPageInstallsAndUninstallsAPack) {
  QAction* menu = Find<QAction>("Install1");
  EXPECT_TRUE(menu->isEnabled());
  EXPECT_EQ(menu->text(), "&Install Components");
  Trigger("Install1");
  EXPECT_EQ(Page(), kInstallPage);

  const fs::path pack = folder_ / "pack";
  for (int i = 0; i < 3; ++i) {
    PngImage face(83, 131, true);
    face.SetPixel(i, i, {200, 100, static_cast<std::uint8_t>(i)});
    face.SetAlpha(i, i, 255);
    fs::create_directories(pack);
    face.Save(pack / ("face" + std::to_string(i) + ".png"));
  }
  test::WriteBytes(pack / "readme.txt", "not a picture");
  const int asianBefore = Table(session_->Data(), "faces_asian.db").RecordCount();

  // A cancelled chooser installs nothing.
  prompts_.ClearHistory();
  prompts_.AnswerFolder("");
  ClickAndWait("InstallAsianBtn");
  EXPECT_TRUE(Messages().empty());

  prompts_.AnswerFolder(pack);
  ClickAndWait("InstallAsianBtn");
  EXPECT_TRUE(Errors().empty()) << Errors().front();
  EXPECT_NE(LastMessage().find("Installed 3 faces (asian) as pack 1. Passed over 1:"),
            std::string::npos)
      << LastMessage();
  EXPECT_NE(LastMessage().find("readme.txt"), std::string::npos) << LastMessage();
  EXPECT_EQ(Table(session_->Data(), "faces_asian.db").RecordCount(), asianBefore + 3);
  // The setup linked graphics/ to the build's kit, shared by every test: the pack went into a copy
  // of the program folder's own.
  const fs::path kit = fs::path(LIKENTOR_PROGRAM_DIR) / "graphics";
  EXPECT_FALSE(fs::is_symlink(program_ / "graphics"));
  EXPECT_TRUE(fs::exists(program_ / "graphics" / "uniforms" / "bill underside.png"));
  const auto faceFiles = [](const fs::path& graphics) {
    const fs::path faces = FaceFile(graphics.parent_path(), kAsian, 1).parent_path();
    return std::distance(fs::directory_iterator(faces), fs::directory_iterator());
  };
  EXPECT_EQ(faceFiles(program_ / "graphics"), faceFiles(kit) + 3);
  auto* list = Find<QListWidget>("InstalledPacksList");
  ASSERT_EQ(list->count(), 1);
  EXPECT_TRUE(list->item(0)->text().startsWith("Pack 1: 3 faces (asian)"));

  auto* uninstall = Find<QPushButton>("UninstallPackBtn");
  EXPECT_FALSE(uninstall->isEnabled());
  list->setCurrentRow(0);
  ASSERT_TRUE(uninstall->isEnabled());
  prompts_.AnswerConfirm(true);
  ClickAndWait("UninstallPackBtn");
  EXPECT_NE(LastMessage().find("Uninstalled pack 1 (3 items)"), std::string::npos) << LastMessage();
  EXPECT_EQ(list->count(), 0);
  EXPECT_EQ(Table(session_->Data(), "faces_asian.db").RecordCount(), asianBefore);
  Click("InstallDone");
  EXPECT_EQ(Page(), kDashboardPage);
}

}  // namespace
}  // namespace likentor
