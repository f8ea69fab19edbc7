// likentor-screenshots OUT WORKING PROGRAM GAME: the real window, started in WORKING (not set up:
// a first start), taken through the screenshot tour; PROGRAM and GAME are the folders its setup
// choosers pick, and GAME holds the saved games "sample" and the broken "broken".

#include <QApplication>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "app/session.h"
#include "ui/main_window.h"
#include "ui/qt_prompts.h"
#include "ui/screenshot_tour.h"

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  if (argc != 5) {
    std::cerr << "usage: likentor-screenshots OUT WORKING PROGRAM GAME\n";
    return 2;
  }
  const fs::path out = fs::absolute(argv[1]);
  const fs::path working = fs::absolute(argv[2]);
  const fs::path program = fs::absolute(argv[3]);
  const fs::path game = fs::absolute(argv[4]);
  // The tool lives in BUILD/bin; the installed program, with its data files and artwork, in
  // BUILD/program.
  std::error_code ec;
  const fs::path installed =
      fs::read_symlink("/proc/self/exe", ec).parent_path().parent_path() / "program";

  QApplication application(argc, argv);
  QApplication::setApplicationName("Likentor");
  likentor::QtPrompts prompts;
  likentor::Session session(prompts, {working, installed});
  likentor::MainWindow window(session);
  likentor::ScreenshotTour tour({out, program, game});
  tour.Start();
  if (window.Start() != likentor::MainWindow::Started::Ready) return 1;
  tour.SetWindow(&window);
  prompts.SetParent(&window);
  window.show();
  const int status = QApplication::exec();
  return tour.Failed() ? 1 : status;
}
