#pragma once

#include <fstream>
#include <span>
#include <string>
#include <string_view>

namespace likentor::samplegame {

// Writes one text export as the game does: fields split by a separator, CR LF line ends,
// Windows-1252 text. Empty texts are written as "" (a bare empty field would end the record for the
// reader), and texts holding the separator, a double quote or outer blanks are quoted with inner
// quotes doubled.
class ExportFile {
 public:
  ExportFile(const std::string& path, char separator, bool quoteText);
  ~ExportFile();
  ExportFile(const ExportFile&) = delete;
  ExportFile& operator=(const ExportFile&) = delete;

  void Header(std::span<const std::string_view> names);
  void Int(long long value);
  // UTF-8 text, written in Windows-1252.
  void Text(std::string_view utf8);
  // ASCII that never needs quoting (dates, codes), written as it stands.
  void Raw(std::string_view ascii);
  void EndRecord();
  // An empty line, as the awkward exports end with.
  void BlankLine();
  // Flushes and closes; throws std::runtime_error when the file could not be written.
  void Close();

  std::size_t BytesWritten() const { return written_ + buffer_.size(); }

 private:
  void StartField();
  void Flush();

  std::string path_;
  std::ofstream out_;
  std::string buffer_;
  std::size_t written_ = 0;
  char separator_;
  bool quoteText_;
  bool atRecordStart_ = true;
};

}  // namespace likentor::samplegame
