#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/table_store.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

class QueryTest : public ::testing::Test {
 protected:
  QueryTest() : db_(folder_.Path()) {
    db_.CreateTable("g_players.db", {{"player_id", FieldType::Integer, 0, true},
                                     {"last_name", FieldType::Text, 20, true},
                                     {"team_id", FieldType::Integer, 0, false},
                                     {"update_required", FieldType::Boolean, 0, false}});
    Table t(db_, "g_players.db");
    const std::vector<std::pair<std::string, bool>> players = {
        {"Adams", true}, {"O'Neill", true}, {"Baker", false}, {"50%_Man", true}, {"Cruz", true}};
    int id = 1;
    for (const auto& [name, update] : players) {
      t.Append();
      t.SetInt("player_id", id);
      t.SetText("last_name", name);
      t.SetInt("team_id", id % 2);
      t.SetBool("update_required", update);
      EXPECT_TRUE(t.Post());
      ++id;
    }
  }

  std::vector<int> Ids(Query& q) {
    std::vector<int> ids;
    for (q.First(); !q.Eof(); q.Next()) ids.push_back(q.GetInt("player_id"));
    return ids;
  }

  void Select(Query& q, const std::vector<std::string>& where) {
    q.Clear();
    q.Add("SELECT *");
    q.Add("From \"g_players.db\"");
    for (const auto& line : where) q.Add(line);
    q.Open(db_);
  }

  test::TempFolder folder_;
  Database db_;
};

TEST_F(QueryTest, SelectsWithTheProgramsOwnSqlLines) {
  Query q;
  Select(q, {"WHERE update_required='true'", "AND (team_id=1 OR player_id>=4)"});
  EXPECT_EQ(q.TableName(), "g_players.db");
  EXPECT_EQ(q.RecordCount(), 3);
  EXPECT_EQ(Ids(q), (std::vector<int>{1, 4, 5}));
  Select(q, {"WHERE update_required<>'true'"});
  EXPECT_EQ(Ids(q), (std::vector<int>{3}));
  q.Clear();
  q.Add("SELECT *");
  q.Add("FROM \"g_players.db\"");
  q.Add("WHERE last_name LIKE 'c%'");  // LIKE ignores the case of ASCII letters
  q.Open(db_);
  EXPECT_EQ(Ids(q), (std::vector<int>{5}));
}

TEST_F(QueryTest, UserTextCannotChangeTheStatement) {
  Query q;
  Select(q, {"WHERE last_name = " + QuoteSql("O'Neill")});
  EXPECT_EQ(Ids(q), (std::vector<int>{2}));
  Select(q, {"WHERE last_name = " + QuoteSql("x' OR '1'='1")});
  EXPECT_EQ(q.RecordCount(), 0);
  EXPECT_TRUE(q.Eof());
  Select(q, {"WHERE last_name LIKE " + QuoteSql("%" + EscapeLike("%_") + "%") + " ESCAPE '\\'"});
  EXPECT_EQ(Ids(q), (std::vector<int>{4}));
  // A text that reads like SQL inside quotes is just text.
  Select(q, {"WHERE last_name = " + QuoteSql("a' ORDER BY last_name --")});
  EXPECT_EQ(q.RecordCount(), 0);
}

TEST_F(QueryTest, APostedRowThatNoLongerMatchesLeavesAndTheNextBecomesCurrent) {
  Query q;
  Select(q, {"WHERE update_required='true'"});
  ASSERT_EQ(Ids(q), (std::vector<int>{1, 2, 4, 5}));
  q.First();
  q.Edit();
  q.SetBool("update_required", false);
  ASSERT_TRUE(q.Post());
  EXPECT_EQ(q.GetInt("player_id"), 2);
  EXPECT_EQ(q.RecordCount(), 3);
  // A row that still matches stays current.
  q.Edit();
  q.SetText("last_name", "ONeill");
  ASSERT_TRUE(q.Post());
  EXPECT_EQ(q.GetInt("player_id"), 2);
  // Moving with a pending edit posts it; the row leaves and the move lands on the row after it.
  q.Edit();
  q.SetBool("update_required", false);
  q.Next();
  EXPECT_EQ(q.GetInt("player_id"), 4);
  q.Last();
  q.Edit();
  q.SetBool("update_required", false);
  ASSERT_TRUE(q.Post());
  EXPECT_TRUE(q.Eof());
  EXPECT_EQ(q.RecordCount(), 1);
  Table t(db_, "g_players.db");
  ASSERT_TRUE(t.Locate("player_id", 2));
  EXPECT_EQ(t.GetText("last_name"), "ONeill");
  EXPECT_FALSE(t.GetBool("update_required"));
}

TEST_F(QueryTest, ReadsEachRowFreshAndKeepsTheKeysFoundAtOpen) {
  Query q;
  Select(q, {"WHERE update_required='true'"});
  Table t(db_, "g_players.db");
  ASSERT_TRUE(t.Locate("player_id", 3));
  t.Edit();
  t.SetBool("update_required", true);  // matches now, but was not there when the query opened
  ASSERT_TRUE(t.Post());
  ASSERT_TRUE(t.Locate("player_id", 4));
  t.Edit();
  t.SetText("last_name", "Changed");
  ASSERT_TRUE(t.Post());
  EXPECT_EQ(Ids(q), (std::vector<int>{1, 2, 4, 5}));
  ASSERT_TRUE(q.Locate("player_id", 4));
  EXPECT_EQ(q.GetText("last_name"), "Changed");
  EXPECT_FALSE(q.Locate("player_id", 3));
}

TEST_F(QueryTest, ReportsBadStatements) {
  Query q;
  q.Add("SELECT *");
  q.Add("From \"g_players.db\"");
  q.Add("WHERE nonsense ===");
  EXPECT_THROW(q.Open(db_), Error);
  EXPECT_FALSE(q.IsOpen());
  q.Clear();
  q.Add("SELECT *");
  q.Add("From \"missing.db\"");
  EXPECT_THROW(q.Open(db_), Error);
  EXPECT_TRUE(q.Sql().size() == 2);
}

}  // namespace
}  // namespace likentor
