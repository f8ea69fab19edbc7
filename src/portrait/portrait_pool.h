#pragma once

// Worker threads that compose portraits and write them: the pixel work of a run (face decode,
// blending, PNG encode, file write) in parallel, one worker per core, while the caller keeps the
// draws and the table writes on its own thread. Results come back in the order the jobs were
// submitted, so the caller can record them in the order of its selection.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "portrait/composition.h"
#include "shell/platform.h"

namespace likentor {

struct PortraitJob {
  PortraitLayers layers;
  std::filesystem::path output;  // replaced when it exists
  // A file there with the portrait's very bytes is left as it is. Not when a backup keeps the file
  // by a second name (a hard link): the picture must then become a new file of its own.
  bool leaveSame = true;
};

struct PortraitResult {
  bool written = false;    // the portrait is in place (written, or there already: `unchanged`)
  bool unchanged = false;  // the file held the portrait's very bytes and was left as it was
  FileSizeAndTime stamp;   // the file as it lies when written
  std::string error;       // the failure's message when not written; no file is left behind then
};

// Composes one portrait and writes it (portrait_png.h). No exception: failures come back in the
// result.
PortraitResult WritePortrait(const PortraitJob& job);

class PortraitPool {
 public:
  // workers 0: one per core. `window` bounds the jobs submitted and not yet taken back (0: eight
  // per worker), which bounds the memory of a run whatever its length.
  explicit PortraitPool(int workers = 0, std::size_t window = 0);
  // Lets the workers finish what was submitted, then joins them. Never throws.
  ~PortraitPool();
  PortraitPool(const PortraitPool&) = delete;
  PortraitPool& operator=(const PortraitPool&) = delete;

  int Workers() const { return static_cast<int>(threads_.size()); }
  std::size_t Window() const { return window_; }
  // Jobs submitted and not yet taken back.
  std::size_t Pending() const;
  bool Full() const { return Pending() >= window_; }

  void Submit(PortraitJob job);
  // Waits for the oldest job not taken back yet and returns its result. Only with Pending() > 0.
  PortraitResult TakeNext();

 private:
  struct Slot {
    PortraitJob job;
    PortraitResult result;
    bool done = false;
  };
  void Work();

  std::size_t window_;
  mutable std::mutex mutex_;
  std::condition_variable jobReady_;
  std::condition_variable jobDone_;
  std::deque<std::shared_ptr<Slot>> order_;  // submitted, not taken back, oldest first
  std::deque<std::shared_ptr<Slot>> queue_;  // waiting for a worker
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace likentor
