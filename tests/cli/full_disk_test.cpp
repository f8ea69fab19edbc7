// The real executable on a disk that fills up and in folders it may not write. A file-size limit
// (RLIMIT_FSIZE; the program ignores SIGXFSZ, so a write past it fails with EFBIG as on a full
// disk) stands in for the full disk at sizes that cut the table files, the portraits and the error
// log. Every such run must fail with a message and exit status 1, leave every table file whole and
// every row committed before it, and the next run with room must succeed without a file deleted by
// hand.

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "database/connection.h"
#include "database/table_store.h"
#include "portrait/png_image.h"
#include "portrait/portrait_png.h"
#include "shell/folders.h"
#include "support/command_line_runs.h"
#include "support/program_folder.h"
#include "support/small_sample_game.h"
#include "support/table_helpers.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

namespace fs = std::filesystem;

using test::Outcome;

constexpr const char* kLoaded = "sample.lg loaded successfully.\n";
const std::string kLikentor = std::string(LIKENTOR_PROGRAM_DIR) + "/likentor";
constexpr uid_t kNobody = 65534;

struct Limits {
  long fileBytes = -1;  // RLIMIT_FSIZE; -1: none
  bool asNobody = false;
};

class FullDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(Kit() / "uniforms")) GTEST_SKIP() << "the build drew no artwork kit";
    test::WriteSmallSampleGame(game_);
    test::InstallDataFiles(program_);
    fs::create_directory_symlink(Kit(), program_ / "graphics");
  }

  static fs::path Kit() { return fs::path(LIKENTOR_PROGRAM_DIR) / "graphics"; }

  Outcome RunSetup(const Limits& limits = {}) {
    return Run({"setup", "--program-folder", program_.string(), "--game-folder", game_.string()},
               limits);
  }

  // `likentor -C PROGRAM ARGS` in a child process under `limits`; status -1 when it died of a
  // signal (what a crash is here).
  Outcome Run(std::vector<std::string> args, const Limits& limits = {}) {
    args.insert(args.begin(), {kLikentor, "-C", program_.string()});
    const fs::path out = folder_ / "stdout.txt";
    const fs::path err = folder_ / "stderr.txt";
    const pid_t child = ::fork();
    if (child == 0) {
      std::vector<char*> argv;
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
      const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
      if (outFd < 0 || errFd < 0 || ::dup2(outFd, 1) < 0 || ::dup2(errFd, 2) < 0) ::_exit(125);
      const int inFd = ::open("/dev/null", O_RDONLY);
      if (inFd < 0 || ::dup2(inFd, 0) < 0) ::_exit(125);
      // SIGXFSZ keeps its default, which ends the process: the program itself must ignore it.
      if (limits.fileBytes >= 0) {
        ::signal(SIGXFSZ, SIG_DFL);
        const rlimit limit{static_cast<rlim_t>(limits.fileBytes),
                           static_cast<rlim_t>(limits.fileBytes)};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(125);
      }
      if (limits.asNobody &&
          (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
        ::_exit(125);
      }
      ::execv(argv[0], argv.data());
      ::_exit(126);
    }
    int raw = 0;
    Outcome run;
    if (child < 0 || ::waitpid(child, &raw, 0) != child) return run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = test::ReadBytes(out);
    run.err = test::ReadBytes(err);
    return run;
  }

  // "ok" from SQLite's integrity check of every table file, else the first file's complaint.
  std::string CheckTables() {
    for (const auto& entry : fs::directory_iterator(data_)) {
      if (entry.path().extension() != ".db") continue;
      sqlite3* db = nullptr;
      std::string result = "cannot open";
      if (sqlite3_open_v2(entry.path().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt* check = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr) == SQLITE_OK &&
            sqlite3_step(check) == SQLITE_ROW) {
          result = reinterpret_cast<const char*>(sqlite3_column_text(check, 0));
        } else {
          result = sqlite3_errmsg(db);
        }
        sqlite3_finalize(check);
      }
      sqlite3_close(db);
      if (result != "ok") return entry.path().filename().string() + ": " + result;
    }
    return "ok";
  }

  // Every table file's rows, by table.
  std::map<std::string, test::Rows> AllRows() {
    std::map<std::string, test::Rows> rows;
    Database db(data_);
    for (const auto& entry : fs::directory_iterator(data_)) {
      if (entry.path().extension() != ".db") continue;
      const std::string table = entry.path().filename().string();
      rows[table] = test::ReadRows(db, table);
    }
    return rows;
  }

  fs::path Pictures() const { return PicturesFolder(SavedGameFolder(game_, "sample")); }

  // Our portraits in the picture folder, each of which must decode as a whole 90 x 135 picture.
  std::map<std::string, std::string> Portraits() {
    std::map<std::string, std::string> portraits;
    for (const auto& entry : fs::directory_iterator(Pictures())) {
      const std::string name = entry.path().filename().string();
      if (name.ends_with(".part")) ADD_FAILURE() << "left behind: " << name;
      if (!name.starts_with("Player_") || !name.ends_with(".png")) continue;
      if (!IsLikentorPortrait(entry.path())) continue;  // the game's own picture
      const PngImage image = PngImage::Load(entry.path());
      EXPECT_EQ(image.Width(), 90) << name;
      EXPECT_EQ(image.Height(), 135) << name;
      portraits[name] = test::ReadBytes(entry.path());
    }
    return portraits;
  }

  test::TempFolder folder_;
  fs::path program_ = folder_ / "program";
  fs::path data_ = program_ / "data";
  fs::path game_ = folder_ / "game";
};

// A failure said plainly: status 1, no success claimed on stdout, a message on stderr.
void ExpectClearFailure(const Outcome& run, const std::string& what) {
  EXPECT_EQ(run.status, 1) << what << ": " << run.out << run.err;
  EXPECT_EQ(run.out.find("Successfully"), std::string::npos) << what << ": " << run.out;
  EXPECT_FALSE(run.err.empty()) << what;
}

TEST_F(FullDiskTest, SetupAndLoadOnAFullDiskFailPlainlyAndTheNextRunSucceeds) {
  // The setup cut while it makes the shared tables.
  ExpectClearFailure(RunSetup({.fileBytes = 16 * 1024}), "setup");
  EXPECT_EQ(CheckTables(), "ok");
  Outcome run = RunSetup();
  ASSERT_EQ(run.status, 0) << run.err;
  const auto shared = AllRows();

  // A first load cut while it makes the game's tables, at two sizes.
  for (const long bytes : {12 * 1024L, 20 * 1024L}) {
    ExpectClearFailure(Run({"load", "sample"}, {.fileBytes = bytes}),
                       "load within " + std::to_string(bytes));
    EXPECT_EQ(CheckTables(), "ok") << bytes;
    // The load enters the game in games.db before it makes the game's tables.
    for (const auto& [table, rows] : shared) {
      if (table != "games.db") {
        EXPECT_EQ(AllRows()[table], rows) << table;
      }
    }
  }
  run = Run({"load", "sample"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, kLoaded);

  // A reload cut while it writes the tables' logs: every row loaded before stays as it was.
  const auto loaded = AllRows();
  ExpectClearFailure(Run({"load", "sample"}, {.fileBytes = 8 * 1024}), "reload");
  EXPECT_EQ(CheckTables(), "ok");
  EXPECT_EQ(AllRows(), loaded);
  run = Run({"load", "sample"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, kLoaded);
  EXPECT_EQ(AllRows(), loaded);
}

TEST_F(FullDiskTest, PhotosOnAFullDiskLeaveNoCutPictureAndTheNextRunMakesThem) {
  ASSERT_EQ(RunSetup().status, 0);
  ASSERT_EQ(Run({"load", "sample"}).status, 0);
  const auto loaded = AllRows();

  // Less room than a portrait takes; the tables' shared-memory index (32 KB) does not fit either,
  // so the run stops when it opens them.
  const Outcome cut = Run({"photos", "sample"}, {.fileBytes = 8 * 1024});
  ExpectClearFailure(cut, "photos");
  EXPECT_EQ(CheckTables(), "ok");
  EXPECT_EQ(AllRows(), loaded);
  EXPECT_TRUE(Portraits().empty());

  const Outcome run = Run({"photos", "sample"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Successfully created "), std::string::npos) << run.out;
  EXPECT_FALSE(Portraits().empty());
  EXPECT_EQ(CheckTables(), "ok");
}

// Hands a folder and everything in it to `user`.
void GiveTo(const fs::path& folder, uid_t user) {
  ASSERT_EQ(::lchown(folder.c_str(), user, user), 0) << folder;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    ASSERT_EQ(::lchown(entry.path().c_str(), user, user), 0) << entry.path();
  }
}

TEST_F(FullDiskTest, FoldersAUserMayNotWrite) {
  if (::geteuid() != 0) GTEST_SKIP() << "runs the program as another user, which needs root";
  ASSERT_EQ(RunSetup().status, 0);
  ASSERT_EQ(Run({"load", "sample"}).status, 0);
  const auto loaded = AllRows();
  const Limits nobody{.asNobody = true};

  // A program folder of another user's: what reads works, what writes stops at once, naming the
  // lock it could not take.
  Outcome run = Run({"tables"}, nobody);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Run({"show", "nations"}, nobody).status, 0);
  for (const char* command : {"load", "photos"}) {
    run = Run({command, "sample"}, nobody);
    ExpectClearFailure(run, command);
    EXPECT_EQ(run.err.rfind("Could not take the lock " + (data_ / "likentor.lock").string(), 0), 0u)
        << run.err;
  }

  // The program folder the user's own, the game another user's: a load only reads the game and
  // works; photos stop, naming the picture folder, and keep every row.
  GiveTo(program_, kNobody);
  run = Run({"load", "sample"}, nobody);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, kLoaded);
  run = Run({"photos", "sample"}, nobody);
  ExpectClearFailure(run, "photos in a picture folder of another user's");
  EXPECT_NE(run.err.find(Pictures().string()), std::string::npos) << run.err;
  EXPECT_EQ(CheckTables(), "ok");
  EXPECT_EQ(AllRows(), loaded);
  EXPECT_TRUE(Portraits().empty());

  // Only the saved game's folder another user's, its picture folder the user's own: photos work.
  GiveTo(Pictures(), kNobody);
  run = Run({"photos", "sample"}, nobody);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Successfully created "), std::string::npos) << run.out;
  EXPECT_FALSE(Portraits().empty());
  EXPECT_EQ(CheckTables(), "ok");
}

// The backups on a small file system of their own, with room for fewer earlier pictures than the
// run writes over. The run keeps (and records) the pictures of each batch before it writes any of
// them, so it stops with its message before it writes over one it could not keep: nothing is lost,
// no run is left cut or hidden, and with room again the run is made and undone whole. Needs the
// right to mount a file system.
TEST_F(FullDiskTest, AFullBackupDiskStopsTheRunAndTheRunIsUndoneWhole) {
  ASSERT_EQ(RunSetup().status, 0);
  ASSERT_EQ(Run({"load", "sample"}).status, 0);
  ASSERT_EQ(Run({"photos", "sample"}).status, 0);
  {
    Database db(data_);
    db.ConnectionFor("sample_players.db")
        .Execute("UPDATE \"sample_players.db\" SET update_required='true' WHERE locked<>'true'");
  }
  const auto rows = AllRows();
  const auto pictures = Portraits();
  ASSERT_GE(pictures.size(), 8u);
  // Room for about three quarters of the pictures the next run writes over (in whole pages): the
  // run keeps and writes them in batches, and the disk fills up within a later batch.
  std::size_t bytes = 0;
  for (const auto& [name, picture] : pictures) bytes += (picture.size() + 4095) / 4096 * 4096;
  const fs::path small = folder_ / "small";
  fs::create_directories(small);
  const std::string size = "size=" + std::to_string(bytes * 3 / 4 / 4096 * 4096 + 8192);
  if (::mount("likentor-test", small.c_str(), "tmpfs", 0, size.c_str()) != 0) {
    GTEST_SKIP() << "cannot mount a small file system here";
  }
  struct Unmount {
    fs::path at;
    ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
  } unmount{small};
  fs::remove_all(program_ / "backups");
  fs::create_directory_symlink(small, program_ / "backups");

  const Outcome full = Run({"photos", "sample"});
  ExpectClearFailure(full, "photos with a full backup disk");
  EXPECT_NE(full.err.find(program_.string() + "/backups/sample/"), std::string::npos) << full.err;
  EXPECT_NE(full.err.find("The run stopped before writing over it."), std::string::npos)
      << full.err;
  EXPECT_EQ(CheckTables(), "ok");
  EXPECT_TRUE(Portraits() == pictures);
  EXPECT_TRUE(AllRows() == rows);
  const Outcome list = Run({"undo", "sample", "--list"});
  EXPECT_EQ(list.status, 0) << list.err;
  EXPECT_EQ(list.out, "No photo run of sample is kept.\n");

  // Room again (the file system made larger): the run is made, listed and undone whole.
  ASSERT_EQ(::mount("likentor-test", small.c_str(), "tmpfs", MS_REMOUNT, "size=4m"), 0);
  ASSERT_EQ(Run({"photos", "sample"}).status, 0);
  EXPECT_FALSE(Portraits() == pictures);
  const Outcome undo = Run({"undo", "sample"});
  EXPECT_EQ(undo.status, 0) << undo.err;
  EXPECT_EQ(undo.out.rfind("Undid the photo run of ", 0), 0u) << undo.out;
  EXPECT_TRUE(Portraits() == pictures);
  EXPECT_TRUE(AllRows() == rows);
  EXPECT_EQ(CheckTables(), "ok");
}

// A run's backup folder the user may not write: undo says that folder is what it cannot write,
// changes nothing, and once the folder may be written the next undo does the whole run.
TEST_F(FullDiskTest, UndoFromABackupFolderTheUserMayNotWrite) {
  if (::geteuid() != 0) GTEST_SKIP() << "runs the program as another user, which needs root";
  ASSERT_EQ(RunSetup().status, 0);
  ASSERT_EQ(Run({"load", "sample"}).status, 0);
  ASSERT_EQ(Run({"photos", "sample"}).status, 0);
  {
    Database db(data_);
    db.ConnectionFor("sample_players.db")
        .Execute("UPDATE \"sample_players.db\" SET update_required='true' WHERE locked<>'true'");
  }
  const auto rows = AllRows();
  const auto pictures = Portraits();
  ASSERT_EQ(Run({"photos", "sample"}).status, 0);
  const auto written = Portraits();
  ASSERT_FALSE(written == pictures);
  GiveTo(program_, kNobody);
  GiveTo(Pictures(), kNobody);
  fs::path run;  // the newest run's folder (their names are their times)
  for (const auto& entry : fs::directory_iterator(program_ / "backups" / "sample")) {
    if (entry.is_directory() && entry.path() > run) run = entry.path();
  }
  ASSERT_FALSE(run.empty());
  ASSERT_EQ(::chmod(run.c_str(), 0555), 0);

  const Limits nobody{.asNobody = true};
  Outcome undo = Run({"undo", "sample"}, nobody);
  ExpectClearFailure(undo, "undo from a read-only backup folder");
  EXPECT_NE(undo.err.find(run.string()), std::string::npos) << undo.err;
  EXPECT_NE(undo.err.find("Permission denied"), std::string::npos) << undo.err;
  EXPECT_NE(undo.err.find("Nothing was undone"), std::string::npos) << undo.err;
  EXPECT_TRUE(Portraits() == written);

  ASSERT_EQ(::chmod(run.c_str(), 0755), 0);
  undo = Run({"undo", "sample"}, nobody);
  EXPECT_EQ(undo.status, 0) << undo.err;
  EXPECT_TRUE(Portraits() == pictures);
  EXPECT_TRUE(AllRows() == rows);
}

}  // namespace
}  // namespace likentor
