#pragma once

// A scripted tour of the real window on a display, for looking at it: it answers the start-up's
// boxes and choosers, loads a saved game, starts and stops a batch run, opens the about box and
// the dialogs, and writes one PNG of each into a folder. Used by likentor-screenshots only.

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace likentor {

class MainWindow;

class ScreenshotTour : public QObject {
  Q_OBJECT

 public:
  struct Places {
    std::filesystem::path out;      // where the PNGs go
    std::filesystem::path program;  // the program folder the setup chooser picks
    std::filesystem::path game;     // the game folder the setup chooser picks
  };

  explicit ScreenshotTour(Places places);
  // The window exists once the start-up is through.
  void SetWindow(MainWindow* window);
  // Runs the tour's steps as the window reaches them; false when a step did not come in time.
  void Start();
  bool Failed() const { return failed_; }

 private:
  struct Step {
    std::string what;
    std::function<bool()> ready;
    std::function<void()> act;
  };

  void Tick();
  // A modal box or chooser is up and painted: shoot it (unless `shot` is empty), then answer.
  void OnModal(const std::string& shot, std::function<void(QWidget*)> answer);
  void OnWindow(const std::string& shot);
  // Once no modal box is up: run `action` from the event loop (it may open one).
  void Then(const std::string& what, std::function<void()> action);
  void WaitFor(const std::string& what, std::function<bool()> condition);
  void Shoot(QWidget* widget, const std::string& name);
  QWidget* Find(const char* name) const;

  Places places_;
  QPointer<MainWindow> window_;
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  QTimer timer_;
  QElapsedTimer stepClock_;
  QElapsedTimer settle_;
  QPointer<QWidget> settling_;
  bool failed_ = false;
};

}  // namespace likentor
