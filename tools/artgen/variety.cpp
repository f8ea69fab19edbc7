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
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <unordered_set>

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
    RosterPlace p;
    if (!(fields >> p.team >> p.ethnicity >> p.face) || p.ethnicity < 1 || p.ethnicity > 4) {
      throw std::runtime_error(file.string() + ":" + std::to_string(lineNumber) +
                               ": expected TEAM ETHNICITY(1-4) FACE");
    }
    places.push_back(p);
  }
  return places;
}

TeamVariety MeasureTeams(const fs::path& programFolder, const std::vector<RosterPlace>& places,
                         const std::array<double, 4>& thresholds) {
  // Ethnicity numbers 1-4 name these folders.
  static constexpr std::array<const char*, 4> kFolders{"caucasian", "asian", "african",
                                                       "east indian"};
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

RedrawnShares RedrawTeams(const fs::path& programFolder, const std::vector<RosterPlace>& places,
                          const std::array<double, 4>& thresholds, int rounds, unsigned threads) {
  static constexpr std::array<const char*, 4> kFolders{"caucasian", "asian", "african",
                                                       "east indian"};
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

  std::map<int, std::vector<int>> teams;  // team -> ethnicity index per member
  for (const RosterPlace& p : places) teams[p.team].push_back(p.ethnicity - 1);
  if (teams.empty() || rounds < 1) return result;
  std::mt19937_64 random(20261208);
  const auto drawFace = [&](int e) {
    const int n = counts[static_cast<std::size_t>(e)] - 1;
    if (n < 1) return 0;
    const int r = static_cast<int>(random() % static_cast<std::uint64_t>(n));
    return std::min(std::max(r, 1), n);
  };
  std::vector<std::pair<int, int>> drawn;  // (ethnicity index, face) per member
  const auto shares = [&](bool spreadFaces) {
    long same = 0, alike = 0, any = 0;
    for (int round = 0; round < rounds; ++round) {
      for (const auto& [team, members] : teams) {
        drawn.clear();
        bool sameFace = false, lookAlike = false;
        for (const int e : members) {
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
      }
    }
    const double total = static_cast<double>(rounds) * static_cast<double>(teams.size());
    return RedrawnShares::Shares{static_cast<double>(same) / total,
                                 static_cast<double>(alike) / total,
                                 static_cast<double>(any) / total};
  };
  result.free = shares(false);
  result.spread = shares(true);
  return result;
}

}  // namespace likentor::artgen
