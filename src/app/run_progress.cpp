#include "app/run_progress.h"

namespace likentor {

void RunProgress::Report(std::string_view status, bool visible, int position) {
  if (status == status_ && visible == visible_ && position == position_) return;
  status_ = status;
  visible_ = visible;
  position_ = position;
  if (listener_) listener_(ProgressReport{status_, visible_, position_});
}

}  // namespace likentor
