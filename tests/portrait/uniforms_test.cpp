#include "portrait/uniforms.h"

#include <gtest/gtest.h>

#include <set>

#include "image_bytes.h"
#include "shell/error.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

Bitmap Template(std::initializer_list<std::pair<std::pair<int, int>, std::uint8_t>> greys) {
  Bitmap bitmap(kUniformWidth, kUniformHeight);
  for (const auto& [at, grey] : greys) bitmap.SetPixel(at.first, at.second, Rgb{grey, grey, grey});
  return bitmap;
}

class GenericUniformTest : public ::testing::Test {
 protected:
  std::filesystem::path DesignFolder(int design) {
    auto folder = GenericUniformFolder(program_.Path(), design);
    std::filesystem::create_directories(folder);
    return folder;
  }
  test::TempFolder program_;
};

TEST_F(GenericUniformTest, TintsTheTemplatesOverTheFixedPart) {
  const auto folder = DesignFolder(3);
  EXPECT_EQ(folder, program_.Path() / "graphics" / "uniforms" / "generic" / "03");
  Bitmap white = Template({});
  white.SetPixel(0, 0, Rgb{255, 255, 255});
  white.SetPixel(5, 5, Rgb{250, 250, 250});
  white.SaveBmp(folder / "white.bmp");
  Template({{{10, 10}, 128}, {{20, 20}, 255}, {{5, 5}, 255}}).SaveBmp(folder / "bg.bmp");
  Template({{{20, 20}, 255}, {{30, 30}, 64}}).SaveBmp(folder / "text.bmp");

  // Background #FF0000 (red); text colour black (0), which tints in (48, 48, 48).
  const Bitmap uniform = GetGenericUniform(program_.Path(), 3, 0x0000FF, 0);
  ASSERT_EQ(uniform.Width(), 90);
  ASSERT_EQ(uniform.Height(), 135);
  EXPECT_EQ(uniform.Pixel(0, 0), (Rgb{255, 255, 255}));  // black template pixels leave it
  EXPECT_EQ(uniform.Pixel(5, 5), (Rgb{255, 0, 0}));      // background over white
  EXPECT_EQ(uniform.Pixel(10, 10), (Rgb{128, 0, 0}));    // 255 * 128 / 255
  EXPECT_EQ(uniform.Pixel(20, 20), (Rgb{48, 48, 48}));   // text over background
  EXPECT_EQ(uniform.Pixel(30, 30), (Rgb{12, 12, 12}));   // 48 * 64 / 255 = 12.05
  EXPECT_EQ(uniform.Pixel(89, 134), (Rgb{0, 0, 0}));

  // A text colour of (0, 0, 1) is used as it is: full grey gives (0, 0, 1), grey 64 gives black
  // (1 * 64 / 255 = 0.25), which leaves the pixel below.
  const Bitmap nearBlack = GetGenericUniform(program_.Path(), 3, 0x0000FF, 0x010000);
  EXPECT_EQ(nearBlack.Pixel(20, 20), (Rgb{0, 0, 1}));
  EXPECT_EQ(nearBlack.Pixel(30, 30), (Rgb{0, 0, 0}));
}

TEST_F(GenericUniformTest, MissingTemplatesAreLeftOut) {
  const auto folder = DesignFolder(25);
  EXPECT_EQ(folder.filename(), "25");
  Template({{{1, 2}, 255}}).SaveBmp(folder / "text.bmp");
  const Bitmap textOnly = GetGenericUniform(program_.Path(), 25, 0x00FF00, 0x00FF00);
  EXPECT_EQ(textOnly.Pixel(1, 2), (Rgb{0, 255, 0}));
  EXPECT_EQ(textOnly.Pixel(0, 0), (Rgb{0, 0, 0}));

  DesignFolder(1);  // empty design folder, and a design with no folder at all: all black
  for (int design : {1, 7}) {
    const Bitmap empty = GetGenericUniform(program_.Path(), design, 0xFFFFFF, 0xFFFFFF);
    ASSERT_EQ(empty.Width(), 90);
    for (int y = 0; y < 135; ++y) {
      for (int x = 0; x < 90; ++x) ASSERT_EQ(empty.Pixel(x, y), (Rgb{0, 0, 0}));
    }
  }
}

TEST_F(GenericUniformTest, DamagedTemplateEndsWithTheLoadError) {
  const auto folder = DesignFolder(4);
  test::WriteFile(folder / "bg.bmp", test::Bytes{'B', 'M', 1, 2, 3});
  try {
    GetGenericUniform(program_.Path(), 4, 1, 1);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot load image \"" + (folder / "bg.bmp").string() +
                                         "\": the BMP header is cut short.");
  }
}

TEST(AutoRetrieveCustomUniform, EveryTableEntryAndItsNearMisses) {
  struct Entry {
    const char* team;
    const char* nickname;
    const char* picture;
  };
  const Entry entries[] = {
      {"Baltimore", "Orioles", "Orioles_home.png"},
      {"Boston", "Red Sox", "Red Sox_home.png"},
      {"New York", "Yankees", "Yankees_home.png"},
      {"New York", "Mets", "Mets_home.png"},
      {"New York (A)", "Yankees", "Yankees_home.png"},
      {"New York (N)", "Mets", "Mets_home.png"},
      {"Tampa Bay", "Devil Rays", "Devil Rays_home.png"},
      {"Toronto", "Blue Jays", "Blue Jays_home.png"},
      {"Toronto", "Jays", "Blue Jays_home.png"},
      {"Chicago", "White Sox", "White Sox_home.png"},
      {"Chicago", "Cubs", "Cubs_home.png"},
      {"Chicago (A)", "White Sox", "White Sox_home.png"},
      {"Chicago (N)", "Cubs", "Cubs_home.png"},
      {"Cleveland", "Indians", "Indians_home.png"},
      {"Detroit", "Tigers", "Tigers_home.png"},
      {"Kansas City", "Royals", "Royals_home.png"},
      {"Minnesota", "Twins", "Twins_home.png"},
      {"Los Angeles", "Angels", "Angels_home.png"},
      {"Los Angeles", "Dodgers", "Dodgers_home.png"},
      {"Los Angeles (N)", "Dodgers", "Dodgers_home.png"},
      {"Los Angeles (A)", "Angels", "Angels_home.png"},
      {"Anaheim", "Angels", "Angels_home.png"},
      {"Oakland", "A's", "Athletics_home.png"},
      {"Oakland", "Athletics", "Athletics_home.png"},
      {"Seattle", "Mariners", "Mariners_home.png"},
      {"Texas", "Rangers", "Rangers_home.png"},
      {"Atlanta", "Braves", "Braves_home.png"},
      {"Florida", "Marlins", "Marlins_home.png"},
      {"Philadelphia", "Phillies", "Phillies_home.png"},
      {"Washington", "Nationals", "Nationals_home.png"},
      {"Cincinnati", "Reds", "Reds_home.png"},
      {"Houston", "Astros", "Astros_home.png"},
      {"Milwaukee", "Brewers", "Brewers_home.png"},
      {"Pittsburgh", "Pirates", "Pirates_home.png"},
      {"St. Louis", "Cardinals", "Cardinals_home.png"},
      {"Arizona", "Diamondbacks", "Diamondbacks_home.png"},
      {"Colorado", "Rockies", "Rockies_home.png"},
      {"San Diego", "Padres", "Padres_home.png"},
      {"San Francisco", "Giants", "Giants_home.png"},
  };
  const std::filesystem::path program = "/opt/likentor";
  const auto custom = program / "graphics" / "uniforms" / "custom" / "MLB";
  std::set<std::string> teams, pictures;
  for (const Entry& e : entries) {
    teams.insert(e.team);
    pictures.insert(e.picture);
    EXPECT_EQ(AutoRetrieveCustomUniform(program, e.team, e.nickname), (custom / e.picture).string())
        << e.team << " " << e.nickname;
    const std::string team = e.team, nickname = e.nickname;
    std::string lowerTeam = team;
    lowerTeam[0] = static_cast<char>(lowerTeam[0] + ('a' - 'A'));
    for (const auto& [t, n] : {std::pair{lowerTeam, nickname},
                               {team + " ", nickname},
                               {team, nickname + " "},
                               {team, nickname.substr(1)},
                               {"", nickname}}) {
      EXPECT_EQ(AutoRetrieveCustomUniform(program, t, n), "none") << t << "|" << n;
    }
  }
  EXPECT_EQ(teams.size(), 34u);
  EXPECT_EQ(pictures.size(), 30u);
  // The entry of the team name decides; no other entry is tried.
  EXPECT_EQ(AutoRetrieveCustomUniform(program, "New York", "Giants"), "none");
  EXPECT_EQ(AutoRetrieveCustomUniform(program, "Anaheim", "Dodgers"), "none");
  EXPECT_EQ(AutoRetrieveCustomUniform(program, "boston", "Red Sox"), "none");
  EXPECT_EQ(AutoRetrieveCustomUniform(program, "Oakland", "A's"),
            (custom / "Athletics_home.png").string());
}

TEST(SanitizeColors, SplitsOneTextHoldingBothColours) {
  const ColorTexts both = SanitizeColors("#FF0000, #0000FF", "#123456");
  EXPECT_EQ(both.background, "#FF0000");
  EXPECT_EQ(both.text, "#0000FF");
  const ColorTexts apart = SanitizeColors("#FF0000", "#0000FF");
  EXPECT_EQ(apart.background, "#FF0000");
  EXPECT_EQ(apart.text, "#0000FF");
  EXPECT_EQ(SanitizeColors("#FF0000,", "#0000FF").text, "");  // 8 characters
  EXPECT_EQ(SanitizeColors("#FF0000,", "#0000FF").background, "#FF0000");
  EXPECT_EQ(SanitizeColors("#FF0000, ", "#0000FF").text, "");  // 9 characters
  EXPECT_EQ(SanitizeColors("#FF0000, #", "x").text, "#");      // 10 characters
  EXPECT_EQ(SanitizeColors("", "").background, "");
}

}  // namespace
}  // namespace likentor
