// Dry runs, backups and undo of the batch runs and of one player's photo, on tables and a tiny
// artwork kit the tests write.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <tuple>

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
#include "import/players_fields.h"
#include "portrait/artwork_paths.h"
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
      players.SetBool(kUpdateRequiredField, true);
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
    ASSERT_TRUE(players.Locate(kPlayerIdField, id));
    players.Edit();
    players.SetInt(kBackgroundField, 60 + id);
    players.SetBool(kUpdateRequiredField, false);
    ASSERT_TRUE(players.Post());
  }
  RowValues RowBefore(int id) {
    Table players(session_.Data(), PlayersTableName(kGame));
    EXPECT_TRUE(players.Locate(kPlayerIdField, id));
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
  // The figures in one column, the totals above what they sum, in plain words.
  EXPECT_NE(text.find("      3  photos it would make\n"
                      "      1    of them write over an earlier picture"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("      1    skipped: locked\n"), std::string::npos) << text;
  EXPECT_NE(text.find("      1    skipped: below the minimums\n"), std::string::npos) << text;
  EXPECT_EQ(summary.scope, "AA Level and Up");
  EXPECT_NE(text.find("(AA Level and Up)"), std::string::npos) << text;
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

// An undo that stops midway (here killed after it recorded its steps and put two pictures back)
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
  // What the undo left when it was killed: its record of the steps, the first two pictures back
  // in place, no row set back yet (they go back together at the end).
  std::string journal = CheckedLine("likentor undo\t1") + '\n';
  for (int i = 0; i < 4; ++i) journal += CheckedLine("restore\t" + std::to_string(i)) + '\n';
  test::WriteBytes(runs[0].folder / "undo.txt", journal + CheckedLine("end") + '\n');
  for (int i = 0; i < 2; ++i) {
    fs::rename(runs[0].folder / runs[0].entries[i].file, Pictures() / runs[0].entries[i].file);
  }

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

// The lines of a run's manifest, each given back as its text (the checksum taken off).
std::vector<std::string> ManifestTexts(const fs::path& folder) {
  std::vector<std::string> texts;
  std::istringstream in(test::ReadBytes(folder / "manifest.txt"));
  std::string line;
  while (std::getline(in, line)) texts.push_back(CheckedText(line).value_or(line));
  return texts;
}

std::string ManifestOf(const std::vector<std::string>& texts) {
  std::string text;
  for (const std::string& line : texts) text += CheckedLine(line) + '\n';
  return text;
}

// A manifest damaged in any way (a name reaching outside the picture folder, carriage returns, a
// column missing, a number that is none, a line changed or cut amid the others) stops undo at its
// run, naming the file and the line, with nothing undone; the run is listed as damaged, and only
// skipping damaged runs goes on to the one before. A last line cut short is what a killed run
// leaves, and that run is undone whole.
TEST_F(SafeRunsTest, UndoStopsAtADamagedManifestAndNamesIt) {
  for (int id = 1; id <= 2; ++id) AddPlayer({.id = id});
  test::WriteBytes(Portrait(1), UserPicture(1));
  EXPECT_EQ(Universe().kept, 1);
  FlagAll();
  EXPECT_EQ(Universe().kept, 2);
  const std::map<std::string, std::string> afterSecond = PictureFiles();
  const std::vector<BackupRun> runs = BackupRuns(program_, kGame);
  ASSERT_EQ(runs.size(), 2u);
  const fs::path manifest = runs[1].folder / "manifest.txt";
  const std::string whole = test::ReadBytes(manifest);
  const std::vector<std::string> texts = ManifestTexts(runs[1].folder);
  // Line numbers from 1: the head, game, title, time, started, pictures, then the records.
  ASSERT_EQ(texts.at(6).substr(0, 5), "keep\t");
  std::size_t w = 7;  // the first record of a picture written
  while (w < texts.size() && !texts[w].starts_with("written\t")) ++w;
  ASSERT_LT(w, texts.size());
  const std::string atWritten = "line " + std::to_string(w + 1) + ": ";
  const auto changed = [&](std::size_t index, const std::function<void(std::string&)>& change) {
    std::vector<std::string> lines = texts;
    change(lines.at(index));
    return ManifestOf(lines);
  };
  std::string carriageReturns;
  for (const char c : whole) carriageReturns += c == '\n' ? std::string("\r\n") : std::string(1, c);
  std::string changedInTheMiddle = whole;
  changedInTheMiddle[whole.find("\nwritten\t") + 9] = 'X';
  const std::string cutInTheMiddle = whole.substr(0, whole.find("\nwritten\t") + 12) + '\n' +
                                     whole.substr(whole.find("\nwritten"));
  const std::vector<std::tuple<std::string, std::string, std::string>> damages = {
      {"a path", changed(6, [](std::string& l) { l.replace(l.find("Player_"), 0, "../"); }),
       "line 7: it names a picture \"../Player_"},
      {"carriage returns", carriageReturns, "line 1: the line ends in a carriage return"},
      {"a column missing", changed(w, [](std::string& l) { l.erase(l.rfind('\t')); }),
       atWritten + "a written line has 4 columns"},
      {"a number that is none",
       changed(w, [](std::string& l) { l.replace(l.find('\t', 8), 1, "\tx"); }), atWritten + "\"x"},
      {"a line changed", changedInTheMiddle, atWritten + "the line does not match its checksum"},
      {"a line cut amid the others", cutInTheMiddle, atWritten + "the line does not match"},
      {"a number past 32 bits",
       changed(6, [](std::string& l) { l.replace(l.find('\t', 5) + 1, 1, "4294967297"); }),
       "line 7: \"4294967297"},
  };
  for (const auto& [what, text, where] : damages) {
    SCOPED_TRACE(what);
    test::WriteBytes(manifest, text);
    try {
      LastRunToUndo(session_);
      ADD_FAILURE() << "no error";
    } catch (const Error& error) {
      const std::string message = error.what();
      EXPECT_NE(message.find(runs[1].folder.string()), std::string::npos) << message;
      EXPECT_NE(message.find(manifest.string() + " is damaged at " + where), std::string::npos)
          << message;
      EXPECT_NE(message.find("Nothing was undone."), std::string::npos) << message;
    }
    EXPECT_THROW(UndoLastRun(session_), Error);
    EXPECT_EQ(PictureFiles(), afterSecond);
    const std::vector<BackupRun> listed = BackupRuns(program_, kGame);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[1].folder, runs[1].folder);
    EXPECT_NE(listed[1].damage.find(where), std::string::npos) << listed[1].damage;
    EXPECT_TRUE(listed[0].damage.empty());
  }

  // A last line cut short: the run was stopped while it wrote that record, and is undone whole.
  test::WriteBytes(manifest, whole.substr(0, whole.size() - 7));
  EXPECT_TRUE(BackupRuns(program_, kGame).at(1).damage.empty());
  ASSERT_TRUE(LastRunToUndo(session_));
  EXPECT_EQ(LastRunToUndo(session_)->restores, 2);

  // Passed over only when asked: the run before it is undone, and the damaged one stays.
  test::WriteBytes(manifest, carriageReturns);
  const UndoResult undone = UndoLastRun(session_, true);
  EXPECT_EQ(undone.skippedDamaged, std::vector<fs::path>{runs[1].folder});
  EXPECT_EQ(undone.time, runs[0].time);
  EXPECT_EQ(UndoMessage(undone).rfind("Passed over the damaged photo run kept in " +
                                          runs[1].folder.string() + ". Undid the photo run of ",
                                      0),
            0u)
      << UndoMessage(undone);
  EXPECT_TRUE(fs::exists(manifest));
  // Its pictures are the damaged run's now, which the earlier run did not leave: left alone.
  EXPECT_EQ(undone.leftAlone.size(), 2u);
  EXPECT_EQ(PictureFiles(), afterSecond);
}

// A kept picture gone from the backup is no dead end: undo names it, leaves that picture (and its
// row) as the run made it, puts back the rest and counts the run undone, so that the next undo
// goes on to the run before.
TEST_F(SafeRunsTest, AKeptPictureThatIsGoneIsNamedAndTheRestIsUndone) {
  for (int id = 1; id <= 3; ++id) AddPlayer({.id = id});
  for (int id = 1; id <= 3; ++id) test::WriteBytes(Portrait(id), UserPicture(id));
  EXPECT_EQ(Universe().kept, 3);
  FlagAll();
  const test::Rows rowsBefore = PlayerRows();
  const std::map<std::string, std::string> picturesBefore = PictureFiles();
  EXPECT_EQ(Universe().kept, 3);
  const std::string made2 = test::ReadBytes(Portrait(2));
  const test::Rows rowsAfter = PlayerRows();
  const std::vector<BackupRun> runs = BackupRuns(program_, kGame);
  ASSERT_EQ(runs.size(), 2u);
  fs::remove(runs[1].folder / "Player_2.png");

  const UndoResult undone = UndoLastRun(session_);
  EXPECT_EQ(undone.restored, 2);
  EXPECT_EQ(undone.notPutBack, std::vector<std::string>{"Player_2.png (its kept copy is missing)"});
  const std::string message = UndoMessage(undone);
  EXPECT_NE(message.find("2 earlier pictures put back"), std::string::npos) << message;
  EXPECT_NE(message.find("Could not be put back and left as the run made them: Player_2.png (its "
                         "kept copy is missing)"),
            std::string::npos)
      << message;
  std::map<std::string, std::string> expected = picturesBefore;
  expected["Player_2.png"] = made2;
  EXPECT_EQ(PictureFiles(), expected);
  test::Rows rows = rowsBefore;
  rows[2] = rowsAfter.at(2);
  EXPECT_EQ(PlayerRows(), rows);
  // The next undo is the first run's.
  const std::optional<UndoPreview> next = LastRunToUndo(session_);
  ASSERT_TRUE(next);
  EXPECT_EQ(next->time, runs[0].time);
  const UndoResult first = UndoLastRun(session_);
  EXPECT_EQ(first.restored, 2);
  EXPECT_EQ(first.leftAlone, std::vector<std::string>{"Player_2.png"});
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
  PopulateFaceTable(db, session_.Log(), FaceTableLocationFolder(program_, "caucasian"), "caucasian",
                    4);
  shared.NationsTable.Open(db, kNationsTable);
  shared.AfricanFacesTable.Open(db, FaceTableName("african"));
  shared.AsianFacesTable.Open(db, FaceTableName("asian"));
  shared.CaucasianFacesTable.Open(db, FaceTableName("caucasian"));
  shared.EastIndianFacesTable.Open(db, FaceTableName("east_indian"));
  const fs::path faces = Graphics() / "faces" / "caucasian";
  fs::copy_file(faces / "0000001.png", faces / "0000002.png");
  const fs::path beards = Graphics() / "facial hair" / "beard";
  fs::copy_file(beards / "brown.png", beards / "blonde.png");

  // An aged veteran whose last portrait showed an earlier step: the new photo shows his step.
  SetSettingFlag("players_age", true);
  AddPlayer({.id = 1,
             .face = 1,
             .accessory = 2,
             .hairColor = 1,
             .updateRequired = false,
             .careerSeasons = 12,
             .ageStep = 1});
  db.ConnectionFor(PlayersTableName(kGame))
      .Execute("UPDATE " + QuoteSqlName(PlayersTableName(kGame)) +
               " SET first_name='Abe', last_name='Lowe', background=12, uniform_team_id=3");
  test::WriteBytes(Portrait(1), UserPicture(1));
  const test::Rows rowsBefore = PlayerRows();

  const Relook relook = NewLook(session_, 1, KeepLook::Nothing, true, false);
  EXPECT_NE(relook.after, relook.before);
  EXPECT_NE(PlayerRows(), rowsBefore);
  EXPECT_NE(test::ReadBytes(Portrait(1)), UserPicture(1));
  EXPECT_EQ(PlayerRows().at(1).at("age_step"), "3");

  const std::optional<UndoPreview> preview = LastRunToUndo(session_);
  ASSERT_TRUE(preview);
  EXPECT_EQ(preview->title, "New Look for Abe Lowe");
  EXPECT_NE(UndoQuestion(*preview).find("(New Look for Abe Lowe)? It puts back 1 earlier picture"),
            std::string::npos)
      << UndoQuestion(*preview);
  const UndoResult undone = UndoLastRun(session_);
  EXPECT_EQ(undone.restored, 1);
  EXPECT_EQ(test::ReadBytes(Portrait(1)), UserPicture(1));
  // Face, ethnicity, hair, facial hair, accessory, background, uniform team, update_required and
  // the age step.
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
  // Fewer runs kept removes the others: asked first, naming what goes; a No changes nothing.
  prompts_.AnswerConfirm(false);
  EXPECT_FALSE(ChangeKeptRuns(prompts_, program_, 2));
  EXPECT_EQ(prompts_.Texts(Kind::Confirm).back(),
            "Keeping 2 runs per game removes 3 runs with 3 kept earlier pictures, which Undo Last "
            "Run can then no longer put back. Remove them?");
  EXPECT_EQ(BackupRuns(program_, kGame).size(), 5u);
  EXPECT_EQ(KeptRuns(program_), kDefaultKeptRuns);
  prompts_.AnswerConfirm(true);
  EXPECT_TRUE(ChangeKeptRuns(prompts_, program_, 2));
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
