#include "shell/whole_number.h"

#include <charconv>
#include <limits>
#include <string>

#include "shell/error.h"

namespace likentor {

std::optional<long long> StrictWholeNumber(std::string_view text, long long lowest,
                                           long long highest) {
  const bool negative = !text.empty() && text.front() == '-' && lowest < 0;
  const std::string_view digits = negative ? text.substr(1) : text;
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) {
    return std::nullopt;
  }
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < lowest ||
      value > highest) {
    return std::nullopt;
  }
  return value;
}

std::optional<int> TryWholeNumber(std::string_view text) {
  const std::optional<long long> value =
      StrictWholeNumber(text, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
  if (!value) return std::nullopt;
  return static_cast<int>(*value);
}

int ToWholeNumber(std::string_view text) {
  if (auto value = TryWholeNumber(text)) return *value;
  throw Error("'" + std::string(text) + "' is not a whole number");
}

}  // namespace likentor
