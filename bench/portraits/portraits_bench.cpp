// The portraits of a whole saved game: loads it (not timed), runs "Universe at a Time" over its
// selection and reports portraits per second, the memory of the process along the run, then times
// one ImageMagick convert per portrait over the same layers for a sample of the portraits made,
// and the PNG encoder's settings on composed portraits. bench/portraits/run.sh sets it all up.
//
//   portraits_bench WORK_FOLDER NAME [--compare N] [--convert PATH] [--encode N]
// WORK_FOLDER holds configuration.ini (made by "likentor setup") and is the program folder.

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "app/batch_runs.h"
#include "app/game_load.h"
#include "app/loaded_game.h"
#include "app/photo_plan.h"
#include "app/session.h"
#include "app/universal_tables.h"
#include "import/game_tables.h"
#include "import/players_fields.h"
#include "portrait/artwork_paths.h"
#include "portrait/layer_cache.h"
#include "portrait/portrait_png.h"
#include "portrait/team_colors.h"
#include "portrait/uniforms.h"
#include "shell/folders.h"
#include "shell/scripted_prompts.h"

extern char** environ;

namespace likentor {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}

// Resident memory now, in MB.
double ResidentMb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1048576.0;
}

// Processor seconds (user and system) of this process's threads, or of its waited-for children.
double CpuSeconds(int who) {
  rusage usage{};
  getrusage(who, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double SystemSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_stime.tv_usec) / 1e6;
}

double PeakMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// A generic uniform as ImageMagick can lay it: black made transparent, as TransOverlay2 treats it.
std::filesystem::path GenericUniformPng(const std::filesystem::path& folder, Session& session,
                                        int design, ColorValue bg, ColorValue text) {
  static std::map<std::tuple<int, ColorValue, ColorValue>, std::filesystem::path> written;
  const auto key = std::make_tuple(design, bg, text);
  if (auto found = written.find(key); found != written.end()) return found->second;
  const Bitmap uniform =
      BuildGenericUniform(LoadUniformTemplates(session.ProgramFolder(), design), bg, text);
  PngImage png(uniform.Width(), uniform.Height(), true);
  for (int y = 0; y < uniform.Height(); ++y) {
    for (int x = 0; x < uniform.Width(); ++x) {
      const Rgb c = uniform.Pixel(x, y);
      png.SetPixel(x, y, c);
      png.SetAlpha(x, y, IsBlack(c) ? 0 : 255);
    }
  }
  const auto file = folder / ("generic_" + std::to_string(written.size()) + ".png");
  png.Save(file);
  written[key] = file;
  return file;
}

// The convert command line of a portrait already made: the same layers as the run drew, from the
// values its row recorded (background, accessory, uniform team).
std::vector<std::string> ConvertArguments(Session& session, PhotoLookups& lookups,
                                          const Cursor& row, const std::filesystem::path& temp,
                                          const std::filesystem::path& output,
                                          const std::string& convert) {
  const std::filesystem::path& program = session.ProgramFolder();
  std::vector<std::string> args{convert,
                                BackgroundFile(program, row.GetInt(kBackgroundField)).string()};
  auto layer = [&args](const std::filesystem::path& file, const std::string& geometry) {
    args.insert(args.end(), {file.string(), "-geometry", geometry, "-composite"});
  };
  layer(FaceFile(program, row.GetInt(kEthnicityField), row.GetInt(kFaceField)), "+7+4");
  const int team = row.GetInt(kUniformTeamIdField);
  const TeamLooks* looks = team != 0 ? lookups.Team(team) : nullptr;
  if (looks == nullptr) {
    layer(DefaultUniformFile(program), "+0+0");
  } else if (looks->customUniformFile != "none" &&
             std::filesystem::exists(looks->customUniformFile)) {
    layer(looks->customUniformFile, "+0+0");
  } else {
    layer(GenericUniformPng(temp, session, GenericDesign(team),
                            GetBGColor(team, looks->backgroundColor),
                            GetTxtColor(team, looks->textColor)),
          "+0+0");
    const auto logo = lookups.PicturesFolder() / looks->logoFile;
    if (lookups.UseLogos() && IsPngLogoName(looks->logoFile) && std::filesystem::exists(logo)) {
      args.insert(args.end(), {"(", logo.string(), "-resize", "30x30!", ")", "-geometry", "+49+108",
                               "-composite"});
    }
  }
  layer(BillUndersideFile(program), "+0+0");
  if (const int style = row.GetInt(kFacialHairStyleField, 0); style != 0) {
    if (const std::string* location = lookups.FacialHairLocation(style)) {
      const auto file = FacialHairFile(program, *location, row.GetInt(kHairColorField, 0) == 2);
      if (std::filesystem::exists(file)) layer(file, "-1+2");
    }
  }
  if (const AccessoryLooks* accessory = lookups.Accessory(row.GetInt(kAccessoryField, 0))) {
    if (AccessoryShown(accessory->eligibility, row.GetInt(kHandField, 0),
                       row.GetInt(kPositionField, 0)) &&
        std::filesystem::exists(accessory->location)) {
      layer(accessory->location, "+0+0");
    }
  }
  args.insert(args.end(), {"-define", "png:compression-level=1", output.string()});
  return args;
}

pid_t Spawn(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  return pid;
}

// Runs the commands, one per core at a time; the seconds taken, or a negative value on failure.
double RunAll(const std::vector<std::vector<std::string>>& commands) {
  const unsigned parallel = std::max(1u, std::thread::hardware_concurrency());
  const auto start = Clock::now();
  std::size_t next = 0;
  unsigned running = 0;
  bool failed = false;
  while (next < commands.size() || running > 0) {
    while (running < parallel && next < commands.size()) {
      if (Spawn(commands[next++]) < 0) return -1;
      ++running;
    }
    int status = 0;
    if (wait(&status) > 0) {
      --running;
      if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) failed = true;
    }
  }
  return failed ? -1 : Seconds(start);
}

const char* FiltersName(PngFilters f) {
  switch (f) {
    case PngFilters::None:
      return "none";
    case PngFilters::Sub:
      return "sub";
    case PngFilters::Up:
      return "up";
    case PngFilters::Paeth:
      return "paeth";
    case PngFilters::Adaptive:
      return "adaptive";
  }
  return "?";
}

void MeasureEncoder(Session& session, const std::vector<PhotoRow>& rows) {
  PhotoLookups lookups(session);
  LayerCache layers(session.ProgramFolder());
  std::vector<PngImage> portraits;
  for (const PhotoRow& row : rows) {
    portraits.push_back(ComposePortrait(PlanPlayerPhoto(session, lookups, layers, row).layers));
  }
  std::printf("\nPNG encoders on %zu composed portraits (one thread):\n", portraits.size());
  std::printf("  %-22s %12s %12s\n", "encoder", "us/portrait", "bytes avg");
  {
    const auto start = Clock::now();
    std::size_t bytes = 0;
    for (const PngImage& p : portraits) bytes += EncodePortraitPng(p).size();
    std::printf("  %-22s %12.1f %12zu\n", "portrait (own deflate)",
                Seconds(start) * 1e6 / static_cast<double>(portraits.size()),
                bytes / portraits.size());
  }
  for (int level : {1, 2, 3, 6, 9}) {
    for (PngFilters f : {PngFilters::None, PngFilters::Sub, PngFilters::Up, PngFilters::Paeth,
                         PngFilters::Adaptive}) {
      const auto start = Clock::now();
      std::size_t bytes = 0;
      for (const PngImage& p : portraits) bytes += p.Encode({level, f}).size();
      const double us = Seconds(start) * 1e6 / static_cast<double>(portraits.size());
      const std::string name = "libpng zlib " + std::to_string(level) + " " + FiltersName(f);
      std::printf("  %-22s %12.1f %12zu\n", name.c_str(), us, bytes / portraits.size());
    }
  }
}

int Main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: portraits_bench WORK_FOLDER NAME [--compare N] [--convert PATH] "
                 "[--encode N]\n");
    return 2;
  }
  const std::filesystem::path work = argv[1];
  const std::string name = argv[2];
  int compare = 300;
  int encode = 500;
  std::string convert = "/usr/bin/convert-im6.q16";
  for (int i = 3; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--compare") compare = std::atoi(argv[i + 1]);
    if (option == "--convert") convert = argv[i + 1];
    if (option == "--encode") encode = std::atoi(argv[i + 1]);
  }

  ScriptedPrompts prompts;
  Session session(prompts, {work, work});
  session.Startup(Session::Missing::Fail);
  auto start = Clock::now();
  LoadGame(session, name);
  std::printf("Load of %s: %.2f s, resident %.0f MB, peak so far %.0f MB\n", name.c_str(),
              Seconds(start), ResidentMb(), PeakMb());

  std::vector<std::pair<int, double>> memory;  // progress position, resident MB
  session.Progress().SetListener([&memory](const ProgressReport& r) {
    if (r.visible && r.position % 10 == 0 &&
        (memory.empty() || memory.back().first != r.position)) {
      memory.emplace_back(r.position, ResidentMb());
    }
  });
  start = Clock::now();
  const double cpuBefore = CpuSeconds(RUSAGE_SELF);
  const double systemBefore = SystemSeconds();
  const int made = UniverseGoBtnClick(session, 0);
  const double seconds = Seconds(start);
  const double cpu = CpuSeconds(RUSAGE_SELF) - cpuBefore;
  const double rate = made / seconds;
  std::printf("Universe run: %d portraits in %.2f s = %.0f portraits/s (%u worker threads)\n", made,
              seconds, rate, std::thread::hardware_concurrency());
  std::printf("  processor time %.2f s = %.2f ms per portrait (%.2f s of it in the system)\n", cpu,
              cpu * 1000.0 / made, SystemSeconds() - systemBefore);
  std::printf("Resident memory along the run (MB):");
  for (const auto& [position, mb] : memory) std::printf(" %d%%:%.0f", position, mb);
  std::printf("\nPeak resident memory of the process: %.0f MB\n", PeakMb());

  // The same layers through ImageMagick, one convert per portrait, for the first portraits made.
  const std::filesystem::path temp = work / "imagemagick";
  std::filesystem::remove_all(temp);
  std::filesystem::create_directories(temp);
  std::vector<std::vector<std::string>> commands;
  std::vector<PhotoRow> encodeRows;
  {
    PhotoLookups lookups(session);
    Table players(session.Data(), PlayersTableName(name));
    for (players.First(); !players.Eof(); players.Next()) {
      if (players.GetBool(kUpdateRequiredField) || players.GetInt(kBackgroundField, 0) == 0)
        continue;
      if (static_cast<int>(commands.size()) < compare) {
        commands.push_back(ConvertArguments(
            session, lookups, players, temp,
            temp / ("Player_" + players.GetText(kPlayerIdField) + ".png"), convert));
      }
      if (static_cast<int>(encodeRows.size()) < encode) encodeRows.push_back(ReadPhotoRow(players));
      if (static_cast<int>(commands.size()) >= compare &&
          static_cast<int>(encodeRows.size()) >= encode) {
        break;
      }
    }
  }
  if (compare > 0 && !commands.empty()) {
    const double imCpuBefore = CpuSeconds(RUSAGE_CHILDREN);
    const double imSeconds = RunAll(commands);
    const double imCpu = CpuSeconds(RUSAGE_CHILDREN) - imCpuBefore;
    if (imSeconds < 0) {
      std::printf("ImageMagick: %s failed (is it installed?)\n", convert.c_str());
    } else {
      const double imRate = static_cast<double>(commands.size()) / imSeconds;
      std::printf(
          "ImageMagick convert: %zu portraits in %.2f s = %.1f portraits/s (%u at a time)\n",
          commands.size(), imSeconds, imRate, std::max(1u, std::thread::hardware_concurrency()));
      const double imMs = imCpu * 1000.0 / static_cast<double>(commands.size());
      std::printf("  processor time %.2f s = %.2f ms per portrait\n", imCpu, imMs);
      std::printf(
          "Speed-up over ImageMagick: %.1fx in portraits per second, %.1fx in processor "
          "time per portrait\n",
          rate / imRate, imMs / (cpu * 1000.0 / made));
    }
  }
  if (!encodeRows.empty()) MeasureEncoder(session, encodeRows);
  session.Shutdown();
  return 0;
}

}  // namespace
}  // namespace likentor

int main(int argc, char** argv) {
  try {
    return likentor::Main(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "portraits_bench: %s\n", e.what());
    return 1;
  }
}
