#include "ui/command_guard.h"

#include <QCursor>
#include <QGuiApplication>
#include <exception>

#include "app/session.h"
#include "app/write_command.h"
#include "ui/run_thread.h"

namespace likentor {

namespace {

// The wait cursor for as long as it lives.
class WaitCursor {
 public:
  WaitCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
  ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

constexpr const char* kShowsOnly = "showsOnly";

}  // namespace

void MarkShowsOnly(QWidget* control) {
  control->setProperty(kShowsOnly, true);
}

bool ShowsOnly(const QWidget* control) {
  return control->property(kShowsOnly).toBool();
}

CommandGuard::CommandGuard(Session& session, QObject* parent)
    : QObject(parent), session_(session), worker_(new RunThread(this)) {
  connect(worker_, &RunThread::Ended, this, &CommandGuard::Finish);
  // A command of the session may start and end on the worker: the state is read again on the
  // window's thread, so that a quick command there never flickers the controls.
  session_.SetBusyListener([this](const std::string&) {
    QMetaObject::invokeMethod(
        this, [this] { UpdateBusy(); }, Qt::QueuedConnection);
  });
}

CommandGuard::~CommandGuard() {
  session_.SetBusyListener({});
  WaitForWork();
}

bool CommandGuard::Busy() const {
  return WorkGoing() || !session_.BusyWith().empty();
}

bool CommandGuard::WorkGoing() const {
  return worker_->Running();
}

std::string CommandGuard::BusyWith() const {
  if (WorkGoing()) return workName_;
  return session_.BusyWith();
}

bool CommandGuard::MayWrite() {
  const std::string busyWith = BusyWith();
  if (busyWith.empty()) return true;
  session_.UserPrompts().ShowError(BusyError(busyWith).what());
  return false;
}

void CommandGuard::Failed(const std::string& message, bool refused) {
  session_.UserPrompts().ShowError(message);
  // A refusal for something else going is no failure of the command: it is said, not logged.
  if (refused) return;
  session_.Log().ReportError(message);
  emit Logged();
}

bool CommandGuard::Show(const std::function<void()>& command) {
  try {
    command();
    return true;
  } catch (const BusyError& e) {
    Failed(e.what(), true);
  } catch (const std::exception& e) {
    Failed(e.what(), false);
  }
  return false;
}

bool CommandGuard::Write(const std::function<void()>& command) {
  if (!MayWrite()) return false;
  std::string failure;
  bool refused = false;
  {
    WaitCursor wait;
    try {
      command();
    } catch (const BusyError& e) {
      failure = e.what();
      refused = true;
    } catch (const std::exception& e) {
      failure = e.what();
    }
  }
  // The box comes with the normal cursor.
  if (failure.empty()) return true;
  Failed(failure, refused);
  return false;
}

bool CommandGuard::Start(std::string name, std::function<void()> work, std::function<void()> done) {
  if (!MayWrite()) return false;
  workName_ = std::move(name);
  done_ = std::move(done);
  worker_->Start(std::move(work));
  UpdateBusy();
  return true;
}

void CommandGuard::Finish() {
  const RunThread::Outcome outcome = worker_->TakeOutcome();
  // A stop asked of work that never looked for it is not left for the next work to take.
  session_.Progress().EndRun();
  const std::function<void()> done = std::exchange(done_, {});
  workName_.clear();
  UpdateBusy();
  if (outcome.failed) {
    Failed(outcome.error, outcome.refused);
  } else if (done) {
    Show(done);
  }
  emit WorkEnded();
}

void CommandGuard::CancelWork() {
  session_.Progress().RequestCancel();
}

void CommandGuard::WaitForWork() {
  worker_->Wait();
}

void CommandGuard::UpdateBusy() {
  const bool busy = Busy();
  if (busy == busy_) return;
  busy_ = busy;
  emit BusyChanged(busy);
}

}  // namespace likentor
