#include "portrait/appearance.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "database/table_store.h"
#include "shell/random_generator.h"

namespace likentor {

namespace {

// The bound of a draw for a sum of weights: a draw takes at most the largest int.
int DrawRange(std::int64_t total) {
  return static_cast<int>(std::clamp<std::int64_t>(total, 0, std::numeric_limits<int>::max()));
}

}  // namespace

AppearanceDraws::AppearanceDraws(RandomGenerator& random, const AppearanceTables& tables)
    : random_(random) {
  for (tables.nations.First(); !tables.nations.Eof(); tables.nations.Next()) {
    const Table& t = tables.nations;
    nations_[t.GetInt("nation_id")] = {t.GetInt("caucasian", 0), t.GetInt("asian", 0),
                                       t.GetInt("african", 0), t.GetInt("east_indian", 0)};
  }
  faceCounts_[kCaucasian - 1] = tables.caucasianFaces.RecordCount();
  faceCounts_[kAsian - 1] = tables.asianFaces.RecordCount();
  faceCounts_[kAfrican - 1] = tables.africanFaces.RecordCount();
  faceCounts_[kEastIndian - 1] = tables.eastIndianFaces.RecordCount();
  // The table walks in primary-key order, which is the order the draw needs.
  for (tables.facialHair.First(); !tables.facialHair.Eof(); tables.facialHair.Next()) {
    const Style style{tables.facialHair.GetInt("facial_hair_id"),
                      tables.facialHair.GetInt("frequency", 0)};
    styles_.push_back(style);
    totalFrequency_ += style.frequency;
  }
}

int AppearanceDraws::GetEthnicity(int nation) {
  const auto found = nations_.find(nation);
  if (found == nations_.end()) return kCaucasian;
  const Weights& w = found->second;
  // Weights are the user's to edit: their sums are taken in 64 bits, and a total past the largest
  // draw is drawn below that instead of overflowing.
  const std::int64_t caucasian = w.caucasian;
  const std::int64_t asian = caucasian + w.asian;
  const std::int64_t african = asian + w.african;
  const std::int64_t r = random_.ReseedAndDraw(DrawRange(african + w.eastIndian));
  if (r < caucasian) return kCaucasian;
  if (r < asian) return kAsian;
  if (r < african) return kAfrican;
  return kEastIndian;
}

int AppearanceDraws::GetFace(int ethnicity) {
  random_.Reseed();
  if (ethnicity < kCaucasian || ethnicity > kEastIndian) return 1;
  const int n = faceCounts_[ethnicity - 1] - 1;
  const int r = random_.Draw(n);
  // An empty catalogue would give -1; no face is 0, as for a catalogue of one face.
  return std::max(0, std::min(std::max(r, 1), n));
}

AppearanceDraws::FaceRange AppearanceDraws::Faces(int ethnicity) const {
  if (ethnicity < kCaucasian || ethnicity > kEastIndian) return {1, 1};
  // As GetFace holds its draw: at least 1, at most c - 2 (a draw below c - 1 never reaches c - 1).
  const int n = faceCounts_[ethnicity - 1] - 1;
  if (n < 1) return {0, 0};
  return {1, std::max(1, n - 1)};
}

int AppearanceDraws::GetFaceAvoiding(int ethnicity, const FaceFilter& avoid, int redraws) {
  int face = GetFace(ethnicity);
  for (int i = 0; i < redraws && avoid(face); ++i) face = GetFace(ethnicity);
  return face;
}

int AppearanceDraws::GetFaceExcept(int ethnicity, const FaceFilter& avoid) {
  const int drawn = GetFaceAvoiding(ethnicity, avoid, kSettleRedraws);
  if (!avoid(drawn)) return drawn;
  // So many refusals: most faces are refused, and the few free ones are found by looking.
  const FaceRange range = Faces(ethnicity);
  std::vector<int> free;
  for (int face = range.lowest; face <= range.highest; ++face) {
    if (!avoid(face)) free.push_back(face);
  }
  if (free.empty()) return 0;
  return free[static_cast<std::size_t>(random_.ReseedAndDraw(static_cast<int>(free.size())))];
}

int AppearanceDraws::GetHairColor(int ethnicity) {
  if (ethnicity != kCaucasian) return kBrownHair;
  return std::clamp(kBrownHair + random_.ReseedAndDraw(2), kBrownHair, kBlondeHair);
}

int AppearanceDraws::GetFacialHair() {
  const std::int64_t r = random_.ReseedAndDraw(DrawRange(totalFrequency_));
  int result = 0;
  std::int64_t runningSum = 0;
  for (const Style& style : styles_) {
    if (r > runningSum) result = style.id;
    runningSum += style.frequency;
  }
  return result;
}

}  // namespace likentor
