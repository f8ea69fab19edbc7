#pragma once

// The fixture of the command-line tests that make portraits: a program folder set up by the real
// command line, with the build's artwork kit linked in as its graphics/, beside the small sample
// game. Skips the test when the build drew no kit.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "support/command_line_runs.h"
#include "support/program_folder.h"
#include "support/small_sample_game.h"
#include "support/temp_folder.h"

namespace likentor::test {

class KitGameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    namespace fs = std::filesystem;
    const fs::path kit = fs::path(LIKENTOR_PROGRAM_DIR) / "graphics";
    if (!fs::exists(kit / "uniforms" / "bill underside.png")) {
      GTEST_SKIP() << "the build drew no artwork kit into " << kit;
    }
    InstallDataFiles(program_);
    fs::create_directory_symlink(kit, program_ / "graphics");
    const Outcome setup =
        Run({"setup", "--program-folder", program_.string(), "--game-folder", game_.string()});
    ASSERT_EQ(setup.status, 0) << setup.err;
    WriteSmallSampleGame(game_);
  }

  // The command line in this process, as if started in the program folder.
  Outcome Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"-C", program_.string()});
    return RunInProcess(std::move(args), program_);
  }

  TempFolder folder_;
  std::filesystem::path program_ = folder_ / "program";
  std::filesystem::path game_ = folder_ / "game";
};

}  // namespace likentor::test
