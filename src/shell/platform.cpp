#include "shell/platform.h"

#include <csignal>
#include <cstdio>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <system_error>

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
