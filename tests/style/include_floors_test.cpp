// The folders of src/ are floors: a file includes its own folder and the floors below it, and the
// two front ends (the window and the command line) reach the core only through app, besides the
// shell's basics. This test reads every #include "folder/..." of src/ and names each one that
// breaks that, so that a shortcut across the floors shows at once instead of at the next review.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// What each folder may include besides itself.
const std::map<std::string, std::set<std::string>>& AllowedFloors() {
  static const std::map<std::string, std::set<std::string>> allowed = {
      {"shell", {}},
      {"database", {"shell"}},
      {"portrait", {"database", "shell"}},
      {"import", {"portrait", "database", "shell"}},
      {"app", {"import", "portrait", "database", "shell"}},
      {"ui", {"app", "shell"}},
      {"cli", {"app", "shell"}},
  };
  return allowed;
}

// Includes that cross the floors on purpose, each with its reason.
const std::map<std::string, std::string>& AllowedExceptions() {
  static const std::map<std::string, std::string> exceptions = {
      // The grids bind to the table store's read interface: a snapshot of rows, not app's tables.
      {"src/ui/table_model.h -> database/row_snapshot.h", "the grids' read interface"},
      // The window program's main: the command line with the window, which likentor hands itself
      // over to when no command is given.
      {"src/cli/window_main.cpp -> ui/window_main.h", "the window program links the window"},
  };
  return exceptions;
}

std::vector<std::string> FloorBreaks(const fs::path& sourceRoot) {
  const std::regex include(R"re(^\s*#\s*include\s*"([a-z_]+)/[^"]+")re");
  const std::regex whole(R"re(^\s*#\s*include\s*"([^"]+)")re");
  std::vector<std::string> breaks;
  for (const auto& [folder, below] : AllowedFloors()) {
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(sourceRoot / folder)) {
      const fs::path& file = entry.path();
      if (file.extension() != ".cpp" && file.extension() != ".h") continue;
      std::ifstream in(file);
      std::string line;
      while (std::getline(in, line)) {
        std::smatch match;
        std::smatch target;
        if (!std::regex_search(line, match, include) || !std::regex_search(line, target, whole)) {
          continue;
        }
        const std::string to = match[1];
        if (to == folder || below.count(to) > 0) continue;
        const std::string name = fs::relative(file, sourceRoot.parent_path()).generic_string() +
                                 " -> " + target[1].str();
        if (AllowedExceptions().count(name) == 0) breaks.push_back(name);
      }
    }
  }
  return breaks;
}

TEST(IncludeFloors, EveryIncludeStaysOnItsFloorOrGoesDown) {
  const fs::path sourceRoot = fs::path(LIKENTOR_SOURCE_DIR) / "src";
  ASSERT_TRUE(fs::is_directory(sourceRoot / "app"));
  // Every folder of src/ has its floor, so that a new one cannot slip past the test.
  for (const fs::directory_entry& entry : fs::directory_iterator(sourceRoot)) {
    if (entry.is_directory()) {
      EXPECT_EQ(AllowedFloors().count(entry.path().filename().string()), 1u)
          << entry.path().filename() << " has no floor in this test";
    }
  }
  const std::vector<std::string> breaks = FloorBreaks(sourceRoot);
  std::string listed;
  for (const std::string& name : breaks) listed += "\n  " + name;
  EXPECT_TRUE(breaks.empty()) << "includes that leave their floor:" << listed;
}

}  // namespace
