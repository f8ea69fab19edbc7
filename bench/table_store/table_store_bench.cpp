// The table store against raw SQLite: 1,000,000 rows of five integers appended through
// Append/SetInt/Post in one transaction, then the same rows through a raw prepared INSERT in the
// same run (target: the store takes at most 1.5 times as long); and locating rows by key (target:
// at least 200,000 locates a second).

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "database/table_store.h"

namespace {

using likentor::Database;
using likentor::FieldDef;
using likentor::FieldType;
using likentor::Table;
using likentor::TableTransaction;

constexpr int kRows = 1000000;
const char* const kNames[] = {"id", "a", "b", "c", "d"};

const std::vector<FieldDef> kFields = {{"id", FieldType::Integer, 0, true},
                                       {"a", FieldType::Integer, 0, false},
                                       {"b", FieldType::Integer, 0, false},
                                       {"c", FieldType::Integer, 0, false},
                                       {"d", FieldType::Integer, 0, false}};

class Folder {
 public:
  Folder()
      : path_(std::filesystem::temp_directory_path() /
              ("likentor-bench-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(path_);
  }
  ~Folder() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Row i's values, the same for both writers. Keys go in ascending order, as imports write them.
int Value(int row, int column) {
  return row * 7 + column * 13;
}

// Wall and processor seconds since a start; the processor time is steadier on a shared machine.
struct Timer {
  std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
  std::clock_t cpu = std::clock();
  double Wall() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
  }
  double Cpu() const { return static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC; }
};

struct Seconds {
  double wall = 0;
  double cpu = 0;
  void Add(const Timer& t) {
    wall += t.Wall();
    cpu += t.Cpu();
  }
};

void AppendThroughStore(Database& db, Seconds& seconds) {
  db.CreateTable("store.db", kFields);
  const Timer timer;
  {
    Table table(db, "store.db");
    TableTransaction transaction(db, "store.db");
    for (int i = 0; i < kRows; ++i) {
      table.Append();
      for (int c = 0; c < 5; ++c) table.SetInt(kNames[c], Value(i, c));
      if (!table.Post()) throw likentor::Error(table.LastError());
    }
    transaction.Commit();
  }
  seconds.Add(timer);
}

void InsertThroughSqlite(Database& db, Seconds& seconds) {
  // The same table definition and file set-up as the store's, written with SQLite's own calls.
  db.CreateTable("raw.db", kFields);
  db.Release("raw.db");
  const Timer timer;
  sqlite3* raw = nullptr;
  sqlite3_open_v2(db.TablePath("raw.db").c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                  nullptr);
  sqlite3_exec(raw, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL", nullptr, nullptr,
               nullptr);
  sqlite3_exec(raw, "BEGIN", nullptr, nullptr, nullptr);
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(raw, "INSERT INTO \"raw.db\" VALUES (?, ?, ?, ?, ?)", -1, &insert, nullptr);
  for (int i = 0; i < kRows; ++i) {
    for (int c = 0; c < 5; ++c) sqlite3_bind_int64(insert, c + 1, Value(i, c));
    if (sqlite3_step(insert) != SQLITE_DONE) break;
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(raw);
  seconds.Add(timer);
}

void BM_AppendOneMillionRows(benchmark::State& state) {
  Folder folder;
  Database db(folder.Path());
  Seconds store;
  Seconds raw;
  for (auto _ : state) {
    AppendThroughStore(db, store);
    InsertThroughSqlite(db, raw);
  }
  const auto n = static_cast<double>(state.iterations());
  state.counters["store_s"] = store.wall / n;
  state.counters["raw_sqlite_s"] = raw.wall / n;
  state.counters["ratio"] = store.wall / raw.wall;
  state.counters["cpu_ratio"] = store.cpu / raw.cpu;
  state.counters["store_rows_per_s"] = kRows * n / store.wall;
}
BENCHMARK(BM_AppendOneMillionRows)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_LocateByKey(benchmark::State& state) {
  Folder folder;
  Database db(folder.Path());
  Seconds unused;
  AppendThroughStore(db, unused);
  Table table(db, "store.db");
  std::uint32_t seed = 1;
  std::int64_t found = 0;
  for (auto _ : state) {
    seed = seed * 134775813u + 1u;
    const int row = static_cast<int>((static_cast<std::uint64_t>(seed) * kRows) >> 32);
    found += table.Locate("id", Value(row, 0)) ? 1 : 0;
    benchmark::DoNotOptimize(table.GetInt("b"));
  }
  if (found != state.iterations()) state.SkipWithError("a key was not found");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LocateByKey)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
