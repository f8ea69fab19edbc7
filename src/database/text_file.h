#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace likentor {

// Text as the program stores it: bytes that are valid UTF-8 are kept as they are; anything else is
// read as Windows-1252 (the game writes its exports that way) and converted to UTF-8.
std::string ToUtf8(std::string_view bytes);
// The same into `out`, whose storage is reused (for a reader's lines).
void ToUtf8(std::string_view bytes, std::string& out);
bool IsValidUtf8(std::string_view bytes);
// The first `chars` characters of UTF-8 text, never cutting a character in two.
std::string TruncateUtf8(std::string_view text, std::size_t chars);

// Text read from a file as messages and listings show it: control characters (codes below 32, 127,
// and 128 to 159 written as UTF-8) become escapes such as "\x1b", so that a field cannot move the
// cursor, recolour or retitle the terminal, or split a log line. Other text is kept as it is.
std::string EscapeControls(std::string_view text);
// An offending field as a message quotes it: its first kQuotedFieldChars characters, with "…" after
// a cut, and control characters escaped.
inline constexpr std::size_t kQuotedFieldChars = 60;
std::string FieldForMessage(std::string_view text);

// True for a line that is empty after trimming blanks (characters of code 32 or less).
bool IsBlankLine(std::string_view line);

// The longest record a reader takes, in bytes without its line end: far beyond any real export,
// small enough that a file of one endless line cannot exhaust memory.
inline constexpr std::size_t kMaxRecordBytes = std::size_t{1} << 20;

// Reads a text file line by line, each line converted by ToUtf8. CR, LF and CR LF each end a line,
// so files written by any editor read alike.
// Opening a missing or unreadable file throws Error naming the file; so does a path that is not a
// regular file (a folder, a device, a pipe), a read that fails and a record over kMaxRecordBytes.
class TextFileReader {
 public:
  explicit TextFileReader(const std::filesystem::path& path);
  ~TextFileReader();
  TextFileReader(const TextFileReader&) = delete;
  TextFileReader& operator=(const TextFileReader&) = delete;

  // The next line without its line end; false at the end of the file.
  bool ReadLine(std::string& line);
  // 1-based number of the line last read (0 before the first).
  std::size_t LineNumber() const { return lineNumber_; }
  const std::string& FileName() const { return fileName_; }
  // "players.csv line 1234: " + what, for failures that name their place.
  std::string Where(std::string_view what) const;

 private:
  // Reads the next block into the buffer; false at the end of the file.
  bool Fill();
  // Where the line from position_ ends in the buffer: its CR or LF, or the buffer's end.
  std::size_t LineEnd();
  [[noreturn]] void Fail(const std::string& why) const;
  // Names the line being read, which is longer than a record may be.
  [[noreturn]] void TooLong();

  std::filesystem::path path_;
  std::string fileName_;
  int fd_ = -1;
  std::string buffer_;
  std::size_t position_ = 0;
  bool afterCr_ = false;  // the last line ended with a CR, which an LF may follow
  // Where the next LF and CR in the buffer are, at or after position_ when sought last; the
  // buffer's size when there is none.
  static constexpr std::size_t kNotSought = static_cast<std::size_t>(-1);
  std::size_t nextLf_ = kNotSought;
  std::size_t nextCr_ = kNotSought;
  std::string raw_;
  std::size_t lineNumber_ = 0;
};

// Counts the lines of a text file the way a line list would hold them (a last line without a line
// end counts; an empty file has none). Throws Error when the file cannot be read.
std::size_t CountLines(const std::filesystem::path& path);

}  // namespace likentor
