// install and uninstall of art packs as the command line runs them, on a program set up in a
// temporary folder with a graphics/ of its own and a small generated saved game: pictures checked
// one by one, copied under the next free numbers with their catalogue rows, the next draws
// reaching them, and uninstall taking back exactly the pack and redrawing only its wearers.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/component_packs.h"
#include "app/session.h"
#include "database/table_store.h"
#include "import/players_fields.h"
#include "portrait/appearance.h"
#include "portrait/png_image.h"
#include "shell/folders.h"
#include "shell/random_generator.h"
#include "shell/scripted_prompts.h"
#include "support/command_line_runs.h"
#include "support/program_folder.h"
#include "support/small_sample_game.h"
#include "support/table_helpers.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

namespace fs = std::filesystem;

using test::Outcome;

constexpr int kAfricanShipped = 1692;
const std::string kLikentor = std::string(LIKENTOR_PROGRAM_DIR) + "/likentor";

class InstallCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::InstallDataFiles(program_);
    fs::create_directories(program_ / "graphics");
    const Outcome setup =
        Run({"setup", "--program-folder", program_.string(), "--game-folder", game_.string()});
    ASSERT_EQ(setup.status, 0) << setup.err;
    test::WriteSmallSampleGame(game_);
    ASSERT_EQ(Run({"load", "sample"}).status, 0);
  }

  Outcome Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"-C", program_.string()});
    return test::RunInProcess(std::move(args), program_);
  }

  // A picture of the given size, its pixels keyed by `seed` so that every one differs.
  static void WritePicture(const fs::path& file, int width, int height, bool alpha, int seed) {
    fs::create_directories(file.parent_path());
    PngImage image(width, height, alpha);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        image.SetPixel(x, y,
                       {static_cast<std::uint8_t>(seed * 7 + x), static_cast<std::uint8_t>(y),
                        static_cast<std::uint8_t>(seed)});
        if (alpha) image.SetAlpha(x, y, static_cast<std::uint8_t>((x + y + seed) % 256));
      }
    }
    image.Save(file);
  }

  // A folder of `good` faces as the kit draws them, and three that are not.
  fs::path FacesPack(const std::string& name, int good) {
    const fs::path pack = folder_ / name;
    for (int i = 0; i < good; ++i) {
      WritePicture(pack / ("face" + std::to_string(100 + i) + ".png"), 83, 131, true, i + 1);
    }
    WritePicture(pack / "face900-rgb.png", 83, 131, false, 9);
    WritePicture(pack / "face901-layer.png", 90, 135, true, 9);
    test::WriteBytes(pack / "face902-notes.png", "these are not pixels");
    return pack;
  }

  Database& Db() {
    if (!db_) db_ = std::make_unique<Database>(DataFolder(program_));
    return *db_;
  }

  std::map<int, std::map<std::string, std::string>> Players() {
    return test::ReadRows(Db(), "sample_players.db");
  }

  void SetPlayer(int id, const std::map<std::string, int>& ints) {
    Table t(Db(), "sample_players.db");
    ASSERT_TRUE(t.Locate(kPlayerIdField, id));
    t.Edit();
    for (const auto& [field, value] : ints) t.SetInt(field, value);
    t.SetBool(kUpdateRequiredField, false);
    ASSERT_TRUE(t.Post()) << t.LastError();
  }

  fs::path AfricanFace(int n) const {
    std::string digits = std::to_string(n);
    digits.insert(0, 7 - digits.size(), '0');
    return program_ / "graphics" / "faces" / "african" / (digits + ".png");
  }

  // Runs `work` on a session of its own in a child process, as a command would, and kills the
  // child (it ends itself at once, as SIGKILL would end it: nothing runs after) when the progress
  // bar first reaches `position`. Returns the child's exit status: 9 when it was stopped there.
  template <typename Work>
  int StoppedAt(int position, Work work) {
    db_.reset();
    const pid_t child = ::fork();
    if (child == 0) {
      ScriptedPrompts prompts;
      Session session(prompts, StartingPlaces(program_, true, program_));
      session.Startup(Session::Missing::Fail);
      session.Progress().SetListener([position](const ProgressReport& report) {
        if (report.visible && report.position >= position) ::_exit(9);
      });
      try {
        work(session);
      } catch (...) {
        ::_exit(2);
      }
      ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // Every african face past the shipped ones has its file and every file its row; no file is left
  // half made or set aside.
  void ExpectAfricanFacesAgree() {
    std::set<int> rows;
    for (const auto& [number, row] : test::ReadRows(Db(), "faces_african.db")) {
      if (number > kAfricanShipped) rows.insert(number);
    }
    std::set<int> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(AfricanFace(1).parent_path(), ec)) {
      const std::string name = entry.path().filename().string();
      ASSERT_EQ(name.size(), 11u) << "a file left: " << entry.path();
      ASSERT_EQ(name.substr(7), ".png") << "a file left: " << entry.path();
      files.insert(std::stoi(name.substr(0, 7)));
    }
    EXPECT_EQ(rows, files);
    EXPECT_FALSE(fs::exists(program_ / "pack_journal.txt"));
  }

  test::TempFolder folder_;
  fs::path program_ = folder_ / "program";
  fs::path game_ = folder_ / "game";
  std::unique_ptr<Database> db_;
};

TEST_F(InstallCommandTest, AFacesPackInstallsItsGoodPicturesAndUninstallTakesItBack) {
  const auto catalogueBefore = test::ReadRows(Db(), "faces_african.db");
  ASSERT_EQ(catalogueBefore.size(), static_cast<std::size_t>(kAfricanShipped));

  const fs::path pack = FacesPack("pack", 17);
  Outcome run = Run({"install", "faces", pack.string(), "--ethnicity", "african"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Installed 17 faces (african) as pack 1. Passed over 3:"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find((pack / "face900-rgb.png").string() + ": not RGBA (PNG colour type 2)."),
            std::string::npos)
      << run.out;
  EXPECT_NE(
      run.out.find((pack / "face901-layer.png").string() + ": 90 x 135 pixels, not 83 x 131."),
      std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find((pack / "face902-notes.png").string() +
                         ": not a PNG picture (it does not start with the PNG signature)."),
            std::string::npos)
      << run.out;
  // Copied in name order under the next numbers, byte for byte; nothing of the bad ones.
  for (int i = 0; i < 17; ++i) {
    EXPECT_EQ(test::ReadBytes(AfricanFace(kAfricanShipped + 1 + i)),
              test::ReadBytes(pack / ("face" + std::to_string(100 + i) + ".png")))
        << i;
  }
  EXPECT_FALSE(fs::exists(AfricanFace(kAfricanShipped + 18)));
  EXPECT_EQ(Table(Db(), "faces_african.db").RecordCount(), kAfricanShipped + 17);

  // The next draws reach the new faces: GetFace over the tables as they now stand.
  {
    Table nations(Db(), "nations.db"), african(Db(), "faces_african.db"),
        asian(Db(), "faces_asian.db"), caucasian(Db(), "faces_caucasian.db"),
        eastIndian(Db(), "faces_east_indian.db"), facialHair(Db(), "facial_hair.db");
    RandomGenerator random;
    AppearanceDraws draws(random, {nations, african, asian, caucasian, eastIndian, facialHair});
    std::set<int> reached;
    for (int i = 0; i < 20000; ++i) {
      const int face = draws.GetFace(kAfrican);
      ASSERT_GE(face, 1);
      ASSERT_LE(face, kAfricanShipped + 15);
      if (face > kAfricanShipped) reached.insert(face);
    }
    EXPECT_GE(reached.size(), 10u);
  }

  // A second pack after it; then players wearing faces of both.
  const fs::path second = folder_ / "second";
  for (int i = 0; i < 3; ++i) {
    WritePicture(second / ("f" + std::to_string(i) + ".png"), 83, 131, true, 50 + i);
  }
  run = Run({"install", "faces", second.string(), "--ethnicity", "african"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Installed 3 faces (african) as pack 2."), std::string::npos) << run.out;
  run = Run({"uninstall"});
  EXPECT_NE(run.out.find("Pack 1: 17 faces (african) from " + pack.string()), std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("Pack 2: 3 faces (african)"), std::string::npos) << run.out;

  std::vector<int> ids;
  for (const auto& [id, row] : Players()) ids.push_back(id);
  ASSERT_GE(ids.size(), 5u);
  SetPlayer(ids[0], {{"ethnicity", kAfrican}, {"face", kAfricanShipped + 5}});   // pack 1
  SetPlayer(ids[1], {{"ethnicity", kAfrican}, {"face", kAfricanShipped + 17}});  // pack 1
  SetPlayer(ids[2], {{"ethnicity", kAfrican}, {"face", kAfricanShipped + 19}});  // pack 2
  SetPlayer(ids[3], {{"ethnicity", kAfrican}, {"face", 12}});                    // shipped
  SetPlayer(ids[4], {{"ethnicity", kAsian}, {"face", kAfricanShipped + 5}});     // not african
  const auto playersBefore = Players();
  const std::string secondBytes = test::ReadBytes(second / "f2.png");

  run = Run({"uninstall", "1"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Uninstalled pack 1 (17 items); 2 players were given a new look"),
            std::string::npos)
      << run.out;
  // Pack 2 moved down into the numbers pack 1 left: rows, files and its wearer.
  EXPECT_EQ(Table(Db(), "faces_african.db").RecordCount(), kAfricanShipped + 3);
  EXPECT_EQ(test::ReadBytes(AfricanFace(kAfricanShipped + 3)), secondBytes);
  EXPECT_FALSE(fs::exists(AfricanFace(kAfricanShipped + 4)));
  auto players = Players();
  for (int redrawn : {ids[0], ids[1]}) {
    const int face = std::stoi(players[redrawn]["face"]);
    EXPECT_GE(face, 1);
    EXPECT_LE(face, kAfricanShipped + 1) << redrawn;
    EXPECT_EQ(players[redrawn]["update_required"], "true") << redrawn;
  }
  EXPECT_EQ(players[ids[2]]["face"], std::to_string(kAfricanShipped + 2));
  EXPECT_EQ(players[ids[2]]["update_required"], "false");
  for (const auto& [id, row] : players) {
    if (id == ids[0] || id == ids[1] || id == ids[2]) continue;
    EXPECT_EQ(row, playersBefore.at(id)) << id;
  }

  // With both gone the catalogue is as the setup made it.
  run = Run({"uninstall", "2"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(test::ReadRows(Db(), "faces_african.db"), catalogueBefore);
  EXPECT_FALSE(fs::exists(AfricanFace(kAfricanShipped + 1)));
  EXPECT_EQ(Run({"uninstall"}).out, "No packs are installed.\n");
  run = Run({"uninstall", "2"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("There is no installed pack 2."), std::string::npos) << run.err;

  // Usage: faces need an ethnicity; a folder of nothing good installs nothing.
  EXPECT_EQ(Run({"install", "faces", pack.string()}).status, 2);
  const fs::path bad = folder_ / "bad";
  test::WriteBytes(bad / "x.png", "no");
  run = Run({"install", "faces", bad.string(), "--ethnicity", "asian"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("holds no picture to install"), std::string::npos) << run.err;
}

TEST_F(InstallCommandTest, FacialHairAccessoriesAndUniformPacks) {
  // Facial hair: a style folder with both colours, a loose picture for both, a style folder
  // lacking a colour.
  const fs::path hair = folder_ / "hair";
  WritePicture(hair / "a-style" / "brown.png", 90, 135, true, 1);
  WritePicture(hair / "a-style" / "blonde.png", 90, 135, true, 2);
  WritePicture(hair / "b-loose.png", 90, 135, true, 3);
  WritePicture(hair / "c-half" / "brown.png", 90, 135, true, 4);
  const auto stylesBefore = test::ReadRows(Db(), "facial_hair.db");
  const int lastStyle = stylesBefore.rbegin()->first;
  Outcome run = Run({"install", "facial-hair", hair.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Installed 2 facial-hair styles as pack 1. Passed over 1:"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("blonde.png: not a file."), std::string::npos) << run.out;
  auto styles = test::ReadRows(Db(), "facial_hair.db");
  ASSERT_EQ(styles.size(), stylesBefore.size() + 2);
  const std::string location = styles[lastStyle + 1]["location"];
  EXPECT_EQ(test::ReadBytes(program_ / "graphics" / "facial hair" / location / "blonde.png"),
            test::ReadBytes(hair / "a-style" / "blonde.png"));
  EXPECT_GT(std::stoi(styles[lastStyle + 2]["frequency"]), 0);

  // Accessories: the place of the next one is taken by a file of the user's: nothing installs.
  const fs::path accessories = folder_ / "accessories";
  WritePicture(accessories / "a.png", 90, 135, true, 5);
  WritePicture(accessories / "b.png", 90, 135, true, 6);
  const auto accessoriesBefore = test::ReadRows(Db(), "accessories.db");
  const fs::path taken = program_ / "graphics" / "accessories" / "00005.png";
  test::WriteBytes(taken, "mine");
  run = Run({"install", "accessories", accessories.string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find(taken.string()), std::string::npos) << run.err;
  EXPECT_EQ(test::ReadRows(Db(), "accessories.db"), accessoriesBefore);
  EXPECT_EQ(test::ReadBytes(taken), "mine");
  EXPECT_FALSE(fs::exists(program_ / "graphics" / "accessories" / "00006.png"));
  fs::remove(taken);
  run = Run({"install", "accessories", accessories.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Installed 2 accessories as pack 2."), std::string::npos) << run.out;
  EXPECT_EQ(Table(Db(), "accessories.db").RecordCount(), 6);
  EXPECT_EQ(test::ReadBytes(program_ / "graphics" / "accessories" / "00006.png"),
            test::ReadBytes(accessories / "b.png"));

  // A custom uniform, set for team 1.
  const fs::path uniforms = folder_ / "uniforms";
  WritePicture(uniforms / "home.png", 90, 135, true, 7);
  run = Run({"install", "uniform", uniforms.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  const fs::path uniform =
      program_ / "graphics" / "uniforms" / "custom" / "installed" / "00001.png";
  EXPECT_EQ(test::ReadBytes(uniform), test::ReadBytes(uniforms / "home.png"));
  ASSERT_EQ(Run({"uniform", "sample", "1", uniform.string()}).status, 0);

  // Players wearing the new style and accessory.
  std::vector<int> ids;
  for (const auto& [id, row] : Players()) ids.push_back(id);
  SetPlayer(ids[0], {{"facial_hair_style", lastStyle + 1}});
  SetPlayer(ids[1], {{"accessory", 5}});
  SetPlayer(ids[2], {{"accessory", 2}});
  const auto before = Players();

  run = Run({"uninstall", "1"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(test::ReadRows(Db(), "facial_hair.db"), stylesBefore);
  EXPECT_FALSE(fs::exists(program_ / "graphics" / "facial hair" / location));
  auto after = Players();
  EXPECT_NE(after[ids[0]]["facial_hair_style"], std::to_string(lastStyle + 1));
  EXPECT_EQ(after[ids[0]]["update_required"], "true");

  run = Run({"uninstall", "2"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(test::ReadRows(Db(), "accessories.db"), accessoriesBefore);
  after = Players();
  EXPECT_EQ(after[ids[1]]["accessory"], "0");
  EXPECT_EQ(after[ids[1]]["update_required"], "true");
  EXPECT_EQ(after[ids[2]], before.at(ids[2]));

  run = Run({"uninstall", "3"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_FALSE(fs::exists(uniform));
  EXPECT_EQ(test::ColumnByKey(Db(), "sample_teams.db", "custom_uniform_file").at(1), "none");
  after = Players();
  for (const auto& [id, row] : after) {
    if (row.at("team_id") == "1") {
      EXPECT_EQ(row.at("update_required"), "true") << id;
    }
  }
}

TEST_F(InstallCommandTest, PicturesArePassedOverFromTheirSizeAndFirstBytes) {
  const fs::path pack = folder_ / "odd";
  WritePicture(pack / "a-good.png", 83, 131, true, 1);
  // Sparse files: a gigabyte and nine megabytes that would be read whole.
  const fs::path huge = pack / "b-huge.png";
  WritePicture(huge, 83, 131, true, 2);
  fs::resize_file(huge, std::uintmax_t{1} << 30);
  const fs::path big = pack / "c-big.png";
  WritePicture(big, 83, 131, true, 3);
  fs::resize_file(big, std::uintmax_t{9} << 20);
  test::WriteBytes(pack / "d-jpeg.png", std::string("\xff\xd8\xff\xe0\0\x10JFIF\0", 11));
  test::WriteBytes(pack / "e-short.png", "\x89PN");
  const Outcome run = Run({"install", "faces", pack.string(), "--ethnicity", "african"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Installed 1 face (african) as pack 1. Passed over 4:"), std::string::npos)
      << run.out;
  for (const std::string& line :
       {huge.string() + ": too large for a picture of the kit (1024 MB, at most 8 MB).",
        big.string() + ": too large for a picture of the kit (9 MB, at most 8 MB).",
        (pack / "d-jpeg.png").string() +
            ": not a PNG picture (it does not start with the PNG signature).",
        (pack / "e-short.png").string() +
            ": not a PNG picture (it does not start with the PNG signature)."}) {
    EXPECT_NE(run.out.find(line), std::string::npos) << line << "\n" << run.out;
  }
  EXPECT_EQ(Table(Db(), "faces_african.db").RecordCount(), kAfricanShipped + 1);
}

TEST_F(InstallCommandTest, AStoppedInstallIsTakenBackAndAStoppedUninstallFinished) {
  // An install killed halfway through its copy: the next command that writes takes it back.
  const fs::path pack = FacesPack("pack", 17);
  EXPECT_EQ(StoppedAt(50, [&](Session& s) { InstallPack(s, PackKind::Faces, pack, kAfrican); }), 9);
  Outcome run = Run({"uninstall"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "No packs are installed.\n");
  EXPECT_EQ(Table(Db(), "faces_african.db").RecordCount(), kAfricanShipped);
  ExpectAfricanFacesAgree();

  // Two packs, players wearing faces of both; uninstalls of the first killed at each of its steps
  // and each finished by the next command, as an uninterrupted one ends.
  ASSERT_EQ(Run({"install", "faces", pack.string(), "--ethnicity", "african"}).status, 0);
  const fs::path second = folder_ / "second";
  for (int i = 0; i < 3; ++i) {
    WritePicture(second / ("f" + std::to_string(i) + ".png"), 83, 131, true, 50 + i);
  }
  ASSERT_EQ(Run({"install", "faces", second.string(), "--ethnicity", "african"}).status, 0);
  std::vector<int> ids;
  for (const auto& [id, row] : Players()) ids.push_back(id);
  SetPlayer(ids[0], {{"ethnicity", kAfrican}, {"face", kAfricanShipped + 5}});   // pack 1
  SetPlayer(ids[1], {{"ethnicity", kAfrican}, {"face", kAfricanShipped + 19}});  // pack 2
  SetPlayer(ids[2], {{"ethnicity", kAfrican}, {"face", 12}});                    // shipped
  db_.reset();
  const fs::path installed = folder_ / "installed";
  fs::copy(program_, installed, fs::copy_options::recursive);
  const std::string secondBytes = test::ReadBytes(second / "f2.png");
  for (int position : {20, 40, 60, 80}) {
    SCOPED_TRACE("uninstall stopped at " + std::to_string(position) + "%");
    fs::remove_all(program_);
    fs::copy(installed, program_, fs::copy_options::recursive);
    EXPECT_EQ(StoppedAt(position, [](Session& s) { UninstallPack(s, 1); }), 9);
    run = Run({"uninstall"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.find("Pack 1:"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Pack 2: 3 faces (african)"), std::string::npos) << run.out;
    EXPECT_EQ(Table(Db(), "faces_african.db").RecordCount(), kAfricanShipped + 3);
    EXPECT_EQ(test::ReadBytes(AfricanFace(kAfricanShipped + 3)), secondBytes);
    ExpectAfricanFacesAgree();
    std::map<int, std::string> numbers;
    for (const auto& [item, row] : test::ReadRows(Db(), std::string(kComponentsTable))) {
      numbers[std::stoi(row.at("number"))] = row.at("location");
    }
    EXPECT_EQ(numbers.size(), 3u);
    EXPECT_EQ(numbers.begin()->first, kAfricanShipped + 1);
    const auto players = Players();
    const int redrawn = std::stoi(players.at(ids[0]).at("face"));
    EXPECT_GE(redrawn, 1);
    EXPECT_LE(redrawn, kAfricanShipped + 3);
    EXPECT_EQ(players.at(ids[0]).at("update_required"), "true");
    EXPECT_EQ(players.at(ids[1]).at("face"), std::to_string(kAfricanShipped + 2));
    EXPECT_EQ(players.at(ids[2]).at("face"), "12");
    db_.reset();
  }
}

TEST_F(InstallCommandTest, AnUninstallThatCannotRemoveItsFilesChangesNothingAndSaysWhich) {
  const fs::path accessories = folder_ / "accessories";
  WritePicture(accessories / "a.png", 90, 135, true, 5);
  WritePicture(accessories / "b.png", 90, 135, true, 6);
  ASSERT_EQ(Run({"install", "accessories", accessories.string()}).status, 0);
  const auto rows = test::ReadRows(Db(), "accessories.db");
  ASSERT_EQ(rows.size(), 6u);
  const fs::path folder = program_ / "graphics" / "accessories";
  db_.reset();

  // The accessories folder not writable for the user who runs the program: another user's folder
  // for root (the rest of the program folder the runner's), else the folder made read-only.
  std::string prefix;
  if (::geteuid() == 0) {
    prefix = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
    ASSERT_EQ(std::system(("chown -R 65534:65534 '" + folder_.Path().string() + "' && chown 0:0 '" +
                           folder.string() + "' && chmod 755 '" + folder.string() + "'")
                              .c_str()),
              0);
  } else {
    fs::permissions(folder,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
  }
  const fs::path out = folder_ / "out.txt";
  const int raw = std::system((prefix + kLikentor + " -C '" + program_.string() +
                               "' uninstall 1 >'" + out.string() + "' 2>&1")
                                  .c_str());
  ASSERT_TRUE(WIFEXITED(raw));
  EXPECT_EQ(WEXITSTATUS(raw), 1);
  const std::string said = test::ReadBytes(out);
  EXPECT_NE(said.find("Cannot uninstall pack 1: 2 of its 2 files cannot be removed"),
            std::string::npos)
      << said;
  EXPECT_NE(said.find((folder / "00005.png").string()), std::string::npos) << said;
  EXPECT_NE(said.find("Nothing was changed."), std::string::npos) << said;
  EXPECT_EQ(test::ReadRows(Db(), "accessories.db"), rows);
  EXPECT_TRUE(fs::exists(folder / "00005.png"));
  EXPECT_TRUE(fs::exists(folder / "00006.png"));
  EXPECT_EQ(Table(Db(), std::string(kComponentsTable)).RecordCount(), 2);
  EXPECT_FALSE(fs::exists(program_ / "pack_journal.txt"));

  // Writable again, the uninstall goes through.
  db_.reset();
  fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add);
  const Outcome run = Run({"uninstall", "1"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Table(Db(), "accessories.db").RecordCount(), 4);
  EXPECT_FALSE(fs::exists(folder / "00005.png"));
}

}  // namespace
}  // namespace likentor
