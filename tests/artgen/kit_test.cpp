// The artwork kit as the program will read it: every file in its place, with its size and PNG
// colour type; no two faces of a folder alike, and far enough apart; the free layers inside the
// areas of the layout grid (tools/artgen/README.md), every skull under the cap, every beard on
// every jaw; the generator's measures of variety, of faces and of teammates' heads; and the same
// bytes from every run of the generator.
#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "artgen/kit_files.h"
#include "portrait/composition.h"
#include "portrait/layer_drawing.h"
#include "portrait/png_image.h"

namespace likentor::test {
namespace {

namespace fs = std::filesystem;

constexpr int kRgb = 2;
constexpr int kRgba = 6;

std::string Zeros(int n, int width) {
  std::string s = std::to_string(n);
  return std::string(static_cast<std::size_t>(std::max(0, width - static_cast<int>(s.size()))),
                     '0') +
         s;
}

void ExpectPng(const fs::path& path, int width, int height, int colourType) {
  SCOPED_TRACE(path.string());
  ASSERT_TRUE(fs::exists(path));
  const PngFile png = ReadPngFile(path);
  EXPECT_EQ(png.width, width);
  EXPECT_EQ(png.height, height);
  EXPECT_EQ(png.colourType, colourType);
  EXPECT_EQ(png.bitDepth, 8);
}

struct Style {
  std::string location;
  int frequency;
};

std::vector<Style> FacialHairCsv() {
  std::ifstream in(fs::path(LIKENTOR_SOURCE_DIR) / "data" / "facialhair.csv");
  std::vector<Style> styles;
  for (std::string line; std::getline(in, line);) {
    const auto semicolon = line.find(';');
    if (semicolon == std::string::npos) {
      ADD_FAILURE() << "line without a semicolon: " << line;
      continue;
    }
    styles.push_back({line.substr(0, semicolon), std::stoi(line.substr(semicolon + 1))});
  }
  return styles;
}

struct Ethnicity {
  const char* folder;
  int count;
};
constexpr std::array<Ethnicity, 4> kFaces{
    {{"caucasian", 1746}, {"asian", 1539}, {"african", 1692}, {"east indian", 1179}}};

// Areas of the layout grid, in portrait-canvas coordinates [x0, x1) x [y0, y1).
struct Box {
  int x0, y0, x1, y1;
  bool Contains(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};
constexpr Box kCanvas{0, 0, 90, 135};
constexpr Box kFacialHairArea{19, 43, 71, 104};
constexpr Box kHeadArea{18, 8, 72, 100};
constexpr Box kLeftSide{0, 0, 30, 135};
constexpr Box kRightSide{60, 0, 90, 135};
// The cap covers the skull down to here; below it the face shows.
constexpr int kCapBottom = 42;

TEST(ArtworkKit, HoldsEveryFileWithItsSizeAndColourType) {
  const fs::path g = KitGraphics();
  for (int b = 1; b <= 69; ++b) {
    ExpectPng(g / "backgrounds" / (Zeros(b, 5) + ".png"), 90, 135, kRgb);
  }
  EXPECT_FALSE(fs::exists(g / "backgrounds" / "00070.png"));
  for (const Ethnicity& e : kFaces) {
    const fs::path dir = g / "faces" / e.folder;
    int files = 0;
    for (const auto& entry : fs::directory_iterator(dir)) files += entry.is_regular_file();
    EXPECT_EQ(files, e.count) << e.folder;
    EXPECT_TRUE(fs::exists(dir / (Zeros(e.count, 7) + ".png"))) << e.folder;
    EXPECT_FALSE(fs::exists(dir / (Zeros(e.count + 1, 7) + ".png"))) << e.folder;
    // Spot checks of the type; the face test below reads every face.
    const PngFile first = ReadPngFile(dir / "0000001.png");
    EXPECT_EQ(first.colourType, kRgba);
    EXPECT_LE(7 + first.width, 90);
    EXPECT_LE(4 + first.height, 135);
  }
  for (int d = 1; d <= 25; ++d) {
    for (const char* name : {"white.bmp", "bg.bmp", "text.bmp"}) {
      const fs::path path = g / "uniforms" / "generic" / Zeros(d, 2) / name;
      SCOPED_TRACE(path.string());
      const BmpFile bmp = ReadBmpFile(path);
      EXPECT_EQ(bmp.width, 90);
      EXPECT_EQ(bmp.height, 135);
      ASSERT_EQ(bmp.bitsPerPixel, 24);
      // Black (free) where the face shows: the middle of the face at the eye line.
      const std::size_t eye = (60u * 90u + 45u) * 3u;
      EXPECT_EQ(bmp.rgb[eye] + bmp.rgb[eye + 1] + bmp.rgb[eye + 2], 0);
    }
  }
  const char* custom[] = {"Orioles",   "Red Sox",      "Yankees", "Mets",    "Devil Rays",
                          "Blue Jays", "White Sox",    "Cubs",    "Indians", "Tigers",
                          "Royals",    "Twins",        "Angels",  "Dodgers", "Athletics",
                          "Mariners",  "Rangers",      "Braves",  "Marlins", "Phillies",
                          "Nationals", "Reds",         "Astros",  "Brewers", "Pirates",
                          "Cardinals", "Diamondbacks", "Rockies", "Padres",  "Giants"};
  for (const char* club : custom) {
    ExpectPng(g / "uniforms" / "custom" / "MLB" / (std::string(club) + "_home.png"), 90, 135,
              kRgba);
  }
  ExpectPng(g / "uniforms" / "default.png", 90, 135, kRgba);
  ExpectPng(g / "uniforms" / "bill underside.png", 90, 135, kRgba);
  ExpectPng(g / "uniforms" / "previewface.png", 90, 135, kRgb);
  ExpectPng(g / "facial hair" / "previewface.png", 90, 135, kRgb);
  for (const Style& s : FacialHairCsv()) {
    if (s.location == "none") continue;
    ExpectPng(g / "facial hair" / s.location / "brown.png", 90, 135, kRgba);
    ExpectPng(g / "facial hair" / s.location / "blonde.png", 90, 135, kRgba);
  }
  for (int a = 1; a <= 4; ++a) {
    ExpectPng(g / "accessories" / (Zeros(a, 5) + ".png"), 90, 135, kRgba);
  }
  for (int size : {16, 32, 48, 256}) {
    ExpectPng(g / "icon" / ("likentor-" + std::to_string(size) + ".png"), size, size, kRgba);
  }
  ExpectPng(g / "logo.png", 89, 89, kRgb);
  EXPECT_TRUE(fs::exists(g / "logo.jpg"));
  const PngFile dashboard = ReadPngFile(g / "dashboard.png");
  EXPECT_EQ(dashboard.colourType, kRgb);
  EXPECT_GE(dashboard.width, 640);
}

TEST(ArtworkKit, FacialHairFileListsNoneFirstThenAtLeastTwelveStyles) {
  const std::vector<Style> styles = FacialHairCsv();
  ASSERT_GE(styles.size(), 13u);
  EXPECT_EQ(styles[0].location, "none");
  std::set<std::string> seen;
  for (std::size_t i = 0; i < styles.size(); ++i) {
    EXPECT_LE(styles[i].location.size(), 25u) << styles[i].location;
    EXPECT_GT(styles[i].frequency, 0) << styles[i].location;
    if (i > 0) {
      EXPECT_LT(styles[i].frequency, styles[0].frequency) << styles[i].location;
    }
    EXPECT_TRUE(seen.insert(styles[i].location).second) << "twice: " << styles[i].location;
  }
}

TEST(ArtworkKit, FacesAreAllDifferentAndFitUnderTheCap) {
  const fs::path g = KitGraphics();
  // Where the default uniform's cap is solid, a skull may be; nowhere else above the brim.
  const PngFile cap = ReadPngFile(g / "uniforms" / "default.png");
  ASSERT_EQ(cap.channels, 4);
  for (const Ethnicity& e : kFaces) {
    // Keyed by the pixels as bytes and hashed: ordering vectors of bytes makes GCC 12 at -O3 warn
    // of a memcmp bound it cannot rule out (-Wstringop-overread), wrongly.
    std::unordered_set<std::string> distinct;
    int outside = 0;
    int transparentCorners = 0;
    for (int n = 1; n <= e.count; ++n) {
      PngFile face = ReadPngFile(g / "faces" / e.folder / (Zeros(n, 7) + ".png"));
      ASSERT_EQ(face.channels, 4) << n;
      transparentCorners += face.At(0, 0)[3] == 0 && face.At(face.width - 1, 0)[3] == 0;
      for (int y = 0; y + 4 < kCapBottom; ++y) {
        for (int x = 0; x < face.width; ++x) {
          if (face.At(x, y)[3] != 0 && cap.At(x + 7, y + 4)[3] != 255) ++outside;
        }
      }
      distinct.emplace(face.pixels.begin(), face.pixels.end());
    }
    EXPECT_EQ(static_cast<int>(distinct.size()), e.count) << e.folder;
    EXPECT_EQ(outside, 0) << e.folder << ": skull pixels outside the cap";
    EXPECT_EQ(transparentCorners, e.count) << e.folder;
  }
}

// A caucasian player may be blonde: each caucasian face has a blonde-haired picture, the same
// face (every pixel's alpha the same, so the same shapes) with lighter hair, near the blonde
// beard's colour where it meets the facial hair.
TEST(ArtworkKit, EveryCaucasianFaceHasItsBlondeHairedPicture) {
  const fs::path g = KitGraphics();
  const fs::path brownDir = g / "faces" / "caucasian";
  const fs::path blondeDir = g / "blonde faces" / "caucasian";
  int files = 0;
  for (const auto& entry : fs::directory_iterator(blondeDir)) files += entry.is_regular_file();
  EXPECT_EQ(files, kFaces[0].count);
  EXPECT_FALSE(fs::exists(g / "blonde faces" / "asian"));
  const auto luma = [](const std::uint8_t* p) { return 0.3 * p[0] + 0.59 * p[1] + 0.11 * p[2]; };
  int lighter = 0;
  for (int n = 1; n <= kFaces[0].count; ++n) {
    const std::string name = Zeros(n, 7) + ".png";
    const PngFile brown = ReadPngFile(brownDir / name);
    const PngFile blonde = ReadPngFile(blondeDir / name);
    ASSERT_EQ(blonde.width, brown.width) << n;
    ASSERT_EQ(blonde.height, brown.height) << n;
    ASSERT_EQ(blonde.colourType, kRgba) << n;
    int changed = 0;
    bool sameShape = true;
    for (int y = 0; y < brown.height; ++y) {
      for (int x = 0; x < brown.width; ++x) {
        sameShape = sameShape && brown.At(x, y)[3] == blonde.At(x, y)[3];
        changed += luma(blonde.At(x, y)) != luma(brown.At(x, y));
      }
    }
    EXPECT_TRUE(sameShape) << n;
    EXPECT_GT(changed, 0) << n;
    // The sideburn below the brim, canvas (x 24..28, y 50..53), face pixel (x - 7, y - 4).
    double brownSum = 0;
    double blondeSum = 0;
    for (int y = 46; y < 50; ++y) {
      for (int x = 17; x < 22; ++x) {
        brownSum += luma(brown.At(x, y));
        blondeSum += luma(blonde.At(x, y));
      }
    }
    lighter += blondeSum > brownSum;
  }
  // Shaved heads show little hair there; every other face's is lighter.
  EXPECT_GE(lighter, kFaces[0].count * 9 / 10);
}

// Eyes read at 90 x 135 when a line of white shows beside the iris. Counted per face: opaque,
// light, nearly grey pixels in the eye band (canvas y 56-63, x 31-41 and 49-59); a catch light
// alone gives one or two. Heavy lids with a smile or the asian fold once closed up to one face in
// six of a folder to such a slit.
TEST(ArtworkKit, EyesShowTheirWhites) {
  const fs::path g = KitGraphics();
  for (const Ethnicity& e : kFaces) {
    int slits = 0;
    for (int n = 1; n <= e.count; ++n) {
      const PngFile face = ReadPngFile(g / "faces" / e.folder / (Zeros(n, 7) + ".png"));
      ASSERT_EQ(face.channels, 4) << n;
      int white = 0;
      for (int y = 56; y < 64; ++y) {
        for (int x = 31; x < 60; ++x) {
          if (x > 41 && x < 49) continue;
          const std::uint8_t* p = face.At(x - 7, y - 4);
          const int luma = (30 * p[0] + 59 * p[1] + 11 * p[2]) / 100;
          const int spread = std::max({p[0], p[1], p[2]}) - std::min({p[0], p[1], p[2]});
          if (p[3] == 255 && luma >= 140 && spread < 40) ++white;
        }
      }
      if (white < 3) ++slits;
    }
    EXPECT_LE(slits * 50, e.count) << e.folder << ": " << slits << " faces with slits for eyes";
  }
}

// Every pixel a layer draws (alpha above 0), in canvas coordinates.
template <typename Check>
int CountDrawn(const PngFile& layer, int dx, int dy, Check inside) {
  int drawn = 0;
  for (int y = 0; y < layer.height; ++y) {
    for (int x = 0; x < layer.width; ++x) {
      if (layer.At(x, y)[3] == 0) continue;
      ++drawn;
      EXPECT_TRUE(inside(x + dx, y + dy)) << "pixel at canvas " << x + dx << "," << y + dy;
      if (!inside(x + dx, y + dy)) return drawn;  // one report per layer is enough
    }
  }
  return drawn;
}

TEST(ArtworkKit, FacialHairAndAccessoriesStayInTheirAreas) {
  const fs::path g = KitGraphics();
  for (const Style& s : FacialHairCsv()) {
    if (s.location == "none") continue;
    for (const char* colour : {"brown.png", "blonde.png"}) {
      SCOPED_TRACE(s.location + "/" + colour);
      const PngFile hair = ReadPngFile(g / "facial hair" / s.location / colour);
      const int drawn =
          CountDrawn(hair, -1, 2, [](int x, int y) { return kFacialHairArea.Contains(x, y); });
      EXPECT_GT(drawn, 20);
    }
  }
  // 1 and 2: right- and left-handed batters; 3 and 4: right- and left-handed pitchers. A right
  // hander's bat rests on his right shoulder, at the viewer's left; his glove is on his left
  // hand, at the viewer's right.
  const Box sides[] = {kLeftSide, kRightSide, kRightSide, kLeftSide};
  for (int a = 1; a <= 4; ++a) {
    SCOPED_TRACE("accessory " + std::to_string(a));
    const PngFile accessory = ReadPngFile(g / "accessories" / (Zeros(a, 5) + ".png"));
    const Box side = sides[a - 1];
    const int drawn = CountDrawn(accessory, 0, 0, [side](int x, int y) {
      return kCanvas.Contains(x, y) && side.Contains(x, y) && !kHeadArea.Contains(x, y);
    });
    EXPECT_GT(drawn, 100);
  }
}

// Hair below the cap stays beside the head: above the brim's tips (y 45) nothing is wider than
// the crown. And every facial-hair style sits on every jaw: from the ears' top to just above the
// mouth line (below it the grid lets a beard hang a pixel or two past a short chin; above the
// ears, sideburns may stand a pixel out from the hair under the band), where the style is
// solid, every face of every folder is solid too (its skin, its ears or its hair) within two
// pixels, so no beard hangs in the air beside a narrow head.
TEST(ArtworkKit, HairStaysBesideTheHeadAndEveryBeardSitsOnEveryJaw) {
  const fs::path g = KitGraphics();
  constexpr int kBrimTips = 45;  // canvas rows above this are under the crown or the brim
  constexpr int kBeardTop = 56, kBeardBottom = 80;
  std::vector<std::uint8_t> solidEverywhere(90 * 135, 1);
  for (const Ethnicity& e : kFaces) {
    int wide = 0;
    for (int n = 1; n <= e.count; ++n) {
      const PngFile face = ReadPngFile(g / "faces" / e.folder / (Zeros(n, 7) + ".png"));
      for (int y = 0; y < face.height; ++y) {
        for (int x = 0; x < face.width; ++x) {
          const int cx = x + 7, cy = y + 4;
          const std::uint8_t alpha = face.At(x, y)[3];
          if (cy < kBrimTips && alpha != 0 && std::abs(cx - 45) > 25) ++wide;
          if (alpha < 250) solidEverywhere[static_cast<std::size_t>(cy * 90 + cx)] = 0;
        }
      }
    }
    EXPECT_EQ(wide, 0) << e.folder << ": hair wider than the crown above the brim";
  }
  // A soft edge may hang a pixel or two past the narrowest outline, as the grid allows.
  std::vector<std::uint8_t> nearSolid(solidEverywhere.size(), 0);
  for (int y = 0; y < 135; ++y) {
    for (int x = 0; x < 90; ++x) {
      for (int dx = -2; dx <= 2; ++dx) {
        const int nx = std::clamp(x + dx, 0, 89);
        nearSolid[static_cast<std::size_t>(y * 90 + x)] |=
            solidEverywhere[static_cast<std::size_t>(y * 90 + nx)];
      }
    }
  }
  for (const Style& s : FacialHairCsv()) {
    if (s.location == "none") continue;
    const PngFile hair = ReadPngFile(g / "facial hair" / s.location / "brown.png");
    int inAir = 0;
    for (int y = 0; y < hair.height; ++y) {
      for (int x = 0; x < hair.width; ++x) {
        const int cx = x - 1, cy = y + 2;
        if (cy < kBeardTop || cy >= kBeardBottom || cx < 0 || cx >= 90) continue;
        if (hair.At(x, y)[3] >= 128 && !nearSolid[static_cast<std::size_t>(cy * 90 + cx)]) {
          ++inAir;
        }
      }
    }
    EXPECT_EQ(inAir, 0) << s.location << " reaches past the narrowest face";
  }
}

// The age layers fit every face: where a step's face layer draws, every face of every folder is
// drawn (so no line or grey strand hangs beside a narrow head), and a style's grey lies only on
// the style.
TEST(ArtworkKit, AgeLayersFitEveryFaceAndEveryStyle) {
  const fs::path g = KitGraphics();
  std::vector<std::uint8_t> solidEverywhere(90 * 135, 1);
  for (const Ethnicity& e : kFaces) {
    for (int n = 1; n <= e.count; ++n) {
      const PngFile face = ReadPngFile(g / "faces" / e.folder / (Zeros(n, 7) + ".png"));
      for (int y = 0; y < face.height; ++y) {
        for (int x = 0; x < face.width; ++x) {
          if (face.At(x, y)[3] < 250)
            solidEverywhere[static_cast<std::size_t>((y + 4) * 90 + x + 7)] = 0;
        }
      }
    }
  }
  for (int step = 1; step <= 3; ++step) {
    const fs::path file = g / "aging" / ("face " + std::to_string(step) + ".png");
    ExpectPng(file, 90, 135, kRgba);
    const PngFile age = ReadPngFile(file);
    int drawn = 0, inAir = 0;
    for (int y = 0; y < 135; ++y) {
      for (int x = 0; x < 90; ++x) {
        if (age.At(x, y)[3] == 0) continue;
        ++drawn;
        if (!solidEverywhere[static_cast<std::size_t>(y * 90 + x)]) ++inAir;
      }
    }
    EXPECT_GT(drawn, 40) << step;
    EXPECT_EQ(inAir, 0) << "step " << step << " draws beside the narrowest face";
    for (const Style& s : FacialHairCsv()) {
      if (s.location == "none") continue;
      const fs::path greyFile =
          g / "facial hair" / s.location / ("grey " + std::to_string(step) + ".png");
      ExpectPng(greyFile, 90, 135, kRgba);
      const PngFile grey = ReadPngFile(greyFile);
      const PngFile brown = ReadPngFile(g / "facial hair" / s.location / "brown.png");
      int greyDrawn = 0, offStyle = 0;
      for (int y = 0; y < 135; ++y) {
        for (int x = 0; x < 90; ++x) {
          if (grey.At(x, y)[3] == 0) continue;
          ++greyDrawn;
          if (brown.At(x, y)[3] == 0) ++offStyle;
        }
      }
      EXPECT_GT(greyDrawn, 0) << s.location << " " << step;
      EXPECT_EQ(offStyle, 0) << s.location << " " << step;
    }
  }
}

// The generator's own measure of variety: per folder, each face's distance to its nearest other
// face (mean absolute difference of the RGBA bytes over the head area). The 1st percentile and
// the median must stay at least 1.5 times those of the kit with six head shapes and five of each
// feature (african 1.557 / 2.528, asian 2.715 / 3.686, caucasian 2.783 / 3.913, east indian
// 2.100 / 3.169); choosing each face as the farthest of twenty-four candidates reaches 1.55 to 1.9.
TEST(ArtworkKit, FacesAreFarApartByTheGeneratorsMeasure) {
  const fs::path program = KitGraphics().parent_path();
  const std::string command = std::string("\"") + LIKENTOR_TOOLS_DIR +
                              "/likentor-artgen\" --variety \"" + program.string() + "\"";
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  ASSERT_EQ(::pclose(pipe), 0) << output;
  const std::map<std::string, std::pair<double, double>> floors{
      {"african", {1.557 * 1.5, 2.528 * 1.5}},
      {"asian", {2.715 * 1.5, 3.686 * 1.5}},
      {"caucasian", {2.783 * 1.5, 3.913 * 1.5}},
      {"east indian", {2.100 * 1.5, 3.169 * 1.5}},
  };
  for (const auto& [folder, floor] : floors) {
    SCOPED_TRACE(folder);
    const auto at = output.find(folder + " ");
    ASSERT_NE(at, std::string::npos) << output;
    const auto p1 = output.find("percentile ", at);
    const auto median = output.find("median ", at);
    ASSERT_NE(p1, std::string::npos);
    ASSERT_NE(median, std::string::npos);
    EXPECT_GE(std::stod(output.substr(p1 + 11)), floor.first) << output;
    EXPECT_GE(std::stod(output.substr(median + 7)), floor.second) << output;
  }
}

// Runs likentor-artgen with these arguments and returns what it printed; fails the test on a
// non-zero exit.
std::string RunArtgen(const std::string& arguments) {
  const std::string command =
      std::string("\"") + LIKENTOR_TOOLS_DIR + "/likentor-artgen\" " + arguments;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) {
    ADD_FAILURE() << "cannot run " << command;
    return {};
  }
  std::string output;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  EXPECT_EQ(::pclose(pipe), 0) << output;
  return output;
}

// The number that follows `label` in `output` (-1 when the label is missing).
int CountAfter(const std::string& output, const std::string& label) {
  const auto at = output.find(label);
  if (at == std::string::npos) return -1;
  return std::stoi(output.substr(at + label.size()));
}

// The team measure: teammates whose faces lie closer than the reference kit's 1st percentile of
// nearest distances. A reference of five real faces per folder (its 1st percentile is its closest
// pair's distance, so none of its own pairs lies below it) and a kit in which face 5 is a copy of
// face 1: team 1 wears faces 1 and 5, team 2 two different faces, team 3 one face twice.
// A program folder holding the first five faces of each folder of the kit under test.
void CopyFirstFaces(const fs::path& program) {
  for (const Ethnicity& e : kFaces) {
    fs::create_directories(program / "graphics" / "faces" / e.folder);
    for (int n = 1; n <= 5; ++n) {
      const std::string name = Zeros(n, 7) + ".png";
      fs::copy_file(KitGraphics() / "faces" / e.folder / name,
                    program / "graphics" / "faces" / e.folder / name);
    }
  }
}

TEST(ArtworkKit, TeamMeasureFindsTeammatesWhoLookAlike) {
  const fs::path temp =
      fs::temp_directory_path() / ("likentor_artgen_teams_" + std::to_string(::getpid()));
  fs::remove_all(temp);
  const fs::path reference = temp / "reference";
  const fs::path twins = temp / "twins";
  CopyFirstFaces(reference);
  CopyFirstFaces(twins);
  fs::copy_file(KitGraphics() / "faces" / "caucasian" / "0000001.png",
                twins / "graphics" / "faces" / "caucasian" / "0000005.png",
                fs::copy_options::overwrite_existing);
  const fs::path rosters = temp / "rosters.txt";
  std::ofstream(rosters) << "1 1 1\n1 1 5\n2 1 2\n2 1 3\n3 1 4\n3,1,4\n";

  const std::string plain =
      RunArtgen("--team-variety \"" + rosters.string() + "\" \"" + reference.string() + "\"");
  EXPECT_EQ(CountAfter(plain, "on one face:"), 1) << plain;
  EXPECT_EQ(CountAfter(plain, "faces of a folder:"), 0) << plain;
  EXPECT_EQ(CountAfter(plain, "any of these:"), 1) << plain;

  const std::string withTwins = RunArtgen("--team-variety \"" + rosters.string() + "\" \"" +
                                          twins.string() + "\" \"" + reference.string() + "\"");
  EXPECT_EQ(CountAfter(withTwins, "on one face:"), 1) << withTwins;
  EXPECT_EQ(CountAfter(withTwins, "faces of a folder:"), 1) << withTwins;
  EXPECT_EQ(CountAfter(withTwins, "across folders:"), 0) << withTwins;
  EXPECT_EQ(CountAfter(withTwins, "any of these:"), 2) << withTwins;
  EXPECT_NE(withTwins.find("team 1: caucasian 1 and caucasian 5, distance 0.000"),
            std::string::npos)
      << withTwins;
  fs::remove_all(temp);
}

// The team measure of heads as the portrait shows them: the face picture the program takes for a
// player (the blonde-haired one for a blonde player when the kit has it) with his facial-hair
// style in his colour laid over it. The reference holds five faces per folder, its caucasian face
// 5 being face 1 with a brown moustache laid over it by the portrait's own drawing, so that the
// caucasian threshold is a moustache's distance. The kits under test hold five faces per folder
// and the full beard; in the first, face 2 stands as the blonde picture of face 1; in the second,
// face 5 is face 3 with the brown full beard, laid over it by the portrait's drawing.
TEST(ArtworkKit, TeamMeasureComparesHeadsAsThePortraitShowsThem) {
  const fs::path temp =
      fs::temp_directory_path() / ("likentor_artgen_heads_" + std::to_string(::getpid()));
  fs::remove_all(temp);
  const fs::path reference = temp / "reference";
  const fs::path blonde = temp / "blonde";
  const fs::path composed = temp / "composed";
  const fs::path hair = KitGraphics() / "facial hair";
  // Face n of the kit's caucasian folder with a facial-hair layer where the portrait draws it.
  const auto withLayer = [&](int n, const fs::path& layer) {
    PngImage face = PngImage::Load(KitGraphics() / "faces" / "caucasian" / (Zeros(n, 7) + ".png"));
    DrawLayer(face, PngImage::Load(layer), kFacialHairX - kFaceX, kFacialHairY - kFaceY);
    return face;
  };
  const auto caucasian = [](const fs::path& program, int n) {
    return program / "graphics" / "faces" / "caucasian" / (Zeros(n, 7) + ".png");
  };
  CopyFirstFaces(reference);
  withLayer(1, hair / "moustache" / "brown.png").Save(caucasian(reference, 5));
  for (const fs::path& kit : {blonde, composed}) {
    CopyFirstFaces(kit);
    const fs::path beard = kit / "graphics" / "facial hair" / "full beard";
    fs::create_directories(beard);
    for (const char* colour : {"brown.png", "blonde.png"}) {
      fs::copy_file(hair / "full beard" / colour, beard / colour);
    }
  }
  fs::create_directories(blonde / "graphics" / "blonde faces" / "caucasian");
  fs::copy_file(caucasian(KitGraphics().parent_path(), 2),
                blonde / "graphics" / "blonde faces" / "caucasian" / "0000001.png");
  withLayer(3, hair / "full beard" / "brown.png").Save(caucasian(composed, 5));

  // facial_hair_id numbers the lines of facialhair.csv from 1, "none" first.
  const std::vector<Style> styles = FacialHairCsv();
  const auto at = std::find_if(styles.begin(), styles.end(),
                               [](const Style& s) { return s.location == "full beard"; });
  ASSERT_NE(at, styles.end());
  const std::string beard = std::to_string(at - styles.begin() + 1);

  // Team 1: one face, brown and blonde. Team 2: one face, with and without the beard. Team 3: one
  // face, both blonde with the beard. Team 4: one face, brown without facial hair (a line of three
  // fields says so) and brown with "none". Team 5: one face, blonde and brown, where the kit has
  // no blonde picture of it. Team 6: that face again, both with the beard, one blonde (his beard
  // blonde) and one brown. Every team wears one face twice; teams 3 to 5 show one head twice.
  const fs::path rosters = temp / "rosters.txt";
  std::ofstream(rosters) << "1 1 1 1 1\n1 1 1 2 1\n"
                         << "2 1 3 1 " << beard << "\n2 1 3 1 1\n"
                         << "3 1 4 2 " << beard << "\n3,1,4,2," << beard << "\n"
                         << "4 1 2\n4 1 2 1 1\n"
                         << "5 1 3 2 0\n5 1 3 1 0\n"
                         << "6 1 3 2 " << beard << "\n6 1 3 1 " << beard << "\n";
  const std::string heads = RunArtgen("--team-variety \"" + rosters.string() + "\" \"" +
                                      blonde.string() + "\" \"" + reference.string() + "\"");
  EXPECT_EQ(CountAfter(heads, "on one face:"), 6) << heads;
  EXPECT_EQ(CountAfter(heads, "two identical heads:"), 3) << heads;
  EXPECT_EQ(CountAfter(heads, "two look-alike heads:"), 3) << heads;
  EXPECT_NE(heads.find("sharing a face: 6, of which 3 look alike as heads"), std::string::npos)
      << heads;

  // Face 3 with the beard looks like face 5 without: the measure lays the layer where the
  // portrait does. Without facial hair the two faces lie far apart.
  const fs::path rostersComposed = temp / "composed.txt";
  std::ofstream(rostersComposed) << "1 1 3 1 " << beard << "\n1 1 5 1 1\n2 1 3 1 1\n2 1 5 1 1\n";
  const std::string laid = RunArtgen("--team-variety \"" + rostersComposed.string() + "\" \"" +
                                     composed.string() + "\" \"" + reference.string() + "\"");
  EXPECT_EQ(CountAfter(laid, "faces of a folder:"), 0) << laid;
  EXPECT_EQ(CountAfter(laid, "two look-alike heads:"), 1) << laid;
  EXPECT_NE(laid.find("look-alike pairs of heads: 1;"), std::string::npos) << laid;
  fs::remove_all(temp);
}

std::vector<char> Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A second run of the generator, into a folder of its own, writes the same files with the same
// bytes as the kit under test.
TEST(ArtworkKit, IsTheSameOnEveryRun) {
  const fs::path temp =
      fs::temp_directory_path() / ("likentor_artgen_again_" + std::to_string(::getpid()));
  fs::remove_all(temp);
  fs::create_directories(temp);
  const std::string command = std::string("\"") + LIKENTOR_TOOLS_DIR + "/likentor-artgen\" \"" +
                              temp.string() + "\" > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const fs::path first = KitGraphics();
  const fs::path second = temp / "graphics";
  int compared = 0;
  for (const auto& entry : fs::recursive_directory_iterator(second)) {
    if (!entry.is_regular_file()) continue;
    const fs::path relative = fs::relative(entry.path(), second);
    EXPECT_TRUE(Bytes(first / relative) == Bytes(entry.path())) << relative;
    ++compared;
  }
  EXPECT_GT(compared, 6000);
  fs::remove_all(temp);
}

}  // namespace
}  // namespace likentor::test
