#include "database/row_snapshot.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "database/connection.h"
#include "database/table_store.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

using Texts = std::vector<std::optional<std::string>>;

class RowSnapshotTest : public ::testing::Test {
 protected:
  RowSnapshotTest() : db_(folder_.Path()) {
    db_.CreateTable("g_players.db", {{"player_id", FieldType::Integer, 0, true},
                                     {"last_name", FieldType::Text, 10, true},
                                     {"nickname", FieldType::Text, 8, false},
                                     {"team_id", FieldType::Integer, 0, false},
                                     {"retired", FieldType::Boolean, 0, false}});
    Table t(db_, "g_players.db");
    // Appended out of key order; the snapshot reads them in key order.
    Add(t, 30, "Cole", "", 2, true);
    Add(t, 10, "Adams", "Ace", 1, false);
    Add(t, 40, "Baker", std::nullopt, std::nullopt, false);
    Add(t, 20, "Diaz", "Dee", 1, false);
  }

  void Add(Table& t, int id, const std::string& name, std::optional<std::string> nickname,
           std::optional<int> team, bool retired) {
    t.Append();
    t.SetInt("player_id", id);
    t.SetText("last_name", name);
    if (nickname) t.SetText("nickname", *nickname);
    if (team) t.SetInt("team_id", *team);
    t.SetBool("retired", retired);
    ASSERT_TRUE(t.Post()) << t.LastError();
  }

  static Texts RowAt(const RowSnapshot& s, int index) {
    const RowTexts* row = s.Row(index);
    return row != nullptr ? *row : Texts{};
  }

  static std::vector<std::string> Keys(const RowSnapshot& s) {
    std::vector<std::string> keys;
    for (int i = 0; i < s.RowCount(); ++i) keys.push_back(s.KeyText(i));
    return keys;
  }

  // The stored row of a key, read with a cursor of its own.
  std::string Stored(int id, const std::string& field) {
    Table t(db_, "g_players.db");
    if (!t.Locate("player_id", id)) return "<gone>";
    return t.IsNull(field) ? "<null>" : t.GetText(field);
  }

  void SelectNotRetired(Query& q, const std::string& order) {
    q.Clear();
    q.Add("SELECT *");
    q.Add("From \"g_players.db\"");
    q.Add("WHERE retired='false'");
    if (!order.empty()) q.Add(order);
    q.Open(db_);
  }

  test::TempFolder folder_;
  Database db_;
};

TEST_F(RowSnapshotTest, ReadsATablesRowsByPositionInKeyOrderAsTexts) {
  RowSnapshot s(db_, "g_players.db");
  EXPECT_TRUE(s.IsOpen());
  EXPECT_EQ(s.TableName(), "g_players.db");
  ASSERT_EQ(s.Fields().size(), 5u);
  EXPECT_EQ(s.Fields()[1].name, "last_name");
  ASSERT_EQ(s.RowCount(), 4);
  EXPECT_EQ(Keys(s), (std::vector<std::string>{"10", "20", "30", "40"}));
  EXPECT_EQ(RowAt(s, 0), (Texts{"10", "Adams", "Ace", "1", "false"}));
  // An empty text and a null read apart.
  EXPECT_EQ(RowAt(s, 2), (Texts{"30", "Cole", "", "2", "true"}));
  EXPECT_EQ(RowAt(s, 3), (Texts{"40", "Baker", std::nullopt, std::nullopt, "false"}));
  // Reading again (from the cache) gives the same.
  EXPECT_EQ(RowAt(s, 0), (Texts{"10", "Adams", "Ace", "1", "false"}));

  EXPECT_EQ(s.IndexOfKey("30"), 2);
  EXPECT_EQ(s.IndexOfKey(" 40 "), 3);
  EXPECT_EQ(s.IndexOfKey("35"), -1);
  EXPECT_EQ(s.IndexOfKey("Cole"), -1);
  EXPECT_THROW((void)s.Row(4), Error);
  EXPECT_THROW((void)s.Row(-1), Error);
  EXPECT_THROW((void)s.KeyText(4), Error);

  RowSnapshot closed;
  EXPECT_FALSE(closed.IsOpen());
  EXPECT_EQ(closed.RowCount(), 0);
  EXPECT_THROW(closed.Refresh(), Error);
  EXPECT_THROW(RowSnapshot(db_, "missing.db"), Error);
}

TEST_F(RowSnapshotTest, AQuerysSnapshotFollowsItsOrderAndItsRows) {
  Query q;
  SelectNotRetired(q, "ORDER BY last_name DESC");
  ASSERT_TRUE(q.Locate("player_id", 10));
  RowSnapshot s(q);
  EXPECT_EQ(s.TableName(), "g_players.db");
  EXPECT_EQ(Keys(s), (std::vector<std::string>{"20", "40", "10"}));  // Diaz, Baker, Adams
  EXPECT_EQ(RowAt(s, 1), (Texts{"40", "Baker", std::nullopt, std::nullopt, "false"}));
  EXPECT_EQ(q.GetInt("player_id"), 10);  // reading left the query where it was

  // Refresh runs the query's statement again: a row that matches now comes in at its place in the
  // query's order, one that no longer matches leaves. The query keeps the keys it opened with.
  Table t(db_, "g_players.db");
  Add(t, 50, "Cruz", std::nullopt, 3, false);
  ASSERT_TRUE(t.Locate("player_id", 40));
  t.Edit();
  t.SetBool("retired", true);
  ASSERT_TRUE(t.Post());
  EXPECT_EQ(s.RowCount(), 3);
  s.Refresh();
  EXPECT_EQ(Keys(s), (std::vector<std::string>{"20", "50", "10"}));
  EXPECT_EQ(q.RecordCount(), 3);
  EXPECT_EQ(q.GetInt("player_id"), 10);

  // Without an order of its own a query's rows come in key order; an order by a column's place
  // holds too. A closed query has no snapshot.
  SelectNotRetired(q, "");
  s.Open(q);
  EXPECT_EQ(Keys(s), (std::vector<std::string>{"10", "20", "50"}));
  SelectNotRetired(q, "ORDER BY 2");
  s.Open(q);
  s.Refresh();
  EXPECT_EQ(Keys(s), (std::vector<std::string>{"10", "50", "20"}));  // Adams, Cruz, Diaz
  q.Close();
  EXPECT_THROW(s.Open(q), Error);
}

TEST_F(RowSnapshotTest, ReadingNeverMovesCursorsAndSeesWhatTheyPost) {
  Table table(db_, "g_players.db");
  ASSERT_TRUE(table.Locate("player_id", 20));
  Query query;
  SelectNotRetired(query, "");
  query.Next();
  ASSERT_EQ(query.GetInt("player_id"), 20);

  RowSnapshot s(db_, "g_players.db");
  for (int i = s.RowCount() - 1; i >= 0; --i) ASSERT_NE(s.Row(i), nullptr);
  EXPECT_EQ(s.IndexOfKey("40"), 3);
  EXPECT_EQ(table.GetInt("player_id"), 20);
  EXPECT_EQ(query.GetInt("player_id"), 20);
  table.Next();
  EXPECT_EQ(table.GetInt("player_id"), 30);
  query.Next();
  EXPECT_EQ(query.GetInt("player_id"), 40);

  // A cursor's post shows at the next read, also of a row read (and cached) before.
  table.Edit();
  table.SetText("nickname", "Coley");
  ASSERT_TRUE(table.Post());
  EXPECT_EQ(RowAt(s, 2)[2], "Coley");

  // A row deleted since the snapshot reads as gone and cannot be edited; Refresh drops it and
  // takes rows appended since.
  db_.ConnectionFor("g_players.db").Execute("DELETE FROM \"g_players.db\" WHERE player_id = 20");
  EXPECT_EQ(s.RowCount(), 4);
  EXPECT_EQ(s.Row(1), nullptr);
  EXPECT_FALSE(s.Edit(1));
  EXPECT_EQ(s.LastError(), "The record was deleted from g_players.db");
  EXPECT_FALSE(s.InEdit());
  Add(table, 25, "Evans", std::nullopt, 4, false);
  Add(table, 99, "Young", std::nullopt, 4, false);
  const std::string current = s.KeyText(2);
  s.Refresh();
  EXPECT_EQ(Keys(s), (std::vector<std::string>{"10", "25", "30", "40", "99"}));
  EXPECT_EQ(s.IndexOfKey(current), 2);
  EXPECT_EQ(RowAt(s, 4)[1], "Young");

  // A table replaced under the snapshot closes it: reading fails with a message.
  db_.CreateTable("g_players.db", {{"player_id", FieldType::Integer, 0, true}});
  EXPECT_FALSE(s.IsOpen());
  EXPECT_THROW((void)s.Row(0), Error);
}

TEST_F(RowSnapshotTest, EditsPostThroughTheStoresRules) {
  RowSnapshot s(db_, "g_players.db");
  EXPECT_THROW(s.SetText("last_name", "x"), Error);  // no edit pending

  // Texts longer than their size are cut to it in characters, as a cursor's SetText cuts them;
  // integers and booleans are taken from text; an empty number is null.
  ASSERT_TRUE(s.Edit(0));
  EXPECT_TRUE(s.InEdit());
  EXPECT_EQ(s.EditIndex(), 0);
  EXPECT_TRUE(s.SetText("last_name", "Abcdefghi\xC3\xA9xyz"));
  EXPECT_TRUE(s.SetText(std::size_t{3}, " 7 "));
  EXPECT_TRUE(s.SetText("retired", "TRUE"));
  EXPECT_EQ(RowAt(s, 0), (Texts{"10", "Abcdefghi\xC3\xA9xyz", "Ace", " 7 ", "TRUE"}));
  ASSERT_TRUE(s.Post()) << s.LastError();
  EXPECT_FALSE(s.InEdit());
  EXPECT_EQ(RowAt(s, 0), (Texts{"10", "Abcdefghi\xC3\xA9", "Ace", "7", "true"}));
  EXPECT_EQ(Stored(10, "last_name"), "Abcdefghi\xC3\xA9");
  ASSERT_TRUE(s.Edit(0));
  EXPECT_TRUE(s.SetText("team_id", ""));
  s.SetNull(2);
  ASSERT_TRUE(s.Post());
  EXPECT_EQ(Stored(10, "team_id"), "<null>");
  EXPECT_EQ(Stored(10, "nickname"), "<null>");

  // A required field left empty is refused with a cursor's reason; the pending texts stay and the
  // stored row is untouched.
  Table cursor(db_, "g_players.db");
  ASSERT_TRUE(cursor.Locate("player_id", 20));
  cursor.Edit();
  cursor.SetText("last_name", "");
  ASSERT_FALSE(cursor.Post());
  cursor.Cancel();
  ASSERT_TRUE(s.Edit(1));
  s.SetText("nickname", "Dee Dee");
  s.SetText("last_name", "");
  EXPECT_FALSE(s.Post());
  EXPECT_EQ(s.LastError(), cursor.LastError());
  EXPECT_EQ(s.LastError(), "Field 'last_name' must have a value");
  EXPECT_TRUE(s.InEdit());
  EXPECT_EQ(RowAt(s, 1), (Texts{"20", "", "Dee Dee", "1", "false"}));
  EXPECT_EQ(Stored(20, "last_name"), "Diaz");
  EXPECT_EQ(Stored(20, "nickname"), "Dee");

  // A key that is taken is refused the same way.
  s.SetText("last_name", "Diaz");
  s.SetText("player_id", "30");
  EXPECT_FALSE(s.Post());
  EXPECT_EQ(s.LastError(), "Key violation in g_players.db");
  EXPECT_EQ(RowAt(s, 1)[0], "30");
  EXPECT_EQ(Stored(20, "nickname"), "Dee");
  // Moving to another row posts first, and stays when that post is refused.
  EXPECT_FALSE(s.Edit(2));
  EXPECT_EQ(s.EditIndex(), 1);
  s.SetText("player_id", "21");
  ASSERT_TRUE(s.Edit(2)) << s.LastError();
  EXPECT_EQ(s.EditIndex(), 2);
  EXPECT_EQ(s.KeyText(1), "21");  // a changed key keeps its position until a refresh
  EXPECT_EQ(Stored(21, "nickname"), "Dee Dee");
  EXPECT_EQ(Stored(20, "nickname"), "<gone>");

  // A text that is not a whole number (or not true/false) is refused naming the field and the text,
  // at once and again at the post; it stays pending and nothing is stored, least of all 0.
  EXPECT_FALSE(s.SetText("team_id", "two"));
  EXPECT_EQ(s.LastError(), "Field 'team_id' needs a whole number, not 'two'");
  EXPECT_EQ(RowAt(s, 2)[3], "two");
  EXPECT_FALSE(s.Post());
  EXPECT_EQ(s.LastError(), "Field 'team_id' needs a whole number, not 'two'");
  EXPECT_FALSE(s.SetText("team_id", "99999999999"));
  s.SetText("team_id", "3");
  EXPECT_FALSE(s.SetText("retired", "maybe"));
  EXPECT_EQ(s.LastError(), "Field 'retired' needs true or false, not 'maybe'");
  EXPECT_FALSE(s.Post());
  EXPECT_TRUE(s.InEdit());
  EXPECT_EQ(Stored(30, "team_id"), "2");
  EXPECT_EQ(Stored(30, "retired"), "true");
  EXPECT_THROW(s.SetText("no_such_field", "x"), Error);
  // Cancel discards the pending texts.
  s.Cancel();
  EXPECT_FALSE(s.InEdit());
  EXPECT_EQ(RowAt(s, 2), (Texts{"30", "Cole", "", "2", "true"}));
  EXPECT_TRUE(s.Post());  // nothing pending
}

TEST_F(RowSnapshotTest, CursorsSeeAPostedEditAndNeverWriteAnOldCopyBack) {
  Table table(db_, "g_players.db");
  ASSERT_TRUE(table.Locate("player_id", 20));
  ASSERT_EQ(table.GetText("last_name"), "Diaz");
  Query query;
  SelectNotRetired(query, "");
  ASSERT_TRUE(query.Locate("player_id", 20));

  // A snapshot's post shows in cursors standing on the row, without moving them.
  RowSnapshot s(db_, "g_players.db");
  ASSERT_TRUE(s.Edit(1));
  s.SetText("last_name", "Dias");
  ASSERT_TRUE(s.Post());
  EXPECT_EQ(table.GetText("last_name"), "Dias");
  EXPECT_EQ(query.GetText("last_name"), "Dias");

  // A cursor's edit of another field starts from the stored row, so the snapshot's change stays.
  table.Edit();
  table.SetInt("team_id", 5);
  ASSERT_TRUE(table.Post());
  EXPECT_EQ(Stored(20, "last_name"), "Dias");
  EXPECT_EQ(Stored(20, "team_id"), "5");
  ASSERT_TRUE(s.Edit(1));
  s.SetText("nickname", "D");
  ASSERT_TRUE(s.Post());
  query.Edit();
  query.SetText("last_name", "Diaz");
  ASSERT_TRUE(query.Post());
  EXPECT_EQ(Stored(20, "nickname"), "D");
  EXPECT_EQ(Stored(20, "team_id"), "5");

  // A cursor's post while a snapshot edit is pending stays too: the snapshot posts only the fields
  // that were set. Its pending row shows the cursor's post beside the user's text.
  ASSERT_TRUE(s.Edit(1));
  s.SetText("nickname", "Dz");
  table.Edit();
  table.SetInt("team_id", 6);
  ASSERT_TRUE(table.Post());
  EXPECT_EQ(RowAt(s, 1), (Texts{"20", "Diaz", "Dz", "6", "false"}));
  ASSERT_TRUE(s.Post());
  EXPECT_EQ(Stored(20, "team_id"), "6");
  EXPECT_EQ(Stored(20, "nickname"), "Dz");
  EXPECT_EQ(table.GetText("nickname"), "Dz");
  EXPECT_EQ(table.GetInt("player_id"), 20);
  EXPECT_EQ(query.GetInt("player_id"), 20);

  // A pending edit keeps its row across a refresh, also when the row left a query's result; the
  // user's text is still there to post.
  RowSnapshot notRetired(query);
  ASSERT_EQ(notRetired.IndexOfKey("20"), 1);
  ASSERT_TRUE(notRetired.Edit(1));
  notRetired.SetText("nickname", "Gone");
  table.Edit();
  table.SetBool("retired", true);
  ASSERT_TRUE(table.Post());
  notRetired.Refresh();
  EXPECT_EQ(notRetired.EditIndex(), 1);
  EXPECT_EQ(notRetired.KeyText(1), "20");
  EXPECT_EQ(RowAt(notRetired, 1)[2], "Gone");
  ASSERT_TRUE(notRetired.Post());
  notRetired.Refresh();
  EXPECT_EQ(notRetired.IndexOfKey("20"), -1);
  EXPECT_EQ(Stored(20, "nickname"), "Gone");
  EXPECT_EQ(Stored(20, "retired"), "true");
}

}  // namespace
}  // namespace likentor
