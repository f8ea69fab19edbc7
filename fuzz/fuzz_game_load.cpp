// A whole load of a saved game whose exports come from the fuzzer. The input holds the five
// exports in load order, leagues, teams, players, career batting, career pitching, each ended by a
// NUL byte; a file the input does not reach is missing from the saved game. The program is set up
// once per process with the real setup (shared tables from the shipped data files) on a game
// folder with one saved game "fuzz", whose picture folder holds portraits of ours and pictures of
// the user's own. Each input is loaded into fresh per-game tables through the session, as the
// command line's load does; a load that succeeds is run once more, over the tables it made, as
// the next load of an unchanged game would.
//
// A load that stops with the program's Error is an outcome; a crash, a leak, undefined behaviour
// or any other exception is a fault.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "app/game_load.h"
#include "app/session.h"
#include "fuzz_support.h"
#include "import/game_tables.h"
#include "portrait/png_image.h"
#include "portrait/portrait_png.h"
#include "shell/error.h"
#include "shell/folders.h"
#include "shell/scripted_prompts.h"
#include "support/program_folder.h"

namespace {

namespace fs = std::filesystem;
using likentor::fuzz::Scratch;

constexpr std::string_view kGame = "fuzz";
constexpr std::array<std::string_view, 5> kExports = {
    likentor::kLeaguesExport, likentor::kTeamsExport, likentor::kPlayersExport,
    likentor::kBattingExport, likentor::kPitchingExport};

class GameUnderLoad {
 public:
  GameUnderLoad() : saved_(likentor::ResolveSavedGame(game_, kGame)) {
    ::setenv("HOME", (Scratch() / "home").c_str(), 1);
    likentor::test::InstallDataFiles(program_);
    fs::create_directories(saved_.exportsFolder);
    WritePictures();
    prompts_.AnswerFolder(program_);
    prompts_.AnswerFolder(game_);
    // A fixed clock: the looks an input draws are the same on every run of it.
    session_ = std::make_unique<likentor::Session>(
        prompts_, likentor::SessionPlaces{program_, program_}, [] { return std::uint64_t{2006}; });
    session_->Startup(likentor::Session::Missing::RunSetup);
  }

  void Load(std::string_view input) {
    for (const std::string_view file : kExports) {
      const std::size_t end = input.find('\0');
      if (end == std::string_view::npos) {
        fs::remove(saved_.Export(file));
        input = {};
        continue;
      }
      likentor::test::WriteBytes(saved_.Export(file), input.substr(0, end));
      input.remove_prefix(end + 1);
    }
    likentor::CloseGame(*session_);
    likentor::Database& db = session_->Data();
    for (const std::string* table : {&saved_.leaguesTable, &saved_.teamsTable, &saved_.playersTable,
                                     &saved_.battingTable, &saved_.pitchingTable}) {
      if (db.TableExists(*table)) db.DeleteTable(*table);
    }
    session_->Log().CreateErrorFile();
    prompts_.ClearHistory();
    for (int load = 0; load < 2; ++load) {
      try {
        likentor::LoadGame(*session_, kGame);
      } catch (const likentor::Error&) {
        return;
      }
    }
  }

 private:
  // Players 1 to 12 have pictures in the game's picture folder: our portraits for odd ids, the
  // user's own for even ones, which the import's existing-photo rule tells apart.
  void WritePictures() {
    likentor::PngImage picture(90, 135, false);
    for (int y = 0; y < picture.Height(); ++y) {
      for (int x = 0; x < picture.Width(); ++x) {
        picture.SetPixel(x, y,
                         {static_cast<std::uint8_t>(x * 2), static_cast<std::uint8_t>(y),
                          static_cast<std::uint8_t>(x + y)});
      }
    }
    fs::create_directories(saved_.picturesFolder);
    for (int id = 1; id <= 12; ++id) {
      const fs::path file = saved_.picturesFolder / ("Player_" + std::to_string(id) + ".png");
      if (id % 2 == 1) {
        likentor::SavePortraitPng(picture, file);
      } else {
        picture.Save(file);
      }
    }
  }

  fs::path program_ = Scratch() / "program";
  fs::path game_ = Scratch() / "game";
  likentor::SavedGame saved_;
  likentor::ScriptedPrompts prompts_;
  std::unique_ptr<likentor::Session> session_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static GameUnderLoad game;
  game.Load(likentor::fuzz::BytesOf(data, size));
  return 0;
}
