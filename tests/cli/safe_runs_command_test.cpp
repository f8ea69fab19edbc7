// photos --dry-run, the backup of the pictures a run writes over, undo and backups, run in
// process on a small generated saved game with the build's artwork kit.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/run_backup.h"
#include "database/connection.h"
#include "database/table_store.h"
#include "shell/folders.h"
#include "support/command_line_runs.h"
#include "support/kit_game_fixture.h"
#include "support/program_folder.h"
#include "support/small_sample_game.h"
#include "support/table_helpers.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

namespace fs = std::filesystem;
using test::Outcome;

// Every file below a folder: size, a hash of its bytes and modification time. SQLite's
// write-ahead log and shared-memory index, which opening a table to read touches, are left out;
// the tables' rows are compared apart.
using Tree = std::map<std::string, std::tuple<std::size_t, std::size_t, std::int64_t>>;
Tree Snapshot(const fs::path& folder) {
  Tree tree;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().string();
    if (!entry.is_regular_file() || name.ends_with("-shm") || name.ends_with("-wal")) continue;
    const std::string bytes = test::ReadBytes(entry.path());
    tree[name] = {bytes.size(), std::hash<std::string>{}(bytes), StampOf(entry.path())->modified};
  }
  return tree;
}

int JsonNumber(const std::string& json, const std::string& key) {
  std::smatch match;
  if (!std::regex_search(json, match, std::regex("\"" + key + "\": (\\d+)"))) return -1;
  return std::stoi(match[1]);
}

class SafeRunsCommandTest : public test::KitGameTest {
 protected:
  test::Rows Players() {
    Database db(DataFolder(program_));
    return test::ReadRows(db, "sample_players.db");
  }
  // Flags every player that is not locked for a new portrait, as a load does for moved players.
  void FlagAll() {
    Database db(DataFolder(program_));
    db.ConnectionFor("sample_players.db")
        .Execute("UPDATE \"sample_players.db\" SET update_required='true' WHERE locked<>'true'");
  }

  fs::path Pictures() const { return PicturesFolder(SavedGameFolder(game_, "sample")); }
  fs::path Portrait(int id) const { return Pictures() / ("Player_" + std::to_string(id) + ".png"); }
  std::map<int, std::string> Portraits() {
    std::map<int, std::string> bytes;
    for (const auto& [id, row] : Players()) {
      if (fs::exists(Portrait(id))) bytes[id] = test::ReadBytes(Portrait(id));
    }
    return bytes;
  }
};

TEST_F(SafeRunsCommandTest, ADryRunCountsWhatTheRunThenMakesAndWritesNothing) {
  Outcome dry = Run({"photos", "sample", "--dry-run"});
  EXPECT_EQ(dry.status, 1);
  EXPECT_NE(dry.err.find("has not been loaded yet"), std::string::npos) << dry.err;
  ASSERT_EQ(Run({"load", "sample"}).status, 0);

  for (const std::vector<std::string>& run :
       {std::vector<std::string>{"--team", "2"}, std::vector<std::string>{"--scope", "2"},
        std::vector<std::string>{}}) {
    const test::Rows rows = Players();
    const Tree before = Snapshot(folder_.Path());
    std::vector<std::string> args{"photos", "sample", "--dry-run"};
    args.insert(args.end(), run.begin(), run.end());
    dry = Run(args);
    ASSERT_EQ(dry.status, 0) << dry.err;
    EXPECT_NE(dry.out.find("photos it would make"), std::string::npos) << dry.out;
    args.push_back("--json");
    const Outcome json = Run(args);
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(Players(), rows);
    const Tree after = Snapshot(folder_.Path());
    for (const auto& [file, stamp] : after) {
      EXPECT_TRUE(before.contains(file) && before.at(file) == stamp) << file;
    }
    EXPECT_EQ(after.size(), before.size());

    const int toMake = JsonNumber(json.out, "to_make");
    EXPECT_GE(JsonNumber(json.out, "selected"), toMake);
    args.pop_back();
    args.erase(args.begin() + 2);  // the real run: no --dry-run
    const Outcome made = Run(args);
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_NE(made.out.find("Successfully created " + std::to_string(toMake) + " photos."),
              std::string::npos)
        << made.out << json.out;
    // What the dry run passed over is still flagged, and only that.
    int flaggedBefore = 0;
    for (const auto& [id, row] : rows) flaggedBefore += row.at("update_required") == "true";
    int flagged = 0;
    for (const auto& [id, row] : Players()) flagged += row.at("update_required") == "true";
    EXPECT_EQ(flagged, flaggedBefore - toMake);
    if (run.empty() || run[0] == "--scope") {
      EXPECT_EQ(JsonNumber(json.out, "selected"), flaggedBefore);
      EXPECT_EQ(JsonNumber(json.out, "passed_over_total"), flagged) << json.out;
    }
  }
}

TEST_F(SafeRunsCommandTest, UndoPutsBackWhatTheRunReplacedAndLeavesLaterChangesAlone) {
  ASSERT_EQ(Run({"load", "sample"}).status, 0);
  const std::map<int, std::string> atLoad = Portraits();  // pictures of the game's own
  ASSERT_EQ(Run({"photos", "sample"}).status, 0);
  const std::map<int, std::string> first = Portraits();
  FlagAll();
  const test::Rows rowsFlagged = Players();

  Outcome run = Run({"photos", "sample", "--scope", "1"});
  ASSERT_EQ(run.status, 0) << run.err;
  std::smatch counts;
  ASSERT_TRUE(std::regex_search(run.out, counts,
                                std::regex("Successfully created (\\d+) photos\\. (\\d+) earlier "
                                           "pictures were kept; Tools > Undo Last Run brings them "
                                           "back\\.\n")))
      << run.out;
  EXPECT_NE(run.out.find("\"likentor undo sample\" brings them back."), std::string::npos);
  // The run's manifest names what it replaced: every picture of the first run it made again.
  const std::vector<BackupRun> runs = BackupRuns(program_, "sample");
  ASSERT_EQ(runs.size(), 2u);
  std::vector<int> replaced;
  for (const BackupEntry& entry : runs[1].entries) {
    if (entry.replaced) replaced.push_back(entry.playerId);
    EXPECT_EQ(entry.replaced, first.contains(entry.playerId)) << entry.playerId;
  }
  ASSERT_GE(replaced.size(), 2u);
  EXPECT_EQ(std::to_string(replaced.size()), counts[2].str());
  // The backup holds them byte for byte, and no more bytes than the pictures.
  std::uintmax_t held = 0;
  for (int id : replaced) {
    EXPECT_EQ(test::ReadBytes(runs[1].folder / Portrait(id).filename()), first.at(id));
    held += first.at(id).size();
  }
  std::uintmax_t backupBytes = 0;
  for (const auto& entry : fs::directory_iterator(runs[1].folder)) {
    if (entry.path().extension() == ".png") backupBytes += entry.file_size();
  }
  EXPECT_EQ(backupBytes, held);

  // One picture changed after the run, as the game or the user may change it.
  test::WriteBytes(Portrait(replaced[0]), "changed after the run");
  run = Run({"undo", "sample"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find(std::to_string(replaced.size() - 1) + " earlier pictures put back"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("left alone: Player_" + std::to_string(replaced[0]) + ".png"),
            std::string::npos)
      << run.out;
  for (std::size_t i = 1; i < replaced.size(); ++i) {
    EXPECT_EQ(test::ReadBytes(Portrait(replaced[i])), first.at(replaced[i]));
  }
  EXPECT_EQ(test::ReadBytes(Portrait(replaced[0])), "changed after the run");
  test::Rows expected = rowsFlagged;
  const test::Rows now = Players();
  expected[replaced[0]] = now.at(replaced[0]);
  EXPECT_EQ(now, expected);

  // Undo again: the first run goes too, its pictures and its rows.
  run = Run({"undo", "sample"});
  ASSERT_EQ(run.status, 0) << run.err;
  std::map<int, std::string> expectedPictures = atLoad;
  expectedPictures[replaced[0]] = "changed after the run";
  EXPECT_EQ(Portraits(), expectedPictures);
  run = Run({"undo", "sample"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "There is no photo run of sample to undo.\n");

  run = Run({"backups", "--keep", "3"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Photo runs kept per game for undo: 3"), std::string::npos) << run.out;
  EXPECT_EQ(KeptRuns(program_), 3);
  EXPECT_EQ(Run({"backups", "--keep", "100"}).status, 2);
}

TEST_F(SafeRunsCommandTest, ABackupThatCannotBeWrittenStopsTheRunWithNothingOverwritten) {
  ASSERT_EQ(Run({"load", "sample"}).status, 0);
  ASSERT_EQ(Run({"photos", "sample"}).status, 0);
  const std::map<int, std::string> first = Portraits();
  fs::remove_all(BackupsFolder(program_));
  fs::create_directories(BackupsFolder(program_));
  ::chmod(BackupsFolder(program_).c_str(), 0555);
  if (::geteuid() == 0) {
    // The superuser writes in a read-only folder all the same; a file in its place refuses him.
    fs::remove(BackupsFolder(program_));
    test::WriteBytes(BackupsFolder(program_), "not a folder");
  }
  FlagAll();
  const test::Rows rows = Players();
  const Outcome run = Run({"photos", "sample"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Nothing was written over."), std::string::npos) << run.err;
  EXPECT_EQ(Portraits(), first);
  EXPECT_EQ(Players(), rows);
  ::chmod(BackupsFolder(program_).c_str(), 0755);
}

// A run that makes a portrait byte for byte as the file there leaves that file alone (its time and
// its inode too) and counts it as made; but not when the backup keeps the earlier picture, which
// it does by a second name of the file: the picture then becomes a file of its own, so that a
// change made to it in place cannot reach the kept copy.
TEST_F(SafeRunsCommandTest, APortraitAlreadyThereByteForByteIsLeftAsItWas) {
  ::setenv("LIKENTOR_RANDOM_SEED", "1306", 1);
  Outcome run = Run({"load", "sample"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::map<int, std::string> theGames = Portraits();
  run = Run({"photos", "sample"});
  ASSERT_EQ(run.status, 0) << run.err;
  std::smatch count;
  ASSERT_TRUE(std::regex_search(run.out, count, std::regex("Successfully created (\\d+) photos")))
      << run.out;
  const std::string madeCount = count[1].str();  // `run` is reused below
  const std::map<int, std::string> made = Portraits();
  // The run undone, then its portraits put back in place as they were: the same seed over the
  // same rows draws the same looks again.
  run = Run({"undo", "sample"});
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<int> ours;
  for (const auto& [id, bytes] : made) {
    if (theGames.contains(id) && theGames.at(id) == bytes) continue;
    ASSERT_NE(fs::exists(Portrait(id)) ? test::ReadBytes(Portrait(id)) : "", bytes);
    test::WriteBytes(Portrait(id), bytes);
    ours.push_back(id);
  }
  ASSERT_EQ(std::to_string(ours.size()), madeCount);
  ASSERT_GE(ours.size(), 3u);
  struct OnDisk {
    std::string bytes;
    std::int64_t modified = 0;
    ino_t inode = 0;
  };
  const auto onDisk = [&](const fs::path& file) {
    struct stat info {};
    EXPECT_EQ(::stat(file.c_str(), &info), 0) << file;
    return OnDisk{test::ReadBytes(file), StampOf(file)->modified, info.st_ino};
  };
  std::map<int, OnDisk> before;
  for (int id : ours) before[id] = onDisk(Portrait(id));

  // With the backup on: the same bytes, each in a new file; the kept copy is the earlier file.
  run = Run({"photos", "sample"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string counts = "Successfully created " + std::to_string(ours.size()) + " photos.";
  EXPECT_NE(
      run.out.find(counts + " " + std::to_string(ours.size()) + " earlier pictures were kept;"),
      std::string::npos)
      << run.out;
  const std::vector<BackupRun> runs = BackupRuns(program_, "sample");
  ASSERT_FALSE(runs.empty());
  for (int id : ours) {
    const OnDisk now = onDisk(Portrait(id));
    const OnDisk kept = onDisk(runs.back().folder / Portrait(id).filename());
    EXPECT_EQ(now.bytes, before.at(id).bytes) << id;
    EXPECT_NE(now.inode, kept.inode) << id;
    EXPECT_EQ(kept.inode, before.at(id).inode) << id;
  }
  run = Run({"undo", "sample"});
  ASSERT_EQ(run.status, 0) << run.err;

  // Without the backup: every file is left as it was.
  ASSERT_EQ(Run({"backups", "--keep", "0"}).status, 0);
  for (int id : ours) before[id] = onDisk(Portrait(id));
  run = Run({"photos", "sample"});
  ::unsetenv("LIKENTOR_RANDOM_SEED");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find(counts + "\n"), std::string::npos) << run.out;
  for (int id : ours) {
    const OnDisk now = onDisk(Portrait(id));
    EXPECT_EQ(now.bytes, before.at(id).bytes) << id;
    EXPECT_EQ(now.modified, before.at(id).modified) << id;
    EXPECT_EQ(now.inode, before.at(id).inode) << id;
  }
  for (const auto& entry : fs::directory_iterator(Pictures())) {
    EXPECT_NE(entry.path().extension(), ".part") << entry.path();
  }
}

// The seed of repeatable runs starts the draws and lets them carry on: with it set, the players of
// a load do not share one face or ethnicity, nor the portraits of a run one background.
TEST_F(SafeRunsCommandTest, AFixedSeedStartsTheDrawsAndEachDrawStillDiffers) {
  ::setenv("LIKENTOR_RANDOM_SEED", "1306", 1);
  const Outcome load = Run({"load", "sample"});
  const Outcome photos = Run({"photos", "sample"});
  ::unsetenv("LIKENTOR_RANDOM_SEED");
  ASSERT_EQ(load.status, 0) << load.err;
  ASSERT_EQ(photos.status, 0) << photos.err;
  const test::Rows rows = Players();
  ASSERT_GE(rows.size(), 20u);
  // How many players share the most common value of a field, and how many values the
  // photographed players' backgrounds take (0 is no portrait made).
  const auto mostShared = [&](const char* field) {
    std::map<std::string, std::size_t> counts;
    std::size_t most = 0;
    for (const auto& [id, row] : rows) most = std::max(most, ++counts[row.at(field)]);
    return most;
  };
  EXPECT_LE(mostShared("face"), rows.size() / 4);
  EXPECT_LE(mostShared("ethnicity"), rows.size() * 3 / 4);
  std::set<std::string> backgrounds;
  for (const auto& [id, row] : rows) {
    if (row.at("background") != "0") backgrounds.insert(row.at("background"));
  }
  EXPECT_GE(backgrounds.size(), 3u);
  // A seed that is no whole number in range is said and the clock is used.
  ::setenv("LIKENTOR_RANDOM_SEED", "4294967297", 1);
  const Outcome wrapped = Run({"backups"});
  ::unsetenv("LIKENTOR_RANDOM_SEED");
  EXPECT_EQ(wrapped.status, 0);
  EXPECT_NE(wrapped.err.find("LIKENTOR_RANDOM_SEED=4294967297 is not a whole number"),
            std::string::npos)
      << wrapped.err;
}

// Lowering the runs kept says how many runs and kept pictures that removes, and removes them only
// with --yes; keeping as many as there are removes nothing and asks nothing.
TEST_F(SafeRunsCommandTest, KeepingFewerRunsSaysWhatGoesAndNeedsYes) {
  ASSERT_EQ(Run({"load", "sample"}).status, 0);
  ASSERT_EQ(Run({"photos", "sample"}).status, 0);
  FlagAll();
  ASSERT_EQ(Run({"photos", "sample"}).status, 0);
  const std::vector<BackupRun> runs = BackupRuns(program_, "sample");
  ASSERT_EQ(runs.size(), 2u);
  const int kept = runs[0].Replaced() + runs[1].Replaced();
  ASSERT_GT(kept, 0);

  Outcome run = Run({"backups", "--keep", "2"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  run = Run({"backups", "--keep", "0"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "Keeping 0 runs per game removes 2 runs with " + std::to_string(kept) +
                         " kept earlier pictures, which undo can then no longer put back. "
                         "Nothing was changed; run again with --yes to remove them.\n");
  EXPECT_EQ(BackupRuns(program_, "sample").size(), 2u);
  EXPECT_EQ(KeptRuns(program_), 2);

  run = Run({"backups", "--keep", "0", "--yes"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Removed 2 runs with " + std::to_string(kept) + " kept earlier pictures."),
            std::string::npos)
      << run.out;
  EXPECT_TRUE(BackupRuns(program_, "sample").empty());
  EXPECT_EQ(KeptRuns(program_), 0);
}

// A damaged manifest stops undo at its run with the file and line named and exit status 1; the
// list shows the run as damaged; --skip-damaged goes on to the run before it.
TEST_F(SafeRunsCommandTest, UndoStopsAtADamagedManifestUnlessToldToSkipIt) {
  ASSERT_EQ(Run({"load", "sample"}).status, 0);
  ASSERT_EQ(Run({"photos", "sample"}).status, 0);
  FlagAll();
  ASSERT_EQ(Run({"photos", "sample"}).status, 0);
  const std::map<int, std::string> pictures = Portraits();
  const test::Rows rows = Players();
  std::vector<BackupRun> runs = BackupRuns(program_, "sample");
  ASSERT_EQ(runs.size(), 2u);
  const fs::path manifest = runs[1].folder / "manifest.txt";
  std::string text = test::ReadBytes(manifest);
  // A player id past 32 bits in a record amid the others, its checksum made to match.
  const std::size_t lineStart = text.find("\nkeep\t") + 1;
  const std::size_t lineEnd = text.find('\n', lineStart);
  std::string line = *CheckedText(text.substr(lineStart, lineEnd - lineStart));
  const std::size_t id = line.find('\t', 5) + 1;
  line.replace(id, line.find('\t', id) - id, "4294967297");
  text.replace(lineStart, lineEnd - lineStart, CheckedLine(line));
  test::WriteBytes(manifest, text);

  Outcome run = Run({"undo", "sample"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("The photo run kept in " + runs[1].folder.string() +
                         " cannot be undone: The backup manifest " + manifest.string() +
                         " is damaged at line 7: \"4294967297\" is not a number"),
            std::string::npos)
      << run.err;
  EXPECT_EQ(Portraits(), pictures);
  EXPECT_EQ(Players(), rows);
  run = Run({"undo", "sample", "--list"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("DAMAGED, cannot be undone: The backup manifest " + manifest.string() +
                         " is damaged at line 7"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find(runs[0].folder.string()), std::string::npos) << run.out;

  run = Run({"undo", "sample", "--skip-damaged"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(
      run.out.rfind("Passed over the damaged photo run kept in " + runs[1].folder.string(), 0), 0u)
      << run.out;
  EXPECT_TRUE(fs::exists(manifest));
}

}  // namespace
}  // namespace likentor
