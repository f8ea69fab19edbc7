#include "cli/cli_prompts.h"

namespace likentor {

namespace {

std::filesystem::path Take(std::deque<std::filesystem::path>& queue) {
  if (queue.empty()) return {};
  std::filesystem::path answer = std::move(queue.front());
  queue.pop_front();
  return answer;
}

}  // namespace

void CliPrompts::ShowMessage(std::string_view text) {
  out_ << text << '\n';
}

void CliPrompts::ShowError(std::string_view text) {
  errorShown_ = true;
  err_ << text << '\n';
}

bool CliPrompts::Confirm(std::string_view /*text*/) {
  return true;
}

std::filesystem::path CliPrompts::ChooseFolder(std::string_view /*title*/,
                                               const std::filesystem::path& /*root*/) {
  return Take(folders_);
}

std::filesystem::path CliPrompts::ChooseFile(std::string_view /*filter*/,
                                             const std::filesystem::path& /*startFolder*/) {
  return Take(files_);
}

}  // namespace likentor
