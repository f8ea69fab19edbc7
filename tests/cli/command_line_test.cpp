#include <gtest/gtest.h>
#include <sys/wait.h>
#include <fstream>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "support/command_line_runs.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

using test::Outcome;
using test::RunInProcess;

// Runs a built executable through the shell, capturing its streams in files of `folder`.
Outcome RunProgram(const std::string& command, const test::TempFolder& folder) {
  const auto out = folder / "stdout.txt";
  const auto err = folder / "stderr.txt";
  const std::string line = command + " >'" + out.string() + "' 2>'" + err.string() + "'";
  const int raw = std::system(line.c_str());
  Outcome run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = test::ReadBytes(out);
  run.err = test::ReadBytes(err);
  return run;
}

const std::string kLikentor = std::string(LIKENTOR_PROGRAM_DIR) + "/likentor";

// An installed program folder: the shipped data files the setup builds the shared tables from.
void InstallData(const std::filesystem::path& program) {
  std::filesystem::create_directories(program / "data");
  for (const auto& entry :
       std::filesystem::directory_iterator(std::filesystem::path(LIKENTOR_PROGRAM_DIR) / "data")) {
    if (entry.path().extension() == ".csv") {
      std::filesystem::copy_file(entry.path(), program / "data" / entry.path().filename());
    }
  }
}

TEST(CommandLine, SetupWritesTheConfigurationAndTheLog) {
  // A fresh folder: the setup installs the program's shipped files there itself.
  test::TempFolder folder;
  const auto p = folder / "p";
  const Outcome run = RunProgram(kLikentor + " -C '" + p.string() + "' setup --program-folder '" +
                                     p.string() + "' --game-folder /tmp/g",
                                 folder);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(test::ReadBytes(p / "configuration.ini"), "7\r\n" + p.string() + "\r\n/tmp/g\r\n");
  EXPECT_EQ(test::ReadBytes(p / "errors.txt"), "Errors Log\r\n");
  EXPECT_TRUE(std::filesystem::is_directory(p / "data"));
  EXPECT_EQ(test::ReadBytes(p / "data" / "nations.csv"),
            test::ReadBytes(std::filesystem::path(LIKENTOR_PROGRAM_DIR) / "data" / "nations.csv"));
  if (std::filesystem::is_directory(std::filesystem::path(LIKENTOR_PROGRAM_DIR) / "graphics")) {
    EXPECT_TRUE(std::filesystem::is_symlink(p / "graphics"));
  }
  // /tmp/g holds no saved games: kept as given, and said.
  EXPECT_EQ(run.out,
            "This appears to be your first time running the program.  Please follow the "
            "instructions to configure it for your machine.\nNote: /tmp/g has no "
            "data/saved_games, so Likentor will find no saved game in it.\n");

  // The shared tables with their rows, and one of them printed.
  const Outcome tables = RunProgram(kLikentor + " -C '" + p.string() + "' tables", folder);
  EXPECT_EQ(tables.status, 0) << tables.err;
  const int styles = [] {
    int n = 0;
    for (char c :
         test::ReadBytes(std::filesystem::path(LIKENTOR_SOURCE_DIR) / "data" / "facialhair.csv")) {
      n += c == '\n';
    }
    return n;
  }();
  EXPECT_EQ(tables.out, "games.db;0\nnations.db;220\nfacial_hair.db;" + std::to_string(styles) +
                            "\nfaces_african.db;1692\nfaces_asian.db;1539\nfaces_caucasian.db;"
                            "1746\nfaces_east_indian.db;1179\naccessories.db;4\n");
  const Outcome accessories =
      RunProgram(kLikentor + " -C '" + p.string() + "' show accessories.db", folder);
  EXPECT_EQ(accessories.status, 0) << accessories.err;
  const std::string location = (p / "graphics" / "accessories").string();
  EXPECT_EQ(accessories.out,
            "accessory_id;location;pitcher_eligible;batter_eligible;lefty_eligible;"
            "righty_eligible;frequency\n"
            "1;" +
                location +
                "/00001.png;false;true;false;true;15\n"
                "2;" +
                location +
                "/00002.png;false;true;true;false;15\n"
                "3;" +
                location +
                "/00003.png;true;false;false;true;15\n"
                "4;" +
                location + "/00004.png;true;false;true;false;15\n");
  const Outcome missing = RunProgram(kLikentor + " -C '" + p.string() + "' show ../errors", folder);
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("There is no table ../errors.db"), std::string::npos) << missing.err;

  // The log as the command line shows it, and cleared.
  std::ofstream(p / "errors.txt", std::ios::app) << "Error saving game settings.\r\n";
  Outcome errors = RunProgram(kLikentor + " -C '" + p.string() + "' errors", folder);
  EXPECT_EQ(errors.status, 0);
  EXPECT_EQ(errors.out, "Errors Log\nError saving game settings.\n");
  errors = RunProgram(kLikentor + " -C '" + p.string() + "' errors --clear", folder);
  EXPECT_EQ(errors.status, 0);
  EXPECT_EQ(errors.out, "Error log file cleared.\n");
  EXPECT_EQ(test::ReadBytes(p / "errors.txt"), "Errors Log\r\n");
}

TEST(CommandLine, SetupWithoutOptionsUsesTheDefaultFolders) {
  // A copy of the executable, so that its folder (the default program folder) is a fresh one.
  test::TempFolder folder;
  const auto exe = folder / "installed";
  InstallData(exe);
  std::filesystem::copy_file(kLikentor, exe / "likentor");
  const Outcome run =
      RunProgram("HOME='" + (folder / "home").string() + "' '" + (exe / "likentor").string() +
                     "' -C '" + folder.Path().string() + "' setup",
                 folder);
  EXPECT_EQ(run.status, 0) << run.err;
  const auto game =
      folder / "home" / ".wine" / "drive_c" / "Program Files" / "Pellworth" / "Vask Baseball 2006";
  EXPECT_EQ(test::ReadBytes(exe / "configuration.ini"),
            "7\r\n" + exe.string() + "\r\n" + game.string() + "\r\n");
  EXPECT_EQ(test::ReadBytes(exe / "errors.txt"), "Errors Log\r\n");
}

TEST(CommandLine, AFolderThatIsNotSetUpEndsWithStatusTwo) {
  test::TempFolder folder;
  Outcome run = RunInProcess({"-C", folder.Path().string(), "errors"}, folder.Path());
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("Likentor is not set up in " + folder.Path().string()), std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("setup"), std::string::npos);
  // A configuration of another version is no configuration.
  test::WriteBytes(folder / "configuration.ini", "07\r\n" + folder.Path().string() + "\r\n/g\r\n");
  run = RunInProcess({"-C", folder.Path().string() + "/", "errors", "--clear"}, folder.Path());
  EXPECT_EQ(run.status, 2);
  EXPECT_FALSE(std::filesystem::exists(folder / "errors.txt"));
}

TEST(CommandLine, SetupOverAGameNationListWithoutNationsFailsAndUsesTheShippedList) {
  test::TempFolder folder;
  const auto p = folder / "p";
  const auto g = folder / "g";
  InstallData(p);
  test::WriteBytes(g / "data" / "database" / "nations.txt", "");
  const Outcome run = RunInProcess(
      {"-C", p.string(), "setup", "--program-folder", p.string(), "--game-folder", g.string()},
      folder.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "The game's nation list gives no nation (" +
                         (g / "data" / "database" / "nations.txt").string() +
                         " lists none): the nations table was built from " +
                         (p / "data" / "nations.csv").string() + " instead.\n");
  const Outcome tables = RunInProcess({"-C", p.string(), "tables"}, folder.Path());
  EXPECT_EQ(tables.status, 0) << tables.err;
  EXPECT_NE(tables.out.find("nations.db;220\n"), std::string::npos) << tables.out;
}

TEST(CommandLine, UsageAndFailures) {
  test::TempFolder folder;
  Outcome run = RunProgram(kLikentor + " --help", folder);
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("setup"), std::string::npos);
  EXPECT_NE(run.out.find("errors"), std::string::npos);
  run = RunProgram(kLikentor + " frobnicate", folder);
  EXPECT_EQ(run.status, 2);
  run = RunInProcess({"setup", "--bogus"}, folder.Path());
  EXPECT_EQ(run.status, 2);
  // A program folder that is missing is made; one that cannot be made ends the setup with status 1
  // and the reason.
  run = RunInProcess({"-C", folder.Path().string(), "setup", "--program-folder", "new/p"},
                     folder.Path());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(test::ReadBytes(folder / "new" / "p" / "errors.txt").substr(0, 12), "Errors Log\r\n");
  test::WriteBytes(folder / "file", "x");
  run = RunInProcess({"-C", folder.Path().string(), "setup", "--program-folder", "file/p"},
                     folder.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find((folder / "file" / "p" / "errors.txt").string()), std::string::npos)
      << run.err;
  // The data folder cannot be made where a file stands: the error box goes to stderr, status 1.
  test::WriteBytes(folder / "data", "not a folder");
  run =
      RunInProcess({"-C", folder.Path().string(), "setup", "--program-folder", "."}, folder.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "There was an error creating the database alias.\n");
  EXPECT_EQ(test::ReadBytes(folder / "configuration.ini"),
            "7\r\n" + folder.Path().string() + "\r\n" +
                (std::filesystem::path(std::getenv("HOME")) / ".wine" / "drive_c" /
                 "Program Files" / "Pellworth" / "Vask Baseball 2006")
                    .string() +
                "\r\n");
}

// The command line does not load the window system: its commands start without Qt's libraries.
// Without a command it hands itself over to likentor-window beside it, with its arguments as given,
// and says so when there is none.
TEST(CommandLine, CommandsLoadNoWindowSystemAndTheWindowIsTheWindowProgramsJob) {
  test::TempFolder folder;
  // The dynamic loader names every library it loads.
  Outcome run = RunProgram("LD_DEBUG=libs " + kLikentor + " --version", folder);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("libsqlite3"), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("libQt6"), std::string::npos) << "the command line loads Qt";
  EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::path(LIKENTOR_PROGRAM_DIR) /
                                               "likentor-window"));

  // A copy of the command line beside a window program that prints its arguments.
  const auto bin = folder / "bin";
  std::filesystem::create_directories(bin);
  std::filesystem::copy_file(kLikentor, bin / "likentor");
  run = RunProgram("'" + (bin / "likentor").string() + "' -C 'a b' --load sample", folder);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "Cannot open the window: " + (bin / "likentor-window").string() +
                         ": No such file or directory.\n");
  test::WriteBytes(bin / "likentor-window",
                   "#!/bin/sh\necho \"$0\"; printf '[%s]' \"$@\"; exit 7\n");
  std::filesystem::permissions(bin / "likentor-window", std::filesystem::perms::owner_all);
  run = RunProgram("'" + (bin / "likentor").string() + "' -C 'a b' --load sample", folder);
  EXPECT_EQ(run.status, 7) << run.err;
  EXPECT_EQ(run.out, (bin / "likentor-window").string() + "\n[-C][a b][--load][sample]");
  // A command is the command line's own.
  run = RunProgram("'" + (bin / "likentor").string() + "' --version", folder);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind("likentor ", 0), 0U) << run.out;
}

}  // namespace
}  // namespace likentor
