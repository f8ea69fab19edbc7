#pragma once

// Prompts on the command line: messages go to the output stream, errors to the error stream,
// confirmations are answered OK, and folder or file choosers take the answers that the command's
// options queued (none left is a cancel).

#include <deque>
#include <filesystem>
#include <ostream>

#include "shell/prompts.h"

namespace likentor {

class CliPrompts : public Prompts {
 public:
  CliPrompts(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

  void AnswerFolder(std::filesystem::path folder) { folders_.push_back(std::move(folder)); }
  void AnswerFile(std::filesystem::path file) { files_.push_back(std::move(file)); }
  // True once an error box was shown: the command then ends with exit status 1.
  bool ErrorShown() const { return errorShown_; }

  void ShowMessage(std::string_view text) override;
  void ShowError(std::string_view text) override;
  bool Confirm(std::string_view text) override;
  std::filesystem::path ChooseFolder(std::string_view title,
                                     const std::filesystem::path& root) override;
  std::filesystem::path ChooseFile(std::string_view filter,
                                   const std::filesystem::path& startFolder) override;

 private:
  std::ostream& out_;
  std::ostream& err_;
  std::deque<std::filesystem::path> folders_;
  std::deque<std::filesystem::path> files_;
  bool errorShown_ = false;
};

}  // namespace likentor
