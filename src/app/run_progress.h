#pragma once

// How a long run tells the front end where it is: the status text and the progress bar (0..100,
// hidden outside a run), through one listener that the window or the command line installs. A run
// reports only through here and asks the user nothing, so it may run on a worker thread; the
// listener is then called on that thread. The front end may ask the run to stop; runs look at
// that between portraits and keep what they made.

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace likentor {

struct ProgressReport {
  std::string status;
  bool visible = false;  // the progress bar is shown
  int position = 0;      // 0..100
};

class RunProgress {
 public:
  using Listener = std::function<void(const ProgressReport&)>;

  // Set while no run goes.
  void SetListener(Listener listener);

  // The last report (a copy: a run may be changing it on another thread).
  ProgressReport Last() const;
  bool Visible() const { return Last().visible; }
  int Position() const { return Last().position; }

  // Sets the bar and tells the listener when the status, the visibility or the position changed.
  void Report(std::string_view status, bool visible, int position);

  // May be called from any thread (a signal handler, a window's cancel button), also just before a
  // run starts: the run then stops before its first portrait. The request holds until the run that
  // took it ends (EndRun).
  void RequestCancel() { cancel_.store(true); }
  bool CancelRequested() const { return cancel_.load(); }
  // A run has ended: a later run starts without the request it may have taken.
  void EndRun() { cancel_.store(false); }

 private:
  mutable std::mutex mutex_;
  Listener listener_;
  ProgressReport last_;
  std::atomic<bool> cancel_{false};
};

}  // namespace likentor
