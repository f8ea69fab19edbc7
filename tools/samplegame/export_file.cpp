#include "samplegame/export_file.h"

#include <charconv>
#include <stdexcept>

#include "samplegame/windows_1252.h"

namespace likentor::samplegame {

namespace {

constexpr std::size_t kFlushSize = 1 << 20;

}  // namespace

ExportFile::ExportFile(const std::string& path, char separator, bool quoteText)
    : path_(path),
      out_(path, std::ios::binary | std::ios::trunc),
      separator_(separator),
      quoteText_(quoteText) {
  if (!out_) throw std::runtime_error("Cannot write " + path);
  buffer_.reserve(kFlushSize + 4096);
}

ExportFile::~ExportFile() {
  if (out_.is_open()) {
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  }
}

void ExportFile::Header(std::span<const std::string_view> names) {
  for (auto name : names) Raw(name);
  EndRecord();
}

void ExportFile::StartField() {
  if (!atRecordStart_) buffer_ += separator_;
  atRecordStart_ = false;
}

void ExportFile::Int(long long value) {
  StartField();
  char digits[24];
  const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
  buffer_.append(digits, end);
}

void ExportFile::Text(std::string_view utf8) {
  StartField();
  const std::string text = ToWindows1252(utf8);
  bool quote = quoteText_ || text.empty();
  if (!quote) {
    quote = static_cast<unsigned char>(text.front()) <= 32 ||
            static_cast<unsigned char>(text.back()) <= 32 ||
            text.find_first_of(std::string{separator_, '"'}) != std::string::npos;
  }
  if (!quote) {
    buffer_ += text;
    return;
  }
  buffer_ += '"';
  for (char c : text) {
    if (c == '"') buffer_ += '"';
    buffer_ += c;
  }
  buffer_ += '"';
}

void ExportFile::Raw(std::string_view ascii) {
  StartField();
  buffer_ += ascii;
}

void ExportFile::EndRecord() {
  buffer_ += "\r\n";
  atRecordStart_ = true;
  if (buffer_.size() >= kFlushSize) Flush();
}

void ExportFile::BlankLine() {
  buffer_ += "\r\n";
  atRecordStart_ = true;
}

void ExportFile::Flush() {
  out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  written_ += buffer_.size();
  buffer_.clear();
  if (!out_) throw std::runtime_error("Cannot write " + path_);
}

void ExportFile::Close() {
  Flush();
  out_.close();
  if (!out_) throw std::runtime_error("Cannot write " + path_);
}

}  // namespace likentor::samplegame
