#include "shell/platform.h"

#include <csignal>
#include <cstdio>

#include <cstdlib>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <pwd.h>
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
