#include "ui/run_thread.h"

#include <exception>

#include "shell/error.h"

namespace likentor {

RunThread::RunThread(QObject* parent) : QObject(parent) {}

RunThread::~RunThread() {
  Wait();
}

bool RunThread::Start(std::function<RunResult()> run) {
  if (thread_) return false;
  outcome_ = {};
  // The worker writes the outcome only; the window reads it after the thread finished.
  thread_.reset(QThread::create([this, run = std::move(run)] {
    try {
      outcome_.result = run();
    } catch (const std::exception& e) {
      outcome_.error = e.what();
    } catch (...) {
      outcome_.error = "The run stopped on an unknown failure.";
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
