#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace likentor {

class TextFileReader;

// Field `index` of a parsed record read from `file`; a record too short for it ends the operation
// with an error naming the file and line ("teams.csv line 7: field 18 is missing").
const std::string& FieldAt(const TextFileReader& file, const std::vector<std::string>& fields,
                           std::size_t index);
// The same field as a whole number ("players.csv line 1234: field 58 is not a whole number").
int WholeNumberAt(const TextFileReader& file, const std::vector<std::string>& fields,
                  std::size_t index);

}  // namespace likentor
