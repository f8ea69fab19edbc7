#include "ui/window_main.h"

#include <QApplication>
#include <QTimer>
#include <cstdlib>
#include <iostream>

#include "ui/main_window.h"
#include "ui/qt_prompts.h"

namespace likentor {

int RunWindow(int argc, char** argv, const SessionPlaces& places,
              const std::optional<std::string>& load) {
  // Without a display Qt would abort; say what is wrong instead.
  const auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
  };
  if (!set("QT_QPA_PLATFORM") && !set("DISPLAY") && !set("WAYLAND_DISPLAY")) {
    std::cerr << "likentor: no display for the window (neither DISPLAY nor WAYLAND_DISPLAY is "
                 "set). The commands run without one: likentor --help lists them.\n";
    return 2;
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName("Likentor");
  // The user's own settings of the window live under this name in the configuration folder.
  QApplication::setOrganizationName("likentor");
  QtPrompts prompts;
  Session session(prompts, places);
  MainWindow window(session);
  // The setup's boxes and choosers come before the window is on screen.
  switch (window.Start()) {
    case MainWindow::Started::Ready:
      break;
    case MainWindow::Started::Declined:
      return 0;
    case MainWindow::Started::Failed:
      return 1;
  }
  prompts.SetParent(&window);
  window.show();
  if (load) {
    // Once the window is painted, so that the load's status shows.
    QTimer::singleShot(0, &window, [&window, &load] { window.LoadSavedGameNamed(*load); });
  }
  return QApplication::exec();
}

}  // namespace likentor
