// Table files under failure: a creation that runs out of room, files that are not tables, a full
// or locked table named in the messages, and tables opened only for reading.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <string>
#include <vector>

#include "database/connection.h"
#include "database/table_store.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

namespace fs = std::filesystem;

const std::vector<FieldDef> kFields = {
    {"id", FieldType::Integer, 0, true},
    {"name", FieldType::Text, 40, false},
};

void AddRows(Database& db, std::string_view table, int from, int count) {
  Table t(db, table);
  t.BeginTransaction();
  for (int id = from; id < from + count; ++id) {
    t.Append();
    t.SetInt("id", id);
    t.SetText("name", "row " + std::to_string(id));
    ASSERT_TRUE(t.Post()) << t.LastError();
  }
  t.Commit();
}

int Rows(Database& db, std::string_view table) {
  Table t(db, table);
  return t.RecordCount();
}

std::vector<std::string> FileNames(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Files may grow to `bytes` only while it lives, as on a disk that is almost full; writes past it
// fail instead of ending the process.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit previous_{};
  void (*previousHandler_)(int) = SIG_DFL;
};

TEST(TableFiles, ACreationWithoutRoomLeavesTheEarlierFileAsItWas) {
  test::TempFolder folder;
  {
    Database db(folder.Path());
    db.CreateTable("kept.db", kFields);
    AddRows(db, "kept.db", 1, 300);
  }
  const std::vector<std::string> before = FileNames(folder.Path());
  {
    Database db(folder.Path());
    FileSizeLimit full(1024);
    try {
      db.CreateTable("kept.db", kFields);
      ADD_FAILURE() << "the table was made without room for it";
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()).rfind(
                    "Could not create table " + (folder / "kept.db").string() + ": ", 0),
                0u)
          << e.what();
    }
    EXPECT_THROW(db.CreateTable("new.db", kFields), Error);
  }
  // Neither a half-made file in the table's place nor a partial file beside it.
  EXPECT_EQ(FileNames(folder.Path()), before);
  Database db(folder.Path());
  EXPECT_FALSE(db.TableExists("new.db"));
  EXPECT_EQ(Rows(db, "kept.db"), 300);

  // With room again the same creations succeed, the replaced table empty.
  db.CreateTable("kept.db", kFields);
  db.CreateTable("new.db", kFields);
  EXPECT_EQ(Rows(db, "kept.db"), 0);
  AddRows(db, "new.db", 1, 3);
  EXPECT_EQ(Rows(db, "new.db"), 3);
}

TEST(TableFiles, AFileThatIsNotATableIsToldApartAndReplacedByACreation) {
  test::TempFolder folder;
  Database db(folder.Path());
  test::WriteBytes(folder / "empty.db", "");
  test::WriteBytes(folder / "text.db", std::string(5000, 'x'));
  db.CreateTable("other.db", kFields);
  fs::copy_file(folder / "other.db", folder / "renamed.db");  // a table, but not of its name

  for (const char* name : {"empty.db", "text.db", "renamed.db"}) {
    EXPECT_TRUE(db.TableExists(name)) << name;
    EXPECT_THROW(Table(db, name), DamagedTableError) << name;
    db.CreateTable(name, kFields);
    AddRows(db, name, 10, 2);
    EXPECT_EQ(Rows(db, name), 2) << name;
  }
  // A file that cannot be opened at all, or none, is no damage to repair.
  fs::create_directories(folder / "folder.db");
  for (const char* name : {"folder.db", "missing.db"}) {
    try {
      Table t(db, name);
      ADD_FAILURE() << "opened " << name;
    } catch (const DamagedTableError&) {
      ADD_FAILURE() << name << " taken for a damaged table";
    } catch (const Error&) {
    }
  }
}

TEST(TableFiles, AFullOrLockedTableIsNamedWithTheStep) {
  test::TempFolder folder;
  Database db(folder.Path());
  db.CreateTable("t.db", kFields);
  AddRows(db, "t.db", 1, 1);
  Connection& connection = db.ConnectionFor("t.db");

  // Locked: another program holds the table for writing.
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open((folder / "t.db").c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  connection.Execute("PRAGMA busy_timeout=0");
  {
    Table t(db, "t.db");
    t.Append();
    t.SetInt("id", 2);
    EXPECT_FALSE(t.Post());
    EXPECT_EQ(t.LastError(), "Could not write a row to t.db: database is locked");
    t.Cancel();
  }
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);

  // Full: the table may not grow past the pages it has.
  std::int64_t pages = 0;
  {
    StatementUse use(connection.Prepare("PRAGMA page_count"));
    ASSERT_TRUE(use->Step());
    pages = std::get<std::int64_t>(use->Column(0));
  }
  connection.Execute("PRAGMA max_page_count=" + std::to_string(pages));
  Table t(db, "t.db");
  std::string refused;
  for (int id = 100; id < 5000 && refused.empty(); ++id) {
    t.Append();
    t.SetInt("id", id);
    t.SetText("name", std::string(40, 'n'));
    if (!t.Post()) {
      refused = t.LastError();
      t.Cancel();
    }
  }
  EXPECT_EQ(refused, "Could not write a row to t.db: database or disk is full");
  // Refusals of the row itself keep SQLite's own words.
  t.Append();
  t.SetInt("id", 1);
  EXPECT_FALSE(t.Post());
  EXPECT_EQ(t.LastError(), "Key violation in t.db");
  t.Cancel();
}

TEST(TableFiles, ReadOnlyTablesAreReadButNeverWritten) {
  test::TempFolder folder;
  {
    Database db(folder.Path());
    db.CreateTable("t.db", kFields);
    AddRows(db, "t.db", 1, 5);
  }
  Database writer(folder.Path());
  Database reader(folder.Path(), Access::ReadOnly);
  EXPECT_EQ(Rows(reader, "t.db"), 5);
  // What a copy that writes commits meanwhile is seen by the reader.
  AddRows(writer, "t.db", 6, 2);
  EXPECT_EQ(Rows(reader, "t.db"), 7);
  Table t(reader, "t.db");
  t.Edit();
  t.SetText("name", "changed");
  EXPECT_FALSE(t.Post());
  EXPECT_NE(t.LastError().find("readonly"), std::string::npos) << t.LastError();
  t.Cancel();
  EXPECT_EQ(Table(writer, "t.db").GetText("name"), "row 1");
}

// A table at rest is whole in its own file: the last connection writes the log into it and
// empties the log, which stays beside the table with its index, so that the next run opens the
// two files instead of making them again.
TEST(TableFiles, ATableAtRestIsWholeInItsFileAndItsEmptyLogStaysBeside) {
  test::TempFolder folder;
  const auto inode = [](const fs::path& file) {
    struct stat st {};
    return ::stat(file.c_str(), &st) == 0 ? st.st_ino : ino_t{0};
  };
  ino_t log = 0;
  for (int run = 0; run < 2; ++run) {
    {
      Database db(folder.Path());
      if (run == 0) db.CreateTable("t.db", kFields);
      AddRows(db, "t.db", 1 + 300 * run, 300);
    }
    EXPECT_EQ(FileNames(folder.Path()), (std::vector<std::string>{"t.db", "t.db-shm", "t.db-wal"}));
    EXPECT_EQ(fs::file_size(folder / "t.db-wal"), 0u);
    if (run == 0) log = inode(folder / "t.db-wal");
    EXPECT_EQ(inode(folder / "t.db-wal"), log) << "the log was made again";
    // The file alone, read as it lies, holds every row.
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open_v2(("file:" + (folder / "t.db").string() + "?immutable=1").c_str(), &raw,
                              SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr),
              SQLITE_OK);
    sqlite3_stmt* count = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(raw, "SELECT COUNT(*) FROM \"t.db\"", -1, &count, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(count), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(count, 0), 300 * (run + 1));
    sqlite3_finalize(count);
    sqlite3_close(raw);
  }
  // A table replaced or deleted takes its companions along.
  Database db(folder.Path());
  db.CreateTable("t.db", kFields);
  EXPECT_EQ(Rows(db, "t.db"), 0);
  db.DeleteTable("t.db");
  EXPECT_EQ(FileNames(folder.Path()), std::vector<std::string>{});
}

}  // namespace
}  // namespace likentor
