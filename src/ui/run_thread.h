#pragma once

// Long work on a worker thread (a batch run, a load, an install...), so that the window keeps
// painting and answering while it goes. Its outcome is picked up on the window's thread when Ended
// arrives.

#include <QObject>
#include <QThread>
#include <functional>
#include <memory>
#include <string>

namespace likentor {

class RunThread : public QObject {
  Q_OBJECT

 public:
  // How the work ended: the message of the failure that ended it, empty when it ran to its end.
  struct Outcome {
    bool failed = false;
    bool refused = false;  // the failure was the session's refusal for another command writing
    std::string error;
  };

  explicit RunThread(QObject* parent = nullptr);
  ~RunThread() override;  // waits for work still going

  // Starts `work` on a new thread; false when work is still going.
  bool Start(std::function<void()> work);
  bool Running() const { return thread_ != nullptr; }
  // Blocks until the work has ended (Ended is still delivered afterwards).
  void Wait();
  // The outcome of the work that ended, once Ended arrived; the thread is released.
  Outcome TakeOutcome();

 signals:
  // On the window's thread, after the work ended.
  void Ended();

 private:
  std::unique_ptr<QThread> thread_;
  Outcome outcome_;
};

}  // namespace likentor
