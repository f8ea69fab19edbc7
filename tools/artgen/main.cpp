// likentor-artgen: draws the artwork kit into a program folder's graphics/, or a contact sheet.
//   likentor-artgen PROGRAM_FOLDER
//   likentor-artgen --sheet OUT.png PROGRAM_FOLDER
//   likentor-artgen --variety PROGRAM_FOLDER
//   likentor-artgen --team-variety ROSTERS PROGRAM_FOLDER [REFERENCE_PROGRAM_FOLDER]
#include <array>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "aging.h"
#include "kit.h"
#include "sheet.h"
#include "variety.h"

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  using likentor::artgen::WriteKit;
  using likentor::artgen::WriteSheet;
  const std::string usage =
      "usage: likentor-artgen PROGRAM_FOLDER\n"
      "       likentor-artgen --sheet OUT.png PROGRAM_FOLDER\n"
      "       likentor-artgen --variety PROGRAM_FOLDER\n"
      "       likentor-artgen --team-variety ROSTERS PROGRAM_FOLDER [REFERENCE_PROGRAM_FOLDER]\n";
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
      // The teams of ROSTERS (lines TEAM ETHNICITY FACE) that wear two look-alike faces of the
      // kit: closer than the 1st percentile of the reference kit's nearest distances, per folder.
      // With --rounds N, also the mean shares over N fresh draws of the same rosters' faces.
      std::vector<std::string> args;
      int rounds = 0;
      for (int i = 2; i < argc; ++i) {
        if (std::string(argv[i]) == "--rounds" && i + 1 < argc) {
          rounds = std::stoi(argv[++i]);
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
      const char* names[] = {"caucasian", "asian", "african", "east indian"};
      std::array<double, 4> thresholds{};
      for (const auto& v : likentor::artgen::MeasureVariety(reference, threads)) {
        for (std::size_t e = 0; e < thresholds.size(); ++e) {
          if (v.folder == names[e]) thresholds[e] = v.p1;
        }
      }
      std::printf("thresholds (1st percentile of the nearest distances in %s):", reference.c_str());
      for (std::size_t e = 0; e < thresholds.size(); ++e) {
        std::printf(" %s %.3f", names[e], thresholds[e]);
      }
      std::printf("\n");
      const auto places = likentor::artgen::ReadRosters(args[0]);
      const auto t = likentor::artgen::MeasureTeams(kit, places, thresholds);
      const auto share = [&](int n) { return t.teams ? 100.0 * n / t.teams : 0.0; };
      std::printf("%s: %zu players on %d teams, as drawn\n", kit.c_str(), places.size(), t.teams);
      std::printf("  teams with two players on one face:              %4d (%5.1f %%)\n", t.sameFace,
                  share(t.sameFace));
      std::printf("  teams with two look-alike faces of a folder:     %4d (%5.1f %%)\n",
                  t.lookAlike, share(t.lookAlike));
      std::printf("  teams with two look-alike faces across folders:  %4d (%5.1f %%)\n",
                  t.lookAlikeAcross, share(t.lookAlikeAcross));
      std::printf("  teams with any of these:                         %4d (%5.1f %%)\n", t.any,
                  share(t.any));
      for (const auto& p : t.pairs) {
        std::printf("  team %d: %s %d and %s %d, distance %.3f\n", p.team, names[p.a.ethnicity - 1],
                    p.a.face, names[p.b.ethnicity - 1], p.b.face, p.distance);
      }
      if (rounds > 0) {
        const auto r = likentor::artgen::RedrawTeams(kit, places, thresholds, rounds, threads);
        std::printf("  look-alike pairs among the drawable faces:");
        for (std::size_t e = 0; e < thresholds.size(); ++e) {
          std::printf(" %s %ld", names[e], r.closePairs[e]);
        }
        std::printf("\n");
        for (const bool spread : {false, true}) {
          const auto& s = spread ? r.spread : r.free;
          std::printf(
              "  over %d fresh draws, %s: one face twice %.2f %%, look-alike faces of a folder "
              "%.2f %%, either %.2f %%\n",
              rounds, spread ? "different faces within a team" : "faces drawn freely",
              100 * s.sameFace, 100 * s.lookAlike, 100 * s.any);
        }
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
