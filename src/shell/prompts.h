#pragma once

// Everything that tells the user something or asks him: the window answers with dialogs, the
// command line from its options, tests from a script.

#include <filesystem>
#include <string_view>

namespace likentor {

inline constexpr std::string_view kMessageCaption = "Likentor";
inline constexpr std::string_view kErrorCaption = "Error";
inline constexpr std::string_view kConfirmCaption = "Confirm";

class Prompts {
 public:
  virtual ~Prompts() = default;

  // The plain message box: no icon, caption "Likentor", OK.
  virtual void ShowMessage(std::string_view text) = 0;
  // The error box: error icon, caption "Error", OK.
  virtual void ShowError(std::string_view text) = 0;
  // The confirmation box: question icon, caption "Confirm", OK and Cancel; true only for OK.
  virtual bool Confirm(std::string_view text) = 0;
  // A folder chooser with the given title, opening at `root` (or at the nearest folder above it
  // that exists); empty on cancel.
  virtual std::filesystem::path ChooseFolder(std::string_view title,
                                             const std::filesystem::path& root) = 0;
  // A file chooser with a filter such as "PNG images (*.png)|*.png", opening in `startFolder`;
  // empty on cancel.
  virtual std::filesystem::path ChooseFile(std::string_view filter,
                                           const std::filesystem::path& startFolder) = 0;
  // A save chooser for a new file, with the given filter, suggesting `suggested` (its folder and
  // name); empty on cancel. Where no save chooser is offered, the file chooser answers.
  virtual std::filesystem::path ChooseSaveFile(std::string_view filter,
                                               const std::filesystem::path& suggested) {
    return ChooseFile(filter, suggested.parent_path());
  }
};

}  // namespace likentor
