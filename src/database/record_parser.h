#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace likentor {

// Splits one record (a line without its line end) into its fields.
std::vector<std::string> ParseRecord(std::string_view record, char separator);
// The 1-based position of the separator that ends the first field, or 0 when it runs to the end.
std::size_t PosFirstSep(std::string_view text, char separator);

}  // namespace likentor
