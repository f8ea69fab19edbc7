#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace likentor {

// Splits one record (a line without its line end) into its fields.
std::vector<std::string> ParseRecord(std::string_view record, char separator);
// The 1-based position of the separator that ends the first field, or 0 when it runs to the end.
std::size_t PosFirstSep(std::string_view text, char separator);

// The fields of one parsed record with checked access: callers read fixed positions, and a record
// too short for a position ends the operation with an Error instead of reading past the end.
class Record {
 public:
  Record() = default;
  explicit Record(std::vector<std::string> fields) : fields_(std::move(fields)) {}
  Record(std::string_view record, char separator) : fields_(ParseRecord(record, separator)) {}

  std::size_t Size() const { return fields_.size(); }
  const std::vector<std::string>& Fields() const { return fields_; }

  // Field at a 0-based position; Error "Field 8 is missing: the record has 5 fields" (positions in
  // messages count from 1, as a reader counts them).
  const std::string& At(std::size_t index) const;
  const std::string& operator[](std::size_t index) const { return At(index); }
  // The field as a whole number; Error "'x' is not a whole number" otherwise.
  int WholeNumberAt(std::size_t index) const;

 private:
  std::vector<std::string> fields_;
};

}  // namespace likentor
