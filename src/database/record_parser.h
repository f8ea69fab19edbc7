#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace likentor {

inline constexpr std::size_t kAllFields = static_cast<std::size_t>(-1);

// Splits one record (a line without its line end) into its fields.
std::vector<std::string> ParseRecord(std::string_view record, char separator);
// The same into `fields`, whose strings are reused: a reader of many records allocates once. Only
// the first `firstFields` fields are split; a record with fewer gives all it has, as above.
void ParseRecord(std::string_view record, char separator, std::vector<std::string>& fields,
                 std::size_t firstFields = kAllFields);
// The 1-based position of the separator that ends the first field, or 0 when it runs to the end.
std::size_t PosFirstSep(std::string_view text, char separator);

}  // namespace likentor
