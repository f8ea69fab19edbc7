#include "database/record_fields.h"

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
  const auto value = TryWholeNumber(FieldAt(file, fields, index));
  if (!value) {
    throw Error(file.Where("field " + std::to_string(index) + " is not a whole number ('" +
                           FieldForMessage(fields[index]) + "')"));
  }
  return *value;
}

}  // namespace likentor
