#include "shell/scripted_prompts.h"

namespace likentor {

namespace {

template <typename T>
T Take(std::deque<T>& queue, T ifEmpty) {
  if (queue.empty()) return ifEmpty;
  T answer = std::move(queue.front());
  queue.pop_front();
  return answer;
}

}  // namespace

void ScriptedPrompts::AnswerConfirm(bool ok) {
  std::lock_guard lock(mutex_);
  confirms_.push_back(ok);
}

void ScriptedPrompts::AnswerFolder(std::filesystem::path folder) {
  std::lock_guard lock(mutex_);
  folders_.push_back(std::move(folder));
}

void ScriptedPrompts::AnswerFile(std::filesystem::path file) {
  std::lock_guard lock(mutex_);
  files_.push_back(std::move(file));
}

std::vector<ScriptedPrompts::Shown> ScriptedPrompts::History() const {
  std::lock_guard lock(mutex_);
  return shown_;
}

void ScriptedPrompts::ClearHistory() {
  std::lock_guard lock(mutex_);
  shown_.clear();
}

std::vector<std::string> ScriptedPrompts::Texts(Kind kind) const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> texts;
  for (const Shown& s : shown_) {
    if (s.kind == kind) texts.push_back(s.text);
  }
  return texts;
}

void ScriptedPrompts::ShowMessage(std::string_view text) {
  std::lock_guard lock(mutex_);
  shown_.push_back({Kind::Message, std::string(kMessageCaption), std::string(text)});
}

void ScriptedPrompts::ShowError(std::string_view text) {
  std::lock_guard lock(mutex_);
  shown_.push_back({Kind::Error, std::string(kErrorCaption), std::string(text)});
}

bool ScriptedPrompts::Confirm(std::string_view text) {
  std::lock_guard lock(mutex_);
  shown_.push_back({Kind::Confirm, std::string(kConfirmCaption), std::string(text)});
  return Take(confirms_, false);
}

std::filesystem::path ScriptedPrompts::ChooseFolder(std::string_view title,
                                                    const std::filesystem::path& root) {
  std::lock_guard lock(mutex_);
  shown_.push_back({Kind::ChooseFolder, std::string(title), root.string()});
  return Take(folders_, std::filesystem::path());
}

std::filesystem::path ScriptedPrompts::ChooseFile(std::string_view filter,
                                                  const std::filesystem::path& startFolder) {
  std::lock_guard lock(mutex_);
  shown_.push_back({Kind::ChooseFile, std::string(filter), startFolder.string()});
  return Take(files_, std::filesystem::path());
}

}  // namespace likentor
