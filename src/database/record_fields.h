#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "database/record_parser.h"
#include "database/text_file.h"

namespace likentor {

// Field `index` of a parsed record read from `file`; a record too short for it ends the operation
// with an error naming the file and line ("teams.csv line 7: field 18 is missing").
const std::string& FieldAt(const TextFileReader& file, const std::vector<std::string>& fields,
                           std::size_t index);
// The same field as a whole number ("players.csv line 1234: field 58 is not a whole number").
int WholeNumberAt(const TextFileReader& file, const std::vector<std::string>& fields,
                  std::size_t index);

// Reads a delimited file record by record: the heading line (when the file has one) and blank lines
// are passed over, every other line is split and handed to `visit(file, fields)`, where the reader
// names the file and line for failures. A missing file ends the operation with an Error. With
// `firstFields`, only that many fields of each record are split, for a reader of long records that
// needs their first few: the fields it asks for are found as without, and a record that lacks one
// is short by the same count of fields.
enum class Heading { Skip, None };
template <typename Visit>
void ForEachRecord(const std::filesystem::path& path, char separator, Heading heading,
                   std::size_t firstFields, Visit&& visit) {
  TextFileReader file(path);
  std::string line;
  std::vector<std::string> fields;  // reused from record to record
  if (heading == Heading::Skip) file.ReadLine(line);
  while (file.ReadLine(line)) {
    if (IsBlankLine(line)) continue;
    ParseRecord(line, separator, fields, firstFields);
    visit(static_cast<const TextFileReader&>(file),
          static_cast<const std::vector<std::string>&>(fields));
  }
}
template <typename Visit>
void ForEachRecord(const std::filesystem::path& path, char separator, Heading heading,
                   Visit&& visit) {
  ForEachRecord(path, separator, heading, kAllFields, std::forward<Visit>(visit));
}

}  // namespace likentor
