#include "shell/platform.h"

#include <csignal>
#include <cstdio>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <system_error>
#include <vector>

#include <cerrno>

#ifdef _WIN32
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace likentor {

namespace fs = std::filesystem;

namespace {

// An environment variable's value, empty when it is unset.
std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// The folder named by an environment variable when it holds an absolute path.
fs::path AbsoluteFromEnvironment(const char* name) {
  const fs::path folder = Environment(name);
  return folder.is_absolute() ? folder : fs::path();
}

#ifndef _WIN32
// $XDG_<kind>_HOME/likentor, else ~/<fallback>/likentor.
fs::path XdgFolder(const char* variable, const fs::path& fallback) {
  fs::path base = AbsoluteFromEnvironment(variable);
  if (base.empty()) {
    const fs::path home = HomeFolder();
    if (home.empty()) return {};
    base = home / fallback;
  }
  return base / "likentor";
}
#endif

}  // namespace

#ifdef _WIN32

fs::path ExecutableFile(const char* argv0) {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD size = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (size == 0) break;
    if (size < name.size()) return fs::path(name.substr(0, size));
    name.resize(name.size() * 2);
  }
  std::error_code ec;
  return fs::absolute(argv0, ec);
}

fs::path HomeFolder() {
  return AbsoluteFromEnvironment("USERPROFILE");
}

fs::path UserDataFolder() {
  const fs::path base = AbsoluteFromEnvironment("LOCALAPPDATA");
  return base.empty() ? fs::path() : base / "Likentor";
}

fs::path UserConfigFolder() {
  return UserDataFolder();
}

bool CanWriteFolder(const fs::path& folder) {
  std::error_code ec;
  return fs::is_directory(folder, ec) && _waccess(folder.c_str(), 2) == 0;
}

std::tm LocalTime(std::time_t time) {
  std::tm local{};
  localtime_s(&local, &time);
  return local;
}

int MakeFolder(const fs::path& folder) {
  return _wmkdir(folder.c_str()) == 0 ? 0 : errno;
}

int MakeHardLink(const fs::path& file, const fs::path& link) {
  if (CreateHardLinkW(link.c_str(), file.c_str(), nullptr)) return 0;
  switch (GetLastError()) {
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
      return EEXIST;
    case ERROR_NOT_SAME_DEVICE:
      return EXDEV;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
      return EACCES;
    case ERROR_TOO_MANY_LINKS:
      return EMLINK;
    default:
      return ENOTSUP;
  }
}

std::optional<FileSizeAndTime> SizeAndTimeOf(const fs::path& file) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  const std::uint64_t ticks = (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                              data.ftLastWriteTime.dwLowDateTime;
  // 100-nanosecond ticks since 1601-01-01; the epoch is 11644473600 seconds later.
  const std::int64_t sinceEpoch = static_cast<std::int64_t>(ticks) - 116444736000000000LL;
  return FileSizeAndTime{(std::uintmax_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow,
                         sinceEpoch * 100};
}

int WriteFileToDisk(const fs::path& file, std::string_view text) {
  const int fd = _wopen(file.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT,
                        _S_IREAD | _S_IWRITE);
  if (fd < 0) return errno;
  int error = 0;
  std::size_t done = 0;
  while (error == 0 && done < text.size()) {
    const unsigned chunk =
        static_cast<unsigned>(std::min<std::size_t>(text.size() - done, 1u << 30));
    const int n = _write(fd, text.data() + done, chunk);
    if (n <= 0) {
      error = n < 0 ? errno : ENOSPC;
    } else {
      done += static_cast<std::size_t>(n);
    }
  }
  if (error == 0 && _commit(fd) != 0) error = errno;
  if (_close(fd) != 0 && error == 0) error = errno;
  return error;
}

std::FILE* OpenForAppending(const fs::path& file) {
  return _wfopen(file.c_str(), L"ab");
}

int SyncToDisk(std::FILE* file) {
  return _commit(_fileno(file)) == 0 ? 0 : errno;
}

namespace {

// Whether `file` is a regular file holding exactly `bytes`; its stamp when it is.
std::optional<FileSizeAndTime> SameBytes(const fs::path& file,
                                         std::span<const std::uint8_t> bytes) {
  const std::optional<FileSizeAndTime> stamp = SizeAndTimeOf(file);
  std::error_code ec;
  if (!stamp || stamp->size != bytes.size() || !fs::is_regular_file(fs::symlink_status(file, ec))) {
    return std::nullopt;
  }
  const int fd = _wopen(file.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
  if (fd < 0) return std::nullopt;
  std::vector<std::uint8_t> there(bytes.size() + 1);
  std::size_t done = 0;
  for (int n = 0;
       done < there.size() &&
       (n = _read(fd, there.data() + done, static_cast<unsigned>(there.size() - done))) > 0;) {
    done += static_cast<std::size_t>(n);
  }
  _close(fd);
  if (done != bytes.size() || !std::equal(bytes.begin(), bytes.end(), there.begin())) {
    return std::nullopt;
  }
  return stamp;
}

}  // namespace

PublishedFile PublishFile(const fs::path& file, std::span<const std::uint8_t> bytes, bool leaveSame,
                          PublishWay) {
  PublishedFile result;
  if (const std::optional<FileSizeAndTime> same =
          leaveSame ? SameBytes(file, bytes) : std::nullopt) {
    result.created = true;
    result.unchanged = true;
    result.stamp = *same;
    return result;
  }
  const fs::path part = fs::path(file).concat(".part");
  const int fd = _wopen(part.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT,
                        _S_IREAD | _S_IWRITE);
  if (fd < 0) {
    result.error = errno;
    return result;
  }
  result.created = true;
  std::size_t done = 0;
  while (result.error == 0 && done < bytes.size()) {
    const unsigned chunk =
        static_cast<unsigned>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    const int n = _write(fd, bytes.data() + done, chunk);
    if (n <= 0) {
      result.error = n < 0 ? errno : ENOSPC;
    } else {
      done += static_cast<std::size_t>(n);
    }
  }
  if (_close(fd) != 0 && result.error == 0) result.error = errno;
  if (result.error == 0 && !MoveFileExW(part.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    result.error = EACCES;
  }
  if (result.error != 0) {
    _wunlink(part.c_str());
    return result;
  }
  result.stamp = SizeAndTimeOf(file).value_or(FileSizeAndTime{});
  return result;
}

#else

fs::path ExecutableFile(const char* argv0) {
  std::error_code ec;
  fs::path file = fs::read_symlink("/proc/self/exe", ec);
  if (ec) file = fs::absolute(argv0, ec);
  return file;
}

fs::path HomeFolder() {
  if (std::string home = Environment("HOME"); !home.empty()) return home;
  if (const passwd* user = getpwuid(getuid()); user != nullptr && user->pw_dir != nullptr) {
    return user->pw_dir;
  }
  return {};
}

fs::path UserDataFolder() {
  return XdgFolder("XDG_DATA_HOME", fs::path(".local") / "share");
}

fs::path UserConfigFolder() {
  return XdgFolder("XDG_CONFIG_HOME", ".config");
}

bool CanWriteFolder(const fs::path& folder) {
  std::error_code ec;
  return fs::is_directory(folder, ec) && access(folder.c_str(), W_OK) == 0;
}

std::tm LocalTime(std::time_t time) {
  std::tm local{};
  localtime_r(&time, &local);
  return local;
}

int MakeFolder(const fs::path& folder) {
  return ::mkdir(folder.c_str(), 0777) == 0 ? 0 : errno;
}

int MakeHardLink(const fs::path& file, const fs::path& link) {
  return ::link(file.c_str(), link.c_str()) == 0 ? 0 : errno;
}

std::optional<FileSizeAndTime> SizeAndTimeOf(const fs::path& file) {
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) return std::nullopt;
  return FileSizeAndTime{
      static_cast<std::uintmax_t>(info.st_size),
      static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

int WriteFileToDisk(const fs::path& file, std::string_view text) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return errno;
  int error = 0;
  std::size_t done = 0;
  while (error == 0 && done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = n < 0 ? errno : ENOSPC;
    } else {
      done += static_cast<std::size_t>(n);
    }
  }
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  return error;
}

std::FILE* OpenForAppending(const fs::path& file) {
  return std::fopen(file.c_str(), "ab");
}

int SyncToDisk(std::FILE* file) {
  return ::fdatasync(::fileno(file)) == 0 ? 0 : errno;
}

namespace {

// Writes all of `bytes` to an open file. 0 when done, else the system's error number.
int WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : ENOSPC;
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

FileSizeAndTime StampOfOpen(const struct stat& info) {
  return FileSizeAndTime{
      static_cast<std::uintmax_t>(info.st_size),
      static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

// Whether `file` is a regular file (not a symbolic link) holding exactly `bytes`; its stamp when
// it is. The size is compared first, so a different file costs an open and a look at its size.
std::optional<FileSizeAndTime> SameBytes(const fs::path& file,
                                         std::span<const std::uint8_t> bytes) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return std::nullopt;
  std::optional<FileSizeAndTime> same;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
      static_cast<std::uintmax_t>(info.st_size) == bytes.size()) {
    // One byte more than expected is asked for, so a file that grew meanwhile is told apart.
    std::vector<std::uint8_t> there(bytes.size() + 1);
    std::size_t done = 0;
    for (ssize_t n = 0; done < there.size(); done += static_cast<std::size_t>(n)) {
      n = ::read(fd, there.data() + done, there.size() - done);
      if (n < 0 && errno == EINTR) {
        n = 0;
        continue;
      }
      if (n <= 0) break;
    }
    if (done == bytes.size() && std::equal(bytes.begin(), bytes.end(), there.begin())) {
      same = StampOfOpen(info);
    }
  }
  ::close(fd);
  return same;
}

// Writes the bytes to `part` and renames it over `file`.
PublishedFile PublishByRename(const fs::path& file, const fs::path& part,
                              std::span<const std::uint8_t> bytes) {
  PublishedFile result;
  const int fd = ::open(part.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) {
    result.error = errno;
    return result;
  }
  result.created = true;
  result.error = WriteAll(fd, bytes);
  struct stat info {};
  if (result.error == 0 && ::fstat(fd, &info) != 0) result.error = errno;
  if (::close(fd) != 0 && result.error == 0) result.error = errno;
  if (result.error == 0 && ::rename(part.c_str(), file.c_str()) != 0) result.error = errno;
  if (result.error != 0) {
    ::unlink(part.c_str());
    return result;
  }
  result.stamp = StampOfOpen(info);
  return result;
}

}  // namespace

PublishedFile PublishFile(const fs::path& file, std::span<const std::uint8_t> bytes, bool leaveSame,
                          PublishWay way) {
  const fs::path part = fs::path(file).concat(".part");
  const auto unchanged = [](const FileSizeAndTime& stamp) {
    PublishedFile result;
    result.created = true;
    result.unchanged = true;
    result.stamp = stamp;
    return result;
  };
  if (way == PublishWay::Rename) {
    if (leaveSame) {
      if (const std::optional<FileSizeAndTime> same = SameBytes(file, bytes)) {
        return unchanged(*same);
      }
    }
    return PublishByRename(file, part, bytes);
  }
  // A new name is the common case (the first run over a game): the bytes go to an unnamed file
  // that is linked in place, and the name's being there already shows only when the link fails.
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) {
    // No unnamed files on this file system (or this kernel): the named file beside it.
    if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) {
      return PublishFile(file, bytes, leaveSame, PublishWay::Rename);
    }
    PublishedFile result;
    result.error = errno;
    return result;
  }
  PublishedFile result;
  result.created = true;
  result.error = WriteAll(fd, bytes);
  struct stat info {};
  if (result.error == 0 && ::fstat(fd, &info) != 0) result.error = errno;
  if (result.error != 0) {
    ::close(fd);
    return result;
  }
  result.stamp = StampOfOpen(info);
  // Linked through /proc: linkat with AT_EMPTY_PATH needs a privilege that this does not.
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  bool linked = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, file.c_str(), AT_SYMLINK_FOLLOW) == 0;
  if (!linked && errno == EEXIST) {
    if (const std::optional<FileSizeAndTime> same =
            leaveSame ? SameBytes(file, bytes) : std::nullopt) {
      ::close(fd);
      return unchanged(*same);
    }
    // Replaced by a rename, which takes the name at once; the unnamed file gets the name beside
    // it first (one a killed run left there is replaced).
    ::unlink(part.c_str());
    linked = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, part.c_str(), AT_SYMLINK_FOLLOW) == 0;
    if (linked && ::rename(part.c_str(), file.c_str()) != 0) {
      result.error = errno;
      ::unlink(part.c_str());
      ::close(fd);
      return result;
    }
  }
  if (!linked) {
    const int error = errno;
    ::close(fd);
    // No /proc to link through: the named file beside it.
    if (error == ENOENT && !fs::exists(fs::path(self))) {
      return PublishFile(file, bytes, leaveSame, PublishWay::Rename);
    }
    result.error = error;
    return result;
  }
  // The bytes are written and in place: a close that reports something now changes nothing.
  ::close(fd);
  return result;
}

#endif

#ifdef _WIN32

namespace {

// One argument as the Windows C run-time splits a command line back into arguments: quoted when
// it holds a space, a tab or a quote, a quote escaped with a backslash, and backslashes before a
// quote or the closing quote doubled.
std::wstring QuotedArgument(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, L'\\');
  quoted += L'"';
  return quoted;
}

}  // namespace

int HandOverTo(const fs::path& program, const std::vector<std::string>& args) {
  std::wstring commandLine;
  for (const std::string& arg : args) {
    if (!commandLine.empty()) commandLine += L' ';
    commandLine += QuotedArgument(fs::path(arg).wstring());
  }
  std::fflush(nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.wstring().c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                      nullptr, nullptr, &startup, &process)) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ENOENT : EACCES;
  }
  CloseHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 1;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hProcess);
  std::exit(static_cast<int>(status));
}

#else

int HandOverTo(const fs::path& program, const std::vector<std::string>& args) {
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  std::fflush(nullptr);
  ::execv(program.c_str(), argv.data());
  return errno;
}

#endif

void IgnoreFileSizeSignal() {
#ifdef SIGXFSZ
  std::signal(SIGXFSZ, SIG_IGN);
#endif
}

namespace {

#ifdef _WIN32
bool FlushToDisk(std::FILE* f) {
  return _commit(_fileno(f)) == 0;
}
bool FlushFolder(const fs::path&) {
  return true;  // a rename is made lasting by the file system itself
}
#else
bool FlushToDisk(std::FILE* f) {
  return ::fsync(::fileno(f)) == 0;
}
bool FlushFolder(const fs::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}
#endif

bool WriteAndFlush(const fs::path& file, const char* mode, std::string_view bytes) {
  std::FILE* f = std::fopen(file.string().c_str(), mode);
  if (f == nullptr) return false;
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fflush(f) == 0 && ok;
  ok = FlushToDisk(f) && ok;
  return std::fclose(f) == 0 && ok;
}

}  // namespace

bool WriteFileDurably(const fs::path& file, std::string_view bytes) {
  const fs::path part = file.string() + ".part";
  std::error_code ec;
  if (!WriteAndFlush(part, "wb", bytes)) {
    fs::remove(part, ec);
    return false;
  }
  fs::rename(part, file, ec);
  if (ec) {
    fs::remove(part, ec);
    return false;
  }
  return FlushFolder(file.parent_path());
}

bool AppendDurably(const fs::path& file, std::string_view bytes) {
  return WriteAndFlush(file, "ab", bytes);
}

bool RemoveDurably(const fs::path& file) {
  std::error_code ec;
  fs::remove(file, ec);
  if (fs::exists(file, ec)) return false;
  return FlushFolder(file.parent_path());
}

}  // namespace likentor
