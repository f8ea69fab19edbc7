// likentor-artgen: draws the artwork kit into a program folder's graphics/, or a contact sheet.
//   likentor-artgen PROGRAM_FOLDER
//   likentor-artgen --sheet OUT.png PROGRAM_FOLDER
//   likentor-artgen --variety PROGRAM_FOLDER
//   likentor-artgen --team-variety ROSTERS PROGRAM_FOLDER [REFERENCE_PROGRAM_FOLDER]
//                   [--rounds N] [--head-rounds N]
#include <array>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "aging.h"
#include "kit.h"
#include "sheet.h"
#include "variety.h"

namespace {

namespace fs = std::filesystem;

constexpr std::array<const char*, 4> kEthnicityNames{"caucasian", "asian", "african",
                                                     "east indian"};

// One kit's figures for the teams of a roster: its face files and its heads.
struct KitFigures {
  likentor::artgen::TeamVariety faces;
  likentor::artgen::HeadVariety heads;
  std::optional<likentor::artgen::RedrawnShares> redrawn;
};

double Percent(long n, int teams) {
  return teams > 0 ? 100.0 * static_cast<double>(n) / teams : 0;
}

// Measures a kit against the thresholds and prints its figures.
KitFigures MeasureKit(const fs::path& kit, const std::vector<likentor::artgen::RosterPlace>& places,
                      const std::array<double, 4>& thresholds, int rounds, int headRounds,
                      unsigned threads) {
  const auto& names = kEthnicityNames;
  KitFigures f;
  f.faces = likentor::artgen::MeasureTeams(kit, places, thresholds);
  const auto& t = f.faces;
  std::printf("%s: %zu players on %d teams, as drawn\n", kit.c_str(), places.size(), t.teams);
  std::printf("  teams with two players on one face:              %4d (%5.1f %%)\n", t.sameFace,
              Percent(t.sameFace, t.teams));
  std::printf("  teams with two look-alike faces of a folder:     %4d (%5.1f %%)\n", t.lookAlike,
              Percent(t.lookAlike, t.teams));
  std::printf("  teams with two look-alike faces across folders:  %4d (%5.1f %%)\n",
              t.lookAlikeAcross, Percent(t.lookAlikeAcross, t.teams));
  std::printf("  teams with any of these:                         %4d (%5.1f %%)\n", t.any,
              Percent(t.any, t.teams));
  for (const auto& p : t.pairs) {
    std::printf("  team %d: %s %d and %s %d, distance %.3f\n", p.team, names[p.a.ethnicity - 1],
                p.a.face, names[p.b.ethnicity - 1], p.b.face, p.distance);
  }
  f.heads = likentor::artgen::MeasureHeads(kit, places, thresholds);
  const auto& h = f.heads;
  std::printf("  heads as the portrait shows them (face or blonde face, facial hair over it):\n");
  std::printf("  teams with two identical heads:                  %4d (%5.1f %%)\n", h.identical,
              Percent(h.identical, h.teams));
  std::printf("  teams with two look-alike heads:                 %4d (%5.1f %%)\n", h.lookAlike,
              Percent(h.lookAlike, h.teams));
  std::printf(
      "  look-alike pairs of heads: %ld; pairs of teammates sharing a face: %ld, of which "
      "%ld look alike as heads\n",
      h.pairsAlike, h.pairsOnOneFace, h.pairsOnOneFaceAlike);
  if (rounds > 0) {
    f.redrawn = likentor::artgen::RedrawTeams(kit, places, thresholds, rounds, threads, headRounds);
    const auto& r = *f.redrawn;
    std::printf("  look-alike pairs among the drawable faces:");
    for (std::size_t e = 0; e < names.size(); ++e) {
      std::printf(" %s %ld", names[e], r.closePairs[e]);
    }
    std::printf("\n");
    for (const bool spread : {false, true}) {
      const auto& s = spread ? r.spread : r.free;
      const char* kind = spread ? "different faces within a team" : "faces drawn freely";
      std::printf(
          "  over %d fresh draws, %s: one face twice %.2f %%, look-alike faces of a folder "
          "%.2f %%, either %.2f %%\n",
          rounds, kind, 100 * s.sameFace, 100 * s.lookAlike, 100 * s.any);
      if (r.headRounds > 0) {
        std::printf(
            "  over the first %d of them as heads (hair colour and facial hair kept): identical "
            "heads %.2f %%, look-alike heads %.2f %%\n",
            r.headRounds, 100 * s.identicalHeads, 100 * s.lookAlikeHeads);
      }
    }
  }
  return f;
}

// The headline shares of a kit and of the reference kit in two columns.
void PrintSideBySide(const KitFigures& kit, const KitFigures& reference, bool redrawn) {
  std::printf("side by side, share of teams:                         kit  reference\n");
  const auto row = [](const char* label, double a, double b) {
    std::printf("  %-48s %5.1f %%  %5.1f %%\n", label, a, b);
  };
  const auto& a = kit;
  const auto& b = reference;
  row("face files: two players on one face", Percent(a.faces.sameFace, a.faces.teams),
      Percent(b.faces.sameFace, b.faces.teams));
  row("face files: two look-alike faces (any)", Percent(a.faces.any, a.faces.teams),
      Percent(b.faces.any, b.faces.teams));
  row("heads: two identical heads", Percent(a.heads.identical, a.heads.teams),
      Percent(b.heads.identical, b.heads.teams));
  row("heads: two look-alike heads (identical included)", Percent(a.heads.lookAlike, a.heads.teams),
      Percent(b.heads.lookAlike, b.heads.teams));
  if (!redrawn || !a.redrawn || !b.redrawn) return;
  row("redrawn freely, face files: look-alike faces", 100 * a.redrawn->free.any,
      100 * b.redrawn->free.any);
  row("redrawn, no face twice, face files: look-alike", 100 * a.redrawn->spread.any,
      100 * b.redrawn->spread.any);
  if (a.redrawn->headRounds == 0) return;
  row("redrawn freely, heads: look-alike heads", 100 * a.redrawn->free.lookAlikeHeads,
      100 * b.redrawn->free.lookAlikeHeads);
  row("redrawn, no face twice, heads: look-alike heads", 100 * a.redrawn->spread.lookAlikeHeads,
      100 * b.redrawn->spread.lookAlikeHeads);
}

}  // namespace

int main(int argc, char** argv) {
  using likentor::artgen::WriteKit;
  using likentor::artgen::WriteSheet;
  const std::string usage =
      "usage: likentor-artgen PROGRAM_FOLDER\n"
      "       likentor-artgen --sheet OUT.png PROGRAM_FOLDER\n"
      "       likentor-artgen --variety PROGRAM_FOLDER\n"
      "       likentor-artgen --team-variety ROSTERS PROGRAM_FOLDER [REFERENCE_PROGRAM_FOLDER]\n"
      "                       [--rounds N] [--head-rounds N]\n";
  try {
    const auto start = std::chrono::steady_clock::now();
    if (argc == 4 && std::string(argv[1]) == "--sheet") {
      WriteSheet(argv[3], argv[2]);
      std::printf("contact sheet written to %s\n", argv[2]);
      return 0;
    }
    if (argc == 6 && std::string(argv[1]) == "--age-sheet") {
      // --age-sheet OUT.png PROGRAM_FOLDER FACE SCALE: a face of each folder at the four steps.
      likentor::artgen::WriteAgeSheet(argv[3], argv[2], std::stoi(argv[4]), std::stoi(argv[5]));
      return 0;
    }
    const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    if (argc == 3 && std::string(argv[1]) == "--variety") {
      // Per face folder: the 1st percentile and the median of the faces' nearest distances.
      for (const auto& v : likentor::artgen::MeasureVariety(argv[2], threads)) {
        std::printf(
            "%-12s faces %5zu  nearest: 1st percentile %.3f  median %.3f  closest: %d and %d\n",
            v.folder.c_str(), v.nearest.size(), v.p1, v.median, v.closestA, v.closestB);
      }
      return 0;
    }
    if (argc >= 4 && std::string(argv[1]) == "--team-variety") {
      // The teams of ROSTERS (lines TEAM ETHNICITY FACE [HAIRCOLOR FACIALHAIR]) that wear two
      // look-alike faces of the kit, and that show two look-alike heads: closer than the 1st
      // percentile of the reference kit's nearest distances, per folder. With --rounds N, also
      // the mean shares over N fresh draws of the same rosters' faces (heads over the first
      // --head-rounds of them). With a reference kit, the reference is measured the same way and
      // the two are set side by side.
      std::vector<std::string> args;
      int rounds = 0;
      int headRounds = 0;
      for (int i = 2; i < argc; ++i) {
        if (std::string(argv[i]) == "--rounds" && i + 1 < argc) {
          rounds = std::stoi(argv[++i]);
        } else if (std::string(argv[i]) == "--head-rounds" && i + 1 < argc) {
          headRounds = std::stoi(argv[++i]);
        } else {
          args.emplace_back(argv[i]);
        }
      }
      if (args.size() < 2 || args.size() > 3) {
        std::fputs(usage.c_str(), stderr);
        return 2;
      }
      const fs::path kit = args[1];
      const fs::path reference = args.size() == 3 ? fs::path(args[2]) : kit;
      std::array<double, 4> thresholds{};
      for (const auto& v : likentor::artgen::MeasureVariety(reference, threads)) {
        for (std::size_t e = 0; e < thresholds.size(); ++e) {
          if (v.folder == kEthnicityNames[e]) thresholds[e] = v.p1;
        }
      }
      std::printf("thresholds (1st percentile of the nearest distances in %s):", reference.c_str());
      for (std::size_t e = 0; e < thresholds.size(); ++e) {
        std::printf(" %s %.3f", kEthnicityNames[e], thresholds[e]);
      }
      std::printf("\n");
      const auto places = likentor::artgen::ReadRosters(args[0]);
      std::vector<KitFigures> figures;
      figures.push_back(MeasureKit(kit, places, thresholds, rounds, headRounds, threads));
      if (fs::exists(reference) && fs::exists(kit) && !fs::equivalent(reference, kit)) {
        figures.push_back(MeasureKit(reference, places, thresholds, rounds, headRounds, threads));
        PrintSideBySide(figures[0], figures[1], rounds > 0);
      }
      return 0;
    }
    if (argc != 2 || std::string(argv[1]).starts_with("-")) {
      std::fputs(usage.c_str(), stderr);
      return 2;
    }
    const int files = WriteKit(fs::path(argv[1]), threads);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%d files written to %s in %.1f s on %u threads\n", files,
                (fs::path(argv[1]) / "graphics").c_str(), seconds, threads);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "likentor-artgen: %s\n", e.what());
    return 1;
  }
}
