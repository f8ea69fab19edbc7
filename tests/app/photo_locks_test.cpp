// The six lock operations, row by row: which rows change, that no other field does, the message,
// and a refused row stopping the run.

#include <gtest/gtest.h>

#include "app/navigation.h"
#include "app/photo_locks.h"
#include "commands_fixture.h"
#include "import/players_fields.h"

namespace likentor {
namespace {

using test::PlayerRow;

class PhotoLocksTest : public test::CommandsFixture {
 protected:
  // Active and retired players, each locked and unlocked, with both update_required values.
  void AddMixedPlayers() {
    AddPlayer({1, "Al", "Active", false, false, true});
    AddPlayer({2, "Bo", "Active", false, true, false});
    AddPlayer({3, "Cy", "Retired", true, false, false});
    AddPlayer({4, "Di", "Retired", true, true, true});
    AddPlayer({5, "Ed", "Active", false, false, false});
  }

  void SetAllLocks(bool locked) {
    Table players(session_.Data(), PlayersTableName(kGame));
    for (players.First(); !players.Eof(); players.Next()) {
      players.Edit();
      players.SetBool(kLockedField, locked);
    }
  }
};

TEST_F(PhotoLocksTest, EachOperationWritesItsValueToItsRowsOnly) {
  AddMixedPlayers();
  const auto updateBefore = Column(PlayersTableName(kGame), "update_required");
  const std::map<int, bool> retired = {{1, false}, {2, false}, {3, true}, {4, true}, {5, false}};

  struct Case {
    void (*click)(Session&);
    LockScope scope;
    bool value;
  };
  const Case cases[] = {
      {Button8Click, LockScope::All, true},     {Button5Click, LockScope::Active, true},
      {Button4Click, LockScope::Retired, true}, {Button1Click, LockScope::All, false},
      {Button2Click, LockScope::Active, false}, {Button3Click, LockScope::Retired, false}};
  for (const Case& c : cases) {
    // Start from the opposite of the value written, so that every selected row must change.
    for (bool start : {!c.value, c.value}) {
      SCOPED_TRACE(testing::Message() << "scope " << static_cast<int>(c.scope) << " value "
                                      << c.value << " start " << start);
      SetAllLocks(start);
      prompts_.ClearHistory();
      c.click(session_);
      std::map<int, std::string> expected;
      for (const auto& [id, isRetired] : retired) {
        const bool selected =
            c.scope == LockScope::All || (c.scope == LockScope::Retired) == isRetired;
        expected[id] = (selected ? c.value : start) ? "true" : "false";
      }
      EXPECT_EQ(Column(PlayersTableName(kGame), "locked"), expected);
      EXPECT_EQ(Column(PlayersTableName(kGame), "update_required"), updateBefore);
      EXPECT_EQ(prompts_.Texts(ScriptedPrompts::Kind::Message),
                std::vector<std::string>{"Success!"});
      EXPECT_FALSE(session_.Game().PlayersQuery.IsOpen());
      EXPECT_TRUE(session_.Game().PlayersQuery.Sql().empty());
    }
  }
}

TEST_F(PhotoLocksTest, TheConditionLines) {
  EXPECT_EQ(LockConditionLine(LockScope::All), "");
  EXPECT_EQ(LockConditionLine(LockScope::Active), "WHERE retired<>'true'");
  EXPECT_EQ(LockConditionLine(LockScope::Retired), "WHERE retired='true'");
}

TEST_F(PhotoLocksTest, AnEmptyPlayersTableStillSucceeds) {
  Button8Click(session_);
  EXPECT_EQ(prompts_.Texts(ScriptedPrompts::Kind::Message), std::vector<std::string>{"Success!"});
  EXPECT_TRUE(Column(PlayersTableName(kGame), "locked").empty());
}

TEST_F(PhotoLocksTest, ARefusedRowStopsTheRunAndKeepsWhatWasPosted) {
  AddMixedPlayers();
  RefuseUpdates(PlayersTableName(kGame), "NEW.player_id = 3");
  try {
    Button8Click(session_);
    ADD_FAILURE() << "the refused row did not stop the run";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("refused by the test"), std::string::npos) << e.what();
  }
  const std::map<int, std::string> expected = {
      {1, "true"}, {2, "true"}, {3, "false"}, {4, "true"}, {5, "false"}};
  EXPECT_EQ(Column(PlayersTableName(kGame), "locked"), expected);
  EXPECT_TRUE(prompts_.History().empty());
  EXPECT_TRUE(session_.Game().PlayersQuery.IsOpen());
  EXPECT_EQ(session_.Game().PlayersQuery.Sql(),
            (std::vector<std::string>{"SELECT *", "From \"g_players.db\""}));
}

TEST_F(PhotoLocksTest, WithoutALoadedGameNothingIsSelected) {
  AddMixedPlayers();
  session_.SetLoadedGameName("");
  Button8Click(session_);
  EXPECT_EQ(prompts_.Texts(ScriptedPrompts::Kind::Message),
            std::vector<std::string>{"Load a game first!"});
  EXPECT_EQ(Column(PlayersTableName(kGame), "locked").at(1), "false");
}

// The window's form asks first with the count of its scope, writes nothing on Cancel, and ends
// with the count; an empty scope asks nothing.
TEST_F(PhotoLocksTest, TheWindowAsksWithTheCountAndEndsWithIt) {
  AddMixedPlayers();
  SetAllLocks(false);
  prompts_.AnswerConfirm(false);
  EXPECT_EQ(AskAndSetPhotoLocks(session_, LockScope::Retired, true), 0);
  EXPECT_EQ(prompts_.Texts(ScriptedPrompts::Kind::Confirm),
            std::vector<std::string>{"Lock the photos of 2 retired players?"});
  EXPECT_TRUE(prompts_.Texts(ScriptedPrompts::Kind::Message).empty());
  EXPECT_EQ(Column(PlayersTableName(kGame), "locked").at(3), "false");
  EXPECT_FALSE(session_.Game().PlayersQuery.IsOpen());

  prompts_.ClearHistory();
  prompts_.AnswerConfirm(true);
  EXPECT_EQ(AskAndSetPhotoLocks(session_, LockScope::Retired, true), 2);
  const std::map<int, std::string> expected = {
      {1, "false"}, {2, "false"}, {3, "true"}, {4, "true"}, {5, "false"}};
  EXPECT_EQ(Column(PlayersTableName(kGame), "locked"), expected);
  EXPECT_EQ(prompts_.Texts(ScriptedPrompts::Kind::Message),
            std::vector<std::string>{"Locked 2 retired players."});
  EXPECT_FALSE(session_.Game().PlayersQuery.IsOpen());

  prompts_.ClearHistory();
  prompts_.AnswerConfirm(true);
  EXPECT_EQ(AskAndSetPhotoLocks(session_, LockScope::All, false), 5);
  EXPECT_EQ(prompts_.Texts(ScriptedPrompts::Kind::Confirm),
            std::vector<std::string>{"Unlock the photos of 5 players?"});
  EXPECT_EQ(prompts_.Texts(ScriptedPrompts::Kind::Message),
            std::vector<std::string>{"Unlocked 5 players."});

  EXPECT_EQ(LocksDoneText(LockScope::Retired, true, 2800), "Locked 2,800 retired players.");
  EXPECT_EQ(LocksQuestion(LockScope::Active, false, 1234567),
            "Unlock the photos of 1,234,567 active players?");
  EXPECT_EQ(LocksDoneText(LockScope::Active, false, 1), "Unlocked 1 active player.");
}

TEST_F(PhotoLocksTest, TheWindowAsksNothingForAnEmptyScope) {
  AddPlayer({1, "Al", "Active", false, false, false});
  EXPECT_EQ(AskAndSetPhotoLocks(session_, LockScope::Retired, false), 0);
  EXPECT_TRUE(prompts_.Texts(ScriptedPrompts::Kind::Confirm).empty());
  EXPECT_EQ(prompts_.Texts(ScriptedPrompts::Kind::Message),
            std::vector<std::string>{"There are no retired players to unlock."});
}

}  // namespace
}  // namespace likentor
