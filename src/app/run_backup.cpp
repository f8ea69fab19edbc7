#include "app/run_backup.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fstream>
#include <mutex>
#include <sstream>
#include <system_error>
#include <thread>

#include "database/table_store.h"
#include "shell/whole_number.h"

namespace likentor {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kManifestName = "manifest.txt";
constexpr std::string_view kManifestHead = "likentor run backup\t1";
constexpr std::string_view kUndoneName = "undone";
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

std::string SystemReason(int error) {
  return std::generic_category().message(error);
}

std::tm LocalTime(std::time_t time) {
  std::tm local{};
  localtime_r(&time, &local);
  return local;
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

long long ParseNumber(const std::string& text, const fs::path& manifest) {
  try {
    std::size_t used = 0;
    const long long value = std::stoll(text, &used);
    if (used == text.size()) return value;
  } catch (const std::exception&) {
  }
  throw Error("The backup manifest " + manifest.string() + " is damaged: \"" + text +
              "\" is not a number.");
}

}  // namespace

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
    try {
      const int runs = ToWholeNumber(line.substr(kKeptRunsKey.size()));
      if (runs >= 0 && runs <= kMostKeptRuns) return runs;
    } catch (const Error&) {
    }
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

RowValues ReadRowValues(const Cursor& players) {
  RowValues values;
  for (std::size_t i = 0; i < kPhotoFields.size(); ++i) {
    if (!players.IsNull(kPhotoFields[i])) values[i] = players.GetText(kPhotoFields[i]);
  }
  return values;
}

void WriteRowValues(Cursor& players, const RowValues& values) {
  for (std::size_t i = 0; i < kPhotoFields.size(); ++i) {
    if (values[i]) {
      players.SetText(kPhotoFields[i], *values[i]);
    } else {
      players.SetNull(kPhotoFields[i]);
    }
  }
}

std::optional<FileStamp> StampOf(const fs::path& file) {
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) return std::nullopt;
  return FileStamp{
      static_cast<std::uintmax_t>(info.st_size),
      static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

int BackupRun::Replaced() const {
  return static_cast<int>(
      std::count_if(entries.begin(), entries.end(), [](const auto& e) { return e.replaced; }));
}

int BackupRun::Created() const {
  return static_cast<int>(entries.size()) - Replaced();
}

BackupRun ReadBackupRun(const fs::path& folder) {
  const fs::path manifest = folder / kManifestName;
  std::ifstream in(manifest);
  std::string line;
  if (!std::getline(in, line) || line != kManifestHead) {
    throw Error("The backup folder " + folder.string() + " has no readable manifest.");
  }
  BackupRun run;
  run.folder = folder;
  std::error_code ec;
  run.undone = fs::exists(folder / kUndoneName, ec);
  while (std::getline(in, line)) {
    const std::vector<std::string> parts = SplitTabs(line);
    const std::string& key = parts[0];
    if (key == "picture" && parts.size() == 7 + kPhotoFields.size()) {
      BackupEntry entry;
      entry.replaced = parts[1] == "replaced";
      entry.playerId = static_cast<int>(ParseNumber(parts[2], manifest));
      entry.file = Unescape(parts[3]);
      entry.written.size = static_cast<std::uintmax_t>(ParseNumber(parts[4], manifest));
      entry.written.modified = ParseNumber(parts[5], manifest);
      entry.rowChanged = parts[6] == "1";
      for (std::size_t i = 0; i < kPhotoFields.size(); ++i) {
        if (parts[7 + i] != kBlank) entry.before[i] = Unescape(parts[7 + i]);
      }
      // A name with a folder in it would reach outside the picture and backup folders.
      if (entry.file.empty() || fs::path(entry.file).filename() != entry.file) {
        throw Error("The backup manifest " + manifest.string() + " names a picture \"" +
                    entry.file + "\" outside the picture folder.");
      }
      run.entries.push_back(std::move(entry));
    } else if (parts.size() == 2) {
      const std::string value = Unescape(parts[1]);
      if (key == "game") run.game = value;
      if (key == "title") run.title = value;
      if (key == "time") run.time = value;
      if (key == "started") run.started = ParseNumber(value, manifest);
      if (key == "pictures") run.picturesFolder = value;
    } else {
      throw Error("The backup manifest " + manifest.string() + " is damaged: \"" + line + "\".");
    }
  }
  return run;
}

std::vector<BackupRun> BackupRuns(const fs::path& programFolder, std::string_view game) {
  std::vector<BackupRun> runs;
  std::error_code ec;
  for (const fs::directory_entry& entry :
       fs::directory_iterator(GameBackupsFolder(programFolder, game), ec)) {
    // Folders being removed (and anything else hidden) are no runs.
    if (!entry.is_directory(ec) || entry.path().filename().string().starts_with('.')) continue;
    try {
      runs.push_back(ReadBackupRun(entry.path()));
    } catch (const Error&) {
      // Not a run's folder, or one whose manifest was damaged: nothing to undo from it.
    }
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
  std::ofstream out(run.folder / kUndoneName, std::ios::trunc);
  out << "undone\n";
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
    if (::mkdir(folder_.c_str(), 0777) == 0) break;
    const int error = errno;
    if (error != EEXIST || n > 1000) {
      throw BackupError("Cannot keep the earlier pictures in " + folder_.string() + ": " +
                        SystemReason(error) +
                        ". Nothing was written over. Make room or give write access there, or "
                        "set the runs kept to 0 to make photos without a backup.");
    }
  }
  const fs::path manifest = folder_ / kManifestName;
  manifest_ = std::fopen(manifest.c_str(), "w");
  if (manifest_ == nullptr) {
    const int error = errno;
    fs::remove_all(folder_, ec);
    throw BackupError("Cannot write the backup manifest " + manifest.string() + ": " +
                      SystemReason(error) + ". Nothing was written over.");
  }
  std::ostringstream head;
  head << kManifestHead << "\ngame\t" << Escape(game_) << "\ntitle\t" << Escape(title) << "\ntime\t"
       << Formatted(local, "%Y-%m-%d %H:%M:%S") << "\nstarted\t" << NowNanoseconds()
       << "\npictures\t" << Escape(picturesFolder.string()) << '\n';
  Append(head.str());
  if (std::fflush(manifest_) != 0) {
    const int error = errno;
    std::fclose(manifest_);
    manifest_ = nullptr;
    fs::remove_all(folder_, ec);
    throw BackupError("Cannot write the backup manifest " + manifest.string() + ": " +
                      SystemReason(error) + ". Nothing was written over.");
  }
}

RunBackup::~RunBackup() {
  if (manifest_ != nullptr) std::fclose(manifest_);
  if (replaced_ + created_ == 0) {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
}

bool RunBackup::Keep(const fs::path& picture) {
  const fs::path kept = folder_ / picture.filename();
  if (::link(picture.c_str(), kept.c_str()) == 0) return true;
  const int error = errno;
  if (error == ENOENT) {
    std::error_code ec;
    // No picture there (or a dangling name): the run creates it.
    if (!fs::exists(fs::symlink_status(picture, ec))) return false;
  }
  if (error == EEXIST) {
    // Kept earlier in this run (a player twice in one selection cannot happen, but be safe).
    return true;
  }
  // Another file system, or one without hard links, or a picture that is a symbolic link: a copy
  // keeps the same bytes.
  if (error == EXDEV || error == EPERM || error == EMLINK || error == ENOTSUP || error == ENOENT) {
    try {
      CopyKeepingTime(picture, kept);
      return true;
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

void RunBackup::Drop(const fs::path& picture, bool existed) {
  if (!existed) return;
  std::error_code ec;
  fs::remove(folder_ / picture.filename(), ec);
}

void RunBackup::Record(int playerId, const fs::path& picture, bool existed, const RowValues& before,
                       bool rowChanged) {
  const FileStamp written = StampOf(picture).value_or(FileStamp{});
  std::ostringstream line;
  line << "picture\t" << (existed ? "replaced" : "created") << '\t' << playerId << '\t'
       << Escape(picture.filename().string()) << '\t' << written.size << '\t' << written.modified
       << '\t' << (rowChanged ? 1 : 0);
  for (const std::optional<std::string>& value : before) {
    line << '\t' << (value ? Escape(*value) : std::string(kBlank));
  }
  line << '\n';
  Append(line.str());
  // Each picture reaches the disk as it is recorded: a run that ends abruptly can still be undone
  // as far as it went.
  if (std::fflush(manifest_) != 0) {
    throw BackupError("Cannot write the backup manifest " + (folder_ / kManifestName).string() +
                      ": " + SystemReason(errno) + ".");
  }
  (existed ? replaced_ : created_) += 1;
}

void RunBackup::Finish() {
  if (finished_) return;
  finished_ = true;
  std::FILE* manifest = manifest_;
  manifest_ = nullptr;
  const bool closed = std::fclose(manifest) == 0;
  if (!closed) {
    throw BackupError("Cannot complete the backup manifest " + (folder_ / kManifestName).string() +
                      ": " + SystemReason(errno) + ".");
  }
  if (replaced_ + created_ > 0) PruneBackupRuns(programFolder_, game_, KeptRuns(programFolder_));
}

void RunBackup::Append(const std::string& line) {
  if (manifest_ == nullptr || std::fwrite(line.data(), 1, line.size(), manifest_) != line.size()) {
    throw BackupError("Cannot write the backup manifest " + (folder_ / kManifestName).string() +
                      ": " + SystemReason(errno) + ".");
  }
}

}  // namespace likentor
