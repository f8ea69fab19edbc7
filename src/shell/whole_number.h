#pragma once

#include <optional>
#include <string_view>

namespace likentor {

// A decimal whole number that fits 32 bits, with an optional sign and blanks around it allowed.
std::optional<int> TryWholeNumber(std::string_view text);
// The same, or Error "'<text>' is not a whole number". Callers that know where the text came from
// (a file and line) catch and prefix the message.
int ToWholeNumber(std::string_view text);

}  // namespace likentor
