#include "app/run_backup.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iomanip>
#include <limits>
#include <map>
#include <mutex>
#include <sstream>
#include <system_error>
#include <thread>

#include "database/table_store.h"
#include "shell/platform.h"
#include "shell/prompts.h"
#include "shell/whole_number.h"

namespace likentor {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kManifestName = kManifestFile;
// Version 1 manifests (plain lines, one record per picture after it was written) are still read.
constexpr std::string_view kManifestHeadV1 = "likentor run backup\t1";
constexpr std::string_view kManifestHead = "likentor run backup\t2";
constexpr std::string_view kUndoneName = kUndoneFile;
constexpr std::string_view kSettingsName = "settings.ini";
constexpr std::string_view kKeptRunsKey = "kept_runs=";
constexpr std::string_view kBlank = "\\N";

// Texts in the manifest stay on their line and in their column.
std::string Escape(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      out += c;
    }
  }
  return out;
}

std::string Unescape(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char c = text[++i];
    out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
  }
  return out;
}

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    parts.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return parts;
    start = tab + 1;
  }
}

// FNV-1a, 64 bits: enough to tell a line cut or changed from a whole one.
std::uint64_t Checksum(std::string_view text) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

std::string Hex(std::uint64_t value) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
  return text;
}

std::string SystemReason(int error) {
  return std::generic_category().message(error);
}

std::string Formatted(const std::tm& time, const char* format) {
  char text[64];
  const std::size_t n = std::strftime(text, sizeof text, format, &time);
  return std::string(text, n);
}

std::int64_t NowNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

// Copies a picture with its modification time, for a backup on another file system.
void CopyKeepingTime(const fs::path& from, const fs::path& to) {
  fs::copy_file(from, to, fs::copy_options::overwrite_existing);
  fs::last_write_time(to, fs::last_write_time(from));
}

// What is wrong with a line of a manifest; the reader adds the file and the line.
struct Damage {
  std::string what;
};

// A number of a manifest, read strictly: ASCII digits only (after a minus where `lowest` is below
// 0) and within [lowest, highest]. Anything else, a player id past 32 bits included, makes the
// manifest damaged rather than being read as another number.
long long ParseNumber(const std::string& text, long long lowest, long long highest) {
  if (const std::optional<long long> value = StrictWholeNumber(text, lowest, highest)) {
    return *value;
  }
  throw Damage{"\"" + text + "\" is not a number from " + std::to_string(lowest) + " to " +
               std::to_string(highest)};
}

long long ParseNumber(const std::string& text) {
  return ParseNumber(text, std::numeric_limits<long long>::min(),
                     std::numeric_limits<long long>::max());
}

int ParsePlayerId(const std::string& text) {
  return static_cast<int>(ParseNumber(text, 0, std::numeric_limits<int>::max()));
}

std::uintmax_t ParseSize(const std::string& text) {
  return static_cast<std::uintmax_t>(ParseNumber(text, 0, std::numeric_limits<long long>::max()));
}

// A flag column: "1" or "0".
bool ParseFlag(const std::string& text) {
  if (text != "0" && text != "1") throw Damage{"\"" + text + "\" is neither 1 nor 0"};
  return text == "1";
}

// Whether a picture was "replaced" or "created".
bool ParseReplaced(const std::string& text) {
  if (text != "replaced" && text != "created") {
    throw Damage{"\"" + text + "\" is neither \"replaced\" nor \"created\""};
  }
  return text == "replaced";
}

std::string RowValuesText(const RowValues& values) {
  std::string text;
  for (const auto& [field, value] : values) {
    text += '\t' + Escape(field) + '=' + (value ? Escape(*value) : std::string(kBlank));
  }
  return text;
}

// "field=value" columns of a record, from `first` on.
RowValues ParseRowValues(const std::vector<std::string>& parts, std::size_t first) {
  RowValues values;
  for (std::size_t i = first; i < parts.size(); ++i) {
    const std::size_t equals = parts[i].find('=');
    if (equals == std::string::npos || equals == 0) {
      throw Damage{"\"" + parts[i] + "\" is no field and value"};
    }
    const std::string value = parts[i].substr(equals + 1);
    values.emplace_back(Unescape(parts[i].substr(0, equals)),
                        value == kBlank ? std::nullopt : std::optional(Unescape(value)));
  }
  return values;
}

// A name with a folder in it would reach outside the picture and backup folders.
void RequirePlainName(const std::string& file) {
  if (file.empty() || fs::path(file).filename() != file || file == "." || file == "..") {
    throw Damage{"it names a picture \"" + file + "\" outside the picture folder"};
  }
}

void ReadHeadLine(BackupRun& run, const std::vector<std::string>& parts, const std::string& line) {
  const std::string& key = parts[0];
  if (parts.size() != 2 ||
      (key != "game" && key != "title" && key != "time" && key != "started" && key != "pictures")) {
    throw Damage{"\"" + Escape(line) + "\" is no line of a manifest"};
  }
  const std::string value = Unescape(parts[1]);
  if (key == "game") run.game = value;
  if (key == "title") run.title = value;
  if (key == "time") run.time = value;
  if (key == "started") run.started = ParseNumber(value);
  if (key == "pictures") run.picturesFolder = value;
}

[[noreturn]] void ThrowDamaged(const fs::path& manifest, std::size_t lineNumber,
                               const std::string& what) {
  throw Error("The backup manifest " + manifest.string() + " is damaged at line " +
              std::to_string(lineNumber) + ": " + what + ".");
}

// A manifest of the first version: a line per picture once it was written.
void ReadManifestV1(BackupRun& run, const std::string& text, std::size_t from,
                    const fs::path& manifest) {
  std::size_t lineNumber = 1;
  while (from < text.size()) {
    ++lineNumber;
    const std::size_t end = text.find('\n', from);
    const std::string line =
        text.substr(from, end == std::string::npos ? std::string::npos : end - from);
    from = end == std::string::npos ? text.size() : end + 1;
    try {
      if (end == std::string::npos) throw Damage{"the line is cut"};
      if (line.find('\r') != std::string::npos) throw Damage{"the line ends in a carriage return"};
      const std::vector<std::string> parts = SplitTabs(line);
      if (parts[0] != "picture") {
        ReadHeadLine(run, parts, line);
        continue;
      }
      if (parts.size() != 7 + kPhotoFieldsV1.size()) {
        throw Damage{"a picture's line has " + std::to_string(parts.size()) + " columns, not " +
                     std::to_string(7 + kPhotoFieldsV1.size())};
      }
      BackupEntry entry;
      entry.replaced = ParseReplaced(parts[1]);
      entry.playerId = ParsePlayerId(parts[2]);
      entry.file = Unescape(parts[3]);
      entry.written.size = ParseSize(parts[4]);
      entry.written.modified = ParseNumber(parts[5]);
      entry.rowChanged = ParseFlag(parts[6]);
      for (std::size_t i = 0; i < kPhotoFieldsV1.size(); ++i) {
        entry.before.emplace_back(
            std::string(kPhotoFieldsV1[i]),
            parts[7 + i] == kBlank ? std::nullopt : std::optional(Unescape(parts[7 + i])));
      }
      RequirePlainName(entry.file);
      run.entries.push_back(std::move(entry));
    } catch (const Damage& damage) {
      ThrowDamaged(manifest, lineNumber, damage.what);
    }
  }
}

// A manifest of this version: checked lines. A last line cut short (no line end) is the record a
// kill or a full disk stopped while it was written, and is taken as never written; the run is then
// undone from what is on disk. Any other line that fails its check was changed or cut afterwards,
// and the manifest is damaged.
void ReadManifestV2(BackupRun& run, const std::string& text, std::size_t from,
                    const fs::path& manifest) {
  std::map<std::string, std::size_t> byFile;
  std::size_t lineNumber = 1;
  while (from < text.size()) {
    ++lineNumber;
    const std::size_t end = text.find('\n', from);
    const std::string_view raw(text.data() + from,
                               (end == std::string::npos ? text.size() : end) - from);
    from = end == std::string::npos ? text.size() : end + 1;
    if (end == std::string::npos) break;  // cut while it was written: as if it never was
    try {
      const std::optional<std::string> line = CheckedText(raw);
      if (!line) {
        throw Damage{raw.find('\r') != std::string_view::npos
                         ? "the line ends in a carriage return"
                         : "the line does not match its checksum (changed or cut)"};
      }
      if (run.ended) throw Damage{"a line follows the run's end"};
      const std::vector<std::string> parts = SplitTabs(*line);
      const std::string& key = parts[0];
      if (key == "keep") {
        if (parts.size() < 5) throw Damage{"a keep line has too few columns"};
        BackupEntry entry;
        entry.replaced = ParseReplaced(parts[1]);
        entry.playerId = ParsePlayerId(parts[2]);
        entry.file = Unescape(parts[3]);
        entry.intended = ParseNumber(parts[4]);
        entry.completed = false;
        entry.before = ParseRowValues(parts, 5);
        RequirePlainName(entry.file);
        byFile[entry.file] = run.entries.size();
        run.entries.push_back(std::move(entry));
      } else if (key == "written" || key == "dropped") {
        if (parts.size() != (key == "written" ? 5u : 2u)) {
          throw Damage{"a " + key + " line has " + std::to_string(parts.size()) + " columns"};
        }
        const auto found = byFile.find(Unescape(parts[1]));
        if (found == byFile.end()) throw Damage{"\"" + parts[1] + "\" was not kept first"};
        BackupEntry& entry = run.entries[found->second];
        if (key == "dropped") {
          entry.dropped = true;
          continue;
        }
        entry.completed = true;
        entry.written.size = ParseSize(parts[2]);
        entry.written.modified = ParseNumber(parts[3]);
        entry.rowChanged = ParseFlag(parts[4]);
      } else if (key == "end") {
        if (parts.size() != 1) throw Damage{"the end line has more columns"};
        run.ended = true;
      } else {
        ReadHeadLine(run, parts, *line);
      }
    } catch (const Damage& damage) {
      ThrowDamaged(manifest, lineNumber, damage.what);
    }
  }
  // A picture the run did not write after all is no part of it.
  std::erase_if(run.entries, [](const BackupEntry& entry) { return entry.dropped; });
}

// A run's time from its folder's name ("2025-04-01_18-30-05", maybe "-2"), for a run whose
// manifest does not say when it started; none when the name is no time.
std::optional<std::int64_t> StartedByName(const std::string& name) {
  std::tm local{};
  std::istringstream in(name);
  in >> std::get_time(&local, "%Y-%m-%d_%H-%M-%S");
  if (in.fail()) return std::nullopt;
  local.tm_isdst = -1;
  const std::time_t time = std::mktime(&local);
  if (time == static_cast<std::time_t>(-1)) return std::nullopt;
  // The end of that second: a damaged run is taken as no older than any run started within it,
  // so that undo meets it rather than passing it by.
  return static_cast<std::int64_t>(time) * 1'000'000'000 + 999'999'999;
}

// Whether a run's folder holds any file but the first lines of a manifest being made.
bool HasFilesBesides(const fs::path& folder) {
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    if (entry.path().filename() != kManifestStartFile) return true;
  }
  return false;
}

// Reads a run's manifest into `run`, as far as it can; Error when it is missing or damaged.
void ReadRunInto(BackupRun& run, const fs::path& folder) {
  const fs::path manifest = folder / kManifestName;
  run.folder = folder;
  std::error_code ec;
  run.undone = fs::exists(folder / kUndoneName, ec);
  std::ifstream in(manifest, std::ios::binary);
  if (!in) {
    throw Error("The backup folder " + folder.string() + " has no manifest " +
                manifest.filename().string() + " to tell what its run did.");
  }
  std::ostringstream content;
  content << in.rdbuf();
  const std::string text = content.str();
  const std::size_t headEnd = text.find('\n');
  const std::string head = text.substr(0, headEnd);
  if (headEnd != std::string::npos && head == kManifestHeadV1) {
    ReadManifestV1(run, text, headEnd + 1, manifest);
    run.ended = true;
  } else if (headEnd != std::string::npos && CheckedText(head) == kManifestHead) {
    ReadManifestV2(run, text, headEnd + 1, manifest);
  } else if (head.ends_with('\r')) {
    ThrowDamaged(manifest, 1, "the line ends in a carriage return");
  } else {
    ThrowDamaged(manifest, 1, "it does not begin as a run's manifest");
  }
}

}  // namespace

std::string CheckedLine(std::string_view text) {
  return std::string(text) + "\t#" + Hex(Checksum(text));
}

std::optional<std::string> CheckedText(std::string_view line) {
  const std::size_t mark = line.rfind("\t#");
  if (mark == std::string_view::npos || line.size() - mark != 2 + 16) return std::nullopt;
  const std::string_view text = line.substr(0, mark);
  if (line.substr(mark + 2) != Hex(Checksum(text))) return std::nullopt;
  return std::string(text);
}

bool WriteWholeFile(const fs::path& file, std::string_view text) {
  const fs::path temporary = fs::path(file).concat(".new");
  int error = WriteFileToDisk(temporary, text);
  if (error == 0) {
    std::error_code renamed;
    fs::rename(temporary, file, renamed);
    error = renamed.value();
  }
  if (error != 0) {
    std::error_code ec;
    fs::remove(temporary, ec);
    errno = error;  // the reason, not that of the clean-up
  }
  return error == 0;
}

fs::path BackupsFolder(const fs::path& programFolder) {
  return programFolder / "backups";
}

fs::path GameBackupsFolder(const fs::path& programFolder, std::string_view game) {
  return BackupsFolder(programFolder) / std::string(game);
}

int KeptRuns(const fs::path& programFolder) {
  std::ifstream in(BackupsFolder(programFolder) / kSettingsName);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind(kKeptRunsKey, 0) != 0) continue;
    const std::optional<long long> runs =
        StrictWholeNumber(line.substr(kKeptRunsKey.size()), 0, kMostKeptRuns);
    if (runs) return static_cast<int>(*runs);
  }
  return kDefaultKeptRuns;
}

void SetKeptRuns(const fs::path& programFolder, int runs) {
  if (runs < 0 || runs > kMostKeptRuns) {
    throw Error("The number of runs kept must be 0 to " + std::to_string(kMostKeptRuns) + ", not " +
                std::to_string(runs) + ".");
  }
  const fs::path folder = BackupsFolder(programFolder);
  std::error_code ec;
  fs::create_directories(folder, ec);
  const fs::path file = folder / kSettingsName;
  {
    std::ofstream out(file, std::ios::trunc);
    out << kKeptRunsKey << runs << '\n';
    out.close();
    if (!out) throw Error("Cannot write " + file.string() + ".");
  }
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    if (entry.is_directory(ec))
      PruneBackupRuns(programFolder, entry.path().filename().string(), runs);
  }
}

RunsBeyond RunsBeyondKept(const fs::path& programFolder, int runs) {
  RunsBeyond beyond;
  std::error_code ec;
  for (const fs::directory_entry& game : fs::directory_iterator(BackupsFolder(programFolder), ec)) {
    if (!game.is_directory(ec)) continue;
    const std::vector<BackupRun> kept = BackupRuns(programFolder, game.path().filename().string());
    for (std::size_t i = 0; i + static_cast<std::size_t>(std::max(runs, 0)) < kept.size(); ++i) {
      ++beyond.runs;
      for (const fs::directory_entry& file : fs::directory_iterator(kept[i].folder, ec)) {
        const fs::path name = file.path().filename();
        if (file.is_regular_file(ec) && name != kManifestName && name != kManifestStartFile &&
            name != kUndoneName && !name.string().starts_with("undo.txt")) {
          ++beyond.pictures;
        }
      }
    }
  }
  return beyond;
}

RowValues ReadRowValues(const Cursor& players) {
  return ReadRowValues(players, kPhotoFields);
}

RowValues ReadRowValues(const Cursor& players, std::span<const std::string_view> fields) {
  RowValues values;
  const std::vector<FieldDef>& known = players.Fields();
  for (const std::string_view field : fields) {
    if (std::none_of(known.begin(), known.end(),
                     [field](const FieldDef& def) { return def.name == field; })) {
      continue;
    }
    values.emplace_back(std::string(field), players.IsNull(field)
                                                ? std::nullopt
                                                : std::optional(players.GetText(field)));
  }
  return values;
}

void WriteRowValues(Cursor& players, const RowValues& values) {
  for (const auto& [field, value] : values) {
    if (value) {
      players.SetText(field, *value);
    } else {
      players.SetNull(field);
    }
  }
}

std::optional<FileStamp> StampOf(const fs::path& file) {
  const std::optional<FileSizeAndTime> found = SizeAndTimeOf(file);
  if (!found) return std::nullopt;
  return FileStamp{found->size, found->modified};
}

int BackupRun::Replaced() const {
  return static_cast<int>(
      std::count_if(entries.begin(), entries.end(), [](const auto& e) { return e.replaced; }));
}

int BackupRun::Created() const {
  return static_cast<int>(entries.size()) - Replaced();
}

BackupRun ReadBackupRun(const fs::path& folder) {
  BackupRun run;
  ReadRunInto(run, folder);
  return run;
}

std::vector<BackupRun> BackupRuns(const fs::path& programFolder, std::string_view game) {
  std::vector<BackupRun> runs;
  std::error_code ec;
  for (const fs::directory_entry& entry :
       fs::directory_iterator(GameBackupsFolder(programFolder, game), ec)) {
    // Folders being removed (and anything else hidden) are no runs.
    if (!entry.is_directory(ec) || entry.path().filename().string().starts_with('.')) continue;
    BackupRun run;
    try {
      ReadRunInto(run, entry.path());
    } catch (const Error& error) {
      // A folder with no manifest whose head never came to be written (a run that failed or was
      // killed as it began, before it kept anything) is no run. Any other is a run whose manifest
      // cannot be read: it is listed as damaged, and undo stops at it.
      if (!fs::exists(entry.path() / kManifestName, ec) && !HasFilesBesides(entry.path())) {
        continue;
      }
      run.damage = error.what();
      run.entries.clear();
      if (run.started == 0) {
        run.started = StartedByName(entry.path().filename().string())
                          .value_or(std::numeric_limits<std::int64_t>::max());
      }
      if (run.time.empty()) run.time = entry.path().filename().string();
    }
    runs.push_back(std::move(run));
  }
  std::sort(runs.begin(), runs.end(), [](const BackupRun& a, const BackupRun& b) {
    return a.started != b.started ? a.started < b.started : a.folder < b.folder;
  });
  return runs;
}

namespace {

// Removing a run's folder frees thousands of pictures, which on a busy disk takes as long as a
// run. So a run only renames the folders it no longer keeps (at once, and they are no runs from
// then on) and one thread of the process removes them meanwhile; the process waits for it before
// it ends. Folders left by a process that was killed are removed with the next ones.
class Sweeper {
 public:
  ~Sweeper() { Wait(); }
  void Wait() {
    const std::lock_guard lock(mutex_);
    if (thread_.joinable()) thread_.join();
  }
  void Sweep(const fs::path& gameFolder) {
    const std::lock_guard lock(mutex_);
    if (thread_.joinable()) thread_.join();
    thread_ = std::thread([gameFolder] {
      std::error_code ec;
      std::vector<fs::path> doomed;
      for (const fs::directory_entry& entry : fs::directory_iterator(gameFolder, ec)) {
        if (entry.path().filename().string().starts_with(kRemovingPrefix)) {
          doomed.push_back(entry.path());
        }
      }
      for (const fs::path& folder : doomed) fs::remove_all(folder, ec);
    });
  }
  static constexpr std::string_view kRemovingPrefix = ".removing-";

 private:
  std::mutex mutex_;
  std::thread thread_;
};

Sweeper& TheSweeper() {
  static Sweeper sweeper;
  return sweeper;
}

}  // namespace

void PruneBackupRuns(const fs::path& programFolder, std::string_view game, int kept) {
  const std::vector<BackupRun> runs = BackupRuns(programFolder, game);
  const std::size_t keep = static_cast<std::size_t>(std::max(kept, 0));
  bool renamed = false;
  for (std::size_t i = 0; i + keep < runs.size(); ++i) {
    const fs::path& folder = runs[i].folder;
    const fs::path doomed =
        folder.parent_path() / (std::string(Sweeper::kRemovingPrefix) + folder.filename().string());
    std::error_code ec;
    fs::rename(folder, doomed, ec);
    if (ec) {
      fs::remove_all(folder, ec);  // cannot be renamed: removed here and now
    } else {
      renamed = true;
    }
  }
  if (renamed) TheSweeper().Sweep(GameBackupsFolder(programFolder, game));
}

void WaitForBackupRemovals() {
  TheSweeper().Wait();
}

void MarkUndone(const BackupRun& run) {
  if (!WriteWholeFile(run.folder / kUndoneName, "undone\n")) {
    throw Error("Cannot mark the photo run kept in " + run.folder.string() + " as undone: " +
                SystemReason(errno) + ". What was undone stays undone; the next undo ends it.");
  }
}

RunBackup::RunBackup(const fs::path& programFolder, std::string game,
                     const fs::path& picturesFolder, std::string title)
    : programFolder_(programFolder), game_(std::move(game)) {
  const fs::path gameFolder = GameBackupsFolder(programFolder, game_);
  const std::time_t now = std::time(nullptr);
  const std::tm local = LocalTime(now);
  const std::string stem = Formatted(local, "%Y-%m-%d_%H-%M-%S");
  std::error_code ec;
  fs::create_directories(gameFolder, ec);
  // The run's own folder: a second run in the same second gets "-2", "-3", ...
  for (int n = 1;; ++n) {
    folder_ = gameFolder / (n == 1 ? stem : stem + "-" + std::to_string(n));
    const int error = MakeFolder(folder_);
    if (error == 0) break;
    if (error != EEXIST || n > 1000) {
      throw BackupError("Cannot keep the earlier pictures in " + folder_.string() + ": " +
                        SystemReason(error) +
                        ". Nothing was written over. Make room or give write access there, or "
                        "set the runs kept to 0 to make photos without a backup.");
    }
  }
  // The first lines appear at once and whole: a folder is a run only with them.
  std::string head;
  for (const std::string& text :
       {std::string(kManifestHead), "game\t" + Escape(game_), "title\t" + Escape(title),
        "time\t" + Formatted(local, "%Y-%m-%d %H:%M:%S"),
        "started\t" + std::to_string(NowNanoseconds()),
        "pictures\t" + Escape(picturesFolder.string())}) {
    head += CheckedLine(text) + '\n';
  }
  const fs::path manifest = folder_ / kManifestName;
  if (WriteWholeFile(manifest, head)) manifest_ = OpenForAppending(manifest);
  if (manifest_ == nullptr) {
    const int error = errno;
    fs::remove_all(folder_, ec);
    throw BackupError("Cannot write the backup manifest " + manifest.string() + ": " +
                      SystemReason(error) + ". Nothing was written over.");
  }
}

RunBackup::~RunBackup() {
  if (manifest_ != nullptr) std::fclose(manifest_);
  // Nothing written, and nothing that might have been: the folder is no run.
  if (replaced_ + created_ == 0 && kept_ == 0) {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
}

bool RunBackup::Keep(int playerId, const fs::path& picture, const RowValues& before, bool sync) {
  std::error_code ec;
  const bool there = fs::exists(fs::symlink_status(picture, ec));
  // The record first, on the disk when there is an earlier picture to lose: whatever happens
  // next, undo knows of this picture.
  Append("keep\t" + std::string(there ? "replaced" : "created") + '\t' + std::to_string(playerId) +
             '\t' + Escape(picture.filename().string()) + '\t' + std::to_string(NowNanoseconds()) +
             RowValuesText(before),
         there && sync);
  ++kept_;
  if (!there) return false;
  try {
    KeepCopy(picture);
  } catch (const BackupError&) {
    // The picture will not be written: as if it had never been recorded.
    Drop(picture, false);
    throw;
  }
  return true;
}

void RunBackup::KeepCopy(const fs::path& picture) {
  const fs::path kept = folder_ / picture.filename();
  const int error = MakeHardLink(picture, kept);
  if (error == 0) return;
  // Kept earlier in this run (a player twice in one selection cannot happen, but be safe).
  if (error == EEXIST) return;
  // Another file system, or one without hard links, or a picture that is a symbolic link: a copy
  // keeps the same bytes.
  if (error == EXDEV || error == EPERM || error == EMLINK || error == ENOTSUP || error == ENOENT) {
    try {
      CopyKeepingTime(picture, kept);
      return;
    } catch (const fs::filesystem_error& failure) {
      std::error_code ec;
      fs::remove(kept, ec);
      throw BackupError("Cannot keep the earlier picture " + picture.string() + " in " +
                        folder_.string() + ": " + failure.code().message() +
                        ". The run stopped before writing over it.");
    }
  }
  throw BackupError("Cannot keep the earlier picture " + picture.string() + " in " +
                    folder_.string() + ": " + SystemReason(error) +
                    ". The run stopped before writing over it.");
}

void RunBackup::Sync() {
  const int error = broken_ || manifest_ == nullptr ? EIO : SyncToDisk(manifest_);
  if (error != 0) {
    broken_ = true;
    throw BackupError("Cannot write the backup manifest " + (folder_ / kManifestName).string() +
                      ": " + SystemReason(error) + ".");
  }
}

void RunBackup::Drop(const fs::path& picture, bool existed) {
  std::error_code ec;
  if (existed) fs::remove(folder_ / picture.filename(), ec);
  try {
    Append("dropped\t" + Escape(picture.filename().string()), false);
    --kept_;
  } catch (const BackupError&) {
    // The picture is as it was: undo finds it so without this line.
  }
}

void RunBackup::Record(const fs::path& picture, bool existed, bool rowChanged,
                       const std::optional<FileStamp>& stamp) {
  const FileStamp written = stamp ? *stamp : StampOf(picture).value_or(FileStamp{});
  // Flushed as it is recorded, not synced: should this line not reach the disk, undo finds the
  // picture by its first record and what is on disk.
  Append("written\t" + Escape(picture.filename().string()) + '\t' + std::to_string(written.size) +
             '\t' + std::to_string(written.modified) + '\t' + (rowChanged ? "1" : "0"),
         false);
  --kept_;
  (existed ? replaced_ : created_) += 1;
}

void RunBackup::Finish() {
  if (finished_) return;
  finished_ = true;
  std::optional<BackupError> failure;
  if (replaced_ + created_ > 0) {
    try {
      Append("end", false);
    } catch (const BackupError& error) {
      failure = error;
    }
  }
  std::FILE* manifest = manifest_;
  manifest_ = nullptr;
  if (std::fclose(manifest) != 0 && !failure) {
    failure.emplace("Cannot complete the backup manifest " + (folder_ / kManifestName).string() +
                    ": " + SystemReason(errno) + ".");
  }
  if (failure) throw *failure;
  if (replaced_ + created_ > 0) PruneBackupRuns(programFolder_, game_, KeptRuns(programFolder_));
}

void RunBackup::Append(const std::string& text, bool sync) {
  const std::string line = CheckedLine(text) + '\n';
  // After a line that failed (a full disk may have cut it), no other may follow it.
  if (broken_ || manifest_ == nullptr ||
      std::fwrite(line.data(), 1, line.size(), manifest_) != line.size() ||
      std::fflush(manifest_) != 0 || (sync && (errno = SyncToDisk(manifest_)) != 0)) {
    broken_ = true;
    throw BackupError("Cannot write the backup manifest " + (folder_ / kManifestName).string() +
                      ": " + SystemReason(errno) + ".");
  }
}

std::string DescribeRunsBeyond(const RunsBeyond& beyond) {
  return std::to_string(beyond.runs) + (beyond.runs == 1 ? " run" : " runs") + " with " +
         std::to_string(beyond.pictures) + " kept earlier " +
         (beyond.pictures == 1 ? "picture" : "pictures");
}

bool ChangeKeptRuns(Prompts& prompts, const fs::path& programFolder, int runs) {
  const RunsBeyond beyond = RunsBeyondKept(programFolder, runs);
  if (beyond.runs > 0 &&
      !prompts.Confirm("Keeping " + std::to_string(runs) + " runs per game removes " +
                       DescribeRunsBeyond(beyond) +
                       ", which Undo Last Run can then no longer put back. Remove them?")) {
    return false;
  }
  SetKeptRuns(programFolder, runs);
  return true;
}

}  // namespace likentor
