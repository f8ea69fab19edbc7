#include "shell/error_log.h"

#include <fstream>

#include "shell/configuration.h"
#include "shell/error.h"
#include "shell/prompts.h"

namespace likentor {

void ErrorLog::CreateErrorFile() {
  const auto file = File();
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << kErrorsHeader << "\r\n";
  out.close();
  if (!out) throw Error("Cannot create file " + file.string());
}

void ErrorLog::ReportError(std::string_view message) {
  ++reported_;
  std::error_code ec;
  if (!std::filesystem::exists(File(), ec)) {
    try {
      CreateErrorFile();
    } catch (const Error&) {
      return;
    }
  }
  std::ofstream out(File(), std::ios::binary | std::ios::app);
  out << message << "\r\n";
}

std::vector<std::string> ErrorLog::ShowErrors() {
  std::error_code ec;
  if (!std::filesystem::exists(File(), ec)) CreateErrorFile();
  return ReadLines(File());
}

std::string ErrorCount(int errors) {
  return std::to_string(errors) + (errors == 1 ? " error" : " errors");
}

bool ClearErrorsFile1Click(ErrorLog& log, Prompts& prompts) {
  if (!prompts.Confirm(kClearErrorsQuestion)) return false;
  log.CreateErrorFile();
  prompts.ShowMessage(kErrorsClearedMessage);
  return true;
}

}  // namespace likentor
