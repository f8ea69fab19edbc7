// Where the program works when it runs installed (bin/ beside share/likentor/, as cmake --install
// lays it out): the places of a start and a whole first-run setup, with the user's folders below a
// temporary HOME. A program folder as the build writes one works as it always did.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "app/session.h"
#include "shell/scripted_prompts.h"
#include "support/program_folder.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

namespace fs = std::filesystem;

class UserFoldersTest : public ::testing::Test {
 protected:
  UserFoldersTest() {
    ::setenv("HOME", home_.c_str(), 1);
    ::unsetenv("XDG_DATA_HOME");
    ::unsetenv("XDG_CONFIG_HOME");
    test::InstallDataFiles(shared_);
    fs::create_directories(shared_ / "graphics" / "icon");
    fs::create_directories(bin_);
    fs::create_directories(elsewhere_);
  }

  // Every file and folder below `root` with its size and time, to see that nothing changed.
  static std::string Listing(const fs::path& root) {
    std::ostringstream listing;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      listing << entry.path() << ' ' << entry.last_write_time().time_since_epoch().count();
      if (entry.is_regular_file()) listing << ' ' << entry.file_size();
      listing << '\n';
    }
    return listing.str();
  }

  test::TempFolder folder_;
  fs::path home_ = folder_ / "home";
  fs::path bin_ = folder_ / "usr" / "bin";
  fs::path shared_ = folder_ / "usr" / "share" / "likentor";
  fs::path elsewhere_ = folder_ / "elsewhere";
  fs::path userData_ = home_ / ".local" / "share" / "likentor";
  fs::path userConfig_ = home_ / ".config" / "likentor";
};

TEST_F(UserFoldersTest, AnInstallStartsInTheUsersConfigFolderUnlessAFolderIsGivenOrSetUp) {
  const SessionPlaces places = StartingPlaces(elsewhere_, false, bin_);
  EXPECT_EQ(places.workingFolder, userConfig_);
  EXPECT_TRUE(fs::is_directory(userConfig_));
  EXPECT_TRUE(places.inUserConfigFolder);
  EXPECT_EQ(places.executableFolder, shared_);
  EXPECT_EQ(places.userDataFolder, userData_);

  // -C: the given folder, and the setup still defaults to the user's data folder.
  const SessionPlaces given = StartingPlaces(elsewhere_, true, bin_);
  EXPECT_EQ(given.workingFolder, elsewhere_);
  EXPECT_FALSE(given.inUserConfigFolder);
  EXPECT_EQ(given.userDataFolder, userData_);

  // A working folder that is set up is kept.
  test::WriteBytes(elsewhere_ / "configuration.ini", "7\r\n/p\r\n/g\r\n");
  EXPECT_EQ(StartingPlaces(elsewhere_, false, bin_).workingFolder, elsewhere_);
  fs::remove(elsewhere_ / "configuration.ini");

  // The XDG variables name the base folders; one that is not an absolute path is passed over.
  ::setenv("XDG_CONFIG_HOME", (folder_ / "config").c_str(), 1);
  ::setenv("XDG_DATA_HOME", "relative/data", 1);
  const SessionPlaces xdg = StartingPlaces(elsewhere_, false, bin_);
  EXPECT_EQ(xdg.workingFolder, folder_ / "config" / "likentor");
  EXPECT_EQ(xdg.userDataFolder, userData_);
}

TEST_F(UserFoldersTest, AProgramFolderAsTheBuildWritesOneWorksAsBefore) {
  const fs::path program = folder_ / "program";
  test::InstallDataFiles(program);
  const SessionPlaces places = StartingPlaces(elsewhere_, false, program);
  EXPECT_EQ(places.workingFolder, elsewhere_);
  EXPECT_EQ(places.executableFolder, program);
  EXPECT_TRUE(places.userDataFolder.empty());
  EXPECT_FALSE(places.inUserConfigFolder);
  EXPECT_FALSE(fs::exists(home_));
}

TEST_F(UserFoldersTest, TheSetupOfAnInstallWritesOnlyIntoTheUsersFolders) {
  const std::string installBefore = Listing(folder_ / "usr");
  {
    // Both folder choosers cancelled: the defaults.
    ScriptedPrompts prompts;
    Session session(prompts, StartingPlaces(elsewhere_, false, bin_));
    session.Startup(Session::Missing::RunSetup);
    EXPECT_EQ(session.ProgramFolder(), userData_);
    session.Shutdown();
  }
  EXPECT_EQ(Listing(folder_ / "usr"), installBefore);
  EXPECT_TRUE(fs::is_empty(elsewhere_));
  EXPECT_TRUE(fs::is_regular_file(userData_ / "data" / "games.db"));
  EXPECT_TRUE(fs::is_regular_file(userData_ / "data" / "nations.csv"));
  EXPECT_TRUE(fs::is_symlink(userData_ / "graphics"));
  EXPECT_EQ(fs::read_symlink(userData_ / "graphics"), shared_ / "graphics");
  // The configuration is written to the program folder and kept where the next start reads it.
  const std::string configuration = test::ReadBytes(userData_ / "configuration.ini");
  EXPECT_NE(configuration.find(userData_.string()), std::string::npos);
  EXPECT_EQ(test::ReadBytes(userConfig_ / "configuration.ini"), configuration);

  // The next start, from another folder, finds the setup and asks nothing.
  fs::create_directories(folder_ / "other");
  ScriptedPrompts prompts;
  Session next(prompts, StartingPlaces(folder_ / "other", false, bin_));
  next.Startup(Session::Missing::Fail);
  EXPECT_EQ(next.ProgramFolder(), userData_);
  EXPECT_TRUE(prompts.History().empty());
  next.Shutdown();
  EXPECT_EQ(Listing(folder_ / "usr"), installBefore);
}

}  // namespace
}  // namespace likentor
