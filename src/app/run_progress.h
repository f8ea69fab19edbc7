#pragma once

// How a long run tells the front end where it is: the status text and the progress bar (0..100,
// hidden outside a run), through one listener that the window or the command line installs. The
// front end may also ask the run to stop; runs look at that between portraits and keep what they
// made.

#include <atomic>
#include <functional>
#include <string>
#include <string_view>

namespace likentor {

struct ProgressReport {
  std::string_view status;
  bool visible = false;  // the progress bar is shown
  int position = 0;      // 0..100
};

class RunProgress {
 public:
  using Listener = std::function<void(const ProgressReport&)>;

  void SetListener(Listener listener) { listener_ = std::move(listener); }

  bool Visible() const { return visible_; }
  int Position() const { return position_; }

  // Sets the bar and tells the listener when the status, the visibility or the position changed.
  void Report(std::string_view status, bool visible, int position);

  // May be called from any thread (a signal handler's thread, a window's cancel button).
  void RequestCancel() { cancel_.store(true); }
  bool CancelRequested() const { return cancel_.load(); }
  void ClearCancel() { cancel_.store(false); }

 private:
  Listener listener_;
  std::string status_;
  bool visible_ = false;
  int position_ = 0;
  std::atomic<bool> cancel_{false};
};

}  // namespace likentor
