// The looks a load draws, with the program's own generator and the real clock: a generated saved
// game of 20,000 new players is loaded, and the faces and hair colours it stores are held to the
// chances of their draws by chi-square tests (face 1 twice as likely, the last two faces never
// drawn, all others even; hair colour of ethnicity 1 even between two values), each draw also
// against the draw made right before it for the same player. The backgrounds likewise (1..69, 1
// twice as likely). The clock makes these tests differ from run to run: a sound generator fails
// one test at p <= 0.001 by chance now and then, so a set that fails is drawn once more and only a
// second failure counts; a generator whose draws follow one another fails both times. A generator
// that took each seed straight from the clock failed them on an optimized build (the contingency
// tests with p below 1e-100); in a debug or sanitizer build the load is so slow that the clock's
// readings between two draws vary by microseconds, which hid the fault, so that only the
// backgrounds, drawn back to back, still showed it there (see also
// tests/shell/random_generator_test.cpp, which steps a clock as a fast machine reads it).

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/game_load.h"
#include "app/photo_plan.h"
#include "app/session.h"
#include "database/table_store.h"
#include "import/players_fields.h"
#include "samplegame/sample_game.h"
#include "shell/random_generator.h"
#include "shell/scripted_prompts.h"
#include "support/chi_square.h"
#include "support/program_folder.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

namespace fs = std::filesystem;
using test::ChiSquare;
using test::TenthOfDraw;
using Counts = std::vector<std::int64_t>;
using Table2 = std::vector<Counts>;

constexpr int kPlayers = 20000;

// A program set up in a folder of its own, with the program's own generator (the steady clock).
struct FreshProgram {
  explicit FreshProgram(const fs::path& root) : program(root / "program"), game(root / "game") {
    test::InstallDataFiles(program);
    prompts.AnswerFolder(program);
    prompts.AnswerFolder(game);
    session = std::make_unique<Session>(prompts, SessionPlaces{program, program});
    session->Startup(Session::Missing::RunSetup);
  }
  ~FreshProgram() { session->Shutdown(); }

  int RecordCount(const char* table) { return Table(session->Data(), table).RecordCount(); }

  fs::path program;
  fs::path game;
  ScriptedPrompts prompts;
  std::unique_ptr<Session> session;
};

class LookDrawStatisticsTest : public ::testing::Test {
 protected:
  LookDrawStatisticsTest() { ::setenv("HOME", (folder_ / "home").c_str(), 1); }

  // A fresh program for each set of draws.
  fs::path NextRoot() { return folder_ / ("attempt" + std::to_string(++attempts_)); }

  test::TempFolder folder_;
  int attempts_ = 0;
};

// The chances of the numbers 1..n-1 that a draw below n raised to at least 1 gives (1 twice as
// likely as each other), as category k = number - 1.
std::vector<double> RaisedDrawChances(int n) {
  std::vector<double> chances(n - 1, 1.0 / n);
  chances[0] = 2.0 / n;
  return chances;
}

// Loads a generated saved game of new players into a fresh program and tests the looks drawn.
void LoadAndTestLooks(const fs::path& root, test::ChiSquareResults& results) {
  FreshProgram fresh(root);
  samplegame::SampleGameOptions options;
  options.gameFolder = fresh.game.string();
  options.players = kPlayers;
  options.years = 1;
  options.nationsFile = (fresh.program / "data" / "nations.csv").string();
  samplegame::GenerateSampleGame(options);
  LoadGame(*fresh.session, "sample");

  // Catalogue sizes by ethnicity 1..4: a face is a draw below c - 1 raised to at least 1.
  const int catalogue[5] = {
      0, fresh.RecordCount("faces_caucasian.db"), fresh.RecordCount("faces_asian.db"),
      fresh.RecordCount("faces_african.db"), fresh.RecordCount("faces_east_indian.db")};
  std::vector<Counts> faces(5);
  for (int e = 1; e <= 4; ++e) faces[e].assign(catalogue[e] - 1, 0);
  Table2 ethnicityByFaceTenth(5, Counts(10, 0));
  Table2 faceTenthByHair(10, Counts(2, 0));  // ethnicity 1
  Counts hair(2, 0);                         // ethnicity 1

  Table players(fresh.session->Data(), "sample_players.db");
  int count = 0;
  for (players.First(); !players.Eof(); players.Next()) {
    ++count;
    const int ethnicity = players.GetInt(kEthnicityField);
    const int face = players.GetInt(kFaceField);
    const int hairColor = players.GetInt(kHairColorField);
    ASSERT_GE(ethnicity, 1);
    ASSERT_LE(ethnicity, 4);
    const int n = catalogue[ethnicity] - 1;
    ASSERT_GE(face, 1) << ethnicity;
    ASSERT_LE(face, n - 1) << ethnicity;
    ++faces[ethnicity][face - 1];
    const int tenth = TenthOfDraw(face, n);  // face 1 comes from draws 0 and 1, both in tenth 0
    ++ethnicityByFaceTenth[ethnicity][tenth];
    if (ethnicity == 1) {
      ASSERT_GE(hairColor, 1);
      ASSERT_LE(hairColor, 2);
      ++faceTenthByHair[tenth][hairColor - 1];
      ++hair[hairColor - 1];
    } else {
      EXPECT_EQ(hairColor, 1);
    }
  }
  players.Close();
  ASSERT_EQ(count, kPlayers);

  for (int e = 1; e <= 4; ++e) {
    std::int64_t drawn = 0;
    for (std::int64_t c : faces[e]) drawn += c;
    ASSERT_GT(drawn, 1000) << "too few players of ethnicity " << e << " for the test";
    results.emplace_back(
        "faces of ethnicity " + std::to_string(e) + " (" + std::to_string(drawn) + " players)",
        test::GoodnessOfFit(faces[e], RaisedDrawChances(catalogue[e] - 1)));
  }
  // The face drawn right after the ethnicity: its tenth of the catalogue does not depend on the
  // value of the ethnicity draw (seen through the ethnicity it gave).
  results.emplace_back("ethnicity x tenth of face", test::Independence(ethnicityByFaceTenth));
  results.emplace_back("hair colour of ethnicity 1 (" + std::to_string(hair[1]) + " blonde of " +
                           std::to_string(hair[0] + hair[1]) + ")",
                       test::GoodnessOfFit(hair, {0.5, 0.5}));
  results.emplace_back("tenth of face x hair colour, ethnicity 1",
                       test::Independence(faceTenthByHair));
}

void ExpectAllPass(const test::ChiSquareResults& results) {
  for (const auto& [what, result] : results) EXPECT_TRUE(result.Passes()) << what << ": " << result;
}

TEST_F(LookDrawStatisticsTest, FacesAndHairColoursOfAFreshLoadFollowTheirChances) {
  const test::ChiSquareResults results = test::WithOneRetry([this] {
    test::ChiSquareResults set;
    LoadAndTestLooks(NextRoot(), set);
    return set;
  });
  if (HasFatalFailure()) return;
  ASSERT_FALSE(results.empty());
  ExpectAllPass(results);
}

TEST_F(LookDrawStatisticsTest, BackgroundsFollowTheirChances) {
  FreshProgram fresh(NextRoot());
  // A first portrait draws the accessory and then the background; here as close together as
  // they can come, with the session's generator.
  const int accessories = fresh.RecordCount("accessories.db");
  ASSERT_GE(accessories, 3);
  constexpr int kBackgroundDraw = 70;  // backgrounds 1..69, 1 twice as likely
  ExpectAllPass(test::WithOneRetry([&] {
    Counts backgrounds(kBackgroundDraw - 1, 0);
    Table2 accessoryByBackgroundTenth(accessories, Counts(10, 0));
    for (int i = 0; i < kPlayers; ++i) {
      const int accessory = DrawAccessory(fresh.session->Random(), accessories);
      const int background = DrawBackground(fresh.session->Random());
      EXPECT_GE(accessory, 0);
      EXPECT_LT(accessory, accessories - 1);
      EXPECT_GE(background, 1);
      EXPECT_LE(background, kBackgroundDraw - 1);
      if (accessory < 0 || accessory >= accessories || background < 1 ||
          background >= kBackgroundDraw) {
        return test::ChiSquareResults{};
      }
      ++backgrounds[background - 1];
      ++accessoryByBackgroundTenth[accessory][TenthOfDraw(background, kBackgroundDraw)];
    }
    return test::ChiSquareResults{
        {"backgrounds", test::GoodnessOfFit(backgrounds, RaisedDrawChances(kBackgroundDraw))},
        {"accessory x tenth of background", test::Independence(accessoryByBackgroundTenth)}};
  }));
}

}  // namespace
}  // namespace likentor
