#pragma once

// configuration.ini: exactly three lines, each ended by CR LF: the version "7", the program folder
// and the game folder, verbatim. It has no sections and no keys despite its name.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace likentor {

inline constexpr std::string_view kConfigurationFile = "configuration.ini";
inline constexpr std::string_view kConfigurationVersion = "7";

struct Configuration {
  std::filesystem::path programFolder;
  std::filesystem::path gameFolder;
};

// True when the working folder holds no configuration.ini.
bool IsFirstUse(const std::filesystem::path& workingFolder);

// The lines of a text file, split at CR LF, LF or CR (a last line without a line end counts).
// Throws Error when the file cannot be read.
std::vector<std::string> ReadLines(const std::filesystem::path& file);

// Reads workingFolder/configuration.ini. A file of another version (first line not exactly "7") or
// with fewer than three lines goes to Upgrade, which in this version accepts nothing: the result is
// empty and the program is not set up. Empty too when the file is missing.
std::optional<Configuration> ReadConfiguration(const std::filesystem::path& workingFolder);
std::optional<Configuration> Upgrade(const std::vector<std::string>& lines);

// Writes programFolder/configuration.ini anew. Throws Error when it cannot be written.
void WriteCfgFile(const Configuration& configuration);

}  // namespace likentor
