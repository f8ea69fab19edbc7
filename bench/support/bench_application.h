#pragma once

// The Qt application of a benchmark of the window, on the offscreen platform unless
// QT_QPA_PLATFORM says otherwise. Made at the first call and kept to the end of the process.

#include <QApplication>
#include <cstdlib>
#include <string>

namespace likentor::bench {

inline QApplication& Application(const char* benchName) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static std::string name = benchName;
  static char* argv[] = {name.data(), nullptr};
  static QApplication* application = new QApplication(argc, argv);
  return *application;
}

}  // namespace likentor::bench
