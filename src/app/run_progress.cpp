#include "app/run_progress.h"

namespace likentor {

void RunProgress::SetListener(Listener listener) {
  std::lock_guard lock(mutex_);
  listener_ = std::move(listener);
}

ProgressReport RunProgress::Last() const {
  std::lock_guard lock(mutex_);
  return last_;
}

void RunProgress::Report(std::string_view status, bool visible, int position) {
  Listener listener;
  ProgressReport report;
  {
    std::lock_guard lock(mutex_);
    if (status == last_.status && visible == last_.visible && position == last_.position) return;
    last_ = ProgressReport{std::string(status), visible, position};
    listener = listener_;
    report = last_;
  }
  // Outside the lock: a listener may read Last() or ask for a cancel.
  if (listener) listener(report);
}

}  // namespace likentor
