#pragma once

// Team colours: the colour texts of the teams table ("#RRGGBB") turned into colour values when a
// portrait is composed. The caller passes the text of the uniform team's row.

#include <optional>
#include <string_view>

#include "portrait/color.h"

namespace likentor {

// The value of a colour text: its first character is not examined, characters 2 to 7 are the
// hexadecimal digits RRGGBB (either case), characters after the seventh are ignored. Returns no
// value for a text shorter than seven characters. Throws Error "Invalid team colour "<text>" of
// <owner>: ..." when characters 2 to 7 are not all hexadecimal digits; `owner` says whose colour
// it is ("team 12 (Town Club) in g_teams.db"), and the words "of <owner>" are left out without
// one.
std::optional<ColorValue> ParseColorText(std::string_view text, std::string_view owner = {});

// The background colour of a team from its `background_color_id` text: white for team 0 (the text
// is not read), white also for a text shorter than seven characters.
ColorValue GetBGColor(int team, std::string_view backgroundColorText, std::string_view owner = {});

// The text colour of a team from its `text_color_id` text: black (0) for team 0 (the text is not
// read), black also for a text shorter than seven characters.
ColorValue GetTxtColor(int team, std::string_view textColorText, std::string_view owner = {});

}  // namespace likentor
