#pragma once

// errors.txt in the program folder: the header "Errors Log", then one message per line, each line
// ended by CR LF, with no time stamp or level. Opened and closed for every call.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace likentor {

class Prompts;

inline constexpr std::string_view kErrorsFile = "errors.txt";
inline constexpr std::string_view kErrorsHeader = "Errors Log";

class ErrorLog {
 public:
  ErrorLog() = default;
  explicit ErrorLog(std::filesystem::path programFolder) : folder_(std::move(programFolder)) {}

  void SetProgramFolder(std::filesystem::path programFolder) { folder_ = std::move(programFolder); }
  std::filesystem::path File() const { return folder_ / kErrorsFile; }

  // Creates the log anew with its header line. Throws Error when the file cannot be written.
  void CreateErrorFile();
  // Appends one line. A log deleted since it was made is made again first. A line that cannot be
  // written (a full disk, no rights) is left out whole, never cut, and counted as unwritten: the
  // log is the end of the failure path, so the operation's closing message says so instead.
  void ReportError(std::string_view message);
  // How many lines ReportError was given so far by this object, written or not: an operation
  // compares it before and after to tell whether it logged errors (rows refused, say).
  int Reported() const { return reported_; }
  // How many of those lines could not be written.
  int Unwritten() const { return unwritten_; }
  // The log's lines, header included (what the window's log box shows). A missing log is made
  // again.
  std::vector<std::string> ShowErrors();

 private:
  std::filesystem::path folder_;
  int reported_ = 0;
  int unwritten_ = 0;
};

// "1 error" or "N errors": the count of an operation's logged errors in its closing message.
std::string ErrorCount(int errors);

// The end of an operation's closing message about the errors it logged: "N errors; see the errors
// log." or, when some of their lines could not be written, "N errors; see the errors log (M of
// them could not be written to FILE)."
std::string ErrorsToSee(const std::filesystem::path& logFile, int errors, int unwritten);

// Tools > Clear Errors File: after the confirmation, the log holds only its header again. True when
// it was cleared.
bool ClearErrorsFile1Click(ErrorLog& log, Prompts& prompts);

inline constexpr std::string_view kClearErrorsQuestion =
    "Are you sure you want to clear the errors log file?";
inline constexpr std::string_view kErrorsClearedMessage = "Error log file cleared.";

}  // namespace likentor
