#include "shell/whole_number.h"

#include <charconv>
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
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  std::string_view digits = text.substr(begin, end - begin);
  // from_chars takes a minus sign but not a plus sign.
  if (!digits.empty() && digits.front() == '+') {
    digits.remove_prefix(1);
    if (!digits.empty() && digits.front() == '-') return std::nullopt;
  }
  if (digits.empty()) return std::nullopt;
  int value = 0;
  const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || ptr != digits.data() + digits.size()) return std::nullopt;
  return value;
}

int ToWholeNumber(std::string_view text) {
  if (auto value = TryWholeNumber(text)) return *value;
  throw Error("'" + std::string(text) + "' is not a whole number");
}

}  // namespace likentor
