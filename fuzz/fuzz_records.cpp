// The text reader and the record parser on any bytes: the bytes are written to a file, every line
// is read back and split on both separators the program uses. Lines and fields must come out as
// UTF-8 without line ends, messages must quote them without control characters, and the line
// count of CountLines must be the number of lines the reader gives.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "database/record_parser.h"
#include "database/text_file.h"
#include "fuzz_support.h"
#include "shell/error.h"

namespace {

using likentor::fuzz::Check;

bool HasControls(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 32 || c == 127) return true;
    // U+0080 to U+009F in UTF-8
    if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
      return true;
    }
  }
  return false;
}

void CheckQuoted(std::string_view text) {
  const std::string quoted = likentor::FieldForMessage(text);
  Check(likentor::IsValidUtf8(quoted), "a quoted field is UTF-8");
  Check(!HasControls(quoted), "a quoted field holds no control characters");
  Check(likentor::IsValidUtf8(likentor::TruncateUtf8(text, 7)), "a cut text is UTF-8");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto file = likentor::fuzz::Scratch() / "records.csv";
  likentor::test::WriteBytes(file, likentor::fuzz::BytesOf(data, size));
  try {
    likentor::TextFileReader reader(file);
    std::size_t lines = 0;
    std::string line;
    while (reader.ReadLine(line)) {
      ++lines;
      Check(reader.LineNumber() == lines, "the reader counts the lines it gives");
      Check(line.find_first_of("\r\n") == std::string::npos, "a line holds no line end");
      Check(likentor::IsValidUtf8(line), "a line is UTF-8");
      CheckQuoted(line);
      likentor::IsBlankLine(line);
      for (const char separator : {';', ','}) {
        const std::size_t first = likentor::PosFirstSep(line, separator);
        Check(first <= line.size(), "the first separator lies within the line");
        for (const std::string& field : likentor::ParseRecord(line, separator)) {
          Check(likentor::IsValidUtf8(field), "a field is UTF-8");
          CheckQuoted(field);
        }
      }
    }
    Check(likentor::CountLines(file) == lines, "CountLines counts the lines the reader gives");
  } catch (const likentor::Error& e) {
    // The file is regular, readable and far shorter than a record may be: nothing to refuse.
    std::fprintf(stderr, "%s\n", e.what());
    Check(false, "a short regular file reads without an error");
  }
  return 0;
}
