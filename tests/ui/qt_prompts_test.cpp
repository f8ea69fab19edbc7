// The window's prompts: the three boxes with their captions, icons and answers, and the file
// chooser's filter.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>
#include <utility>

#include "ui/qt_prompts.h"
#include "window_fixture.h"

namespace likentor {
namespace {

struct SeenBox {
  QString caption;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  int buttons = 0;
  int width = 0;
  int minimumWidth = 0;  // about 40 characters
};

// Shows a box through `show`; once it is up, records it and presses `answer`.
SeenBox Answer(const std::function<void()>& show, QMessageBox::StandardButton answer) {
  SeenBox seen;
  QTimer timer;
  timer.setInterval(10);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    timer.stop();
    seen = {box->windowTitle(), box->text(),
            box->icon(),        static_cast<int>(box->standardButtons()),
            box->width(),       box->fontMetrics().averageCharWidth() * 40};
    box->button(answer)->click();
  });
  timer.start();
  show();
  return seen;
}

TEST(QtPrompts, AQuestionFromAWorkerIsAskedOnTheWindowsThreadAndWaitsForItsAnswer) {
  test::Application();
  QtPrompts prompts;
  std::atomic<bool> asked{false};
  std::atomic<bool> answer{false};
  QThread* boxThread = nullptr;
  QTimer timer;
  timer.setInterval(10);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    boxThread = box->thread();
    box->button(QMessageBox::Ok)->click();
  });
  timer.start();
  std::thread worker([&] {
    answer = prompts.Confirm("From the worker?");
    asked = true;
  });
  for (int i = 0; i < 500 && !asked; ++i) QTest::qWait(10);
  worker.join();
  EXPECT_TRUE(asked);
  EXPECT_TRUE(answer);
  EXPECT_EQ(boxThread, QApplication::instance()->thread());
}

TEST(QtPrompts, BoxesCarryTheirCaptionsIconsAndAnswers) {
  test::Application();
  QtPrompts prompts;
  SeenBox seen = Answer([&] { prompts.ShowMessage("Hello."); }, QMessageBox::Ok);
  EXPECT_EQ(seen.caption, "Likentor");
  EXPECT_EQ(seen.text, "Hello.");
  EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
  EXPECT_EQ(seen.buttons, QMessageBox::Ok);
  // Wide enough for its caption in the title bar, however short its text.
  EXPECT_GE(seen.width, seen.minimumWidth);

  seen = Answer([&] { prompts.ShowError("It broke."); }, QMessageBox::Ok);
  EXPECT_EQ(seen.caption, "Error");
  EXPECT_EQ(seen.icon, QMessageBox::Critical);

  bool answer = false;
  seen = Answer([&] { answer = prompts.Confirm("Sure?"); }, QMessageBox::Ok);
  EXPECT_EQ(seen.caption, "Confirm");
  EXPECT_EQ(seen.icon, QMessageBox::Question);
  EXPECT_EQ(seen.buttons, QMessageBox::Ok | QMessageBox::Cancel);
  EXPECT_TRUE(answer);
  Answer([&] { answer = prompts.Confirm("Sure?"); }, QMessageBox::Cancel);
  EXPECT_FALSE(answer);
}

// The folder chooser opens at the folder it is given, which the setup makes the one its Cancel
// stands for; a folder not made yet (a default) opens it at the nearest one above it that exists,
// with nothing in its name field (which choosing would take for a missing folder).
TEST(QtPrompts, TheFolderChooserOpensAtItsFolderOrTheNearestAboveIt) {
  test::Application();
  test::TempFolder folder;
  const std::filesystem::path there = folder / "there";
  std::filesystem::create_directories(there);
  QtPrompts prompts;
  for (const auto& [given, opened] :
       {std::pair{there, there}, std::pair{there / "not" / "made", there}}) {
    SCOPED_TRACE(given.string());
    QString shown;
    QString typed = "?";
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
      auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (chooser == nullptr) return;
      timer.stop();
      shown = chooser->directory().absolutePath();
      if (auto* name = chooser->findChild<QLineEdit*>("fileNameEdit")) typed = name->text();
      chooser->reject();
    });
    timer.start();
    EXPECT_TRUE(prompts.ChooseFolder("Pick one.", given).empty());
    EXPECT_EQ(shown.toStdString(), opened.string());
    EXPECT_EQ(typed.toStdString(), "");
  }
}

TEST(QtPrompts, FileFiltersInQtsForm) {
  EXPECT_EQ(QtFileFilter("PNG Files|*.png"), "PNG Files (*.png)");
  EXPECT_EQ(QtFileFilter("PNG images (*.png)|*.png"), "PNG images (*.png)");
  EXPECT_EQ(QtFileFilter("Pictures|*.png;*.jpg|All|*"), "Pictures (*.png *.jpg);;All (*)");
}

}  // namespace
}  // namespace likentor
