// Setting and removing a team's custom uniform, and the uniform and facial-hair previews.

#include <gtest/gtest.h>

#include "app/custom_uniforms.h"
#include "app/navigation.h"
#include "app/previews.h"
#include "commands_fixture.h"
#include "database/facial_hair_table.h"
#include "samplegame/image_files.h"

namespace likentor {
namespace {

using Kind = ScriptedPrompts::Kind;

class CustomUniformsTest : public test::CommandsFixture {
 protected:
  CustomUniformsTest() {
    AddTeam(1, "Boston", "Sox", "none");
    AddTeam(2, "Ottawa", "Owls", "/old/owls.png");
  }
  std::map<int, std::string> Uniforms() {
    return Column(TeamsTableName(kGame), "custom_uniform_file");
  }
};

TEST_F(CustomUniformsTest, SetStoresTheChosenPathOnTheCurrentTeam) {
  ASSERT_TRUE(session_.Game().TeamsTable.Locate("team_id", 1));
  const auto chosen = folder_ / "elsewhere" / "my sox.png";  // outside the custom folder
  prompts_.AnswerFile(chosen);
  SetCustonBtnClick(session_);
  const ScriptedPrompts::Shown expected[] = {
      {Kind::ChooseFile, "PNG Files|*.png", (program_ / "graphics/uniforms/custom").string()},
      {Kind::Message, "Likentor", "Successfully set custom uniform."}};
  EXPECT_EQ(prompts_.History(),
            (std::vector<ScriptedPrompts::Shown>(std::begin(expected), std::end(expected))));
  EXPECT_EQ(Uniforms(), (std::map<int, std::string>{{1, chosen.string()}, {2, "/old/owls.png"}}));

  // A cancelled chooser changes nothing and says nothing.
  prompts_.ClearHistory();
  SetCustonBtnClick(session_);
  EXPECT_EQ(prompts_.History().size(), 1u);
  EXPECT_EQ(Uniforms().at(1), chosen.string());

  // A path longer than the field's 127 characters is never stored cut: inside the program folder
  // it is stored relative to it, elsewhere it is refused.
  const auto inside = CustomUniformsFolder(program_) / (std::string(90, 'v') + ".png");
  ASSERT_GT(inside.string().size(), 127u);
  prompts_.AnswerFile(inside);
  SetCustonBtnClick(session_);
  EXPECT_EQ(prompts_.Texts(Kind::Message).back(), "Successfully set custom uniform.");
  EXPECT_EQ(Uniforms().at(1), "graphics/uniforms/custom/" + std::string(90, 'v') + ".png");

  const std::string longPath = "/" + std::string(200, 'u') + ".png";
  prompts_.ClearHistory();
  prompts_.AnswerFile(longPath);
  SetCustonBtnClick(session_);
  EXPECT_EQ(prompts_.Texts(Kind::Error),
            std::vector<std::string>{"Cannot store the custom uniform \"" + longPath +
                                     "\": its path is longer than the 127 characters that "
                                     "the teams table holds."});
  EXPECT_TRUE(prompts_.Texts(Kind::Message).empty());
  EXPECT_FALSE(session_.Game().TeamsTable.InEdit());
  EXPECT_EQ(Uniforms().at(1), "graphics/uniforms/custom/" + std::string(90, 'v') + ".png");
}

TEST_F(CustomUniformsTest, OnlyA90By135PngIsStored) {
  ASSERT_TRUE(session_.Game().TeamsTable.Locate("team_id", 2));
  const auto good = folder_ / "good.png";
  samplegame::WritePng(good, samplegame::Image(90, 135, true));
  const auto small = folder_ / "small.png";
  samplegame::WritePng(small, samplegame::Image(30, 45, false));
  const auto text = folder_ / "text.png";
  test::WriteBytes(text, "root:x:0:0:root:/root:/bin/bash\n");
  const auto cut = folder_ / "cut.png";
  test::WriteBytes(cut, test::ReadBytes(good).substr(0, 60));
  const auto subfolder = folder_ / "folder.png";
  std::filesystem::create_directories(subfolder);

  const std::pair<std::filesystem::path, std::string> refused[] = {
      {text, "Cannot load image \"" + text.string() + "\": not a PNG file."},
      {small, "Cannot use \"" + small.string() +
                  "\" as a custom uniform: it is 30 x 45 pixels, not 90 x 135."},
      {subfolder,
       "Cannot use \"" + subfolder.string() + "\" as a custom uniform: it is not a file."},
      {"/dev/zero", "Cannot use \"/dev/zero\" as a custom uniform: it is not a file."}};
  for (const auto& [file, message] : refused) {
    try {
      SetCustomUniform(session_, 2, file);
      ADD_FAILURE() << file << " was stored";
    } catch (const Error& e) {
      EXPECT_EQ(e.what(), message);
    }
  }
  EXPECT_THROW(SetCustomUniform(session_, 2, cut), Error);
  EXPECT_FALSE(session_.Game().TeamsTable.InEdit());
  EXPECT_EQ(Uniforms().at(2), "/old/owls.png");

  // Through the page: shown as an error, nothing stored.
  prompts_.AnswerFile(small);
  SetCustonBtnClick(session_);
  EXPECT_EQ(prompts_.Texts(Kind::Error).size(), 1u);
  EXPECT_TRUE(prompts_.Texts(Kind::Message).empty());
  EXPECT_EQ(Uniforms().at(2), "/old/owls.png");

  // A picture that is one, and a file not there yet (the generic uniform until it is).
  SetCustomUniform(session_, 2, good);
  EXPECT_EQ(Uniforms().at(2), good.string());
  SetCustomUniform(session_, 2, folder_ / "later.png");
  EXPECT_EQ(Uniforms().at(2), (folder_ / "later.png").string());
}

TEST_F(CustomUniformsTest, UseGenericStoresNoneAgainAndAgain) {
  ASSERT_TRUE(session_.Game().TeamsTable.Locate("team_id", 2));
  UseGenericBtnClick(session_);
  UseGenericBtnClick(session_);
  EXPECT_EQ(prompts_.Texts(Kind::Message),
            (std::vector<std::string>{"Successfully removed custom uniform.",
                                      "Successfully removed custom uniform."}));
  EXPECT_EQ(Uniforms(), (std::map<int, std::string>{{1, "none"}, {2, "none"}}));
  EXPECT_TRUE(LogLines().empty());
}

// The uniforms page names its team by id: TeamsTable may stand anywhere.
TEST_F(CustomUniformsTest, TheButtonsByTeamIdChangeThatTeamWhereverTheTableStands) {
  ASSERT_TRUE(session_.Game().TeamsTable.Locate("team_id", 1));
  const auto chosen = folder_ / "owls.png";
  prompts_.AnswerFile(chosen);
  SetCustonBtnClick(session_, 2);
  EXPECT_EQ(Uniforms(), (std::map<int, std::string>{{1, "none"}, {2, chosen.string()}}));
  ASSERT_TRUE(session_.Game().TeamsTable.Locate("team_id", 1));
  UseGenericBtnClick(session_, 2);
  EXPECT_EQ(Uniforms(), (std::map<int, std::string>{{1, "none"}, {2, "none"}}));
  EXPECT_EQ(prompts_.Texts(Kind::Message),
            (std::vector<std::string>{"Successfully set custom uniform.",
                                      "Successfully removed custom uniform."}));
  // A team the game does not have: said, nothing written.
  UseGenericBtnClick(session_, 9);
  EXPECT_EQ(prompts_.Texts(Kind::Error),
            std::vector<std::string>{"The saved game " + std::string(kGame) + " has no team 9."});
}

TEST_F(CustomUniformsTest, ARefusedPostIsCancelledShownAndLogged) {
  RefuseUpdates(TeamsTableName(kGame), "NEW.team_id = 2");
  ASSERT_TRUE(session_.Game().TeamsTable.Locate("team_id", 2));
  prompts_.AnswerFile("/new/owls.png");
  SetCustonBtnClick(session_);
  UseGenericBtnClick(session_);
  EXPECT_EQ(prompts_.Texts(Kind::Error),
            (std::vector<std::string>{"Error setting custom uniform.",
                                      "Error removing custom uniform."}));
  EXPECT_TRUE(prompts_.Texts(Kind::Message).empty());
  EXPECT_EQ(LogLines(), (std::vector<std::string>{"Error setting custom uniform.",
                                                  "Error removing custom uniform."}));
  EXPECT_FALSE(session_.Game().TeamsTable.InEdit());
  EXPECT_EQ(session_.Game().TeamsTable.GetText("custom_uniform_file"), "/old/owls.png");
  EXPECT_EQ(Uniforms().at(2), "/old/owls.png");
}

TEST_F(CustomUniformsTest, ThePageNeedsALoadedGame) {
  CustomUniforms1Click(session_);
  EXPECT_EQ(session_.Window().page, kUniformsPage);
  UniformsDoneClick(session_);
  EXPECT_EQ(session_.Window().page, kDashboardPage);
  session_.SetLoadedGameName("");
  for (auto* command :
       {CustomUniforms1Click, ManageLockedPhotos1Click, EthnicityData1Click, HairData1Click}) {
    command(session_);
    EXPECT_EQ(session_.Window().page, kDashboardPage);
  }
  EXPECT_EQ(prompts_.Texts(Kind::Message), std::vector<std::string>(4, "Load a game first!"));
}

// Pictures of one flat colour, with a known alpha for the layers.
void WriteFlat(const std::filesystem::path& file, Rgb colour, std::optional<std::uint8_t> alpha) {
  samplegame::Image image(90, 135, alpha.has_value());
  for (int y = 0; y < 135; ++y) {
    for (int x = 0; x < 90; ++x) image.Set(x, y, colour.r, colour.g, colour.b, alpha.value_or(255));
  }
  std::filesystem::create_directories(file.parent_path());
  samplegame::WritePng(file, image);
}

// The blend of the layer drawing: (s * a + d * (255 - a) + 255) >> 8 per channel.
std::uint8_t Blend(int s, int d, int a) {
  return static_cast<std::uint8_t>((s * a + d * (255 - a) + 255) >> 8);
}

class PreviewsTest : public test::CommandsFixture {
 protected:
  std::filesystem::path Graphics() const { return program_ / "graphics"; }
};

TEST_F(PreviewsTest, TheUniformOverThePreviewFace) {
  WriteFlat(UniformPreviewFace(program_), {10, 20, 30}, std::nullopt);
  const auto uniform = folder_ / "custom" / "blue.png";
  WriteFlat(uniform, {0, 0, 250}, 128);

  const auto shown = UniformPreview(program_, uniform.string());
  ASSERT_TRUE(shown.has_value());
  EXPECT_EQ(shown->Pixel(45, 100),
            (Rgb{Blend(0, 10, 128), Blend(0, 20, 128), Blend(250, 30, 128)}));

  // Nothing to show: the generic uniform, a missing file, a file that is no PNG.
  EXPECT_FALSE(UniformPreview(program_, "none").has_value());
  EXPECT_FALSE(UniformPreview(program_, (folder_ / "gone.png").string()).has_value());
  test::WriteBytes(folder_ / "broken.png", "not a picture");
  EXPECT_FALSE(UniformPreview(program_, (folder_ / "broken.png").string()).has_value());

  // Through the page: the current team's file.
  AddTeam(1, "Boston", "Sox", uniform.string());
  AddTeam(2, "Ottawa", "Owls", "none");
  ASSERT_TRUE(session_.Game().TeamsTable.Locate("team_id", 1));
  EXPECT_TRUE(GetUniformPreviewBtnClick(session_).has_value());
  ASSERT_TRUE(session_.Game().TeamsTable.Locate("team_id", 2));
  EXPECT_FALSE(GetUniformPreviewBtnClick(session_).has_value());

  // Without its preview face the preview fails with the load's message.
  std::filesystem::remove(UniformPreviewFace(program_));
  EXPECT_THROW(UniformPreview(program_, "none"), Error);
}

TEST_F(PreviewsTest, TheFacialHairOverItsPreviewFace) {
  WriteFlat(FacialHairPreviewFace(program_), {200, 150, 100}, std::nullopt);
  WriteFlat(Graphics() / "facial hair" / "goatee" / "brown.png", {90, 60, 30}, 255);
  WriteFlat(Graphics() / "facial hair" / "goatee" / "blonde.png", {250, 240, 0}, 255);

  const auto none = FacialHairPreview(program_, "none");
  ASSERT_TRUE(none.has_value());
  EXPECT_EQ(none->Pixel(10, 10), (Rgb{200, 150, 100}));
  const auto goatee = FacialHairPreview(program_, "goatee");
  ASSERT_TRUE(goatee.has_value());
  EXPECT_EQ(goatee->Pixel(10, 10), (Rgb{90, 60, 30}));  // always the brown artwork
  EXPECT_FALSE(FacialHairPreview(program_, "mutton").has_value());

  // Through the page: the current style of the facial-hair table.
  Database& db = session_.Data();
  db.CreateTable(kFacialHairTable, {{"facial_hair_id", FieldType::AutoIncrement, 0, true},
                                    {"location", FieldType::Text, 25, true},
                                    {"frequency", FieldType::Integer, 0, true}});
  Table& styles = session_.Universal().FacialHairTable;
  styles.Open(db, kFacialHairTable);
  styles.Append();
  styles.SetText("location", "goatee");
  styles.SetInt("frequency", 10);
  ASSERT_TRUE(styles.Post());
  const auto shown = GetFacialHairPreviewBtnClick(session_);
  ASSERT_TRUE(shown.has_value());
  EXPECT_EQ(shown->Pixel(0, 0), (Rgb{90, 60, 30}));
  styles.Close();
}

}  // namespace
}  // namespace likentor
