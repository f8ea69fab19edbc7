// Nearest-face distances of a kit. A folder of n faces needs n(n-1)/2 comparisons of some 20 000
// bytes each; the head area is cut out once into a packed buffer so that the inner loop is a
// plain run over bytes that the compiler vectorises.
#include "variety.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <limits>
#include <stdexcept>
#include <thread>

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
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
      if (entry.path().extension() == ".png") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    const std::size_t n = files.size();
    std::vector<std::uint8_t> heads(n * kBytes);
    for (std::size_t i = 0; i < n; ++i) {
      const Image face = ReadPng(files[i]);
      if (face.channels != 4 || face.width != kFaceWidth || face.height != kFaceHeight) {
        throw std::runtime_error(files[i].string() + " is not an 83 x 131 RGBA face");
      }
      const std::vector<std::uint8_t> h = HeadBytes(face);
      std::copy(h.begin(), h.end(), heads.begin() + static_cast<std::ptrdiff_t>(i * kBytes));
    }
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

}  // namespace likentor::artgen
