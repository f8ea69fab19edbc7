// The grids' read interface over a players table of 50,000 rows and 23 fields (the large
// sample game's players): the time to open a snapshot of a table and take its row count, the same
// for a query's result (ordered by name) and for refreshing it, and the time to read a screen of 40
// consecutive rows at the end of the table, every field of every row, as a grid paints it. Targets
// (the grid's, issue 12): the row count and a screen of rows each well under 50 ms.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "database/row_snapshot.h"
#include "database/table_store.h"
#include "import/players_fields.h"

namespace {

using likentor::Database;
using likentor::FieldDef;
using likentor::FieldType;
using likentor::kFirstNameField;
using likentor::kLastNameField;
using likentor::kNationIdField;
using likentor::kPlayerIdField;
using likentor::kRetiredField;
using likentor::Query;
using likentor::RowSnapshot;
using likentor::RowTexts;
using likentor::Table;
using likentor::TableTransaction;

constexpr int kRows = 50000;
constexpr int kScreen = 40;
const char* const kTable = "bench_players.db";

// The fields of a saved game's players table.
const std::vector<FieldDef>& kFields = likentor::PlayersTableFields();

const char* const kFirstNames[] = {"Adam",  "Bruno", "Carlos", "Dmitri", "Emil",  "Felipe",
                                   "Gus",   "Hideo", "Ivan",   "Jorge",  "Kenji", "Luis",
                                   "Marco", "Nate",  "Oscar",  "Pedro",  "Quinn", "Rafael"};
const char* const kLastNames[] = {"Alvarez",  "Brown",    "Castillo", "Dunn",     "Espinoza",
                                  "Fischer",  "Garcia",   "Hughes",   "Ito",      "Jensen",
                                  "Kowalski", "Lopez",    "Martin",   "Nakamura", "Ortiz",
                                  "Perez",    "Quintana", "Rossi",    "Suzuki",   "Torres"};

class Folder {
 public:
  Folder()
      : path_(std::filesystem::temp_directory_path() /
              ("likentor-snapshot-bench-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(path_);
  }
  ~Folder() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The table, written once for all benchmarks, as an import writes it: ascending keys, one
// transaction.
Database& Players() {
  static Folder folder;
  static Database db(folder.Path());
  static const bool written = [] {
    db.CreateTable(kTable, kFields);
    Table t(db, kTable);
    TableTransaction transaction(db, kTable);
    constexpr int kFirst = sizeof kFirstNames / sizeof kFirstNames[0];
    constexpr int kLast = sizeof kLastNames / sizeof kLastNames[0];
    for (int id = 1; id <= kRows; ++id) {
      t.Append();
      t.SetInt(kPlayerIdField, id);
      t.SetText(kFirstNameField, kFirstNames[(id * 7) % kFirst]);
      t.SetText(kLastNameField,
                std::string(kLastNames[(id * 13) % kLast]) + std::to_string(id % 97));
      t.SetInt(kNationIdField, id % 60);
      t.SetBool(kRetiredField, id % 5 == 0);
      for (std::size_t f = 5; f < kFields.size(); ++f) {
        if (kFields[f].type == FieldType::Boolean) {
          t.SetBool(kFields[f].name, (id + static_cast<int>(f)) % 3 == 0);
        } else {
          t.SetInt(kFields[f].name, (id * static_cast<int>(f)) % 1000);
        }
      }
      if (!t.Post()) throw likentor::Error(t.LastError());
    }
    transaction.Commit();
    return true;
  }();
  (void)written;
  return db;
}

void OpenPlayersQuery(Database& db, Query& q) {
  q.Clear();
  q.Add("SELECT *");
  q.Add(std::string("From \"") + kTable + "\"");
  q.Add("WHERE retired='false'");
  q.Add("ORDER BY last_name, first_name");
  q.Open(db);
}

// Every field of every row of a screen, read cell by cell as a grid's model reads them.
std::size_t PaintScreen(const RowSnapshot& s, int first) {
  std::size_t chars = 0;
  for (int r = first; r < first + kScreen; ++r) {
    for (std::size_t c = 0; c < kFields.size(); ++c) {
      const RowTexts* row = s.Row(r);
      if (row != nullptr && (*row)[c]) chars += (*row)[c]->size();
    }
  }
  return chars;
}

void BM_TableSnapshotRowCount(benchmark::State& state) {
  Database& db = Players();
  for (auto _ : state) {
    RowSnapshot s(db, kTable);
    if (s.RowCount() != kRows) state.SkipWithError("wrong row count");
  }
}
BENCHMARK(BM_TableSnapshotRowCount)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_QuerySnapshotRowCount(benchmark::State& state) {
  Database& db = Players();
  Query q;
  OpenPlayersQuery(db, q);
  for (auto _ : state) {
    RowSnapshot s(q);
    benchmark::DoNotOptimize(s.RowCount());
  }
  state.counters["rows"] = q.RecordCount();
}
BENCHMARK(BM_QuerySnapshotRowCount)->Unit(benchmark::kMillisecond)->UseRealTime();

// For comparison: opening the query itself (what a search does before its grid takes the result).
void BM_QueryOpen(benchmark::State& state) {
  Database& db = Players();
  Query q;
  for (auto _ : state) OpenPlayersQuery(db, q);
}
BENCHMARK(BM_QueryOpen)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_QuerySnapshotRefresh(benchmark::State& state) {
  Database& db = Players();
  Query q;
  OpenPlayersQuery(db, q);
  RowSnapshot s(q);
  for (auto _ : state) {
    s.Refresh();
    benchmark::DoNotOptimize(s.RowCount());
  }
}
BENCHMARK(BM_QuerySnapshotRefresh)->Unit(benchmark::kMillisecond)->UseRealTime();

// A screen of rows at the end, none of them read before (a fresh snapshot each time).
void BM_PaintLastScreenCold(benchmark::State& state) {
  Database& db = Players();
  RowSnapshot s(db, kTable);
  for (auto _ : state) {
    state.PauseTiming();
    s.Refresh();  // empties the cache
    state.ResumeTiming();
    benchmark::DoNotOptimize(PaintScreen(s, s.RowCount() - kScreen));
  }
}
BENCHMARK(BM_PaintLastScreenCold)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The same screen painted again (from the cache).
void BM_PaintLastScreenAgain(benchmark::State& state) {
  Database& db = Players();
  RowSnapshot s(db, kTable);
  PaintScreen(s, s.RowCount() - kScreen);
  for (auto _ : state) benchmark::DoNotOptimize(PaintScreen(s, s.RowCount() - kScreen));
}
BENCHMARK(BM_PaintLastScreenAgain)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The last screen of the query's result (ordered by name, so its rows lie all over the table).
void BM_PaintQueryLastScreenCold(benchmark::State& state) {
  Database& db = Players();
  Query q;
  OpenPlayersQuery(db, q);
  for (auto _ : state) {
    state.PauseTiming();
    RowSnapshot s(q);
    state.ResumeTiming();
    benchmark::DoNotOptimize(PaintScreen(s, s.RowCount() - kScreen));
  }
}
BENCHMARK(BM_PaintQueryLastScreenCold)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Scrolling from the first row to the last a screen at a time.
void BM_ScrollWholeTable(benchmark::State& state) {
  Database& db = Players();
  RowSnapshot s(db, kTable);
  for (auto _ : state) {
    state.PauseTiming();
    s.Refresh();
    state.ResumeTiming();
    for (int first = 0; first + kScreen <= s.RowCount(); first += kScreen) {
      benchmark::DoNotOptimize(PaintScreen(s, first));
    }
  }
  state.counters["screens"] = kRows / kScreen;
}
BENCHMARK(BM_ScrollWholeTable)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
