#include "portrait/portrait_pool.h"

#include <exception>
#include <utility>

#include "portrait/portrait_png.h"

namespace likentor {

PortraitResult WritePortrait(const PortraitJob& job) {
  PortraitResult result;
  try {
    const WrittenImage written =
        SavePortraitPng(ComposePortrait(job.layers), job.output, job.leaveSame);
    result.written = true;
    result.unchanged = written.unchanged;
    result.stamp = written.stamp;
  } catch (const std::exception& failure) {
    result.error = failure.what();
  }
  return result;
}

PortraitPool::PortraitPool(int workers, std::size_t window) {
  if (workers <= 0) workers = static_cast<int>(std::thread::hardware_concurrency());
  if (workers <= 0) workers = 1;
  window_ = window > 0 ? window : static_cast<std::size_t>(workers) * 8;
  threads_.reserve(static_cast<std::size_t>(workers));
  for (int i = 0; i < workers; ++i) threads_.emplace_back([this] { Work(); });
}

PortraitPool::~PortraitPool() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  jobReady_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

std::size_t PortraitPool::Pending() const {
  std::lock_guard lock(mutex_);
  return order_.size();
}

void PortraitPool::Submit(PortraitJob job) {
  auto slot = std::make_shared<Slot>();
  slot->job = std::move(job);
  {
    std::lock_guard lock(mutex_);
    order_.push_back(slot);
    queue_.push_back(std::move(slot));
  }
  jobReady_.notify_one();
}

PortraitResult PortraitPool::TakeNext() {
  std::unique_lock lock(mutex_);
  if (order_.empty()) {
    PortraitResult nothing;
    nothing.error = "No portrait was submitted.";
    return nothing;
  }
  std::shared_ptr<Slot> oldest = order_.front();
  jobDone_.wait(lock, [&] { return oldest->done; });
  order_.pop_front();
  return std::move(oldest->result);
}

void PortraitPool::Work() {
  for (;;) {
    std::shared_ptr<Slot> slot;
    {
      std::unique_lock lock(mutex_);
      jobReady_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
      // Jobs already submitted are finished even when stopping: their rows may be recorded.
      if (queue_.empty()) return;
      slot = std::move(queue_.front());
      queue_.pop_front();
    }
    PortraitResult result = WritePortrait(slot->job);
    slot->job = PortraitJob{};  // drop the layer references as soon as the work is done
    {
      std::lock_guard lock(mutex_);
      slot->result = std::move(result);
      slot->done = true;
    }
    jobDone_.notify_all();
  }
}

}  // namespace likentor
