#pragma once

// The lasting look of a newly imported player: an ethnicity drawn from his nation's weights, a face
// of that ethnicity, a hair colour and a facial-hair style weighted by the styles' frequencies.
// Every draw reseeds the shared generator immediately before its single draw.

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

namespace likentor {

class RandomGenerator;
class Table;

// Ethnicity numbers as stored in the players table.
inline constexpr int kCaucasian = 1;
inline constexpr int kAsian = 2;
inline constexpr int kAfrican = 3;
inline constexpr int kEastIndian = 4;

// Hair colours: the brown and the blonde artwork.
inline constexpr int kBrownHair = 1;
inline constexpr int kBlondeHair = 2;

// The open shared tables the draws work from.
struct AppearanceTables {
  Table& nations;
  Table& africanFaces;
  Table& asianFaces;
  Table& caucasianFaces;
  Table& eastIndianFaces;
  Table& facialHair;
};

// The four draws. The weights, face counts and facial-hair frequencies are read from the tables
// once, when the object is made, so that an import drawing the looks of thousands of players does
// not read whole tables for each of them; make a new object after the tables were edited. Blank
// weights and frequencies count as 0.
class AppearanceDraws {
 public:
  AppearanceDraws(RandomGenerator& random, const AppearanceTables& tables);

  // 1..4 by the nation's weights; 1 for a nation missing from the nations table; 4 when all four
  // weights are 0.
  int GetEthnicity(int nation);
  // A face number of the ethnicity's catalogue of c faces: 1..c-2, face 1 twice as likely as each
  // other (draws 0 and 1 both give it). 1 for an unknown ethnicity (no draw); 0 for a catalogue
  // of one face or none.
  int GetFace(int ethnicity);
  // The faces GetFace gives for an ethnicity, lowest and highest: 1..c-2 (1..1 for an unknown
  // ethnicity or a catalogue of two or three faces, 0..0 for one of one face or none).
  struct FaceRange {
    int lowest = 0;
    int highest = 0;
  };
  FaceRange Faces(int ethnicity) const;
  // Which faces a draw should not give (a face the player had, one a teammate wears).
  using FaceFilter = std::function<bool(int face)>;
  // GetFace, drawn again while `avoid` refuses the face, at most `redraws` more times; the last
  // draw stands even when refused. Each draw is GetFace's, so faces that are not refused keep
  // their chances relative to one another.
  int GetFaceAvoiding(int ethnicity, const FaceFilter& avoid, int redraws);
  // A face that `avoid` does not refuse whenever the ethnicity's catalogue has one: GetFace drawn
  // again while refused, and after kSettleRedraws refused draws one of the faces GetFace gives
  // that are not refused, chosen evenly with one draw. 0 when every face is refused.
  int GetFaceExcept(int ethnicity, const FaceFilter& avoid);
  static constexpr int kSettleRedraws = 32;
  // 1 or 2 with equal chances for ethnicity 1; 1 for every other ethnicity (no draw).
  int GetHairColor(int ethnicity);
  // A facial_hair_id, or 0 for none: with r drawn below the total frequency, the last style (in
  // key order) whose preceding running sum is strictly below r; r = 0 gives 0.
  int GetFacialHair();

 private:
  struct Weights {
    int caucasian = 0;
    int asian = 0;
    int african = 0;
    int eastIndian = 0;
  };
  struct Style {
    int id = 0;
    int frequency = 0;
  };

  RandomGenerator& random_;
  std::unordered_map<int, Weights> nations_;
  int faceCounts_[4] = {0, 0, 0, 0};  // by ethnicity - 1
  std::vector<Style> styles_;         // ascending facial_hair_id
  std::int64_t totalFrequency_ = 0;
};

}  // namespace likentor
