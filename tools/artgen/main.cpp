// likentor-artgen: draws the artwork kit into a program folder's graphics/, or a contact sheet.
//   likentor-artgen PROGRAM_FOLDER
//   likentor-artgen --sheet OUT.png PROGRAM_FOLDER
//   likentor-artgen --variety PROGRAM_FOLDER
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <thread>

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
      "       likentor-artgen --variety PROGRAM_FOLDER\n";
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
