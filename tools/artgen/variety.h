#pragma once
// How far apart the faces of a kit are: for every face of a folder, the distance to its nearest
// other face, as the mean absolute difference of the RGBA bytes over the head area.
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "raster.h"

namespace likentor::artgen {

// Mean absolute difference of two face files' RGBA bytes over the head area of the layout grid.
double FaceDistance(const Image& a, const Image& b);

struct FolderVariety {
  std::string folder;
  std::vector<double> nearest;  // per face (in file order), the distance to its nearest other face
  double p1 = 0, median = 0;    // 1st percentile and median of `nearest`
  int closestA = 0, closestB = 0;  // the closest two faces (file numbers)
};

// Reads every face of every folder of programFolder/graphics/faces and measures them.
std::vector<FolderVariety> MeasureVariety(const std::filesystem::path& programFolder,
                                          unsigned threads);

// One unlocked player of a team's roster as the game drew his look: team, ethnicity 1-4
// (caucasian, asian, african, east indian), face number, and as the players table holds them his
// hair colour (2 blonde, anything else brown) and facial_hair_id (0 and 1 none, 2 and up the
// styles of data/facialhair.csv after its first line, "none", in file order).
struct RosterPlace {
  int team = 0;
  int ethnicity = 0;
  int face = 0;
  int hairColor = 1;
  int facialHair = 0;
};

// Reads "TEAM ETHNICITY FACE" or "TEAM ETHNICITY FACE HAIRCOLOR FACIALHAIR" lines (blanks, commas
// or bars between the fields); a line of three fields is a brown-haired player without facial
// hair.
std::vector<RosterPlace> ReadRosters(const std::filesystem::path& file);

// How many teams wear two faces that look alike: the same face twice, or two different faces of a
// folder closer than the folder's threshold (by the distance of FaceDistance), or two faces of
// different folders closer than the lower of their folders' thresholds.
struct TeamVariety {
  struct Pair {
    int team;
    RosterPlace a, b;
    double distance;
  };
  int teams = 0;
  int sameFace = 0;         // teams with two players on one face
  int lookAlike = 0;        // teams with two different faces of a folder below its threshold
  int lookAlikeAcross = 0;  // teams with two faces of different folders below the threshold
  int any = 0;              // teams with any of the three
  std::vector<Pair> pairs;  // every look-alike pair of different faces
};

// thresholds: per ethnicity 1-4, the distance below which two faces look alike.
TeamVariety MeasureTeams(const std::filesystem::path& programFolder,
                         const std::vector<RosterPlace>& places,
                         const std::array<double, 4>& thresholds);

// The same question asked of the heads as a portrait shows them: the face picture the program
// takes for the player (the kit's blonde-haired picture of his face when he is blonde and the kit
// has one, else the face file) with his facial-hair style in his hair colour laid over it where the
// program draws it. Two teammates look alike when their heads lie closer than the lower threshold
// of their folders by the distance of FaceDistance over the composed head area; identical heads
// (one face, one picture, one style) count too.
struct HeadVariety {
  int teams = 0;
  int identical = 0;        // teams with two identical heads
  int lookAlike = 0;        // teams with two heads below the threshold, identical ones included
  long pairsOnOneFace = 0;  // pairs of teammates on one face
  long pairsOnOneFaceAlike = 0;  // of them, the pairs whose heads look alike
  long pairsAlike = 0;           // all pairs whose heads look alike
};
HeadVariety MeasureHeads(const std::filesystem::path& programFolder,
                         const std::vector<RosterPlace>& places,
                         const std::array<double, 4>& thresholds);

// The teams of `places` drawn again `rounds` times: each player keeps his team and ethnicity and
// gets a face by the game's draw (1 to count - 2, face 1 twice as likely), once drawn freely and
// once with different faces within a team (drawn again while a teammate of his folder wears it).
// Shares (0-1) of teams with two players on one face, with two different faces of a folder below
// its threshold, and with either. In the first `headRounds` rounds of each kind the same draws are
// also measured as heads (MeasureHeads), each player keeping his hair colour and facial hair:
// shares of teams with two identical heads and with two look-alike heads.
struct RedrawnShares {
  struct Shares {
    double sameFace = 0;
    double lookAlike = 0;
    double any = 0;
    double identicalHeads = 0;
    double lookAlikeHeads = 0;
  };
  Shares free, spread;
  int headRounds = 0;
  std::array<long, 4> closePairs{};  // per folder, the pairs of drawable faces below the threshold
};
RedrawnShares RedrawTeams(const std::filesystem::path& programFolder,
                          const std::vector<RosterPlace>& places,
                          const std::array<double, 4>& thresholds, int rounds, unsigned threads,
                          int headRounds = 0);

}  // namespace likentor::artgen
