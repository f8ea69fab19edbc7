#include "shell/error_log.h"

#include <cstdint>
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
  const std::uintmax_t before = std::filesystem::file_size(File(), ec);
  std::ofstream out(File(), std::ios::binary | std::ios::app);
  out << message << "\r\n";
  out.close();
  if (out) return;
  ++unwritten_;
  // Whatever part of the line reached the file goes again, so that the log never ends in half a
  // line that reads as a message of its own.
  if (!ec) std::filesystem::resize_file(File(), before, ec);
}

std::vector<std::string> ErrorLog::ShowErrors() {
  std::error_code ec;
  if (!std::filesystem::exists(File(), ec)) CreateErrorFile();
  return ReadLines(File());
}

std::string ErrorCount(int errors) {
  return std::to_string(errors) + (errors == 1 ? " error" : " errors");
}

std::string ErrorsToSee(const std::filesystem::path& logFile, int errors, int unwritten) {
  std::string text = ErrorCount(errors) + "; see the errors log";
  if (unwritten > 0) {
    text += " (" + std::to_string(unwritten) + " of them could not be written to " +
            logFile.string() + ")";
  }
  return text + ".";
}

bool ClearErrorsFile1Click(ErrorLog& log, Prompts& prompts) {
  if (!prompts.Confirm(kClearErrorsQuestion)) return false;
  log.CreateErrorFile();
  prompts.ShowMessage(kErrorsClearedMessage);
  return true;
}

}  // namespace likentor
