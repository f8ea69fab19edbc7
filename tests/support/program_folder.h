#pragma once

// A program folder as the build lays it out: the shipped data files in data/, so that a setup can
// build the shared tables from them.

#include <filesystem>

namespace likentor::test {

inline void InstallDataFiles(const std::filesystem::path& programFolder) {
  namespace fs = std::filesystem;
  fs::create_directories(programFolder / "data");
  for (const char* name : {"nations.csv", "facialhair.csv"}) {
    fs::copy_file(fs::path(LIKENTOR_SOURCE_DIR) / "data" / name, programFolder / "data" / name,
                  fs::copy_options::overwrite_existing);
  }
}

}  // namespace likentor::test
