#pragma once

// Prompts answered from a script: tests (and any caller without a user) queue the answers, and
// every box and chooser shown is recorded in order, with its kind, caption and text. A command on
// a worker thread may ask while the test's thread queues answers.

#include <deque>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "shell/prompts.h"

namespace likentor {

class ScriptedPrompts : public Prompts {
 public:
  enum class Kind { Message, Error, Confirm, ChooseFolder, ChooseFile };

  struct Shown {
    Kind kind;
    // "Likentor", "Error", "Confirm"; a folder chooser's title; a file chooser's filter
    std::string caption;
    // the message; the root folder of a folder chooser; the start folder of a file chooser
    std::string text;
    bool operator==(const Shown&) const = default;
  };

  // Answers are used in the order queued. A question with no answer left is answered Cancel (false
  // or an empty path) and still recorded.
  void AnswerConfirm(bool ok);
  void AnswerFolder(std::filesystem::path folder);
  void AnswerFile(std::filesystem::path file);

  std::vector<Shown> History() const;
  // The texts of the boxes of one kind, in order.
  std::vector<std::string> Texts(Kind kind) const;
  void ClearHistory();

  void ShowMessage(std::string_view text) override;
  void ShowError(std::string_view text) override;
  bool Confirm(std::string_view text) override;
  std::filesystem::path ChooseFolder(std::string_view title,
                                     const std::filesystem::path& root) override;
  std::filesystem::path ChooseFile(std::string_view filter,
                                   const std::filesystem::path& startFolder) override;

 private:
  mutable std::mutex mutex_;
  std::vector<Shown> shown_;
  std::deque<bool> confirms_;
  std::deque<std::filesystem::path> folders_;
  std::deque<std::filesystem::path> files_;
};

}  // namespace likentor
