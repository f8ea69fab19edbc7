#pragma once

// One copy of Likentor at a time writes in a program folder. A copy that will write holds a lock on
// the file likentor.lock in the folder's data/ for its whole run, the file naming its process; a
// second copy waits a few seconds for it and then stops with a message that names the holder.
// Copies that only read take no lock. Within one process the lock is shared: sessions of the same
// process on one folder (tests, a window's worker) never wait for each other.

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

#include "shell/error.h"

namespace likentor {

inline constexpr std::string_view kProgramLockFile = "likentor.lock";
// How long a copy waits for another one to finish before it gives up.
inline constexpr std::chrono::milliseconds kProgramLockWait{3000};

// "Another Likentor is working in FOLDER (process N)."
std::string AnotherCopyMessage(const std::filesystem::path& programFolder, long process);

// The lock is held by another process: AnotherCopyMessage.
class ProgramBusyError : public Error {
 public:
  using Error::Error;
};

class ProgramLock {
 public:
  // Takes the lock of `programFolder`, waiting up to `wait` while another process holds it.
  // ProgramBusyError when it is still held then, and an Error naming the lock file when that cannot
  // be made (a folder this copy may not write).
  explicit ProgramLock(const std::filesystem::path& programFolder,
                       std::chrono::milliseconds wait = kProgramLockWait);
  ~ProgramLock();  // lets the lock go
  ProgramLock(const ProgramLock&) = delete;
  ProgramLock& operator=(const ProgramLock&) = delete;

  const std::filesystem::path& File() const { return file_; }

 private:
  std::filesystem::path file_;
};

}  // namespace likentor
