#include "database/text_file.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "shell/error.h"

namespace likentor {

namespace {

// Windows-1252 code points of the bytes 0x80..0x9F; the five bytes the code page leaves undefined
// map to the C1 control of the same value, as Windows itself converts them.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  const std::size_t n = bytes.size();
  while (i < n) {
    const auto b = static_cast<std::uint8_t>(bytes[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    std::size_t len;
    char32_t cp;
    if (b >= 0xC2 && b <= 0xDF) {
      len = 2;
      cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      len = 3;
      cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      len = 4;
      cp = b & 0x07;
    } else {
      return false;
    }
    if (i + len > n) return false;
    for (std::size_t k = 1; k < len; ++k) {
      const auto c = static_cast<std::uint8_t>(bytes[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF)) {
      return false;
    }
    i += len;
  }
  return true;
}

namespace {

// True when every byte is below 0x80; eight bytes at a time, since most exports are plain ASCII.
bool IsAscii(std::string_view bytes) {
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  const char* p = bytes.data();
  std::size_t n = bytes.size();
  for (; n >= 8; p += 8, n -= 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, p, sizeof word);
    if ((word & kHighBits) != 0) return false;
  }
  for (; n > 0; ++p, --n) {
    if (static_cast<std::uint8_t>(*p) >= 0x80) return false;
  }
  return true;
}

}  // namespace

void ToUtf8(std::string_view bytes, std::string& out) {
  if (IsAscii(bytes) || IsValidUtf8(bytes)) {
    out.assign(bytes);
    return;
  }
  out.clear();
  out.reserve(bytes.size() + bytes.size() / 4);
  for (char ch : bytes) {
    const auto b = static_cast<std::uint8_t>(ch);
    if (b < 0x80) {
      out.push_back(ch);
    } else if (b < 0xA0) {
      AppendUtf8(out, kCp1252High[b - 0x80]);
    } else {
      AppendUtf8(out, b);  // 0xA0..0xFF are U+00A0..U+00FF
    }
  }
}

std::string ToUtf8(std::string_view bytes) {
  std::string out;
  ToUtf8(bytes, out);
  return out;
}

bool IsBlankLine(std::string_view line) {
  for (char c : line) {
    if (static_cast<std::uint8_t>(c) > 32) return false;
  }
  return true;
}

std::string TruncateUtf8(std::string_view text, std::size_t chars) {
  std::size_t i = 0;
  for (std::size_t count = 0; i < text.size() && count < chars; ++count) {
    ++i;
    while (i < text.size() && (static_cast<std::uint8_t>(text[i]) & 0xC0) == 0x80) ++i;
  }
  return std::string(text.substr(0, i));
}

std::string EscapeControls(std::string_view text) {
  constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto code = static_cast<std::uint8_t>(text[i]);
    const bool c1 = code == 0xC2 && i + 1 < text.size() &&
                    static_cast<std::uint8_t>(text[i + 1]) >= 0x80 &&
                    static_cast<std::uint8_t>(text[i + 1]) <= 0x9F;
    if (c1) code = static_cast<std::uint8_t>(text[++i]);
    if (code < 0x20 || code == 0x7F || c1) {
      out += "\\x";
      out += kHex[code >> 4];
      out += kHex[code & 0x0F];
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string FieldForMessage(std::string_view text) {
  const std::string shown = TruncateUtf8(text, kQuotedFieldChars);
  std::string out = EscapeControls(shown);
  if (shown.size() < text.size()) out += "\u2026";
  return out;
}

TextFileReader::TextFileReader(const std::filesystem::path& path)
    : path_(path), fileName_(path.filename().string()) {
  // Without O_NONBLOCK opening a pipe would wait for a writer; it is refused below instead.
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd_ < 0) throw Error("Cannot open file " + path.string());
  struct stat status {};
  if (::fstat(fd_, &status) != 0) {
    const int code = errno;
    ::close(fd_);
    Fail(std::generic_category().message(code));
  }
  if (!S_ISREG(status.st_mode)) {
    ::close(fd_);
    // A device such as /dev/zero never ends; a folder has no lines.
    Fail(S_ISDIR(status.st_mode) ? "it is a folder, not a file" : "it is not a regular file");
  }
}

TextFileReader::~TextFileReader() {
  ::close(fd_);
}

void TextFileReader::Fail(const std::string& why) const {
  throw Error("Cannot read file " + path_.string() + ": " + why + ".");
}

bool TextFileReader::Fill() {
  constexpr std::size_t kBlock = 64 * 1024;
  buffer_.resize(kBlock);
  nextLf_ = nextCr_ = kNotSought;
  ssize_t n;
  do {
    n = ::read(fd_, buffer_.data(), kBlock);
  } while (n < 0 && errno == EINTR);
  if (n < 0) {
    const int code = errno;
    buffer_.clear();
    position_ = 0;
    Fail(std::generic_category().message(code));
  }
  buffer_.resize(static_cast<std::size_t>(n));
  position_ = 0;
  return n > 0;
}

std::size_t TextFileReader::LineEnd() {
  // The next LF and the next CR are each sought once and kept until the reader has passed them:
  // a file with one kind of line end is not searched to the end of the block for the other on
  // every line.
  const auto next = [this](std::size_t& known, char c) {
    if (known == kNotSought || known < position_) {
      const void* found = std::memchr(buffer_.data() + position_, c, buffer_.size() - position_);
      known = found != nullptr
                  ? static_cast<std::size_t>(static_cast<const char*>(found) - buffer_.data())
                  : buffer_.size();
    }
    return known;
  };
  return std::min(next(nextLf_, '\n'), next(nextCr_, '\r'));
}

bool TextFileReader::ReadLine(std::string& line) {
  raw_.clear();
  bool started = false;
  // A line that lies whole in the buffer is converted from there; one that runs across blocks is
  // gathered in raw_ first.
  std::string_view inBuffer;
  bool gathered = false;
  while (true) {
    if (position_ == buffer_.size() && !Fill()) break;
    if (afterCr_) {
      // The LF of a CR LF pair belongs to the line the CR ended.
      afterCr_ = false;
      if (buffer_[position_] == '\n') {
        ++position_;
        continue;
      }
    }
    started = true;
    const std::size_t end = LineEnd();
    const std::size_t length = end - position_;
    if (raw_.size() + length > kMaxRecordBytes) TooLong();
    const bool ended = end < buffer_.size();
    if (ended && !gathered) {
      inBuffer = std::string_view(buffer_.data() + position_, length);
    } else {
      raw_.append(buffer_.data() + position_, length);
      gathered = true;
    }
    position_ = end;
    if (ended) {
      afterCr_ = buffer_[position_++] == '\r';
      break;
    }
  }
  if (!started) return false;
  ++lineNumber_;
  ToUtf8(gathered ? std::string_view(raw_) : inBuffer, line);
  return true;
}

void TextFileReader::TooLong() {
  ++lineNumber_;
  throw Error(
      Where("the record is longer than 1 MB (" + std::to_string(kMaxRecordBytes) + " bytes)."));
}

std::string TextFileReader::Where(std::string_view what) const {
  return fileName_ + " line " + std::to_string(lineNumber_) + ": " + std::string(what);
}

std::size_t CountLines(const std::filesystem::path& path) {
  TextFileReader file(path);
  std::string line;
  std::size_t count = 0;
  while (file.ReadLine(line)) ++count;
  return count;
}

}  // namespace likentor
