#pragma once

// A program folder, a game folder with one saved game "g", the table store and the error log, in a
// temporary folder; exports are written line by line as the test gives them (CR LF line ends).

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "database/table_store.h"
#include "import/game_tables.h"
#include "import/look_tables.h"
#include "portrait/appearance.h"
#include "shell/error_log.h"
#include "shell/folders.h"
#include "shell/random_generator.h"
#include "support/table_helpers.h"
#include "support/temp_folder.h"

namespace likentor::test {

// One export line of `count` fields: the given ones, "0" everywhere else (an empty field would end
// the record).
inline std::string ExportLine(const std::map<int, std::string>& fields, int count) {
  std::string line;
  for (int i = 0; i < count; ++i) {
    if (i > 0) line += ';';
    const auto f = fields.find(i);
    line += f != fields.end() ? f->second : "0";
  }
  return line;
}

class ImportFixture : public ::testing::Test {
 protected:
  ImportFixture()
      : programFolder_(folder_ / "program"),
        gameFolder_(folder_ / "game"),
        db_(std::make_unique<Database>(DataFolder(programFolder_))),
        log_(programFolder_),
        saved_(ResolveSavedGame(gameFolder_, kGame)) {
    std::filesystem::create_directories(DataFolder(programFolder_));
    std::filesystem::create_directories(PicturesFolder(SavedGameFolder(gameFolder_, kGame)));
    log_.CreateErrorFile();
  }

  static constexpr const char* kGame = "g";

  void WriteExport(std::string_view file, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    WriteBytes(saved_.Export(file), bytes);
  }

  std::filesystem::path Pictures() const {
    return PicturesFolder(SavedGameFolder(gameFolder_, kGame));
  }

  // The log without its header line.
  std::vector<std::string> LogLines() {
    auto lines = log_.ShowErrors();
    lines.erase(lines.begin());
    return lines;
  }

  // A fresh table store on the same folder: sees only what was committed.
  Database& Reopen() {
    db_ = std::make_unique<Database>(DataFolder(programFolder_));
    return *db_;
  }

  TempFolder folder_;
  std::filesystem::path programFolder_;
  std::filesystem::path gameFolder_;
  std::unique_ptr<Database> db_;
  ErrorLog log_;
  SavedGame saved_;
};

// The shared tables the appearance draws read, made by hand: nations 1 (all caucasian), 2 (all
// african) and 3 (all asian); 100 caucasian, 3 asian, 10 african and 10 east indian faces; facial
// hair 50/30/20. A clock queue makes every draw what the test wants.
class LooksFixture {
 public:
  explicit LooksFixture(Database& db) {
    CreateLookTables(db);
    {
      Table t(db, "nations.db");
      const int weights[3][4] = {{100, 0, 0, 0}, {0, 100, 0, 0}, {0, 0, 0, 100}};
      for (int n = 0; n < 3; ++n) {
        t.Append();
        t.SetInt("nation_id", n + 1);
        t.SetInt("caucasian", weights[n][0]);
        t.SetInt("african", weights[n][1]);
        t.SetInt("east_indian", weights[n][2]);
        t.SetInt("asian", weights[n][3]);
        EXPECT_TRUE(t.Post());
      }
    }
    const std::pair<const char*, int> faces[] = {{"faces_caucasian.db", 100},
                                                 {"faces_asian.db", 3},
                                                 {"faces_african.db", 10},
                                                 {"faces_east_indian.db", 10}};
    for (const auto& [name, count] : faces) {
      Table t(db, name);
      TableTransaction transaction(db, name);
      for (int i = 0; i < count; ++i) {
        t.Append();
        t.SetText("file_location", "face");
        EXPECT_TRUE(t.Post());
      }
    }
    Table t(db, "facial_hair.db");
    for (int f : {50, 30, 20}) {
      t.Append();
      t.SetText("location", "style");
      t.SetInt("frequency", f);
      EXPECT_TRUE(t.Post());
    }
    tables_.Open(db);
  }

  // The draws as an import makes them; each reseed takes the next queued clock value (0 when
  // none is left, which the test then notices in ClockValuesLeft or in a wrong look).
  AppearanceDraws& Draws() {
    draws_ = std::make_unique<AppearanceDraws>(random_, tables_.Tables());
    return *draws_;
  }
  void Queue(std::uint64_t clock) { clock_.push_back(clock); }
  std::size_t ClockValuesLeft() const { return clock_.size(); }
  int Reseeds() const { return reseeds_; }

 private:
  std::deque<std::uint64_t> clock_;
  int reseeds_ = 0;
  RandomGenerator random_{[this] {
    ++reseeds_;
    if (clock_.empty()) return std::uint64_t{0};
    const std::uint64_t value = clock_.front();
    clock_.pop_front();
    return value;
  }};
  LookTables tables_;
  std::unique_ptr<AppearanceDraws> draws_;
};

}  // namespace likentor::test
