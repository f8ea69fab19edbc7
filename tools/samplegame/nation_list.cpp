#include "samplegame/nation_list.h"

#include <charconv>
#include <fstream>
#include <stdexcept>
#include <string_view>

namespace likentor::samplegame {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32) s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32) s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> Split(std::string_view line, char separator) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = line.find(separator, start);
    fields.push_back(Trim(line.substr(start, end == std::string_view::npos ? end : end - start)));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return fields;
}

int Number(std::string_view text, const std::string& where) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) {
    throw std::runtime_error(where + ": not a whole number: " + std::string(text));
  }
  return value;
}

}  // namespace

std::vector<Nation> ReadNationList(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("Cannot read the nations list " + path);
  std::vector<Nation> nations;
  std::string line;
  int lineNumber = 0;
  while (std::getline(in, line)) {
    ++lineNumber;
    if (lineNumber == 1 || Trim(line).empty()) continue;
    const std::string where = path + " line " + std::to_string(lineNumber);
    const auto fields = Split(line, ';');
    if (fields.size() < 9) throw std::runtime_error(where + ": expected 9 fields");
    Nation n;
    n.id = Number(fields[0], where);
    n.name = fields[1];
    n.shortName = fields[2];
    n.abbreviation = fields[3];
    n.caucasian = Number(fields[4], where);
    n.african = Number(fields[5], where);
    n.eastIndian = Number(fields[6], where);
    n.asian = Number(fields[7], where);
    n.region = Number(fields[8], where);
    nations.push_back(std::move(n));
  }
  if (nations.empty()) throw std::runtime_error("The nations list " + path + " holds no nations");
  return nations;
}

}  // namespace likentor::samplegame
