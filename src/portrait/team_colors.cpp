#include "portrait/team_colors.h"

#include <string>

#include "database/text_file.h"
#include "shell/error.h"

namespace likentor {

namespace {

constexpr ColorValue kWhite = 0xFFFFFF;
constexpr ColorValue kBlack = 0;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

ColorValue TeamColor(int team, std::string_view text, ColorValue teamZeroColor,
                     std::string_view owner) {
  if (team == 0) return teamZeroColor;
  return ParseColorText(text, owner).value_or(teamZeroColor);
}

}  // namespace

std::optional<ColorValue> ParseColorText(std::string_view text, std::string_view owner) {
  if (text.size() < 7) return std::nullopt;
  int digits[6];
  for (int i = 0; i < 6; ++i) {
    digits[i] = HexDigit(text[static_cast<std::size_t>(i) + 1]);
    if (digits[i] < 0) {
      // The text comes from the game's teams export: quoted short, its control characters
      // written out.
      throw Error("Invalid team colour \"" + FieldForMessage(text) + "\"" +
                  (owner.empty() ? std::string() : " of " + EscapeControls(owner)) +
                  ": characters 2 to 7 must be hexadecimal digits.");
    }
  }
  const ColorValue red = static_cast<ColorValue>(digits[0] * 16 + digits[1]);
  const ColorValue green = static_cast<ColorValue>(digits[2] * 16 + digits[3]);
  const ColorValue blue = static_cast<ColorValue>(digits[4] * 16 + digits[5]);
  return blue << 16 | green << 8 | red;
}

ColorValue GetBGColor(int team, std::string_view backgroundColorText, std::string_view owner) {
  return TeamColor(team, backgroundColorText, kWhite, owner);
}

ColorValue GetTxtColor(int team, std::string_view textColorText, std::string_view owner) {
  return TeamColor(team, textColorText, kBlack, owner);
}

}  // namespace likentor
