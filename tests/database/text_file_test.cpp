// Reading the game's text files: line ends, Windows-1252 text, numbered failures.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "database/record_fields.h"
#include "database/record_parser.h"
#include "database/text_file.h"
#include "shell/error.h"
#include "support/temp_folder.h"

#include <sys/stat.h>

namespace likentor {
namespace {

using test::TempFolder;

TEST(ToUtf8, KeepsUtf8AndConvertsWindows1252) {
  EXPECT_EQ(ToUtf8("Smith"), "Smith");
  EXPECT_EQ(ToUtf8("Jos\xC3\xA9"), "Jos\xC3\xA9");  // already UTF-8
  EXPECT_EQ(ToUtf8("Jos\xE9 Pe\xF1"
                   "a"),
            "Jos\xC3\xA9 Pe\xC3\xB1"
            "a");  // 1252 é, ñ
  EXPECT_EQ(ToUtf8("M\xFCller"), "M\xC3\xBCller");
  EXPECT_EQ(ToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
  EXPECT_EQ(ToUtf8("\x9F"), "\xC5\xB8");      // Y with diaeresis
  EXPECT_EQ(ToUtf8("\x8D"), "\xC2\x8D");      // undefined in 1252: the C1 control
  // An overlong or cut sequence is not UTF-8, so the whole text is read as 1252.
  EXPECT_EQ(ToUtf8("\xC3"), "\xC3\x83");
  EXPECT_EQ(ToUtf8("\xC0\xAF"), "\xC3\x80\xC2\xAF");
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // a surrogate
  EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));
}

TEST(TruncateUtf8, CountsCharactersNotBytes) {
  EXPECT_EQ(TruncateUtf8("Pe\xC3\xB1"
                         "a",
                         3),
            "Pe\xC3\xB1");
  EXPECT_EQ(TruncateUtf8("Pe\xC3\xB1"
                         "a",
                         2),
            "Pe");
  EXPECT_EQ(TruncateUtf8("abc", 10), "abc");
  EXPECT_EQ(TruncateUtf8("", 0), "");
}

TEST(TextFileReader, ReadsNumberedLinesAndNamesItsPlace) {
  TempFolder temp;
  const auto path = temp.Path() / "players.csv";
  std::ofstream(path, std::ios::binary) << "head\r\n12;Jos\xE9;x\r\n\r\nlast";
  TextFileReader file(path);
  std::string line;
  ASSERT_TRUE(file.ReadLine(line));
  EXPECT_EQ(line, "head");
  ASSERT_TRUE(file.ReadLine(line));
  EXPECT_EQ(line, "12;Jos\xC3\xA9;x");
  EXPECT_EQ(file.LineNumber(), 2u);
  const auto fields = ParseRecord(line, ';');
  EXPECT_EQ(WholeNumberAt(file, fields, 0), 12);
  EXPECT_EQ(FieldAt(file, fields, 1), "Jos\xC3\xA9");
  try {
    WholeNumberAt(file, fields, 2);
    FAIL() << "x is not a whole number";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "players.csv line 2: field 2 is not a whole number ('x')");
  }
  EXPECT_THROW(FieldAt(file, fields, 3), Error);
  ASSERT_TRUE(file.ReadLine(line));
  EXPECT_TRUE(IsBlankLine(line));
  ASSERT_TRUE(file.ReadLine(line));
  EXPECT_EQ(line, "last");
  EXPECT_FALSE(file.ReadLine(line));
  EXPECT_EQ(CountLines(path), 4u);

  EXPECT_THROW(TextFileReader(temp.Path() / "missing.csv"), Error);
}

// The message of the Error that `read` throws, or "" when it throws none.
template <typename Read>
std::string FailureOf(Read&& read) {
  try {
    read();
  } catch (const Error& e) {
    return e.what();
  }
  return "";
}

// Every line of `path` as the reader gives it.
std::vector<std::string> AllLines(const std::filesystem::path& path) {
  TextFileReader file(path);
  std::vector<std::string> lines;
  for (std::string line; file.ReadLine(line);) lines.push_back(line);
  return lines;
}

TEST(TextFileReader, RefusesWhatIsNotARegularReadableFile) {
  TempFolder temp;
  namespace fs = std::filesystem;
  // A folder in place of an export, and a link to one.
  const fs::path folder = temp / "batting.csv";
  fs::create_directories(folder);
  EXPECT_EQ(FailureOf([&] { AllLines(folder); }),
            "Cannot read file " + folder.string() + ": it is a folder, not a file.");
  fs::create_directory_symlink(folder, temp / "pitching.csv");
  EXPECT_EQ(
      FailureOf([&] { CountLines(temp / "pitching.csv"); }),
      "Cannot read file " + (temp / "pitching.csv").string() + ": it is a folder, not a file.");

  // A file that never ends: a device, reached through a link as a user would place it.
  fs::create_symlink("/dev/zero", temp / "players.csv");
  EXPECT_EQ(FailureOf([&] { AllLines(temp / "players.csv"); }),
            "Cannot read file " + (temp / "players.csv").string() + ": it is not a regular file.");
  // A named pipe without a writer is refused at once instead of waiting for one.
  const fs::path pipe = temp / "teams.csv";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(FailureOf([&] { AllLines(pipe); }),
            "Cannot read file " + pipe.string() + ": it is not a regular file.");

  // A missing file keeps its message.
  EXPECT_EQ(FailureOf([&] { AllLines(temp / "missing.csv"); }),
            "Cannot open file " + (temp / "missing.csv").string());
}

TEST(TextFileReader, AFailingReadIsAnErrorNotTheEndOfTheFile) {
  // The kernel lists this process's memory as a regular file whose first page is never mapped:
  // reading it fails with an input/output error, as a damaged disk would.
  const std::filesystem::path memory = "/proc/self/mem";
  std::error_code ec;
  if (!std::filesystem::is_regular_file(memory, ec)) GTEST_SKIP() << "no " << memory;
  EXPECT_EQ(FailureOf([&] { AllLines(memory); }),
            "Cannot read file /proc/self/mem: Input/output error.");
  EXPECT_EQ(FailureOf([&] { CountLines(memory); }),
            "Cannot read file /proc/self/mem: Input/output error.");
}

TEST(TextFileReader, ARecordOverOneMegabyteIsAnErrorNamingFileAndLine) {
  TempFolder temp;
  const auto path = temp / "players.csv";
  const std::string longest(kMaxRecordBytes, 'x');
  test::WriteBytes(path, "head\n" + longest + "\r\n" + longest + "y\nnever read\n");
  TextFileReader file(path);
  std::string line;
  ASSERT_TRUE(file.ReadLine(line));
  ASSERT_TRUE(file.ReadLine(line));
  EXPECT_EQ(line, longest);  // the limit itself is read
  EXPECT_EQ(FailureOf([&] { file.ReadLine(line); }),
            "players.csv line 3: the record is longer than 1 MB (1048576 bytes).");

  // A file of one endless line stops at the limit too, without reading the rest.
  test::WriteBytes(path, std::string(3 * kMaxRecordBytes, ';'));
  EXPECT_EQ(
      FailureOf([&] { ForEachRecord(path, ';', Heading::Skip, [](const auto&, const auto&) {}); }),
      "players.csv line 1: the record is longer than 1 MB (1048576 bytes).");
}

TEST(TextFileReader, CrLfAndCrLfEachEndALine) {
  TempFolder temp;
  const auto path = temp / "teams.csv";
  // CR only, as old Mac editors write; LF; CR LF; a CR and a CR LF in a row give an empty line.
  test::WriteBytes(path, "head\r1;a\r2;b\n3;c\r\n4;d\r\r\n5;e\r");
  EXPECT_EQ(AllLines(path),
            (std::vector<std::string>{"head", "1;a", "2;b", "3;c", "4;d", "", "5;e"}));
  EXPECT_EQ(CountLines(path), 7u);

  // A CR LF split across the reader's blocks is still one line end.
  std::string big(64 * 1024 - 1, 'x');
  test::WriteBytes(path, big + "\r\nnext\r\n");
  EXPECT_EQ(AllLines(path), (std::vector<std::string>{big, "next"}));
  big.push_back('x');
  test::WriteBytes(path, big + "\r\nnext\r\n");
  EXPECT_EQ(AllLines(path), (std::vector<std::string>{big, "next"}));

  // Records through the record reader: the heading is the first line, not the whole file.
  test::WriteBytes(path, "id;name\r7;Seven\r\r8;Eight");
  std::vector<std::string> names;
  ForEachRecord(path, ';', Heading::Skip, [&](const TextFileReader& file, const auto& fields) {
    names.push_back(std::to_string(file.LineNumber()) + " " + FieldAt(file, fields, 1));
  });
  EXPECT_EQ(names, (std::vector<std::string>{"2 Seven", "4 Eight"}));
}

TEST(FieldForMessage, QuotesUpToSixtyCharactersWithControlsEscaped) {
  EXPECT_EQ(FieldForMessage("Smith"), "Smith");
  const std::string sixty(60, 'x');
  EXPECT_EQ(FieldForMessage(sixty), sixty);
  EXPECT_EQ(FieldForMessage(sixty + "y"), sixty + "\xE2\x80\xA6");  // cut, with an ellipsis
  // Characters, not bytes: 60 letters n with tilde are kept whole.
  std::string tildes;
  for (int i = 0; i < 61; ++i) tildes += "\xC3\xB1";
  EXPECT_EQ(FieldForMessage(tildes), tildes.substr(0, 120) + "\xE2\x80\xA6");
  // A terminal escape, a tab, DEL and a C1 control are written out, not passed to the terminal.
  EXPECT_EQ(FieldForMessage("\x1b[31mred\t\x7f\xC2\x9B"), "\\x1b[31mred\\x09\\x7f\\x9b");
  EXPECT_EQ(EscapeControls(std::string_view("a\rb\nc\0d", 7)), "a\\x0db\\x0ac\\x00d");
  EXPECT_EQ(EscapeControls("Jos\xC3\xA9 \xE2\x82\xAC"), "Jos\xC3\xA9 \xE2\x82\xAC");
}

TEST(RecordFields, MessagesQuoteTheFieldShortAndEscaped) {
  TempFolder temp;
  const auto path = temp / "players.csv";
  test::WriteBytes(path, "head\n12;red\x1b]0 x\x07\x1b[31m!;" + std::string(100, '9') + "x\n");
  std::vector<std::string> messages;
  ForEachRecord(path, ';', Heading::Skip, [&](const TextFileReader& file, const auto& fields) {
    messages.push_back(FailureOf([&] { WholeNumberAt(file, fields, 1); }));
    messages.push_back(FailureOf([&] { WholeNumberAt(file, fields, 2); }));
  });
  EXPECT_EQ(messages,
            (std::vector<std::string>{
                "players.csv line 2: field 1 is not a whole number ('red\\x1b]0 x\\x07\\x1b[31m!')",
                "players.csv line 2: field 2 is not a whole number ('" + std::string(60, '9') +
                    "\xE2\x80\xA6')"}));
}

// A number of a file is digits only, within 32 bits: a blank inside, a plus sign or a number past
// 32 bits is no number rather than another one.
TEST(RecordFields, NumbersOfAFileAreDigitsOnlyInRange) {
  TempFolder temp;
  const auto path = temp / "players.csv";
  test::WriteBytes(path, "head\n12;1 2;+12;4294967297;-3\n");
  std::vector<std::string> messages;
  ForEachRecord(path, ';', Heading::Skip, [&](const TextFileReader& file, const auto& fields) {
    EXPECT_EQ(WholeNumberAt(file, fields, 0), 12);
    EXPECT_EQ(WholeNumberAt(file, fields, 4), -3);
    for (std::size_t i = 1; i <= 3; ++i) {
      messages.push_back(FailureOf([&] { WholeNumberAt(file, fields, i); }));
    }
  });
  EXPECT_EQ(messages, (std::vector<std::string>{
                          "players.csv line 2: field 1 is not a whole number ('1 2')",
                          "players.csv line 2: field 2 is not a whole number ('+12')",
                          "players.csv line 2: field 3 is not a whole number ('4294967297')"}));
}

TEST(IsBlankLine, OnlyBlanks) {
  EXPECT_FALSE(IsBlankLine(" x "));
  EXPECT_TRUE(IsBlankLine(" \t\r"));
  EXPECT_TRUE(IsBlankLine(""));
}

}  // namespace
}  // namespace likentor
