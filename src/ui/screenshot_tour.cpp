#include "ui/screenshot_tour.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <iostream>

#include "app/batch_runs.h"
#include "shell/folders.h"
#include "ui/about_box.h"
#include "ui/data_grid.h"
#include "ui/help_window.h"
#include "ui/main_window.h"
#include "ui/portraits_page.h"

namespace likentor {

namespace {

// A step that has not come after this long ends the tour.
constexpr qint64 kStepTimeoutMs = 90000;
// What is shown is given this long to be painted before it is shot.
constexpr qint64 kSettleMs = 700;

void Accept(QWidget* widget) {
  if (auto* dialog = qobject_cast<QDialog*>(widget)) dialog->accept();
}

void Reject(QWidget* widget) {
  if (auto* dialog = qobject_cast<QDialog*>(widget)) dialog->reject();
}

// Answers a folder chooser with `folder`: the chooser gives its current folder when none is
// selected in it.
std::function<void(QWidget*)> Choose(const std::filesystem::path& folder) {
  return [folder](QWidget* widget) {
    if (auto* chooser = qobject_cast<QFileDialog*>(widget)) {
      chooser->setDirectory(QString::fromStdString(folder.string()));
      // accept() is protected on the chooser; the dialog's own slot is the same call.
      QMetaObject::invokeMethod(chooser, "accept");
    }
  };
}

}  // namespace

ScreenshotTour::ScreenshotTour(Places places) : places_(std::move(places)) {
  std::filesystem::create_directories(places_.out);
  const std::filesystem::path savedGames = SavedGamesFolder(places_.game);

  OnModal("01-first-run-box", Accept);
  OnModal("02-program-folder-chooser", Choose(places_.program));
  OnModal("", Choose(places_.game));
  OnWindow("03-dashboard-no-game");
  Then("the guard", [this] { qobject_cast<QPushButton*>(Find("CustomUniformsBtn"))->click(); });
  OnModal("04-load-a-game-first", Accept);
  Then("Load Game", [this] { window_->findChild<QAction*>("LoadGame1")->trigger(); });
  OnModal("05-load-game-chooser", Choose(savedGames / "sample.lg"));
  // The load goes on the worker: the window while it goes, once its bar shows (or a moment into
  // the load, with or without it: the medium game loads in about a second), unless the load has
  // ended by then.
  WaitFor("the load's progress", [this] {
    if (QApplication::activeModalWidget() != nullptr || !window_->RunGoing()) return true;
    return qobject_cast<QProgressBar*>(Find("ProgressBar"))->isVisible() ||
           stepClock_.elapsed() >= 300;
  });
  steps_.push_back({"22-load-progress", [] { return true; },
                    [this] {
                      if (window_->RunGoing() && QApplication::activeModalWidget() == nullptr) {
                        Shoot(window_, "22-load-progress");
                      } else {
                        std::cerr << "likentor-screenshots: the load ended before it was shot\n";
                      }
                    }});
  OnModal("06-game-loaded", Accept);
  // Every active player, not only the regulars: the run then takes long enough for the question
  // asked when the window is closed during it.
  // Once the load has ended: an edit while it goes would be refused.
  WaitFor("the load's end", [this] { return !window_->RunGoing(); });
  Then("minimums of 0", [this] {
    qobject_cast<QSpinBox*>(Find("ActMinABEdit"))->setValue(0);
    qobject_cast<QSpinBox*>(Find("ActMinIPEdit"))->setValue(0);
  });
  OnWindow("07-dashboard-before-run");
  Then("What will this do?",
       [this] { qobject_cast<QPushButton*>(Find("UniverseDryRunBtn"))->click(); });
  OnModal("19-what-will-this-do", Reject);
  Then("the universe run", [this] { qobject_cast<QPushButton*>(Find("UniverseGoBtn"))->click(); });
  // Shot at once: a short run may end soon after.
  WaitFor("the run's progress", [this] {
    auto* bar = qobject_cast<QProgressBar*>(Find("ProgressBar"));
    return (bar->isVisible() && bar->value() >= 12) || QApplication::activeModalWidget() != nullptr;
  });
  steps_.push_back({"08-dashboard-during-run", [] { return true; },
                    [this] { Shoot(window_, "08-dashboard-during-run"); }});
  // Closing the window while the run goes asks first; Cancel there lets the run go on. A short
  // run may have ended meanwhile: the window would then close, so the question is passed over.
  steps_.push_back({"closing during the run", [] { return true; },
                    [this] {
                      if (!window_->RunGoing()) {
                        std::cerr << "likentor-screenshots: the run ended before the window was "
                                     "closed; no shot of the question\n";
                        ++next_;
                        return;
                      }
                      QTimer::singleShot(0, this, [this] { window_->close(); });
                    }});
  OnModal("23-close-during-run", Reject);
  // A short run may have ended meanwhile: its end box is then the next shot.
  steps_.push_back({"Cancel", [] { return true; },
                    [this] {
                      if (window_->RunGoing()) {
                        qobject_cast<QPushButton*>(Find("CancelRunBtn"))->click();
                      }
                    }});
  OnModal("09-run-stopped", Accept);
  Then("Undo Last Run", [this] { window_->findChild<QAction*>("UndoLastRun1")->trigger(); });
  OnModal("20-undo-last-run-confirm", Reject);
  Then("About", [this] { window_->findChild<QAction*>("About1")->trigger(); });
  WaitFor("the about box", [this] { return window_->About()->isVisible(); });
  steps_.push_back({"10-about-box", [] { return true; },
                    [this] {
                      Shoot(window_->About(), "10-about-box");
                      window_->About()->hide();
                    }});
  Then("Likentor Help", [this] { window_->findChild<QAction*>("Help1")->trigger(); });
  WaitFor("the help window", [this] { return window_->Help() && window_->Help()->isVisible(); });
  steps_.push_back({"25-help-window", [] { return true; },
                    [this] {
                      Shoot(window_->Help(), "25-help-window");
                      window_->Help()->hide();
                    }});
  Then("Clear Errors File",
       [this] { window_->findChild<QAction*>("ClearErrorsFile1")->trigger(); });
  OnModal("11-clear-errors-confirm", Reject);
  // The pages, each with what it shows once used: a search's players with the current photo, a
  // team's uniform preview, a beard's preview.
  Then("a search", [this] {
    qobject_cast<QLineEdit*>(Find("LastNameBox"))->setText("Smith");
    qobject_cast<QPushButton*>(Find("PlayerSearchBtn"))->click();
  });
  Then("See Current Photo",
       [this] { qobject_cast<QPushButton*>(Find("SeeCurrentPhotoBtn"))->click(); });
  OnWindow("13-player-page");
  Then("Custom Uniforms", [this] { window_->findChild<QAction*>("CustomUniforms1")->trigger(); });
  Then("a uniform preview",
       [this] { qobject_cast<QPushButton*>(Find("GetUniformPreviewBtn"))->click(); });
  OnWindow("14-custom-uniforms-page");
  Then("Manage Locked Photos",
       [this] { window_->findChild<QAction*>("ManageLockedPhotos1")->trigger(); });
  OnWindow("15-locks-page");
  Then("Ethnicity Data", [this] { window_->findChild<QAction*>("EthnicityData1")->trigger(); });
  OnWindow("16-nations-editor");
  Then("Facial Hair Data", [this] { window_->findChild<QAction*>("HairData1")->trigger(); });
  Then("a beard's preview", [this] {
    qobject_cast<DataGrid*>(Find("FacialHairGrid"))->GoTo(4);
    qobject_cast<QPushButton*>(Find("GetFacialHairPreviewBtn"))->click();
  });
  OnWindow("17-facial-hair-editor");
  Then("Accessory Data", [this] { window_->findChild<QAction*>("AccessoryData1")->trigger(); });
  OnWindow("18-accessories-editor");
  Then("Install Components", [this] { window_->findChild<QAction*>("Install1")->trigger(); });
  OnWindow("21-install-page");
  // The portraits page: after a team run ("Show them"), on the team at 1x and 2x, and the
  // pictures a second run of the team replaced beside its new ones.
  Then("a team run", [this] {
    window_->findChild<QAction*>("HomePage1")->trigger();
    qobject_cast<QComboBox*>(Find("TeamLookupBox"))->setCurrentIndex(1);
    qobject_cast<QPushButton*>(Find("TeamGoBtn"))->click();
  });
  OnModal("", Accept);
  Then("Show them", [this] { qobject_cast<QPushButton*>(Find("ShowThemBtn"))->click(); });
  OnWindow("27-portraits-after-run");
  Then("the team", [this] {
    auto* teams = qobject_cast<QComboBox*>(Find("TeamLookupBox"));
    window_->findChild<PortraitsPage*>("PortraitsPage")->ShowTeam(teams->itemData(1).toInt());
  });
  OnWindow("28-portraits-team-1x");
  Then("2x", [this] { qobject_cast<QSlider*>(Find("PortraitsSizeSlider"))->setValue(2); });
  OnWindow("29-portraits-team-2x");
  Then("the team again", [this] {
    qobject_cast<QSlider*>(Find("PortraitsSizeSlider"))->setValue(0);
    // Every player of the team wants a new portrait again, as a load flags moved players.
    const int team = qobject_cast<QComboBox*>(Find("TeamLookupBox"))->itemData(1).toInt();
    FlagTeamForNewPortraits(places_.program, "sample", team);
    window_->findChild<QAction*>("HomePage1")->trigger();
    qobject_cast<QPushButton*>(Find("TeamGoBtn"))->click();
  });
  OnModal("", Accept);
  Then("before and after", [this] {
    qobject_cast<QPushButton*>(Find("ShowThemBtn"))->click();
    qobject_cast<QCheckBox*>(Find("BeforeAfterBox"))->setChecked(true);
  });
  OnWindow("30-portraits-before-after");
  Then("Home Page", [this] { window_->findChild<QAction*>("HomePage1")->trigger(); });
  Then("a failed load", [this] { window_->findChild<QAction*>("LoadGame1")->trigger(); });
  // The minimums set for the run were not saved: the load asks first.
  OnModal("26-save-settings-question", Accept);
  OnModal("", Choose(savedGames / "broken.lg"));
  OnModal("12-failed-load-error", Accept);
  // File > Change Folders: its first chooser; both cancelled keep the folders as they are.
  Then("Change Folders", [this] { window_->findChild<QAction*>("ChangeFolders1")->trigger(); });
  OnModal("24-change-folders-chooser", Reject);
  OnModal("", Reject);
  Then("Exit", [this] { window_->findChild<QAction*>("Exit1")->trigger(); });

  timer_.setInterval(100);
  connect(&timer_, &QTimer::timeout, this, &ScreenshotTour::Tick);
}

void ScreenshotTour::SetWindow(MainWindow* window) {
  window_ = window;
}

void ScreenshotTour::Start() {
  stepClock_.start();
  timer_.start();
}

QWidget* ScreenshotTour::Find(const char* name) const {
  return window_ ? window_->findChild<QWidget*>(name) : nullptr;
}

void ScreenshotTour::OnModal(const std::string& shot, std::function<void(QWidget*)> answer) {
  steps_.push_back({shot.empty() ? "a chooser" : shot,
                    [this] {
                      QWidget* modal = QApplication::activeModalWidget();
                      if (modal == nullptr || !modal->isVisible()) return false;
                      // Shown long enough to be painted.
                      if (settling_ != modal) {
                        settling_ = modal;
                        settle_.start();
                      }
                      return settle_.elapsed() >= kSettleMs;
                    },
                    [this, shot, answer] {
                      QWidget* modal = QApplication::activeModalWidget();
                      if (!shot.empty()) Shoot(modal, shot);
                      settling_ = nullptr;
                      answer(modal);
                    }});
}

void ScreenshotTour::OnWindow(const std::string& shot) {
  steps_.push_back({shot,
                    [this] {
                      if (!window_ || !window_->isVisible() ||
                          QApplication::activeModalWidget() != nullptr) {
                        return false;
                      }
                      if (settling_ != window_) {
                        settling_ = window_.data();
                        settle_.start();
                      }
                      return settle_.elapsed() >= kSettleMs;
                    },
                    [this, shot] {
                      settling_ = nullptr;
                      Shoot(window_, shot);
                    }});
}

void ScreenshotTour::Then(const std::string& what, std::function<void()> action) {
  steps_.push_back({what,
                    [this] { return window_ && QApplication::activeModalWidget() == nullptr; },
                    [this, action] { QTimer::singleShot(0, this, action); }});
}

void ScreenshotTour::WaitFor(const std::string& what, std::function<bool()> condition) {
  steps_.push_back({what, std::move(condition), [] {}});
}

void ScreenshotTour::Tick() {
  if (next_ >= steps_.size()) {
    timer_.stop();
    return;
  }
  Step& step = steps_[next_];
  if (!step.ready()) {
    if (stepClock_.elapsed() > kStepTimeoutMs) {
      std::cerr << "likentor-screenshots: gave up waiting for " << step.what << '\n';
      failed_ = true;
      timer_.stop();
      QApplication::exit(1);
    }
    return;
  }
  ++next_;
  stepClock_.restart();
  step.act();
}

void ScreenshotTour::Shoot(QWidget* widget, const std::string& name) {
  // The window as the display shows it, not as the widget would paint itself.
  const QPixmap shot = widget->screen()->grabWindow(widget->winId());
  const std::filesystem::path file = places_.out / (name + ".png");
  if (!shot.save(QString::fromStdString(file.string()))) {
    std::cerr << "likentor-screenshots: could not write " << file << '\n';
    failed_ = true;
    return;
  }
  std::cout << file.string() << '\n';
}

}  // namespace likentor
