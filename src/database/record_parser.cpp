#include "database/record_parser.h"

namespace likentor {

namespace {

constexpr char kQuote = '"';

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Two consecutive quotes become one, scanning left to right without overlap.
std::string CollapseDoubledQuotes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    if (text[i] == kQuote && i + 1 < text.size() && text[i + 1] == kQuote) ++i;
  }
  return out;
}

}  // namespace

std::size_t PosFirstSep(std::string_view text, char separator) {
  if (text.empty() || text.front() != kQuote) {
    const std::size_t at = text.find(separator);
    return at == std::string_view::npos ? 0 : at + 1;
  }
  // Positions are 1-based: the opening quote is at 1, the scan starts at 2. `pending` is the
  // position of a quote that may close the field, 0 when there is none.
  std::size_t pending = 0;
  for (std::size_t i = 2; i <= text.size(); ++i) {
    const char c = text[i - 1];
    if (pending > 0) {
      if (c == separator) return i;
      if (c == kQuote && pending == i - 1) pending = 0;  // a doubled quote
    } else if (c == kQuote) {
      pending = i;
    }
  }
  return 0;
}

std::vector<std::string> ParseRecord(std::string_view record, char separator) {
  std::vector<std::string> fields;
  std::string_view remainder = record;
  while (true) {
    remainder = Trim(remainder);
    // An empty field ends the record; so does an empty remainder (a blank line gives no fields).
    if (remainder.empty() || remainder.front() == separator) break;
    const std::size_t p = PosFirstSep(remainder, separator);
    std::string_view field = Trim(p > 0 ? remainder.substr(0, p - 1) : remainder);
    if (!field.empty() && field.front() == kQuote) {
      field.remove_prefix(1);
      // A field that was a lone quote is now empty: it stays an empty field.
      if (!field.empty() && field.back() == kQuote) field.remove_suffix(1);
      field = Trim(field);
    }
    fields.push_back(CollapseDoubledQuotes(field));
    if (p == 0) break;
    remainder.remove_prefix(p);
  }
  return fields;
}

}  // namespace likentor
