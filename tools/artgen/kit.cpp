#include "kit.h"

#include <atomic>
#include <cstdint>
#include <exception>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

#include "accessories.h"
#include "aging.h"
#include "backgrounds.h"
#include "branding.h"
#include "faces.h"
#include "facial_hair.h"
#include "layout.h"
#include "paint.h"
#include "uniforms.h"

namespace likentor::artgen {
namespace fs = std::filesystem;
namespace {

using namespace layout;

std::uint64_t HashPixels(const Image& image) {
  std::uint64_t h = 0xCBF29CE484222325ull;
  for (std::uint8_t b : image.pixels) {
    h ^= b;
    h *= 0x100000001B3ull;
  }
  return h;
}

void Studio(cairo_t* cr) {
  cairo_pattern_t* p = cairo_pattern_create_radial(40, 50, 5, 45, 60, 90);
  cairo_pattern_add_color_stop_rgb(p, 0, 0.80, 0.82, 0.84);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.52, 0.56, 0.60);
  cairo_set_source(cr, p);
  cairo_paint(cr);
  cairo_pattern_destroy(p);
}

}  // namespace

void RunParallel(const std::vector<std::function<void()>>& jobs, unsigned threads) {
  std::atomic<std::size_t> next{0};
  std::exception_ptr failure;
  std::mutex failureMutex;
  auto worker = [&] {
    for (std::size_t i; (i = next.fetch_add(1)) < jobs.size();) {
      try {
        jobs[i]();
      } catch (...) {
        const std::lock_guard<std::mutex> lock(failureMutex);
        if (!failure) failure = std::current_exception();
        next = jobs.size();
      }
    }
  };
  std::vector<std::thread> pool;
  for (unsigned t = 1; t < std::max(1u, threads); ++t) pool.emplace_back(worker);
  worker();
  for (std::thread& t : pool) t.join();
  if (failure) std::rethrow_exception(failure);
}

Image MakeFaceImage(int ethnicityIndex, int number, bool blonde) {
  Canvas canvas(kFaceWidth, kFaceHeight, kFaceX, kFaceY);
  const EthnicityInfo& info = kEthnicities[static_cast<std::size_t>(ethnicityIndex)];
  FaceParams face = ChooseFace(info.ethnicity, number - 1);
  if (info.ethnicity == Ethnicity::kCaucasian) {
    face = blonde ? BlondeHaired(face) : BrownHaired(face);
  }
  DrawFace(canvas.cr(), face);
  return canvas.ToImage(4);
}

Image MakeUniformPreviewFace() {
  Canvas canvas(kWidth, kHeight);
  Studio(canvas.cr());
  DrawFace(canvas.cr(), PlainFace());
  return canvas.ToImage(3);
}

Image MakeFacialHairPreviewFace() {
  // The preview draws the facial hair at (0, 0) instead of (-1, 2): shift the figure to match.
  Canvas canvas(kWidth, kHeight);
  cairo_t* cr = canvas.cr();
  Studio(cr);
  cairo_translate(cr, -kHairX, -kHairY);
  DrawFace(cr, PlainFace());
  PaintImage(cr, MakeDefaultUniform(), 0, 0);
  PaintImage(cr, MakeBillUnderside(), 0, 0);
  return canvas.ToImage(3);
}

int WriteKit(const fs::path& programFolder, unsigned threads) {
  const fs::path g = programFolder / "graphics";
  const fs::path uniforms = g / "uniforms";
  for (const fs::path& dir :
       {g / "backgrounds", g / "accessories", g / "icon", uniforms / "generic",
        uniforms / "custom" / "MLB", g / "facial hair"}) {
    fs::create_directories(dir);
  }
  for (const EthnicityInfo& e : kEthnicities) fs::create_directories(g / "faces" / e.folder);
  fs::create_directories(g / "blonde faces" / "caucasian");
  for (const FacialHairStyle& s : kFacialHairStyles) {
    fs::create_directories(g / "facial hair" / s.location);
  }
  for (int d = 1; d <= 25; ++d) fs::create_directories(uniforms / "generic" / Digits(d, 2));

  std::atomic<int> files{0};
  std::vector<std::function<void()>> jobs;
  auto png = [&files](const Image& image, const fs::path& path) {
    WritePng(image, path);
    ++files;
  };

  // Faces first: they are most of the work, so the small jobs fill the gaps at the end.
  std::vector<std::vector<std::uint64_t>> hashes(kEthnicities.size());
  constexpr int kChunk = 48;
  for (std::size_t e = 0; e < kEthnicities.size(); ++e) {
    const EthnicityInfo& info = kEthnicities[e];
    hashes[e].resize(static_cast<std::size_t>(info.count));
    for (int first = 1; first <= info.count; first += kChunk) {
      jobs.push_back([&, e, first] {
        const EthnicityInfo& inf = kEthnicities[e];
        for (int n = first; n < std::min(first + kChunk, inf.count + 1); ++n) {
          const Image face = MakeFaceImage(static_cast<int>(e), n);
          hashes[e][static_cast<std::size_t>(n - 1)] = HashPixels(face);
          png(face, g / "faces" / inf.folder / (Digits(n, 7) + ".png"));
          if (inf.ethnicity == Ethnicity::kCaucasian) {
            png(MakeFaceImage(static_cast<int>(e), n, true),
                g / "blonde faces" / inf.folder / (Digits(n, 7) + ".png"));
          }
        }
      });
    }
  }
  for (int b = 1; b <= kBackgroundCount; ++b) {
    jobs.push_back([&, b] { png(MakeBackground(b), g / "backgrounds" / (Digits(b, 5) + ".png")); });
  }
  for (int d = 1; d <= 25; ++d) {
    jobs.push_back([&, d] {
      const Templates t = MakeTemplates(GenericDesign(d));
      const fs::path dir = uniforms / "generic" / Digits(d, 2);
      WriteBmp(t.white, dir / "white.bmp");
      WriteBmp(t.bg, dir / "bg.bmp");
      WriteBmp(t.text, dir / "text.bmp");
      files += 3;
    });
  }
  for (const CustomClub& club : kCustomClubs) {
    jobs.push_back([&, club] {
      png(MakeCustomUniform(club), uniforms / "custom" / "MLB" / std::string(club.file));
    });
  }
  for (const FacialHairStyle& s : kFacialHairStyles) {
    jobs.push_back([&, s] {
      const fs::path dir = g / "facial hair" / s.location;
      png(MakeFacialHair(s.location, HairColour::kBrown), dir / "brown.png");
      png(MakeFacialHair(s.location, HairColour::kBlonde), dir / "blonde.png");
    });
  }
  for (int step = 1; step <= kAgeLayerSteps; ++step) {
    jobs.push_back([&, step] { files += WriteAgeLayers(g, step); });
  }
  for (int a = 1; a <= kAccessoryCount; ++a) {
    jobs.push_back([&, a] { png(MakeAccessory(a), g / "accessories" / (Digits(a, 5) + ".png")); });
  }
  jobs.push_back([&] {
    png(MakeDefaultUniform(), uniforms / "default.png");
    png(MakeBillUnderside(), uniforms / "bill underside.png");
    png(MakeUniformPreviewFace(), uniforms / "previewface.png");
    png(MakeFacialHairPreviewFace(), g / "facial hair" / "previewface.png");
  });
  jobs.push_back([&] {
    for (int size : kIconSizes) {
      png(MakeIcon(size), g / "icon" / ("likentor-" + std::to_string(size) + ".png"));
    }
    png(MakeDashboard(), g / "dashboard.png");
    const Image logo = MakeLogo();
    png(logo, g / "logo.png");
    WriteJpeg(logo, g / "logo.jpg", 92);
    ++files;
  });

  RunParallel(jobs, threads);

  // No two faces of a folder may be the same picture.
  for (std::size_t e = 0; e < kEthnicities.size(); ++e) {
    std::map<std::uint64_t, int> seen;
    for (std::size_t i = 0; i < hashes[e].size(); ++i) {
      const auto [it, fresh] = seen.emplace(hashes[e][i], static_cast<int>(i) + 1);
      if (!fresh) {
        throw std::runtime_error("faces " + std::to_string(it->second) + " and " +
                                 std::to_string(i + 1) + " of " +
                                 std::string(kEthnicities[e].folder) + " are identical");
      }
    }
  }
  return files;
}

}  // namespace likentor::artgen
