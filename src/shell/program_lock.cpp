#include "shell/program_lock.h"

// The one place that knows how the lock is held: flock(2) on an open file, which the system lets go
// when the process ends however it ends, so a killed copy never leaves a stale lock behind.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <map>
#include <mutex>
#include <string_view>
#include <thread>

#include "shell/error.h"
#include "shell/whole_number.h"

namespace likentor {

namespace {

constexpr std::chrono::milliseconds kPollInterval{50};

// The locks this process holds, by file: the descriptor and how many ProgramLocks share it.
struct Held {
  int fd = -1;
  int users = 0;
};

std::mutex& HeldMutex() {
  static std::mutex mutex;
  return mutex;
}

std::map<std::string, Held>& HeldLocks() {
  static std::map<std::string, Held> held;
  return held;
}

// The process named in the lock file by the copy that holds it (0 when it has not written it yet).
long HolderOf(int fd) {
  char text[32] = {};
  const ssize_t size = ::pread(fd, text, sizeof text - 1, 0);
  if (size <= 0) return 0;
  // The holder writes its process number and a line end; anything else names no process.
  std::string_view number(text, static_cast<std::size_t>(size));
  if (number.ends_with('\n')) number.remove_suffix(1);
  return static_cast<long>(
      StrictWholeNumber(number, 0, std::numeric_limits<int>::max()).value_or(0));
}

std::string SystemError(int error) {
  return std::strerror(error);
}

}  // namespace

std::string AnotherCopyMessage(const std::filesystem::path& programFolder, long process) {
  return "Another Likentor is working in " + programFolder.string() + " (process " +
         std::to_string(process) + ").";
}

ProgramLock::ProgramLock(const std::filesystem::path& programFolder,
                         std::chrono::milliseconds wait) {
  const std::filesystem::path data = programFolder / "data";
  std::error_code ec;
  std::filesystem::create_directories(data, ec);
  file_ = std::filesystem::weakly_canonical(data / kProgramLockFile, ec);
  if (ec) file_ = data / kProgramLockFile;

  std::lock_guard<std::mutex> guard(HeldMutex());
  Held& held = HeldLocks()[file_.string()];
  if (held.users > 0) {
    ++held.users;
    return;
  }
  const int fd = ::open(file_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) {
    const int error = errno;
    HeldLocks().erase(file_.string());
    throw Error("Could not take the lock " + file_.string() + ": " + SystemError(error));
  }
  const auto giveUpAt = std::chrono::steady_clock::now() + wait;
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    if (error == EINTR) continue;
    if (error != EWOULDBLOCK || std::chrono::steady_clock::now() >= giveUpAt) {
      // The holder writes its process right after taking the lock; a moment's grace for that.
      long holder = HolderOf(fd);
      for (int tries = 0; holder == 0 && error == EWOULDBLOCK && tries < 10; ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        holder = HolderOf(fd);
      }
      ::close(fd);
      HeldLocks().erase(file_.string());
      if (error != EWOULDBLOCK) {
        throw Error("Could not take the lock " + file_.string() + ": " + SystemError(error));
      }
      throw ProgramBusyError(AnotherCopyMessage(programFolder, holder));
    }
    std::this_thread::sleep_for(kPollInterval);
  }
  const std::string process = std::to_string(::getpid()) + "\n";
  if (::ftruncate(fd, 0) != 0 ||
      ::pwrite(fd, process.data(), process.size(), 0) != static_cast<ssize_t>(process.size())) {
    // The lock is held all the same; only the name of its holder is missing.
  }
  held.fd = fd;
  held.users = 1;
}

ProgramLock::~ProgramLock() {
  std::lock_guard<std::mutex> guard(HeldMutex());
  auto it = HeldLocks().find(file_.string());
  if (it == HeldLocks().end() || --it->second.users > 0) return;
  // Emptied first, so that nobody reads this process as the holder once the lock is gone.
  if (::ftruncate(it->second.fd, 0) != 0) {
    // Nothing to do: the lock goes with the descriptor all the same.
  }
  ::close(it->second.fd);
  HeldLocks().erase(it);
}

}  // namespace likentor
