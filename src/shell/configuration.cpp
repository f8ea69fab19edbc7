#include "shell/configuration.h"

#include <fstream>
#include <iterator>

#include "shell/error.h"

namespace likentor {

bool IsFirstUse(const std::filesystem::path& workingFolder) {
  std::error_code ec;
  return !std::filesystem::exists(workingFolder / kConfigurationFile, ec);
}

std::vector<std::string> ReadLines(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw Error("Cannot open file " + file.string());
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

std::optional<Configuration> Upgrade(const std::vector<std::string>& /*lines*/) {
  // No earlier version of the file is known, so none can be converted.
  return std::nullopt;
}

std::optional<Configuration> ReadConfiguration(const std::filesystem::path& workingFolder) {
  if (IsFirstUse(workingFolder)) return std::nullopt;
  const std::vector<std::string> lines = ReadLines(workingFolder / kConfigurationFile);
  if (lines.size() < 3 || lines[0] != kConfigurationVersion) return Upgrade(lines);
  return Configuration{lines[1], lines[2]};
}

void WriteCfgFile(const Configuration& configuration) {
  const auto file = configuration.programFolder / kConfigurationFile;
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << kConfigurationVersion << "\r\n"
      << configuration.programFolder.string() << "\r\n"
      << configuration.gameFolder.string() << "\r\n";
  out.close();
  if (!out) throw Error("Cannot create file " + file.string());
}

}  // namespace likentor
