#pragma once

// The window's answers to Prompts: modal message boxes with the program's three captions, and the
// platform's folder and file choosers. Asked from a worker thread, the box is shown on the
// window's thread and the worker waits for the answer.

#include <QPointer>
#include <QWidget>

#include "shell/prompts.h"

namespace likentor {

class QtPrompts : public Prompts {
 public:
  // Boxes are owned by `parent` (none before the main window is shown: the setup's boxes appear
  // with no window on screen).
  void SetParent(QWidget* parent) { parent_ = parent; }

  void ShowMessage(std::string_view text) override;
  void ShowError(std::string_view text) override;
  bool Confirm(std::string_view text) override;
  std::filesystem::path ChooseFolder(std::string_view title,
                                     const std::filesystem::path& root) override;
  std::filesystem::path ChooseFile(std::string_view filter,
                                   const std::filesystem::path& startFolder) override;
  std::filesystem::path ChooseSaveFile(std::string_view filter,
                                       const std::filesystem::path& suggested) override;

 private:
  std::filesystem::path AskFolder(std::string_view title, const std::filesystem::path& root);

  QPointer<QWidget> parent_;
};

// "PNG Files|*.png" (the session's form, description and pattern pairs split by '|') as a Qt name
// filter list: "PNG Files (*.png)".
QString QtFileFilter(std::string_view filter);

}  // namespace likentor
