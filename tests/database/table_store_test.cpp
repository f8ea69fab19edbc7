#include "database/table_store.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "shell/error_log.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

const std::vector<FieldDef> kPlayerFields = {
    {"player_id", FieldType::Integer, 0, true},
    {"last_name", FieldType::Text, 10, true},
    {"team_id", FieldType::Integer, 0, false},
    {"update_required", FieldType::Boolean, 0, false},
};

class TableStoreTest : public ::testing::Test {
 protected:
  TableStoreTest() : db_(folder_.Path()) { db_.CreateTable("p.db", kPlayerFields); }

  void AddPlayer(Table& t, int id, const std::string& name, int team, bool update) {
    t.Append();
    t.SetInt("player_id", id);
    t.SetText("last_name", name);
    t.SetInt("team_id", team);
    t.SetBool("update_required", update);
    ASSERT_TRUE(t.Post()) << t.LastError();
  }

  // Reads one value straight from the file with a connection of its own.
  std::string RawScalar(const std::string& sql) {
    sqlite3* raw = nullptr;
    sqlite3_open((folder_ / "p.db").c_str(), &raw);
    sqlite3_stmt* stmt = nullptr;
    std::string out = "<error>";
    if (sqlite3_prepare_v2(raw, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
      const auto* text = sqlite3_column_text(stmt, 0);
      out = text != nullptr ? reinterpret_cast<const char*>(text) : "<null>";
    }
    sqlite3_finalize(stmt);
    sqlite3_close(raw);
    return out;
  }

  test::TempFolder folder_;
  Database db_;
};

TEST_F(TableStoreTest, TablesAreFilesThatCreateReplacesAndDeleteRemoves) {
  EXPECT_TRUE(db_.TableExists("p.db"));
  EXPECT_TRUE(std::filesystem::is_regular_file(folder_ / "p.db"));
  EXPECT_FALSE(db_.TableExists("q.db"));
  EXPECT_THROW(Table(db_, "q.db"), Error);
  {
    Table t(db_, "p.db");
    AddPlayer(t, 1, "Ruiz", 2, true);
    EXPECT_EQ(t.RecordCount(), 1);
    ASSERT_EQ(t.Fields().size(), 4u);
    EXPECT_EQ(t.Fields()[1].size, 10);
    EXPECT_TRUE(t.Fields()[1].required);
    EXPECT_EQ(t.Fields()[3].type, FieldType::Boolean);
  }
  {
    // Replacing a table closes cursors still open on the old one; using them again fails.
    Table open(db_, "p.db");
    Query query;
    query.Add("SELECT *");
    query.Add("From \"p.db\"");
    query.Open(db_);
    db_.CreateTable("p.db", kPlayerFields);
    EXPECT_FALSE(open.IsOpen());
    EXPECT_THROW((void)open.RecordCount(), Error);
    EXPECT_THROW(open.First(), Error);
    EXPECT_THROW(query.First(), Error);
    EXPECT_EQ(Table(db_, "p.db").RecordCount(), 0);
  }
  db_.DeleteTable("p.db");
  EXPECT_FALSE(db_.TableExists("p.db"));
  // The file holds one table named as the file, whose columns carry the field names.
  db_.CreateTable("p.db", kPlayerFields);
  EXPECT_EQ(RawScalar("SELECT name FROM sqlite_master WHERE type='table'"), "p.db");
}

TEST_F(TableStoreTest, WalksRowsInKeyOrderAndStaysOnTheLastRowAtTheEnd) {
  Table t(db_, "p.db");
  EXPECT_TRUE(t.Eof());
  AddPlayer(t, 30, "Cole", 1, false);
  AddPlayer(t, 10, "Abe", 1, false);
  AddPlayer(t, 20, "Bell", 2, true);
  std::vector<int> ids;
  for (t.First(); !t.Eof(); t.Next()) ids.push_back(t.GetInt("player_id"));
  EXPECT_EQ(ids, (std::vector<int>{10, 20, 30}));
  EXPECT_EQ(t.GetText("last_name"), "Cole");
  t.Prior();
  EXPECT_EQ(t.GetInt("player_id"), 20);
  t.Last();
  EXPECT_EQ(t.GetInt("player_id"), 30);
  EXPECT_EQ(t.GetText("team_id"), "1");
  EXPECT_FALSE(t.GetBool("update_required"));
}

TEST_F(TableStoreTest, RefusesRowsWithoutRequiredValuesOrWithATakenKey) {
  Table t(db_, "p.db");
  AddPlayer(t, 1, "Ruiz", 2, true);

  t.Append();
  t.SetInt("player_id", 2);
  t.SetText("last_name", "");  // an empty text counts as no value
  EXPECT_FALSE(t.Post());
  EXPECT_EQ(t.LastError(), "Field 'last_name' must have a value");
  EXPECT_TRUE(t.InEdit());
  t.Cancel();

  t.Append();
  t.SetInt("player_id", 1);
  t.SetText("last_name", "Other");
  EXPECT_FALSE(t.Post());
  t.Cancel();

  t.Append();
  t.SetText("last_name", "NoKey");
  EXPECT_FALSE(t.Post());
  t.Cancel();

  EXPECT_EQ(t.RecordCount(), 1);
  ASSERT_TRUE(t.Locate("player_id", 1));
  EXPECT_EQ(t.GetText("last_name"), "Ruiz");
  // A refused edit of an existing row leaves the row as it was.
  t.Edit();
  t.SetText("last_name", "");
  EXPECT_FALSE(t.Post());
  t.Cancel();
  EXPECT_EQ(t.GetText("last_name"), "Ruiz");
}

TEST_F(TableStoreTest, ARefusedPostIsCancelledAndLoggedOrEndsTheWork) {
  ErrorLog log(folder_.Path());
  log.CreateErrorFile();
  Table t(db_, "p.db");
  AddPlayer(t, 1, "Ruiz", 2, true);

  t.Append();
  t.SetInt("player_id", 1);  // the key is taken
  t.SetText("last_name", "Other");
  EXPECT_FALSE(PostOrCancel(t, log, "Error posting record 1 in p.db"));
  EXPECT_FALSE(t.InEdit());
  t.Edit();
  t.SetText("last_name", "Sosa");
  EXPECT_TRUE(PostOrCancel(t, log, "not logged"));
  EXPECT_EQ(log.ShowErrors(),
            (std::vector<std::string>{"Errors Log", "Error posting record 1 in p.db"}));

  t.Edit();
  t.SetText("last_name", "");
  try {
    PostOrThrow(t, "The name of player 1");
    ADD_FAILURE() << "a refused post went by";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(),
                 "The name of player 1 was not stored: Field 'last_name' must have a value.");
  }
  EXPECT_FALSE(t.InEdit());
  EXPECT_EQ(t.RecordCount(), 1);
  EXPECT_EQ(t.GetText("last_name"), "Sosa");
}

TEST_F(TableStoreTest, CutsLongTextsToTheirSizeInCharacters) {
  Table t(db_, "p.db");
  // Ten characters, of which three take two bytes each: nothing is cut.
  AddPlayer(t, 1, "\xC3\x89mile Z\xC3\xB6\xC3\xA9", 0, false);
  AddPlayer(t, 2, "Abcdefghijklmn", 0, false);
  AddPlayer(t, 3, "123456789\xC3\xA9x", 0, false);
  ASSERT_TRUE(t.Locate("player_id", 1));
  EXPECT_EQ(t.GetText("last_name"), "\xC3\x89mile Z\xC3\xB6\xC3\xA9");
  ASSERT_TRUE(t.Locate("player_id", 2));
  EXPECT_EQ(t.GetText("last_name"), "Abcdefghij");
  ASSERT_TRUE(t.Locate("player_id", 3));
  EXPECT_EQ(t.GetText("last_name"), "123456789\xC3\xA9");
}

TEST_F(TableStoreTest, StoresBooleansAsTextsThatSqlCanCompare) {
  Table t(db_, "p.db");
  AddPlayer(t, 1, "Ruiz", 2, true);
  AddPlayer(t, 2, "Lee", 2, false);
  t.Append();
  t.SetInt("player_id", 3);
  t.SetText("last_name", "Null");
  ASSERT_TRUE(t.Post());
  EXPECT_TRUE(t.IsNull("update_required"));
  EXPECT_FALSE(t.GetBool("update_required"));
  EXPECT_THROW((void)t.GetInt("team_id"), Error);
  EXPECT_EQ(t.GetInt("team_id", -1), -1);
  EXPECT_EQ(RawScalar("SELECT group_concat(player_id) FROM \"p.db\" WHERE update_required='true'"),
            "1");
  EXPECT_EQ(RawScalar("SELECT group_concat(player_id) FROM \"p.db\" WHERE update_required<>'true'"),
            "2");
}

TEST_F(TableStoreTest, LocateIsExactAndCaseSensitiveAndLeavesTheCursorWhenNotFound) {
  Table t(db_, "p.db");
  AddPlayer(t, 1, "Smith", 5, false);
  AddPlayer(t, 2, "smith", 6, false);
  AddPlayer(t, 3, "Smithers", 7, false);
  ASSERT_TRUE(t.Locate("last_name", "smith"));
  EXPECT_EQ(t.GetInt("player_id"), 2);
  EXPECT_FALSE(t.Locate("last_name", "SMITH"));
  EXPECT_FALSE(t.Locate("last_name", "Smit"));
  EXPECT_FALSE(t.Locate("team_id", "seven"));
  EXPECT_EQ(t.GetInt("player_id"), 2);
  ASSERT_TRUE(t.Locate("team_id", 7));
  EXPECT_EQ(t.GetText("last_name"), "Smithers");
  EXPECT_THROW((void)t.Locate("no_such_field", 1), Error);
}

TEST_F(TableStoreTest, MovingPostsAPendingEditAndClosingDiscardsIt) {
  Table t(db_, "p.db");
  AddPlayer(t, 1, "Ruiz", 2, true);
  AddPlayer(t, 2, "Lee", 2, true);
  t.First();
  t.Edit();
  t.SetText("last_name", "Ramos");
  EXPECT_EQ(t.GetText("last_name"), "Ramos");  // a pending edit reads as edited
  t.Next();
  EXPECT_EQ(t.GetInt("player_id"), 2);
  t.Edit();
  t.SetText("last_name", "Lopez");
  t.Close();
  Table check(db_, "p.db");
  ASSERT_TRUE(check.Locate("player_id", 1));
  EXPECT_EQ(check.GetText("last_name"), "Ramos");
  ASSERT_TRUE(check.Locate("player_id", 2));
  EXPECT_EQ(check.GetText("last_name"), "Lee");
  // A refused post on the way stops the move with the reason.
  check.Edit();
  check.SetText("last_name", "");
  EXPECT_THROW(check.First(), Error);
  EXPECT_THROW(check.SetText("no_such_field", "x"), Error);
}

TEST_F(TableStoreTest, CursorsOnOneFileShareItsConnectionAndTransactions) {
  Table a(db_, "p.db");
  Table b(db_, "p.db");
  {
    TableTransaction transaction(db_, "p.db");
    AddPlayer(a, 1, "Ruiz", 2, true);
    EXPECT_TRUE(b.Locate("player_id", 1));  // the same connection sees it before the commit
    EXPECT_EQ(RawScalar("SELECT count(*) FROM \"p.db\""), "0");
  }
  EXPECT_EQ(RawScalar("SELECT count(*) FROM \"p.db\""), "1");
  a.BeginTransaction();
  AddPlayer(b, 2, "Lee", 1, false);
  a.Commit();
  EXPECT_EQ(RawScalar("SELECT count(*) FROM \"p.db\""), "2");
}

TEST_F(TableStoreTest, AnUnfinishedTransactionCanBeUndoneAndATableReplacedWhole) {
  Table a(db_, "p.db");
  AddPlayer(a, 1, "Ruiz", 2, true);
  Table b(db_, "p.db");
  ASSERT_TRUE(b.Locate("player_id", 1));
  try {
    TableTransaction transaction(db_, "p.db", TableTransaction::Unfinished::RollBack);
    a.Edit();
    a.SetText("last_name", "Changed");
    ASSERT_TRUE(a.Post());
    AddPlayer(a, 2, "Lee", 1, false);
    EXPECT_EQ(b.GetText("last_name"), "Changed");
    throw Error("the import stops");
  } catch (const Error&) {
  }
  // Cursors that read the undone rows read them again.
  EXPECT_EQ(b.GetText("last_name"), "Ruiz");
  EXPECT_EQ(a.RecordCount(), 1);
  EXPECT_EQ(RawScalar("SELECT last_name FROM \"p.db\""), "Ruiz");
  {
    TableTransaction transaction(db_, "p.db", TableTransaction::Unfinished::RollBack);
    AddPlayer(a, 3, "Kept", 1, false);
    transaction.Commit();
  }
  EXPECT_EQ(RawScalar("SELECT count(*) FROM \"p.db\""), "2");

  // A table filled beside p.db takes its place; cursors on either are closed under them.
  db_.CreateTable("p.db.working", kPlayerFields);
  Table w(db_, "p.db.working");
  AddPlayer(w, 7, "New", 3, true);
  db_.ReplaceTable("p.db", "p.db.working");
  EXPECT_FALSE(db_.TableExists("p.db.working"));
  EXPECT_THROW(a.First(), Error);
  EXPECT_THROW(w.First(), Error);
  Table p(db_, "p.db");
  EXPECT_EQ(p.RecordCount(), 1);
  EXPECT_EQ(p.GetText("last_name"), "New");
  EXPECT_EQ(RawScalar("SELECT player_id FROM \"p.db\""), "7");
}

TEST_F(TableStoreTest, RefusesAPostWhenSqliteCannotWrite) {
  Table t(db_, "p.db");
  AddPlayer(t, 1, "Ruiz", 2, true);
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open((folder_ / "p.db").c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  t.Append();
  t.SetInt("player_id", 2);
  t.SetText("last_name", "Lee");
  EXPECT_FALSE(t.Post());
  EXPECT_FALSE(t.LastError().empty());
  t.Cancel();
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  AddPlayer(t, 2, "Lee", 1, false);
  EXPECT_EQ(t.RecordCount(), 2);
}

TEST_F(TableStoreTest, AnEditThatChangesNothingIsNotWritten) {
  Table t(db_, "p.db");
  AddPlayer(t, 1, "Ruiz", 2, true);
  AddPlayer(t, 2, "Lee", 1, false);
  // Another program holds the file for writing: only a post that writes is refused.
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open((folder_ / "p.db").c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  ASSERT_TRUE(t.Locate("player_id", 1));
  t.Edit();
  t.SetText("last_name", "Ruiz");
  t.SetInt("team_id", 2);
  t.SetBool("update_required", true);
  EXPECT_TRUE(t.Post()) << t.LastError();
  t.Edit();
  t.SetInt("team_id", 3);
  EXPECT_FALSE(t.Post());
  t.Cancel();
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  EXPECT_EQ(RawScalar("SELECT team_id FROM \"p.db\" WHERE player_id = 1"), "2");

  // A row deleted since it was read is refused however little the edit changes.
  ASSERT_TRUE(t.Locate("player_id", 2));
  Table u(db_, "p.db");
  ASSERT_TRUE(u.Locate("player_id", 1));
  ASSERT_EQ(DeleteRows(db_, "p.db", "player_id", 2, 2), 1);
  t.Edit();
  EXPECT_FALSE(t.Post());
  EXPECT_EQ(t.LastError(), "The record was deleted from p.db");
  t.Cancel();
  // So is one deleted after the edit began.
  u.Edit();
  ASSERT_EQ(DeleteRows(db_, "p.db", "player_id", 1, 1), 1);
  EXPECT_FALSE(u.Post());
  EXPECT_EQ(u.LastError(), "The record was deleted from p.db");
  u.Cancel();
}

TEST(TableStore, NumbersAutoIncrementFieldsAndConvertsTexts) {
  test::TempFolder folder;
  {
    Database db(folder.Path());
    db.CreateTable("f.db", {{"id", FieldType::AutoIncrement, 0, true},
                            {"location", FieldType::Text, 50, true},
                            {"frequency", FieldType::Integer, 0, false},
                            {"flag", FieldType::Boolean, 0, false}});
    Table t(db, "f.db");
    for (const char* name : {"a.png", "b.png"}) {
      t.Append();
      t.SetText("location", name);
      t.SetText("frequency", " 12 ");
      t.SetText("flag", "True");
      ASSERT_TRUE(t.Post()) << t.LastError();
    }
    EXPECT_EQ(t.GetInt("id"), 2);
    EXPECT_EQ(t.GetInt("frequency"), 12);
    EXPECT_EQ(t.GetText("flag"), "true");
    t.Append();
    EXPECT_THROW(t.SetText("frequency", "12a"), Error);
    t.Cancel();
  }
  Database again(folder.Path());
  Table t(again, "f.db");
  t.Append();
  t.SetText("location", "c.png");
  ASSERT_TRUE(t.Post());
  EXPECT_EQ(t.GetInt("id"), 3);
  EXPECT_EQ(t.RecordCount(), 3);
}

TEST(TableStore, QuotesUserTextForSql) {
  EXPECT_EQ(QuoteSql("O'Neill"), "'O''Neill'");
  EXPECT_EQ(QuoteSql(""), "''");
  EXPECT_EQ(EscapeLike("50%_a\\b"), "50\\%\\_a\\\\b");
}

TEST(TableStore, CreateAliasMakesTheDataFolder) {
  test::TempFolder folder;
  EXPECT_TRUE(CreateAlias(folder / "data"));
  EXPECT_TRUE(std::filesystem::is_directory(folder / "data"));
  EXPECT_TRUE(std::filesystem::is_empty(folder / "data"));
  test::WriteBytes(folder / "file", "x");
  EXPECT_FALSE(CreateAlias(folder / "file" / "data"));
}

}  // namespace
}  // namespace likentor
