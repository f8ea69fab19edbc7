#include "portrait/appearance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

#include "database/table_store.h"
#include "import/draw_clock.h"
#include "import/look_tables.h"
#include "shell/random_generator.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

using test::ClockForDraw;

// Shared tables made by hand in a temporary data folder, with the fields the draws read.
class AppearanceTest : public ::testing::Test {
 protected:
  AppearanceTest() : db_(folder_.Path()) {
    test::CreateLookTables(db_);
    AddNation(1, 70, 10, 20, 0);  // caucasian, asian, african, east indian
    AddNation(2, 0, 0, 0, 0);
    AddNation(3, 0, 0, 0, 5);
    SetFaces("faces_caucasian.db", 100);
    SetFaces("faces_asian.db", 3);
    SetFaces("faces_african.db", 1);
    SetFaces("faces_east_indian.db", 0);
  }

  void AddNation(int id, int caucasian, int asian, int african, int eastIndian) {
    Table t(db_, "nations.db");
    t.Append();
    t.SetInt("nation_id", id);
    t.SetInt("caucasian", caucasian);
    t.SetInt("asian", asian);
    t.SetInt("african", african);
    t.SetInt("east_indian", eastIndian);
    ASSERT_TRUE(t.Post());
  }

  void SetFaces(const char* table, int count) {
    Table t(db_, table);
    TableTransaction transaction(db_, table);
    for (int i = 1; i <= count; ++i) {
      t.Append();
      t.SetText("file_location", "face" + std::to_string(i));
      ASSERT_TRUE(t.Post());
    }
  }

  void SetFacialHair(const std::vector<int>& frequencies) {
    test::CreateFacialHairStyles(db_);
    Table t(db_, "facial_hair.db");
    for (int f : frequencies) {
      t.Append();
      t.SetText("location", "style");
      t.SetInt("frequency", f);
      ASSERT_TRUE(t.Post());
    }
  }

  // Draws with a generator whose clock the test sets before each call; counts clock reads.
  struct Draws {
    std::uint64_t now = 0;
    int clockReads = 0;
    RandomGenerator random{[this] {
      ++clockReads;
      return now;
    }};
    test::LookTables tables;
    std::unique_ptr<AppearanceDraws> draws;

    explicit Draws(Database& db) {
      tables.Open(db);
      draws = std::make_unique<AppearanceDraws>(random, tables.Tables());
    }
    AppearanceDraws* operator->() { return draws.get(); }
  };

  test::TempFolder folder_;
  Database db_;
};

TEST_F(AppearanceTest, EthnicityFollowsTheNationWeightsDrawByDraw) {
  Draws d(db_);
  // Weights 70/10/20/0 over a total of 100: every draw 0..99 and the ethnicity it must give.
  for (std::uint32_t r = 0; r < 100; ++r) {
    d.now = ClockForDraw(r, 100);
    const int expected = r < 70 ? kCaucasian : r < 80 ? kAsian : kAfrican;
    EXPECT_EQ(d->GetEthnicity(1), expected) << "draw " << r;
  }
  EXPECT_EQ(d.clockReads, 100);  // one reseed per draw

  EXPECT_EQ(d->GetEthnicity(2), kEastIndian);  // all weights 0
  EXPECT_EQ(d->GetEthnicity(3), kEastIndian);  // only east indian weight
  const int reads = d.clockReads;
  EXPECT_EQ(d->GetEthnicity(999), kCaucasian);  // no such nation: no draw at all
  EXPECT_EQ(d.clockReads, reads);
}

TEST_F(AppearanceTest, EthnicityProportionsOverManyDraws) {
  Draws d(db_);
  constexpr int kDraws = 20000;
  std::map<int, int> counts;
  for (int i = 0; i < kDraws; ++i) {
    d.now = static_cast<std::uint64_t>(i) * 0x9E3779B97F4A7C15ull;  // a spread of clock readings
    ++counts[d->GetEthnicity(1)];
  }
  EXPECT_EQ(counts[kEastIndian], 0);
  const std::map<int, double> chance = {{kCaucasian, 0.7}, {kAsian, 0.1}, {kAfrican, 0.2}};
  for (const auto& [ethnicity, p] : chance) {
    const double sd = std::sqrt(p * (1 - p) / kDraws);
    EXPECT_NEAR(static_cast<double>(counts[ethnicity]) / kDraws, p, 5 * sd) << ethnicity;
  }
}

TEST_F(AppearanceTest, FacesStayWithinOneToCountLessTwoWithFaceOneDoubled) {
  Draws d(db_);
  // 100 caucasian faces: draws below 99; 0 and 1 give face 1, r gives face r up to 98.
  std::map<int, int> faces;
  for (std::uint32_t r = 0; r < 99; ++r) {
    d.now = ClockForDraw(r, 99);
    ++faces[d->GetFace(kCaucasian)];
  }
  EXPECT_EQ(faces.size(), 98u);
  EXPECT_EQ(faces.begin()->first, 1);
  EXPECT_EQ(faces.rbegin()->first, 98);
  EXPECT_EQ(faces[1], 2);
  EXPECT_EQ(faces[2], 1);
  EXPECT_EQ(faces[98], 1);

  // Spread clock readings never leave the range either.
  for (int i = 0; i < 5000; ++i) {
    d.now = static_cast<std::uint64_t>(i) * 0x9E3779B97F4A7C15ull;
    const int face = d->GetFace(kCaucasian);
    ASSERT_GE(face, 1);
    ASSERT_LE(face, 98);
  }

  for (std::uint64_t clock : {0ull, 12345ull, 0xFFFFFFFFull}) {
    d.now = clock;
    EXPECT_EQ(d->GetFace(kAsian), 1);       // three faces: always 1
    EXPECT_EQ(d->GetFace(kAfrican), 0);     // one face: 0
    EXPECT_EQ(d->GetFace(kEastIndian), 0);  // no face at all: 0 as well
    EXPECT_EQ(d->GetFace(0), 1);
    EXPECT_EQ(d->GetFace(5), 1);
  }
}

TEST_F(AppearanceTest, BlondeHairOnlyForCaucasians) {
  Draws d(db_);
  d.now = ClockForDraw(0, 2);
  EXPECT_EQ(d->GetHairColor(kCaucasian), kBrownHair);
  d.now = ClockForDraw(1, 2);
  EXPECT_EQ(d->GetHairColor(kCaucasian), kBlondeHair);

  const int reads = d.clockReads;
  for (int ethnicity : {0, kAsian, kAfrican, kEastIndian, 5}) {
    for (std::uint32_t r = 0; r < 2; ++r) {
      d.now = ClockForDraw(r, 2);
      EXPECT_EQ(d->GetHairColor(ethnicity), kBrownHair) << ethnicity;
    }
  }
  EXPECT_EQ(d.clockReads, reads);  // no draw for them

  int blonde = 0;
  for (int i = 0; i < 4000; ++i) {
    d.now = static_cast<std::uint64_t>(i) * 0x9E3779B97F4A7C15ull;
    blonde += d->GetHairColor(kCaucasian) == kBlondeHair ? 1 : 0;
  }
  EXPECT_NEAR(blonde / 4000.0, 0.5, 5 * std::sqrt(0.25 / 4000));
}

TEST_F(AppearanceTest, FacialHairRangesFollowTheStrictComparison) {
  SetFacialHair({50, 30, 20});
  Draws d(db_);
  for (std::uint32_t r = 0; r < 100; ++r) {
    d.now = ClockForDraw(r, 100);
    const int expected = r == 0 ? 0 : r <= 50 ? 1 : r <= 80 ? 2 : 3;
    EXPECT_EQ(d->GetFacialHair(), expected) << "draw " << r;
  }
}

TEST_F(AppearanceTest, FacialHairNeverPicksAStyleOfFrequencyZero) {
  SetFacialHair({10, 0, 10});
  Draws d(db_);
  std::map<int, int> styles;
  for (std::uint32_t r = 0; r < 20; ++r) {
    d.now = ClockForDraw(r, 20);
    ++styles[d->GetFacialHair()];
  }
  EXPECT_EQ(styles, (std::map<int, int>{{0, 1}, {1, 10}, {3, 9}}));
}

TEST_F(AppearanceTest, HugeWeightsAreDrawnWithoutOverflow) {
  // Two weights of two thousand million each: the total is past the largest draw, which is then
  // the bound; draws below the first weight give the first choice, the rest the second.
  AddNation(4, 2000000000, 2000000000, 0, 0);
  SetFacialHair({2000000000, 2000000000});
  Draws d(db_);
  constexpr std::uint32_t kMax = 2147483647;
  d.now = ClockForDraw(0, kMax);
  EXPECT_EQ(d->GetEthnicity(4), kCaucasian);
  d.now = ClockForDraw(1999999999, kMax);
  EXPECT_EQ(d->GetEthnicity(4), kCaucasian);
  d.now = ClockForDraw(2000000000, kMax);
  EXPECT_EQ(d->GetEthnicity(4), kAsian);
  d.now = ClockForDraw(0, kMax);
  EXPECT_EQ(d->GetFacialHair(), 0);
  d.now = ClockForDraw(2000000000, kMax);
  EXPECT_EQ(d->GetFacialHair(), 1);
  d.now = ClockForDraw(2000000001, kMax);
  EXPECT_EQ(d->GetFacialHair(), 2);
}

TEST_F(AppearanceTest, NoFacialHairFromAnEmptyTable) {
  SetFacialHair({});
  Draws d(db_);
  for (std::uint64_t clock : {0ull, 99ull, 0xFFFFFFFFull}) {
    d.now = clock;
    EXPECT_EQ(d->GetFacialHair(), 0);
  }
}

}  // namespace
}  // namespace likentor
