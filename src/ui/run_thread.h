#pragma once

// A batch run on a worker thread, so that the window keeps painting and answering while it goes.
// The run's outcome is picked up on the window's thread when Ended arrives.

#include <QObject>
#include <QThread>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/batch_runs.h"

namespace likentor {

class RunThread : public QObject {
  Q_OBJECT

 public:
  // What a run ended with: its result, or the message of the failure that ended it.
  struct Outcome {
    std::optional<RunResult> result;
    std::string error;
  };

  explicit RunThread(QObject* parent = nullptr);
  ~RunThread() override;  // waits for a run still going

  // Starts `run` on a new thread; false when a run is still going.
  bool Start(std::function<RunResult()> run);
  bool Running() const { return thread_ != nullptr; }
  // Blocks until the run has ended (Ended is still delivered afterwards).
  void Wait();
  // The outcome of the run that ended, once Ended arrived; the thread is released.
  Outcome TakeOutcome();

 signals:
  // On the window's thread, after the run ended.
  void Ended();

 private:
  std::unique_ptr<QThread> thread_;
  Outcome outcome_;
};

}  // namespace likentor
