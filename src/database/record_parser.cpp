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

// The field's text into `out` (its storage reused), two consecutive quotes becoming one, scanning
// left to right without overlap.
void CollapseDoubledQuotes(std::string_view text, std::string& out) {
  std::size_t quote = text.find(kQuote);
  if (quote == std::string_view::npos) {
    out.assign(text);
    return;
  }
  out.clear();
  while (quote != std::string_view::npos) {
    out.append(text.substr(0, quote + 1));
    text.remove_prefix(quote + 1);
    if (!text.empty() && text.front() == kQuote) text.remove_prefix(1);
    quote = text.find(kQuote);
  }
  out.append(text);
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
  ParseRecord(record, separator, fields);
  return fields;
}

void ParseRecord(std::string_view record, char separator, std::vector<std::string>& fields,
                 std::size_t firstFields) {
  // Blanks at the end of the record end every remainder alike: they are trimmed once.
  record = Trim(record);
  std::size_t count = 0;
  std::size_t at = 0;
  while (count < firstFields) {
    while (at < record.size() && IsBlank(record[at])) ++at;
    // An empty field ends the record; so does an empty remainder (a blank line gives no fields).
    if (at == record.size() || record[at] == separator) break;
    const std::string_view remainder = record.substr(at);
    std::size_t p = 0;
    bool quotes = true;  // the field may hold a quote: doubled ones are collapsed
    if (remainder.front() == kQuote) {
      p = PosFirstSep(remainder, separator);
    } else {
      // Most fields are a few characters long: a plain scan beats a search call per field.
      quotes = false;
      for (std::size_t i = 0; i < remainder.size(); ++i) {
        if (remainder[i] == separator) {
          p = i + 1;
          break;
        }
        quotes = quotes || remainder[i] == kQuote;
      }
    }
    std::string_view field = Trim(p > 0 ? remainder.substr(0, p - 1) : remainder);
    if (!field.empty() && field.front() == kQuote) {
      field.remove_prefix(1);
      // A field that was a lone quote is now empty: it stays an empty field.
      if (!field.empty() && field.back() == kQuote) field.remove_suffix(1);
      field = Trim(field);
    }
    if (count == fields.size()) fields.emplace_back();
    if (quotes) {
      CollapseDoubledQuotes(field, fields[count++]);
    } else {
      fields[count++].assign(field);
    }
    if (p == 0) break;
    at += p;
  }
  fields.resize(count);
}

}  // namespace likentor
