#include "ui/run_thread.h"

#include <exception>

#include "app/write_command.h"

namespace likentor {

RunThread::RunThread(QObject* parent) : QObject(parent) {}

RunThread::~RunThread() {
  Wait();
}

bool RunThread::Start(std::function<void()> work) {
  if (thread_) return false;
  outcome_ = {};
  // The worker writes the outcome only; the window reads it after the thread finished.
  thread_.reset(QThread::create([this, work = std::move(work)] {
    try {
      work();
    } catch (const BusyError& e) {
      outcome_ = {true, true, e.what()};
    } catch (const std::exception& e) {
      outcome_ = {true, false, e.what()};
    } catch (...) {
      outcome_ = {true, false, "The command stopped on an unknown failure."};
    }
  }));
  connect(thread_.get(), &QThread::finished, this, &RunThread::Ended, Qt::QueuedConnection);
  thread_->start();
  return true;
}

void RunThread::Wait() {
  if (thread_) thread_->wait();
}

RunThread::Outcome RunThread::TakeOutcome() {
  Wait();
  thread_.reset();
  return std::exchange(outcome_, {});
}

}  // namespace likentor
