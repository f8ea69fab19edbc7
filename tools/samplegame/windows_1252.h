#pragma once

#include <string>
#include <string_view>

namespace likentor::samplegame {

// The game writes its exports in Windows-1252. Our sources hold names in UTF-8; these convert.
// Throws std::invalid_argument for a character that Windows-1252 cannot hold (a fault in our
// lists).
std::string ToWindows1252(std::string_view utf8);
// Windows-1252 bytes back to UTF-8 (the five unassigned codes map to U+FFFD).
std::string FromWindows1252(std::string_view bytes);

}  // namespace likentor::samplegame
