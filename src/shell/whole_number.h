#pragma once

#include <optional>
#include <string_view>

namespace likentor {

// A decimal whole number read strictly, as every number of a file this program reads is: ASCII
// digits only (after one minus sign where `lowest` is below 0), nothing around them, and within
// [lowest, highest]. None otherwise, so that a number too large is never read as another one.
std::optional<long long> StrictWholeNumber(std::string_view text, long long lowest,
                                           long long highest);

// A decimal whole number that fits 32 bits, with an optional sign and blanks around it allowed: a
// value typed into a table's field. Numbers read from files use StrictWholeNumber.
std::optional<int> TryWholeNumber(std::string_view text);
// The same, or Error "'<text>' is not a whole number". Callers that know where the text came from
// (a file and line) catch and prefix the message.
int ToWholeNumber(std::string_view text);

}  // namespace likentor
