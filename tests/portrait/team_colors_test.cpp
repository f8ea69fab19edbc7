#include "portrait/team_colors.h"

#include <gtest/gtest.h>

#include "shell/error.h"

namespace likentor {
namespace {

TEST(TeamColors, ColourTextsGiveValuesWithRedInTheLowestByte) {
  EXPECT_EQ(GetBGColor(5, "#FF0000"), 255u);
  EXPECT_EQ(GetTxtColor(5, "#0000ff"), 255u * 65536u);
  EXPECT_EQ(GetBGColor(5, "#000000"), 0u);
  EXPECT_EQ(ToRgb(GetTxtColor(5, "#0000ff")), (Rgb{0, 0, 255}));
  // Red A1 = 161, green b2 = 178, blue C3 = 195: 195 * 65536 + 178 * 256 + 161. The first
  // character is not examined and characters after the seventh are ignored.
  EXPECT_EQ(GetBGColor(1, "XA1b2C3zz"), 12825249u);
  EXPECT_EQ(ParseColorText("#010203"), std::optional<ColorValue>(0x030201));
}

TEST(TeamColors, TeamZeroAndShortTextsGiveWhiteAndBlack) {
  EXPECT_EQ(GetBGColor(0, "#123456"), 0xFFFFFFu);
  EXPECT_EQ(GetTxtColor(0, "#123456"), 0u);
  EXPECT_EQ(GetBGColor(0, "not read"), 0xFFFFFFu);
  EXPECT_EQ(GetBGColor(3, ""), 0xFFFFFFu);
  EXPECT_EQ(GetBGColor(3, "#12345"), 0xFFFFFFu);
  EXPECT_EQ(GetTxtColor(3, "#12345"), 0u);
  EXPECT_EQ(ParseColorText("#12345"), std::nullopt);
}

TEST(TeamColors, NonHexadecimalDigitsFail) {
  for (const char* text : {"#GG0000", "#FF 000", "#+F0000", "#00000g"}) {
    try {
      GetBGColor(1, text);
      FAIL() << text;
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), "Invalid team colour \"" + std::string(text) +
                                           "\": characters 2 to 7 must be hexadecimal digits.");
    }
  }
  // With the team and its table named.
  try {
    GetTxtColor(7, "#00zz00", "team 7 (Town Club) in g_teams.db");
    FAIL() << "#00zz00";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()),
              "Invalid team colour \"#00zz00\" of team 7 (Town Club) in g_teams.db: characters 2 "
              "to 7 must be hexadecimal digits.");
  }
  // A colour text from an export is quoted up to 60 characters, its control characters written
  // out; so is a team name in the owner.
  try {
    GetBGColor(7, "#\x1b[2J" + std::string(80, 'z'), "team 7 (Town\x1b]0;x\x07) in g_teams.db");
    FAIL() << "escape";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Invalid team colour \"#\\x1b[2J" + std::string(55, 'z') +
                                         "\u2026\" of team 7 (Town\\x1b]0;x\\x07) in g_teams.db: "
                                         "characters 2 to 7 must be hexadecimal digits.");
  }
}

}  // namespace
}  // namespace likentor
