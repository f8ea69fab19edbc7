// Dry runs, backups and undo of the batch runs and of one player's photo, on tables and a tiny
// artwork kit the tests write.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <map>
#include <set>

#include "app/batch_runs.h"
#include "app/dry_run.h"
#include "app/photo_fixture.h"
#include "app/player_looks.h"
#include "app/player_photo.h"
#include "app/run_backup.h"
#include "app/run_plan.h"
#include "app/undo_run.h"
#include "database/connection.h"
#include "database/face_tables.h"
#include "database/nations_table.h"
#include "support/table_helpers.h"

namespace likentor {
namespace {

namespace fs = std::filesystem;
using test::Player;
using test::Team;
using Kind = ScriptedPrompts::Kind;

// Every file below a folder but the artwork kit: its size, a hash of its bytes and its
// modification time. SQLite's shared-memory index changes when a table is only read, and is left
// out (the rows are compared apart).
using Tree = std::map<std::string, std::tuple<std::size_t, std::size_t, std::int64_t>>;
Tree Snapshot(const fs::path& folder) {
  Tree tree;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().string();
    if (!entry.is_regular_file() || name.find("/graphics/") != std::string::npos ||
        name.ends_with("-shm")) {
      continue;
    }
    const std::string bytes = test::ReadBytes(entry.path());
    tree[name] = {bytes.size(), std::hash<std::string>{}(bytes), StampOf(entry.path())->modified};
  }
  return tree;
}

class SafeRunsTest : public test::PhotoFixture {
 protected:
  test::Rows PlayerRows() { return test::ReadRows(session_.Data(), PlayersTableName(kGame)); }
  std::set<int> Flagged() {
    std::set<int> ids;
    for (const auto& [id, row] : PlayerRows()) {
      if (row.at("update_required") == "true") ids.insert(id);
    }
    return ids;
  }
  void FlagAll() {
    Table players(session_.Data(), PlayersTableName(kGame));
    for (players.First(); !players.Eof(); players.Next()) {
      players.Edit();
      players.SetBool("update_required", true);
      ASSERT_TRUE(players.Post());
    }
  }
  RunResult Universe(int scope = 0) {
    return MakeUniversePhotos(session_, {ReadUniverseFilters(session_), scope});
  }
  std::string UserPicture(int id) {
    return "a picture of the user's own, player " + std::to_string(id);
  }
  // A picture as a run writes it: a new file put in place of the old one.
  void WriteAsARun(int id, const std::string& bytes) {
    const fs::path part = fs::path(Portrait(id)).concat(".part");
    test::WriteBytes(part, bytes);
    fs::rename(part, Portrait(id));
  }
  // A run's change of a player's row, as a portrait records it.
  void ChangeRow(int id) {
    Table players(session_.Data(), PlayersTableName(kGame));
    ASSERT_TRUE(players.Locate("player_id", id));
    players.Edit();
    players.SetInt("background", 60 + id);
    players.SetBool("update_required", false);
    ASSERT_TRUE(players.Post());
  }
  RowValues RowBefore(int id) {
    Table players(session_.Data(), PlayersTableName(kGame));
    EXPECT_TRUE(players.Locate("player_id", id));
    return ReadRowValues(players);
  }
  // The pictures of the picture folder, by name.
  std::map<std::string, std::string> PictureFiles() {
    std::map<std::string, std::string> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(Pictures())) {
      files[entry.path().filename().string()] = test::ReadBytes(entry.path());
    }
    return files;
  }
};

TEST_F(SafeRunsTest, ADryRunTellsWhatTheRunThenDoesAndWritesNothing) {
  AddTeam({.id = 1, .level = 1});
  AddTeam({.id = 2, .level = 4});
  AddPlayer({.id = 1, .teamId = 1});
  AddPlayer({.id = 2, .teamId = 1, .locked = true});
  AddPlayer({.id = 3, .teamId = 1, .retired = true});  // retired players not wanted
  AddPlayer({.id = 4, .teamId = 2, .careerAb = 10});   // below both minimums
  AddPlayer({.id = 5, .teamId = 2});                   // level 4, under "AA Level and Up"
  AddPlayer({.id = 6, .teamId = 1});
  AddPlayer({.id = 7, .teamId = 0});
  AddPlayer({.id = 8, .teamId = 1, .updateRequired = false});  // not selected at all
  SetSettingFlag("create_retired_photos", false);
  test::WriteBytes(Portrait(7), UserPicture(7));
  const RunChoice choice = RunChoice::Universe({ReadUniverseFilters(session_), 3});

  const test::Rows rowsBefore = PlayerRows();
  const Tree before = Snapshot(folder_.Path());
  const int errorsBefore = session_.Log().Reported();
  const DryRunSummary summary = DryRun(session_, choice);
  EXPECT_EQ(PlayerRows(), rowsBefore);
  EXPECT_EQ(Snapshot(folder_.Path()), before);
  EXPECT_EQ(session_.Log().Reported(), errorsBefore);
  EXPECT_FALSE(fs::exists(BackupsFolder(program_)));
  EXPECT_FALSE(session_.Game().PlayersQuery.IsOpen());

  EXPECT_EQ(summary.total.selected, 7);
  EXPECT_EQ(summary.total.toMake, 3);
  EXPECT_EQ(summary.total.replaces, 1);
  for (const PassOver reason : kAllPassOvers) {
    EXPECT_EQ(summary.total.PassedOver(reason), 1) << PassOverText(reason);
  }
  ASSERT_EQ(summary.teams.size(), 3u);
  EXPECT_EQ(summary.teams[0].name, "no team");
  EXPECT_EQ(summary.teams[1].counts.toMake, 2);
  EXPECT_EQ(summary.teams[1].counts.PassedOver(PassOver::Locked), 1);
  EXPECT_EQ(summary.teams[2].counts.PassedOver(PassOver::OutOfScope), 1);
  EXPECT_EQ(summary.teams[2].counts.PassedOver(PassOver::BelowMinimum), 1);
  EXPECT_TRUE(summary.artwork.empty());
  EXPECT_TRUE(summary.colours.empty());
  const std::string text = DryRunText(summary);
  EXPECT_NE(text.find("Photos it would make:             3"), std::string::npos) << text;
  const std::string json = DryRunJson(summary);
  EXPECT_NE(json.find("\"to_make\": 3, \"replaces\": 1"), std::string::npos) << json;
  EXPECT_NE(json.find("\"out_of_scope\": 1"), std::string::npos) << json;

  // The run then does just that, and its plan tells each player's reason as the dry run counted.
  const RunPlan plan = PlanRun(session_, choice);
  session_.Game().PlayersQuery.Clear();
  std::set<int> toMake;
  for (const PlannedPlayer& p : plan.players) {
    if (!p.passOver) toMake.insert(p.row.playerId);
  }
  EXPECT_EQ(toMake, (std::set<int>{1, 6, 7}));
  const RunResult result = Universe(3);
  EXPECT_EQ(result.made, summary.total.toMake);
  EXPECT_EQ(result.kept, summary.total.replaces);
  EXPECT_EQ(Flagged(), (std::set<int>{2, 3, 4, 5}));

  // The team run's dry run: only locks pass players over.
  const DryRunSummary team = DryRun(session_, RunChoice::Team(1));
  EXPECT_EQ(team.total.selected, 2);
  EXPECT_EQ(team.total.toMake, 1);
  EXPECT_EQ(team.total.PassedOver(PassOver::Locked), 1);
  EXPECT_EQ(MakeTeamPhotos(session_, 1).made, team.total.toMake);
}

TEST_F(SafeRunsTest, ADryRunNamesMissingArtworkAndColoursThatGiveNone) {
  AddTeam({.id = 1, .customUniform = (program_ / "custom.png").string()});
  AddTeam({.id = 2, .logo = "logo2.png", .background = "#GG0000", .text = "#12"});
  SetUseLogos(true);
  AddPlayer({.id = 1, .teamId = 1, .face = 77});
  AddPlayer({.id = 2, .teamId = 2});
  AddPlayer({.id = 3, .teamId = 2});
  test::WriteBytes(Graphics() / "backgrounds" / "00069.png", "not a picture");
  const DryRunSummary summary =
      DryRun(session_, RunChoice::Universe({ReadUniverseFilters(session_), 0}));
  std::map<std::string, ArtworkProblem> byWhat;
  for (const ArtworkProblem& p : summary.artwork) byWhat[p.what] = p;
  ASSERT_TRUE(byWhat.count("face"));
  EXPECT_TRUE(byWhat["face"].missing);
  EXPECT_TRUE(byWhat["face"].stopsRun);
  EXPECT_EQ(byWhat["face"].players, 1);
  ASSERT_TRUE(byWhat.count("custom uniform"));
  EXPECT_FALSE(byWhat["custom uniform"].stopsRun);
  ASSERT_TRUE(byWhat.count("logo"));
  EXPECT_EQ(byWhat["logo"].players, 2);
  ASSERT_TRUE(byWhat.count("background"));
  EXPECT_FALSE(byWhat["background"].missing);
  EXPECT_EQ(byWhat["background"].players, 3);
  ASSERT_EQ(summary.colours.size(), 2u);
  EXPECT_EQ(summary.colours[0].field, "background_color_id");
  EXPECT_TRUE(summary.colours[0].stopsRun);
  EXPECT_EQ(summary.colours[1].field, "text_color_id");
  EXPECT_FALSE(summary.colours[1].stopsRun);
  EXPECT_EQ(summary.colours[1].players, 2);
  const std::string text = DryRunText(summary);
  EXPECT_NE(text.find("0000077.png is missing (1 portrait)"), std::string::npos) << text;
  EXPECT_NE(text.find("\"#GG0000\" is not a colour"), std::string::npos) << text;
}

TEST_F(SafeRunsTest, ARunKeepsWhatItReplacesAndUndoPutsItBack) {
  for (int id = 1; id <= 4; ++id) AddPlayer({.id = id});
  for (int id : {1, 2, 3}) test::WriteBytes(Portrait(id), UserPicture(id));
  const test::Rows rowsBefore = PlayerRows();

  EXPECT_EQ(UniverseGoBtnClick(session_, 0), 4);
  EXPECT_EQ(prompts_.Texts(Kind::Message).back(),
            "Successfully created 4 photos. 3 earlier pictures were kept; Tools > Undo Last Run "
            "brings them back.");
  const std::vector<BackupRun> runs = BackupRuns(program_, kGame);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].Replaced(), 3);
  EXPECT_EQ(runs[0].Created(), 1);
  EXPECT_EQ(runs[0].title, "entire universe");
  for (int id : {1, 2, 3}) {
    EXPECT_EQ(test::ReadBytes(runs[0].folder / Portrait(id).filename()), UserPicture(id));
    EXPECT_NE(test::ReadBytes(Portrait(id)), UserPicture(id));
  }

  // The user edits one picture after the run: undo leaves it alone and names it.
  test::WriteBytes(Portrait(3), "edited after the run");
  const test::Rows rowsAfterRun = PlayerRows();
  prompts_.AnswerConfirm(true);
  EXPECT_TRUE(UndoLastRun1Click(session_));
  EXPECT_EQ(prompts_.Texts(Kind::Confirm).back().substr(0, 22), "Undo the photo run of ");
  EXPECT_NE(prompts_.Texts(Kind::Confirm)
                .back()
                .find("It puts back 3 earlier pictures and removes 1 picture the run created."),
            std::string::npos);
  const std::string message = prompts_.Texts(Kind::Message).back();
  EXPECT_NE(message.find("2 earlier pictures put back, 1 new picture removed."), std::string::npos)
      << message;
  EXPECT_NE(message.find("Changed since the run and left alone: Player_3.png"), std::string::npos)
      << message;
  for (int id : {1, 2}) EXPECT_EQ(test::ReadBytes(Portrait(id)), UserPicture(id));
  EXPECT_EQ(test::ReadBytes(Portrait(3)), "edited after the run");
  EXPECT_FALSE(fs::exists(Portrait(4)));
  test::Rows expected = rowsBefore;
  expected[3] = rowsAfterRun.at(3);  // the picture left alone keeps its row
  EXPECT_EQ(PlayerRows(), expected);
  // Its earlier picture stays in the backup, and nothing is left to undo.
  EXPECT_EQ(test::ReadBytes(runs[0].folder / "Player_3.png"), UserPicture(3));
  EXPECT_FALSE(LastRunToUndo(session_));
  EXPECT_FALSE(UndoLastRun1Click(session_));
  EXPECT_EQ(prompts_.Texts(Kind::Message).back(), "There is no photo run of g to undo.");
}

TEST_F(SafeRunsTest, UndoTwiceGoesBackTwoRunsAndMakeNewPhotoIsARunToo) {
  AddPlayer({.id = 1});
  AddPlayer({.id = 2});
  test::WriteBytes(Portrait(1), UserPicture(1));
  const test::Rows rowsBefore = PlayerRows();
  EXPECT_EQ(Universe().kept, 1);
  const std::string first = test::ReadBytes(Portrait(2));
  const test::Rows rowsAfterFirst = PlayerRows();
  FlagAll();
  const test::Rows rowsFlagged = PlayerRows();
  const RunResult second = Universe();
  EXPECT_EQ(second.made, 2);
  EXPECT_FALSE(second.stopped);
  EXPECT_EQ(second.kept, 2);
  EXPECT_EQ(second.players, (std::vector<int>{1, 2}));
  EXPECT_TRUE(std::filesystem::exists(second.backupFolder / "Player_1.png"));
  MakePlayerPhoto(session_, 2, false);

  UndoResult undone = UndoLastRun(session_);  // Make New Photo of player 2
  EXPECT_EQ(undone.title, "Make New Photo of player 2");
  EXPECT_EQ(undone.restored, 1);
  EXPECT_EQ(undone.rowsSetBack, 1);
  undone = UndoLastRun(session_);  // the second run
  EXPECT_EQ(undone.restored, 2);
  EXPECT_EQ(test::ReadBytes(Portrait(2)), first);
  EXPECT_EQ(PlayerRows(), rowsFlagged);
  undone = UndoLastRun(session_);  // the first run
  EXPECT_EQ(undone.restored, 1);
  EXPECT_EQ(undone.removed, 1);
  EXPECT_EQ(test::ReadBytes(Portrait(1)), UserPicture(1));
  EXPECT_FALSE(fs::exists(Portrait(2)));
  test::Rows expected = rowsBefore;
  EXPECT_EQ(PlayerRows(), expected);
  EXPECT_NE(rowsAfterFirst, rowsBefore);
  EXPECT_THROW(UndoLastRun(session_), Error);
  EXPECT_TRUE(BackupRuns(program_, kGame).empty());
}

// A run killed at every stage of its pictures: one recorded whole, one written but not recorded as
// written, one kept but not yet written, one created but not recorded, and a last line cut by
// the kill. Undo puts every earlier picture and row back; a file the run never kept stays.
TEST_F(SafeRunsTest, AKilledRunIsUndoneWholeAndAFileItDidNotKeepIsKeptAndNamed) {
  for (int id = 1; id <= 5; ++id) AddPlayer({.id = id});
  for (int id : {1, 2, 3, 5}) test::WriteBytes(Portrait(id), UserPicture(id));
  const test::Rows rowsBefore = PlayerRows();
  const std::map<std::string, std::string> picturesBefore = PictureFiles();
  fs::path folder;
  {
    RunBackup backup(program_, kGame, Pictures(), "entire universe");
    folder = backup.Folder();
    // Player 1: kept, written, its row changed, recorded as written.
    EXPECT_TRUE(backup.Keep(1, Portrait(1), RowBefore(1)));
    WriteAsARun(1, "the run's portrait of player 1");
    ChangeRow(1);
    backup.Record(Portrait(1), true, true);
    // Player 2: kept, written and its row changed; killed before the record of the write.
    EXPECT_TRUE(backup.Keep(2, Portrait(2), RowBefore(2)));
    WriteAsARun(2, "the run's portrait of player 2");
    ChangeRow(2);
    // Player 3: kept; killed while its portrait was being written beside the picture.
    EXPECT_TRUE(backup.Keep(3, Portrait(3), RowBefore(3)));
    test::WriteBytes(fs::path(Portrait(3)).concat(".part"), "half a portr");
    // Player 4: a new picture, written with its row; killed before the record.
    EXPECT_FALSE(backup.Keep(4, Portrait(4), RowBefore(4)));
    WriteAsARun(4, "the run's portrait of player 4");
    ChangeRow(4);
    // The backup goes without Finish, as a killed run leaves it.
  }
  // The kill cut the record being written.
  {
    std::ofstream manifest(folder / "manifest.txt", std::ios::app | std::ios::binary);
    manifest << "written\tPlayer_3.png\t31\t17";
  }
  // A file that no run kept: a picture of the user's own, put there by hand.
  test::WriteBytes(folder / "Player_5.png", "the user's spare copy");
  ASSERT_NE(PlayerRows(), rowsBefore);

  const std::optional<UndoPreview> preview = LastRunToUndo(session_);
  ASSERT_TRUE(preview);
  EXPECT_EQ(preview->title, "entire universe");
  EXPECT_EQ(preview->restores, 2);  // player 3's picture was never written over
  EXPECT_EQ(preview->removes, 1);
  const UndoResult undone = UndoLastRun(session_);
  EXPECT_EQ(PictureFiles(), picturesBefore);
  EXPECT_EQ(PlayerRows(), rowsBefore);
  EXPECT_TRUE(undone.leftAlone.empty());
  EXPECT_EQ(undone.unexpected, std::vector<std::string>{"Player_5.png"});
  const std::string message = UndoMessage(undone);
  EXPECT_NE(message.find("Files that the run did not keep were left in " + folder.string() +
                         ": Player_5.png."),
            std::string::npos)
      << message;
  // The folder stays with that file, and the run counts as undone.
  EXPECT_EQ(test::ReadBytes(folder / "Player_5.png"), "the user's spare copy");
  EXPECT_FALSE(LastRunToUndo(session_));
}

// An undo that stops midway (here a kept picture that cannot be put back, as a kill would stop it)
// and is run again ends as one that was never stopped: every picture and row back, none of them
// named as changed since the run. A manifest of the earlier version is still undone.
TEST_F(SafeRunsTest, AnUndoStoppedMidwayEndsAsAWholeOneWhenRunAgain) {
  for (int id = 1; id <= 4; ++id) AddPlayer({.id = id});
  for (int id = 1; id <= 4; ++id) test::WriteBytes(Portrait(id), UserPicture(id));
  const test::Rows rowsBefore = PlayerRows();
  const std::map<std::string, std::string> picturesBefore = PictureFiles();
  EXPECT_EQ(Universe().kept, 4);
  const std::vector<BackupRun> runs = BackupRuns(program_, kGame);
  ASSERT_EQ(runs.size(), 1u);
  ASSERT_EQ(runs[0].entries.size(), 4u);
  EXPECT_TRUE(runs[0].ended);
  // The third picture in the run's order cannot be put back: its kept copy is a folder for now.
  const fs::path blocked = runs[0].folder / runs[0].entries[2].file;
  const fs::path aside = fs::path(blocked).concat(".aside");
  fs::rename(blocked, aside);
  fs::create_directory(blocked);
  EXPECT_THROW(UndoLastRun(session_), Error);
  fs::remove(blocked);
  fs::rename(aside, blocked);

  const UndoResult undone = UndoLastRun(session_);
  EXPECT_EQ(undone.restored, 4);
  EXPECT_EQ(undone.rowsSetBack, 4);
  EXPECT_TRUE(undone.leftAlone.empty()) << UndoMessage(undone);
  EXPECT_TRUE(undone.unexpected.empty()) << UndoMessage(undone);
  EXPECT_EQ(PictureFiles(), picturesBefore);
  EXPECT_EQ(PlayerRows(), rowsBefore);
  EXPECT_FALSE(fs::exists(runs[0].folder));
  EXPECT_FALSE(LastRunToUndo(session_));

  // A run kept by the earlier version: plain lines, one per picture written.
  const fs::path old = GameBackupsFolder(program_, kGame) / "2020-01-01_10-00-00";
  fs::create_directories(old);
  test::WriteBytes(old / "Player_1.png", "the picture before that run");
  WriteAsARun(1, "that run's portrait");
  const FileStamp stamp = *StampOf(Portrait(1));
  test::WriteBytes(old / "manifest.txt",
                   "likentor run backup\t1\ngame\tg\ntitle\tplayer 1\ntime\t2020-01-01 "
                   "10:00:00\nstarted\t1\npictures\t" +
                       Pictures().string() + "\npicture\treplaced\t1\tPlayer_1.png\t" +
                       std::to_string(stamp.size) + "\t" + std::to_string(stamp.modified) +
                       "\t1\t3\t7\t\\N\tfalse\n");
  const UndoResult older = UndoLastRun(session_);
  EXPECT_EQ(older.title, "player 1");
  EXPECT_EQ(older.restored, 1);
  EXPECT_EQ(test::ReadBytes(Portrait(1)), "the picture before that run");
  EXPECT_EQ(PlayerRows().at(1).at("accessory"), "3");
  EXPECT_EQ(PlayerRows().at(1).at("background"), "7");
}

// Numbers of a manifest are read strictly: a player id past 32 bits is no other player's id.
TEST_F(SafeRunsTest, AManifestNumberOutOfRangeIsDamageNotAnotherNumber) {
  const fs::path run = GameBackupsFolder(program_, kGame) / "2020-01-01_10-00-00";
  fs::create_directories(run);
  const auto manifest = [&](const std::string& playerId, const std::string& size) {
    test::WriteBytes(run / "manifest.txt",
                     "likentor run backup\t1\ngame\tg\ntitle\tplayer 1\ntime\t2020-01-01 "
                     "10:00:00\nstarted\t1\npictures\t" +
                         Pictures().string() + "\npicture\tcreated\t" + playerId +
                         "\tPlayer_1.png\t" + size + "\t5\t1\t3\t7\t\\N\tfalse\n");
  };
  for (const auto& [playerId, size] :
       {std::pair{"4294967297", "10"}, std::pair{"+1", "10"}, std::pair{" 1", "10"},
        std::pair{"1", "-10"}, std::pair{"1", "99999999999999999999"}}) {
    SCOPED_TRACE(std::string(playerId) + " " + size);
    manifest(playerId, size);
    try {
      ReadBackupRun(run);
      ADD_FAILURE() << "read as a whole manifest";
    } catch (const Error& e) {
      EXPECT_NE(std::string(e.what()).find("is damaged"), std::string::npos) << e.what();
    }
  }
  manifest("1", "10");
  EXPECT_EQ(ReadBackupRun(run).entries.at(0).playerId, 1);
}

// New Look changes the look and then the portrait: undo takes both back, and names it so.
TEST_F(SafeRunsTest, UndoOfNewLookPutsBackTheWholeLookAndNamesTheCommand) {
  // The catalogues the look is drawn from: no nations (every player is drawn caucasian) and four
  // caucasian faces, of which the draw gives 1 and 2; each with its picture.
  Database& db = session_.Data();
  UniversalTables& shared = session_.Universal();
  SetupNationsTable(db);
  for (const char* ethnicity : {"african", "asian", "caucasian", "east_indian"}) {
    CreateFaceTable(db, ethnicity);
  }
  PopulateFaceTable(db, session_.Log(), program_, "caucasian", 4);
  shared.NationsTable.Open(db, kNationsTable);
  shared.AfricanFacesTable.Open(db, FaceTableName("african"));
  shared.AsianFacesTable.Open(db, FaceTableName("asian"));
  shared.CaucasianFacesTable.Open(db, FaceTableName("caucasian"));
  shared.EastIndianFacesTable.Open(db, FaceTableName("east_indian"));
  const fs::path faces = Graphics() / "faces" / "caucasian";
  fs::copy_file(faces / "0000001.png", faces / "0000002.png");
  const fs::path beards = Graphics() / "facial hair" / "beard";
  fs::copy_file(beards / "brown.png", beards / "blonde.png");

  AddPlayer({.id = 1, .face = 1, .accessory = 2, .hairColor = 1, .updateRequired = false});
  db.ConnectionFor(PlayersTableName(kGame))
      .Execute("UPDATE " + QuoteSqlName(PlayersTableName(kGame)) +
               " SET first_name='Abe', last_name='Lowe', background=12, uniform_team_id=3");
  test::WriteBytes(Portrait(1), UserPicture(1));
  const test::Rows rowsBefore = PlayerRows();

  const Relook relook = NewLook(session_, 1, KeepLook::Nothing, true, false);
  EXPECT_NE(relook.after, relook.before);
  EXPECT_NE(PlayerRows(), rowsBefore);
  EXPECT_NE(test::ReadBytes(Portrait(1)), UserPicture(1));

  const std::optional<UndoPreview> preview = LastRunToUndo(session_);
  ASSERT_TRUE(preview);
  EXPECT_EQ(preview->title, "New Look for Abe Lowe");
  EXPECT_NE(UndoQuestion(*preview).find("(New Look for Abe Lowe)? It puts back 1 earlier picture"),
            std::string::npos)
      << UndoQuestion(*preview);
  const UndoResult undone = UndoLastRun(session_);
  EXPECT_EQ(undone.restored, 1);
  EXPECT_EQ(test::ReadBytes(Portrait(1)), UserPicture(1));
  // Face, ethnicity, hair, facial hair, accessory, background, uniform team and update_required.
  EXPECT_EQ(PlayerRows(), rowsBefore);
  for (Table* table : {&shared.NationsTable, &shared.AfricanFacesTable, &shared.AsianFacesTable,
                       &shared.CaucasianFacesTable, &shared.EastIndianFacesTable}) {
    table->Close();
  }
}

TEST_F(SafeRunsTest, ABackupThatCannotBeWrittenStopsTheRunBeforeAnythingIsWrittenOver) {
  for (int id = 1; id <= 3; ++id) AddPlayer({.id = id});
  test::WriteBytes(Portrait(2), UserPicture(2));
  const fs::path backups = BackupsFolder(program_);
  fs::create_directories(backups);
  ::chmod(backups.c_str(), 0555);
  // The superuser writes in a read-only folder all the same: a file where the folder should be
  // refuses him too.
  if (::geteuid() == 0) {
    fs::remove(backups);
    test::WriteBytes(backups, "not a folder");
  }
  const test::Rows rowsBefore = PlayerRows();
  try {
    Universe();
    FAIL() << "no error";
  } catch (const BackupError& error) {
    EXPECT_NE(std::string(error.what()).find("Nothing was written over"), std::string::npos)
        << error.what();
  }
  EXPECT_EQ(test::ReadBytes(Portrait(2)), UserPicture(2));
  EXPECT_FALSE(fs::exists(Portrait(1)));
  EXPECT_FALSE(fs::exists(Portrait(3)));
  EXPECT_EQ(PlayerRows(), rowsBefore);
  OpenPlayer(2);
  EXPECT_THROW(CreatePlayerPhoto(session_, 2), BackupError);
  EXPECT_EQ(test::ReadBytes(Portrait(2)), UserPicture(2));
  session_.Game().PlayersQuery.Clear();
  ::chmod(backups.c_str(), 0755);
}

TEST_F(SafeRunsTest, TheLastFiveRunsAreKeptAsSetAndBackupsOnAnotherFileSystemAreCopies) {
  AddPlayer({.id = 1});
  test::WriteBytes(Portrait(1), UserPicture(1));
  // The backups on another file system (memory), where a hard link cannot reach.
  test::TempFolder elsewhere;
  const fs::path shm = "/dev/shm";
  const fs::path target = fs::exists(shm) ? shm / elsewhere.Path().filename() : elsewhere.Path();
  fs::create_directories(target);
  fs::create_directory_symlink(target, BackupsFolder(program_));

  EXPECT_EQ(KeptRuns(program_), kDefaultKeptRuns);
  std::vector<std::string> pictures;
  for (int run = 0; run < 7; ++run) {
    pictures.push_back(test::ReadBytes(Portrait(1)));
    FlagAll();
    EXPECT_EQ(Universe().kept, 1);
  }
  std::vector<BackupRun> runs = BackupRuns(program_, kGame);
  ASSERT_EQ(runs.size(), 5u);
  for (std::size_t i = 0; i < runs.size(); ++i) {
    EXPECT_EQ(test::ReadBytes(runs[i].folder / "Player_1.png"), pictures[i + 2]) << i;
  }
  SetKeptRuns(program_, 2);
  runs = BackupRuns(program_, kGame);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(test::ReadBytes(runs[1].folder / "Player_1.png"), pictures[6]);
  // Undone across file systems, the picture comes back with its bytes.
  const std::string last = test::ReadBytes(Portrait(1));
  EXPECT_EQ(UndoLastRun(session_).restored, 1);
  EXPECT_EQ(test::ReadBytes(Portrait(1)), pictures[6]);
  EXPECT_NE(last, pictures[6]);

  // No backups: the run says nothing of kept pictures and leaves nothing to undo.
  SetKeptRuns(program_, 0);
  EXPECT_EQ(KeptRuns(program_), 0);
  EXPECT_TRUE(BackupRuns(program_, kGame).empty());
  FlagAll();
  EXPECT_EQ(UniverseGoBtnClick(session_, 0), 1);
  EXPECT_EQ(prompts_.Texts(Kind::Message).back(), "Successfully created 1 photos.");
  EXPECT_FALSE(LastRunToUndo(session_));
  EXPECT_THROW(SetKeptRuns(program_, kMostKeptRuns + 1), Error);
  // The runs no longer kept go: hidden at once, removed meanwhile.
  WaitForBackupRemovals();
  std::size_t left = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(target / kGame)) ++left;
  EXPECT_EQ(left, 0u);
  fs::remove_all(target);
}

}  // namespace
}  // namespace likentor
