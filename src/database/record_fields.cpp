#include "database/record_fields.h"

#include <limits>

#include "database/text_file.h"
#include "shell/error.h"
#include "shell/whole_number.h"

namespace likentor {

const std::string& FieldAt(const TextFileReader& file, const std::vector<std::string>& fields,
                           std::size_t index) {
  if (index >= fields.size()) {
    throw Error(file.Where("field " + std::to_string(index) + " is missing (the record has " +
                           std::to_string(fields.size()) + " fields)"));
  }
  return fields[index];
}

int WholeNumberAt(const TextFileReader& file, const std::vector<std::string>& fields,
                  std::size_t index) {
  // A number of a file: digits only, within 32 bits; blanks or a sign around it make it no number.
  const auto value =
      StrictWholeNumber(FieldAt(file, fields, index), std::numeric_limits<int>::min(),
                        std::numeric_limits<int>::max());
  if (!value) {
    throw Error(file.Where("field " + std::to_string(index) + " is not a whole number ('" +
                           FieldForMessage(fields[index]) + "')"));
  }
  return static_cast<int>(*value);
}

}  // namespace likentor
