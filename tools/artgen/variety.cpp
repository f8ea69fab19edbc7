// Nearest-face distances of a kit. A folder of n faces needs n(n-1)/2 comparisons of some 20 000
// bytes each; the head area is cut out once into a packed buffer so that the inner loop is a
// plain run over bytes that the compiler vectorises.
#include "variety.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <limits>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <unordered_map>
#include <unordered_set>

#include "facial_hair.h"
#include "kit.h"
#include "layout.h"

namespace likentor::artgen {
namespace {

namespace fs = std::filesystem;
using namespace layout;

// The head area in face-file coordinates.
constexpr int kX0 = kHeadArea.x0 - kFaceX;
constexpr int kX1 = kHeadArea.x1 - kFaceX;
constexpr int kY0 = kHeadArea.y0 - kFaceY;
constexpr int kY1 = kHeadArea.y1 - kFaceY;
constexpr std::size_t kBytes = static_cast<std::size_t>((kX1 - kX0) * (kY1 - kY0) * 4);

// Ethnicity numbers 1-4 name these folders.
constexpr std::array<const char*, 4> kFolders{"caucasian", "asian", "african", "east indian"};

std::vector<std::uint8_t> HeadBytes(const Image& face) {
  std::vector<std::uint8_t> out;
  out.reserve(kBytes);
  for (int y = kY0; y < kY1; ++y) {
    const std::uint8_t* row = face.At(kX0, y);
    out.insert(out.end(), row, row + (kX1 - kX0) * 4);
  }
  return out;
}

std::uint32_t SumAbs(const std::uint8_t* a, const std::uint8_t* b) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < kBytes; ++i) {
    sum += static_cast<std::uint32_t>(a[i] > b[i] ? a[i] - b[i] : b[i] - a[i]);
  }
  return sum;
}

double Percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const double at = p * static_cast<double>(values.size() - 1);
  const auto lo = static_cast<std::size_t>(at);
  const std::size_t hi = std::min(lo + 1, values.size() - 1);
  return values[lo] + (values[hi] - values[lo]) * (at - static_cast<double>(lo));
}

// The head areas of a folder's faces, packed one after another in file-name order.
std::vector<std::uint8_t> FolderHeads(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == ".png") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  std::vector<std::uint8_t> heads(files.size() * kBytes);
  for (std::size_t i = 0; i < files.size(); ++i) {
    const Image face = ReadPng(files[i]);
    if (face.channels != 4 || face.width != kFaceWidth || face.height != kFaceHeight) {
      throw std::runtime_error(files[i].string() + " is not an 83 x 131 RGBA face");
    }
    const std::vector<std::uint8_t> h = HeadBytes(face);
    std::copy(h.begin(), h.end(), heads.begin() + static_cast<std::ptrdiff_t>(i * kBytes));
  }
  return heads;
}

// The heads of a kit as a portrait shows them, cut to the head area in face-file coordinates: the
// face files, the blonde-haired pictures of the faces that have one, and every facial-hair layer
// moved from where the program draws it (kHairX, kHairY) to where it lies over the face file.
class HeadKit {
 public:
  explicit HeadKit(const fs::path& programFolder) {
    const fs::path graphics = programFolder / "graphics";
    for (std::size_t e = 0; e < kFolders.size(); ++e) {
      faces_[e] = FolderHeads(graphics / "faces" / kFolders[e]);
      const std::size_t count = faces_[e].size() / kBytes;
      const fs::path blondeFolder = graphics / "blonde faces" / kFolders[e];
      if (!fs::is_directory(blondeFolder)) continue;
      blonde_[e].resize(count * kBytes);
      hasBlonde_[e].assign(count, false);
      for (std::size_t n = 1; n <= count; ++n) {
        const fs::path file = blondeFolder / (Digits(static_cast<int>(n), 7) + ".png");
        if (!fs::exists(file)) continue;
        const Image face = ReadPng(file);
        if (face.channels != 4 || face.width != kFaceWidth || face.height != kFaceHeight) {
          throw std::runtime_error(file.string() + " is not an 83 x 131 RGBA face");
        }
        const std::vector<std::uint8_t> h = HeadBytes(face);
        std::copy(h.begin(), h.end(),
                  blonde_[e].begin() + static_cast<std::ptrdiff_t>((n - 1) * kBytes));
        hasBlonde_[e][n - 1] = true;
      }
    }
    for (std::size_t i = 0; i < kFacialHairStyles.size(); ++i) {
      for (const bool blonde : {false, true}) {
        const fs::path file = graphics / "facial hair" /
                              std::string(kFacialHairStyles[i].location) /
                              (blonde ? "blonde.png" : "brown.png");
        if (fs::exists(file)) layers_[i][blonde ? 1 : 0] = LayerBytes(ReadPng(file));
      }
    }
  }

  // Which head a player shows: the folder, the face, whether the blonde picture is taken, and the
  // facial-hair layer (0 none, else 1 + 2 * style + blonde). Players with one key show one head.
  std::uint64_t Key(const RosterPlace& p) const {
    const auto e = static_cast<std::size_t>(p.ethnicity - 1);
    const std::size_t count = faces_[e].size() / kBytes;
    if (p.face < 1 || static_cast<std::size_t>(p.face) > count) {
      throw std::runtime_error("there is no face " + std::to_string(p.face) + " in " + kFolders[e]);
    }
    // As the program: hair colour 2 is blonde, any other brown; facial_hair_id 2 and up name the
    // styles after "none", and a style whose picture is missing is left out of the portrait.
    const bool blonde = p.hairColor == 2;
    const bool blondePicture =
        blonde && !hasBlonde_[e].empty() && hasBlonde_[e][static_cast<std::size_t>(p.face - 1)];
    std::uint64_t layer = 0;
    const int style = p.facialHair - 2;
    if (style >= 0 && static_cast<std::size_t>(style) < kFacialHairStyles.size() &&
        !layers_[static_cast<std::size_t>(style)][blonde ? 1 : 0].empty()) {
      layer = 1 + 2 * static_cast<std::uint64_t>(style) + (blonde ? 1 : 0);
    }
    return static_cast<std::uint64_t>(e) << 48 | static_cast<std::uint64_t>(p.face) << 16 |
           (blondePicture ? 1u : 0u) << 8 | layer;
  }

  // The head of a key: its face picture with its facial-hair layer over it, composed as the
  // portrait draws a layer (source over; over an opaque pixel with the program's own rounding).
  void Compose(std::uint64_t key, std::uint8_t* out) const {
    const auto e = static_cast<std::size_t>(key >> 48);
    const auto face = static_cast<std::size_t>((key >> 16) & 0xFFFFFFFFu);
    const bool blondePicture = ((key >> 8) & 1u) != 0;
    const auto layer = static_cast<std::size_t>(key & 0xFFu);
    const std::uint8_t* picture = &(blondePicture ? blonde_ : faces_)[e][(face - 1) * kBytes];
    std::copy(picture, picture + kBytes, out);
    if (layer == 0) return;
    const std::uint8_t* hair = layers_[(layer - 1) / 2][(layer - 1) % 2].data();
    for (std::size_t i = 0; i < kBytes; i += 4) {
      const unsigned a = hair[i + 3];
      if (a == 0) continue;
      std::uint8_t* d = out + i;
      const std::uint8_t* s = hair + i;
      if (a == 255) {
        std::copy(s, s + 4, d);
      } else if (d[3] == 255) {
        BlendOver(d, s, a);
      } else {
        // Over a translucent edge of the face: straight-alpha source over.
        const unsigned below = d[3] * (255 - a);  // the face's share, times 255
        const unsigned total = a * 255 + below;   // the result's alpha, times 255
        for (int c = 0; c < 3; ++c) {
          d[c] = static_cast<std::uint8_t>((s[c] * a * 255 + d[c] * below + total / 2) / total);
        }
        d[3] = static_cast<std::uint8_t>((total + 127) / 255);
      }
    }
  }

 private:
  // A facial-hair layer's pixels over the head area of the face file (transparent outside it).
  static std::vector<std::uint8_t> LayerBytes(const Image& layer) {
    std::vector<std::uint8_t> out(kBytes, 0);
    std::size_t i = 0;
    for (int y = kY0; y < kY1; ++y) {
      for (int x = kX0; x < kX1; ++x, i += 4) {
        const int lx = x + kFaceX - kHairX;
        const int ly = y + kFaceY - kHairY;
        if (lx < 0 || ly < 0 || lx >= layer.width || ly >= layer.height) continue;
        const std::uint8_t* p = layer.At(lx, ly);
        std::copy(p, p + 3, &out[i]);
        out[i + 3] = layer.channels == 4 ? p[3] : 255;
      }
    }
    return out;
  }

  std::array<std::vector<std::uint8_t>, 4> faces_, blonde_;
  std::array<std::vector<bool>, 4> hasBlonde_;
  std::array<std::array<std::vector<std::uint8_t>, 2>, kFacialHairStyles.size()> layers_;
};

// Heads by key, composed when first asked for. Every head keeps the sums of its bytes per channel
// over blocks of the head area; the distance of two heads is never below the summed differences
// of these sums over kBytes (the triangle inequality), so most pairs are settled by comparing 432
// numbers, and a head is composed in full only for pairs that this leaves open.
class HeadCache {
 public:
  explicit HeadCache(const HeadKit& kit) : kit_(kit) {}

  // Whether two heads look alike: identical, or closer than `limit`. Their distance in `distance`
  // when they do.
  bool Alike(std::uint64_t a, std::uint64_t b, double limit, double& distance) {
    distance = 0;
    if (a == b) return true;
    Entry& ea = Get(a);
    Entry& eb = Get(b);
    std::uint32_t bound = 0;
    for (std::size_t i = 0; i < kSignature; ++i) {
      bound += static_cast<std::uint32_t>(std::abs(int{ea.sums[i]} - int{eb.sums[i]}));
    }
    if (bound != 0 && static_cast<double>(bound) / static_cast<double>(kBytes) >= limit) {
      return false;
    }
    const std::uint32_t sum = SumAbs(Head(a, ea).data(), Head(b, eb).data());
    distance = static_cast<double>(sum) / static_cast<double>(kBytes);
    return sum == 0 || distance < limit;
  }

 private:
  static constexpr int kBlockWidth = 6;
  static constexpr int kBlockHeight = 8;
  static constexpr int kBlocksX = (kX1 - kX0 + kBlockWidth - 1) / kBlockWidth;
  static constexpr int kBlocksY = (kY1 - kY0 + kBlockHeight - 1) / kBlockHeight;
  static constexpr std::size_t kSignature = static_cast<std::size_t>(kBlocksX * kBlocksY * 4);

  struct Entry {
    std::array<std::uint16_t, kSignature> sums{};  // at most 6 * 8 * 255
    std::vector<std::uint8_t> head;                // kept once a pair needed it
  };

  Entry& Get(std::uint64_t key) {
    const auto found = entries_.find(key);
    if (found != entries_.end()) return found->second;
    Entry& entry = entries_[key];
    scratch_.resize(kBytes);
    kit_.Compose(key, scratch_.data());
    std::size_t i = 0;
    for (int y = 0; y < kY1 - kY0; ++y) {
      for (int x = 0; x < kX1 - kX0; ++x) {
        const auto block =
            static_cast<std::size_t>((y / kBlockHeight) * kBlocksX + x / kBlockWidth);
        for (std::size_t c = 0; c < 4; ++c) {
          entry.sums[block * 4 + c] =
              static_cast<std::uint16_t>(entry.sums[block * 4 + c] + scratch_[i++]);
        }
      }
    }
    return entry;
  }

  const std::vector<std::uint8_t>& Head(std::uint64_t key, Entry& entry) {
    if (entry.head.empty()) {
      entry.head.resize(kBytes);
      kit_.Compose(key, entry.head.data());
    }
    return entry.head;
  }

  const HeadKit& kit_;
  std::unordered_map<std::uint64_t, Entry> entries_;
  std::vector<std::uint8_t> scratch_;
};

}  // namespace

double FaceDistance(const Image& a, const Image& b) {
  const std::vector<std::uint8_t> ha = HeadBytes(a);
  const std::vector<std::uint8_t> hb = HeadBytes(b);
  return static_cast<double>(SumAbs(ha.data(), hb.data())) / static_cast<double>(kBytes);
}

std::vector<FolderVariety> MeasureVariety(const fs::path& programFolder, unsigned threads) {
  std::vector<FolderVariety> result;
  std::vector<fs::path> folders;
  for (const auto& entry : fs::directory_iterator(programFolder / "graphics" / "faces")) {
    if (entry.is_directory()) folders.push_back(entry.path());
  }
  std::sort(folders.begin(), folders.end());
  for (const fs::path& folder : folders) {
    const std::vector<std::uint8_t> heads = FolderHeads(folder);
    const std::size_t n = heads.size() / kBytes;
    // Each worker takes rows i and compares with every j > i; the minimum of a pair goes to both.
    // Each slot holds the distance in the high half and the other face's index in the low half.
    std::vector<std::atomic<std::uint64_t>> best(n);
    for (auto& b : best) b = std::numeric_limits<std::uint64_t>::max();
    auto lower = [](std::atomic<std::uint64_t>& slot, std::uint64_t v) {
      std::uint64_t cur = slot.load();
      while (v < cur && !slot.compare_exchange_weak(cur, v)) {
      }
    };
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < std::max(1u, threads); ++t) {
      workers.emplace_back([&] {
        for (std::size_t i = next++; i < n; i = next++) {
          std::uint64_t mine = std::numeric_limits<std::uint64_t>::max();
          for (std::size_t j = i + 1; j < n; ++j) {
            const std::uint64_t d = SumAbs(&heads[i * kBytes], &heads[j * kBytes]);
            mine = std::min(mine, d << 32 | j);
            lower(best[j], d << 32 | i);
          }
          lower(best[i], mine);
        }
      });
    }
    for (std::thread& w : workers) w.join();
    FolderVariety v;
    v.folder = folder.filename().string();
    std::uint64_t closest = std::numeric_limits<std::uint64_t>::max();
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint64_t b = best[i].load();
      v.nearest.push_back(static_cast<double>(b >> 32) / static_cast<double>(kBytes));
      if (b < closest) {
        closest = b;
        v.closestA = static_cast<int>(i) + 1;
        v.closestB = static_cast<int>(b & 0xFFFFFFFFu) + 1;
      }
    }
    v.p1 = Percentile(v.nearest, 0.01);
    v.median = Percentile(v.nearest, 0.5);
    result.push_back(std::move(v));
  }
  return result;
}

std::vector<RosterPlace> ReadRosters(const fs::path& file) {
  std::ifstream in(file);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  std::vector<RosterPlace> places;
  int lineNumber = 0;
  for (std::string line; std::getline(in, line);) {
    ++lineNumber;
    std::replace(line.begin(), line.end(), ',', ' ');
    std::replace(line.begin(), line.end(), '|', ' ');
    if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
    std::istringstream fields(line);
    std::vector<int> numbers;
    bool numeric = true;
    for (std::string field; numeric && fields >> field;) {
      std::size_t used = 0;
      try {
        numbers.push_back(std::stoi(field, &used));
      } catch (const std::exception&) {
      }
      numeric = used > 0 && used == field.size();
    }
    if (!numeric || (numbers.size() != 3 && numbers.size() != 5) || numbers[1] < 1 ||
        numbers[1] > 4) {
      throw std::runtime_error(file.string() + ":" + std::to_string(lineNumber) +
                               ": expected TEAM ETHNICITY(1-4) FACE [HAIRCOLOR FACIALHAIR]");
    }
    RosterPlace p{numbers[0], numbers[1], numbers[2]};
    if (numbers.size() == 5) {
      p.hairColor = numbers[3];
      p.facialHair = numbers[4];
    }
    places.push_back(p);
  }
  return places;
}

TeamVariety MeasureTeams(const fs::path& programFolder, const std::vector<RosterPlace>& places,
                         const std::array<double, 4>& thresholds) {
  std::array<std::vector<std::uint8_t>, 4> heads;
  for (std::size_t e = 0; e < kFolders.size(); ++e) {
    heads[e] = FolderHeads(programFolder / "graphics" / "faces" / kFolders[e]);
  }
  const auto head = [&](const RosterPlace& p) -> const std::uint8_t* {
    const auto& folder = heads[static_cast<std::size_t>(p.ethnicity - 1)];
    const std::size_t count = folder.size() / kBytes;
    if (p.face < 1 || static_cast<std::size_t>(p.face) > count) {
      throw std::runtime_error("there is no face " + std::to_string(p.face) + " in " +
                               kFolders[static_cast<std::size_t>(p.ethnicity - 1)]);
    }
    return &folder[static_cast<std::size_t>(p.face - 1) * kBytes];
  };

  std::map<int, std::vector<RosterPlace>> teams;
  for (const RosterPlace& p : places) teams[p.team].push_back(p);
  TeamVariety result;
  result.teams = static_cast<int>(teams.size());
  for (const auto& [team, members] : teams) {
    bool same = false, alike = false, across = false;
    for (std::size_t i = 0; i < members.size(); ++i) {
      for (std::size_t j = i + 1; j < members.size(); ++j) {
        const RosterPlace& a = members[i];
        const RosterPlace& b = members[j];
        if (a.ethnicity == b.ethnicity && a.face == b.face) {
          same = true;
          continue;
        }
        const double limit = std::min(thresholds[static_cast<std::size_t>(a.ethnicity - 1)],
                                      thresholds[static_cast<std::size_t>(b.ethnicity - 1)]);
        const double d =
            static_cast<double>(SumAbs(head(a), head(b))) / static_cast<double>(kBytes);
        if (d >= limit) continue;
        if (a.ethnicity == b.ethnicity) {
          alike = true;
        } else {
          across = true;
        }
        result.pairs.push_back({team, a, b, d});
      }
    }
    result.sameFace += same ? 1 : 0;
    result.lookAlike += alike ? 1 : 0;
    result.lookAlikeAcross += across ? 1 : 0;
    result.any += (same || alike || across) ? 1 : 0;
  }
  return result;
}

HeadVariety MeasureHeads(const fs::path& programFolder, const std::vector<RosterPlace>& places,
                         const std::array<double, 4>& thresholds) {
  const HeadKit kit(programFolder);
  HeadCache heads(kit);
  std::map<int, std::vector<RosterPlace>> teams;
  for (const RosterPlace& p : places) teams[p.team].push_back(p);
  HeadVariety result;
  result.teams = static_cast<int>(teams.size());
  for (const auto& [team, members] : teams) {
    std::vector<std::uint64_t> keys;
    for (const RosterPlace& p : members) keys.push_back(kit.Key(p));
    bool identical = false, alike = false;
    for (std::size_t i = 0; i < members.size(); ++i) {
      for (std::size_t j = i + 1; j < members.size(); ++j) {
        const RosterPlace& a = members[i];
        const RosterPlace& b = members[j];
        const bool oneFace = a.ethnicity == b.ethnicity && a.face == b.face;
        const double limit = std::min(thresholds[static_cast<std::size_t>(a.ethnicity - 1)],
                                      thresholds[static_cast<std::size_t>(b.ethnicity - 1)]);
        double d = 0;
        const bool same = heads.Alike(keys[i], keys[j], limit, d);
        result.pairsOnOneFace += oneFace ? 1 : 0;
        if (!same) continue;
        ++result.pairsAlike;
        result.pairsOnOneFaceAlike += oneFace ? 1 : 0;
        alike = true;
        identical = identical || d == 0;
      }
    }
    result.identical += identical ? 1 : 0;
    result.lookAlike += alike ? 1 : 0;
  }
  return result;
}

RedrawnShares RedrawTeams(const fs::path& programFolder, const std::vector<RosterPlace>& places,
                          const std::array<double, 4>& thresholds, int rounds, unsigned threads,
                          int headRounds) {
  RedrawnShares result;
  // Per folder, every pair of faces below the threshold (numbers i < j, as i << 32 | j).
  std::array<std::unordered_set<std::uint64_t>, 4> close;
  std::array<int, 4> counts{};
  for (std::size_t e = 0; e < kFolders.size(); ++e) {
    const std::vector<std::uint8_t> heads =
        FolderHeads(programFolder / "graphics" / "faces" / kFolders[e]);
    const std::size_t n = heads.size() / kBytes;
    counts[e] = static_cast<int>(n);
    std::mutex found;
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < std::max(1u, threads); ++t) {
      workers.emplace_back([&] {
        for (std::size_t i = next++; i < n; i = next++) {
          for (std::size_t j = i + 1; j < n; ++j) {
            const std::uint32_t d = SumAbs(&heads[i * kBytes], &heads[j * kBytes]);
            if (static_cast<double>(d) / static_cast<double>(kBytes) >= thresholds[e]) continue;
            const std::lock_guard<std::mutex> lock(found);
            close[e].insert(static_cast<std::uint64_t>(i + 1) << 32 | (j + 1));
          }
        }
      });
    }
    for (std::thread& w : workers) w.join();
    for (const std::uint64_t pair : close[e]) {
      // Only faces 1 to count - 2 are ever drawn.
      if (static_cast<int>(pair & 0xFFFFFFFFu) <= counts[e] - 2) ++result.closePairs[e];
    }
  }

  std::map<int, std::vector<RosterPlace>> teams;
  for (const RosterPlace& p : places) teams[p.team].push_back(p);
  if (teams.empty() || rounds < 1) return result;
  result.headRounds = std::clamp(headRounds, 0, rounds);
  std::optional<HeadKit> kit;
  std::optional<HeadCache> heads;
  if (result.headRounds > 0) {
    kit.emplace(programFolder);
    heads.emplace(*kit);
  }
  std::vector<std::uint64_t> keys;
  std::mt19937_64 random(20261208);
  const auto drawFace = [&](int e) {
    const int n = counts[static_cast<std::size_t>(e)] - 1;
    if (n < 1) return 0;
    const int r = static_cast<int>(random() % static_cast<std::uint64_t>(n));
    return std::min(std::max(r, 1), n);
  };
  std::vector<std::pair<int, int>> drawn;  // (ethnicity index, face) per member
  const auto shares = [&](bool spreadFaces) {
    long same = 0, alike = 0, any = 0, identicalHeads = 0, alikeHeads = 0;
    for (int round = 0; round < rounds; ++round) {
      for (const auto& [team, members] : teams) {
        drawn.clear();
        bool sameFace = false, lookAlike = false;
        for (const RosterPlace& member : members) {
          const int e = member.ethnicity - 1;
          const auto taken = [&](int face) {
            return std::find(drawn.begin(), drawn.end(), std::make_pair(e, face)) != drawn.end();
          };
          int face = drawFace(e);
          // The game gives up after many refusals and picks among the free faces; no team wears
          // so many of a folder's faces that this matters here.
          for (int tries = 0; spreadFaces && taken(face) && tries < 1000; ++tries) {
            face = drawFace(e);
          }
          if (taken(face)) sameFace = true;
          for (const auto& [oe, of] : drawn) {
            if (oe != e || of == face) continue;
            const auto lo = static_cast<std::uint64_t>(std::min(face, of));
            const auto hi = static_cast<std::uint64_t>(std::max(face, of));
            if (close[static_cast<std::size_t>(e)].count(lo << 32 | hi) != 0) lookAlike = true;
          }
          drawn.emplace_back(e, face);
        }
        same += sameFace ? 1 : 0;
        alike += lookAlike ? 1 : 0;
        any += (sameFace || lookAlike) ? 1 : 0;
        if (round >= result.headRounds) continue;
        // The same draws as heads: each player with the face drawn, his hair colour and style.
        keys.clear();
        for (std::size_t i = 0; i < members.size(); ++i) {
          RosterPlace p = members[i];
          p.face = drawn[i].second;
          keys.push_back(kit->Key(p));
        }
        bool identical = false, alikeHead = false;
        for (std::size_t i = 0; i < members.size() && !identical; ++i) {
          for (std::size_t j = i + 1; j < members.size() && !identical; ++j) {
            const double limit =
                std::min(thresholds[static_cast<std::size_t>(members[i].ethnicity - 1)],
                         thresholds[static_cast<std::size_t>(members[j].ethnicity - 1)]);
            double d = 0;
            if (!heads->Alike(keys[i], keys[j], limit, d)) continue;
            alikeHead = true;
            identical = d == 0;
          }
        }
        identicalHeads += identical ? 1 : 0;
        alikeHeads += alikeHead ? 1 : 0;
      }
    }
    const double total = static_cast<double>(rounds) * static_cast<double>(teams.size());
    const double headTotal =
        std::max(1.0, static_cast<double>(result.headRounds) * static_cast<double>(teams.size()));
    return RedrawnShares::Shares{
        static_cast<double>(same) / total, static_cast<double>(alike) / total,
        static_cast<double>(any) / total, static_cast<double>(identicalHeads) / headTotal,
        static_cast<double>(alikeHeads) / headTotal};
  };
  result.free = shares(false);
  result.spread = shares(true);
  return result;
}

}  // namespace likentor::artgen
