#pragma once

// The one way a command of the window runs. A command that only shows something runs at once; one
// that writes (or moves the cursors that a writer uses) is refused while anything else writes, with
// a message naming what goes; long work runs on the worker thread, with the progress bar and
// Cancel fed from the session's RunProgress. A failure that escapes a command is shown in an error
// box and written to the errors log, whose box the window then shows anew. Whether anything writes
// is one state, told by BusyChanged: work on the worker, or a command of the session on any thread
// (Session::BusyWith).

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>

namespace likentor {

class RunThread;
class Session;

// A control that only shows (a preview drawn from files, a page's way back): it stays usable while
// something writes, when the window greys every other.
void MarkShowsOnly(QWidget* control);
bool ShowsOnly(const QWidget* control);

class CommandGuard : public QObject {
  Q_OBJECT

 public:
  CommandGuard(Session& session, QObject* parent);
  ~CommandGuard() override;  // waits for work still going

  // A command that reads only what no writer changes (a preview, a picture file, a dialog).
  // True when it ran to its end.
  bool Show(const std::function<void()>& command);
  // A command that writes, done at once under the wait cursor; refused while anything else
  // writes. True when it ran to its end.
  bool Write(const std::function<void()>& command);
  // Long work on the worker thread, refused while anything else writes: `work` there, then
  // `done` on the window's thread unless the work failed. `name` says what goes, for a refused
  // command and the question before quitting. True when it started.
  bool Start(std::string name, std::function<void()> work, std::function<void()> done = {});

  // Anything writes: work on the worker, or a command of the session.
  bool Busy() const;
  bool WorkGoing() const;
  // What goes ("" when nothing): the work's name or the session's command.
  std::string BusyWith() const;
  // Asks the work going to stop between two of its steps; what it made stays.
  void CancelWork();
  // Blocks until the work going has ended (WorkEnded still comes afterwards).
  void WaitForWork();

 signals:
  // Anything started or stopped writing.
  void BusyChanged(bool busy);
  // Work of Start ended, after its `done` or its error box.
  void WorkEnded();
  // A failure was written to the errors log.
  void Logged();

 private:
  // True when nothing writes; otherwise the refusal is said and false.
  bool MayWrite();
  // Shows a failure, and logs it unless it was a refusal for something else going.
  void Failed(const std::string& message, bool refused);
  void Finish();
  void UpdateBusy();

  Session& session_;
  RunThread* worker_ = nullptr;
  std::string workName_;
  std::function<void()> done_;
  bool busy_ = false;
};

}  // namespace likentor
