#include "app/batch_runs.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

#include "app/photo_fixture.h"
#include "app/player_photo.h"
#include "app/run_plan.h"
#include "import/players_fields.h"

namespace likentor {
namespace {

using test::Player;
using test::Team;
using Kind = ScriptedPrompts::Kind;

class BatchRunsTest : public test::PhotoFixture {
 protected:
  // The players whose portrait file exists, among ids 1..100.
  std::set<int> WithPortraits() const {
    std::set<int> ids;
    for (int id = 1; id <= 100; ++id) {
      if (std::filesystem::exists(Portrait(id))) ids.insert(id);
    }
    return ids;
  }
  // The players still flagged, among those added.
  std::set<int> Flagged() {
    std::set<int> ids;
    Table players(session_.Data(), PlayersTableName(kGame));
    for (players.First(); !players.Eof(); players.Next()) {
      if (players.GetBool(kUpdateRequiredField)) ids.insert(players.GetInt(kPlayerIdField));
    }
    return ids;
  }
  void ResetAll() {
    Table players(session_.Data(), PlayersTableName(kGame));
    for (players.First(); !players.Eof(); players.Next()) {
      players.Edit();
      players.SetBool(kUpdateRequiredField, true);
      ASSERT_TRUE(players.Post());
    }
    for (int id : WithPortraits()) std::filesystem::remove(Portrait(id));
  }
  std::string LastMessage() const {
    const auto texts = prompts_.Texts(Kind::Message);
    return texts.empty() ? "" : texts.back();
  }
  void ExpectIdle() {
    LoadedGame& game = session_.Game();
    EXPECT_FALSE(game.PlayersQuery.IsOpen());
    EXPECT_TRUE(game.PlayersQuery.Sql().empty());
    EXPECT_FALSE(session_.Progress().Visible());
    EXPECT_EQ(session_.Progress().Position(), 0);
    EXPECT_EQ(session_.Window().statusText, "g.lg loaded.");
    EXPECT_EQ(session_.Progress().Last().status, "g.lg loaded.");
  }
};

TEST_F(BatchRunsTest, SelectionLinesOfBothRuns) {
  // The selections hold every flagged player; the plan tells which of them get a portrait.
  EXPECT_EQ(UniverseSelection("g"), (std::vector<std::string>{"SELECT *", "From \"g_players.db\"",
                                                              "WHERE update_required='true'"}));
  EXPECT_EQ(TeamSelection("g", 3),
            (std::vector<std::string>{"SELECT *", "From \"g_players.db\"",
                                      "WHERE team_id=3 AND update_required='true'"}));
}

TEST_F(BatchRunsTest, CareerAndRetiredFiltersThenASecondRunFindsNothing) {
  AddPlayer({.id = 1, .careerAb = 480, .careerIp = 160});  // the innings pass
  AddPlayer({.id = 2, .careerAb = 480, .careerIp = 140});  // neither passes
  AddPlayer({.id = 3, .careerAb = 500, .careerIp = 0});
  AddPlayer({.id = 4, .retired = true, .careerAb = 0, .careerIp = 150});
  AddPlayer({.id = 5, .retired = true, .careerAb = 20, .careerIp = 0});  // retired, below both
  AddPlayer({.id = 6, .careerAb = 900, .locked = true});
  AddPlayer({.id = 7, .careerAb = 900, .updateRequired = false});

  EXPECT_EQ(UniverseGoBtnClick(session_, 0), 3);
  EXPECT_EQ(LastMessage(), "Successfully created 3 photos.");
  EXPECT_EQ(WithPortraits(), (std::set<int>{1, 3, 4}));
  EXPECT_EQ(Flagged(), (std::set<int>{2, 5, 6}));
  EXPECT_EQ(PlayerInt(1, "uniform_team_id"), 0);
  ExpectIdle();

  EXPECT_EQ(UniverseGoBtnClick(session_, 0), 0);
  EXPECT_EQ(LastMessage(), "Successfully created 0 photos.");
  EXPECT_EQ(WithPortraits(), (std::set<int>{1, 3, 4}));

  ResetAll();  // player 7 is flagged from here on
  SetSettingFlag("create_retired_photos", false);
  EXPECT_EQ(UniverseGoBtnClick(session_, 0), 3);
  EXPECT_EQ(WithPortraits(), (std::set<int>{1, 3, 7}));

  ResetAll();
  SetSettingFlag("create_retired_photos", true);
  SetSettingFlag("create_active_photos", false);
  SetSetting("active_ab_minimum", 10);
  EXPECT_EQ(UniverseGoBtnClick(session_, 0), 2);
  EXPECT_EQ(WithPortraits(), (std::set<int>{4, 5}));

  ResetAll();
  SetSettingFlag("create_retired_photos", false);
  EXPECT_EQ(UniverseGoBtnClick(session_, 0), 0);
  EXPECT_EQ(LastMessage(), "Successfully created 0 photos.");
  EXPECT_TRUE(WithPortraits().empty());
  ExpectIdle();
}

TEST_F(BatchRunsTest, EveryLevelScope) {
  // Teams 1..7 of levels 1..7; team 8 has no level test to fail (no teams row); team 0 is none.
  for (int level = 1; level <= 7; ++level) AddTeam({.id = level, .level = level});
  for (int id = 1; id <= 7; ++id) AddPlayer({.id = id, .teamId = id});
  AddPlayer({.id = 8, .teamId = 8});
  AddPlayer({.id = 9, .teamId = 0});
  for (int scope = -1; scope <= 6; ++scope) {
    ResetAll();
    std::set<int> expected{8, 9};
    for (int level = 1; level <= 7; ++level) {
      if (scope < 1 || level <= scope) expected.insert(level);
    }
    const int made = UniverseGoBtnClick(session_, scope);
    EXPECT_EQ(WithPortraits(), expected) << "scope " << scope;
    EXPECT_EQ(made, static_cast<int>(expected.size()));
    EXPECT_EQ(LastMessage(),
              "Successfully created " + std::to_string(expected.size()) + " photos.");
  }
  // The players passed over keep their flags.
  EXPECT_EQ(Flagged(), (std::set<int>{7}));
}

TEST_F(BatchRunsTest, ProgressAndStatusReachTheListener) {
  AddTeam({.id = 1, .level = 1});
  AddTeam({.id = 2, .level = 4});
  AddPlayer({.id = 1, .teamId = 1});
  AddPlayer({.id = 2, .teamId = 2});  // passed over under "AA Level and Up"
  AddPlayer({.id = 3, .teamId = 1});
  AddPlayer({.id = 4, .teamId = 1});
  std::vector<std::tuple<std::string, bool, int>> reports;
  session_.Progress().SetListener([&](const ProgressReport& r) {
    reports.emplace_back(std::string(r.status), r.visible, r.position);
  });
  EXPECT_EQ(UniverseGoBtnClick(session_, 3), 3);
  const std::string creating(kUniverseStatus);
  // Visits 1, 3 and 4 of 4 make portraits: 25, 75, 100; visit 2 leaves the bar alone.
  EXPECT_EQ(reports, (std::vector<std::tuple<std::string, bool, int>>{{creating, false, 0},
                                                                      {creating, true, 0},
                                                                      {creating, true, 25},
                                                                      {creating, true, 75},
                                                                      {creating, true, 100},
                                                                      {"g.lg loaded.", false, 0}}));
}

TEST_F(BatchRunsTest, TeamRunTakesTheTeamOfTheChosenItem) {
  AddTeam({.id = 5});
  AddTeam({.id = 2});                                // listed second, though its id is 2
  AddPlayer({.id = 1, .teamId = 2, .careerAb = 0});  // no career filter in the team run
  AddPlayer({.id = 2, .teamId = 2, .retired = true});
  AddPlayer({.id = 3, .teamId = 2, .locked = true});
  AddPlayer({.id = 4, .teamId = 5});
  AddPlayer({.id = 5, .teamId = 1});
  std::vector<std::string> statuses;
  session_.Progress().SetListener(
      [&](const ProgressReport& r) { statuses.emplace_back(r.status); });

  EXPECT_EQ(TeamGoBtnClick(session_, 1), 2);
  EXPECT_EQ(WithPortraits(), (std::set<int>{1, 2}));
  EXPECT_EQ(LastMessage(), "Successfully created 2 photos.");
  EXPECT_EQ(statuses.front(), "Creating photos for Town2 Club2...");
  ExpectIdle();

  EXPECT_EQ(TeamGoBtnClick(session_, -1), 0);
  EXPECT_EQ(TeamGoBtnClick(session_, 2), 0);
  EXPECT_EQ(prompts_.Texts(Kind::Message).back(), "Maybe you should pick WHICH team first.");
  EXPECT_EQ(WithPortraits(), (std::set<int>{1, 2}));
}

TEST_F(BatchRunsTest, WithoutALoadedGameBothRunsSayLoadAGameFirst) {
  AddPlayer({.id = 1});
  session_.SetLoadedGameName("");
  EXPECT_EQ(UniverseGoBtnClick(session_, 0), 0);
  EXPECT_EQ(TeamGoBtnClick(session_, -1), 0);
  EXPECT_EQ(prompts_.Texts(Kind::Message),
            (std::vector<std::string>{"Load a game first!", "Load a game first!"}));
  EXPECT_TRUE(WithPortraits().empty());
}

TEST_F(BatchRunsTest, AFailureStopsTheRunKeepsWhatWasMadeAndLeavesTheSessionIdle) {
  for (int id = 1; id <= 30; ++id) AddPlayer({.id = id, .face = id == 20 ? 77 : 1});
  try {
    UniverseGoBtnClick(session_, 0);
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_NE(std::string(error.what()).find("0000077.png"), std::string::npos) << error.what();
  }
  ExpectIdle();
  EXPECT_TRUE(prompts_.Texts(Kind::Message).empty());
  // The failing player is untouched; every portrait written is recorded on its row.
  EXPECT_FALSE(std::filesystem::exists(Portrait(20)));
  EXPECT_TRUE(PlayerFlag(20, "update_required"));
  EXPECT_EQ(PlayerInt(20, "background"), 0);
  for (int id = 1; id < 20; ++id) EXPECT_FALSE(PlayerFlag(id, "update_required")) << id;
  for (int id = 1; id <= 30; ++id) {
    EXPECT_EQ(std::filesystem::exists(Portrait(id)), !PlayerFlag(id, "update_required")) << id;
  }
  // Mended, the next run goes on with the players still flagged.
  std::filesystem::copy_file(Graphics() / "faces/caucasian/0000001.png",
                             Graphics() / "faces/caucasian/0000077.png");
  const std::set<int> left = Flagged();
  EXPECT_EQ(UniverseGoBtnClick(session_, 0), static_cast<int>(left.size()));
  EXPECT_TRUE(Flagged().empty());
}

TEST_F(BatchRunsTest, ARefusedPostIsLoggedAndTheRunGoesOn) {
  for (int id = 1; id <= 3; ++id) AddPlayer({.id = id});
  RefuseUpdates("NEW.player_id = 2");
  EXPECT_EQ(UniverseGoBtnClick(session_, 0), 3);
  EXPECT_EQ(Flagged(), (std::set<int>{2}));
  EXPECT_EQ(LogLines(), std::vector<std::string>{std::string(kPhotoPostError)});
}

TEST_F(BatchRunsTest, ACancelledRunKeepsWhatItMade) {
  for (int id = 1; id <= 40; ++id) AddPlayer({.id = id});
  session_.Progress().SetListener([&](const ProgressReport& r) {
    if (r.visible && r.position > 0) session_.Progress().RequestCancel();
  });
  const int made = UniverseGoBtnClick(session_, 0);
  EXPECT_GE(made, 1);
  EXPECT_LT(made, 40);
  EXPECT_EQ(LastMessage(), "Stopped after " + std::to_string(made) + " photos.");
  EXPECT_EQ(static_cast<int>(WithPortraits().size()), made);
  EXPECT_EQ(static_cast<int>(Flagged().size()), 40 - made);
  ExpectIdle();
  session_.Progress().SetListener(nullptr);

  // A cancel asked for just before a run starts is not lost: the run stops before its first
  // portrait; the run after it starts afresh.
  session_.Progress().RequestCancel();
  EXPECT_EQ(MakeUniversePhotos(session_, {ReadUniverseFilters(session_), 0}), (RunResult{0, true}));
  EXPECT_EQ(static_cast<int>(Flagged().size()), 40 - made);
  const RunResult afresh = MakeUniversePhotos(session_, {ReadUniverseFilters(session_), 0});
  EXPECT_EQ(afresh.made, 40 - made);
  EXPECT_FALSE(afresh.stopped);
  EXPECT_EQ(static_cast<int>(afresh.players.size()), 40 - made);
  EXPECT_TRUE(Flagged().empty());
  ExpectIdle();
}

// The window's way: the run on a worker thread, its reports read and a cancel asked for on
// another. Run under ThreadSanitizer in CI.
TEST_F(BatchRunsTest, ARunOnAWorkerThreadReportsToAnotherAndStopsWhenAsked) {
  for (int id = 1; id <= 40; ++id) AddPlayer({.id = id});
  const UniverseFilters filters = ReadUniverseFilters(session_);
  std::mutex mutex;
  std::condition_variable reported;
  std::condition_variable answered;
  bool asked = false;
  std::vector<ProgressReport> reports;
  // The first report of progress holds the run until this thread has asked for the cancel, so a
  // run faster than this thread cannot end before the request.
  session_.Progress().SetListener([&](const ProgressReport& r) {
    std::unique_lock lock(mutex);
    reports.push_back(r);
    reported.notify_one();
    if (r.position > 0) answered.wait(lock, [&] { return asked; });
  });
  RunResult result;
  std::thread worker([&] { result = MakeUniversePhotos(session_, {filters, 0}); });
  {
    std::unique_lock lock(mutex);
    reported.wait(lock, [&] { return !reports.empty() && reports.back().position > 0; });
    session_.Progress().RequestCancel();
    asked = true;
  }
  answered.notify_one();
  worker.join();
  session_.Progress().SetListener(nullptr);
  EXPECT_TRUE(result.stopped);
  EXPECT_GE(result.made, 1);
  EXPECT_LT(result.made, 40);
  EXPECT_EQ(static_cast<int>(WithPortraits().size()), result.made);
  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(reports.front().status, kUniverseStatus);
  EXPECT_FALSE(reports.back().visible);
  EXPECT_EQ(reports.back().status, "g.lg loaded.");
  EXPECT_TRUE(prompts_.History().empty());  // a run asks and shows nothing
  ExpectIdle();
}

}  // namespace
}  // namespace likentor
