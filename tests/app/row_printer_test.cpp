// Rows printed by show and search read back field for field with the program's own record parser.

#include "app/row_printer.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "database/record_parser.h"
#include "database/table_store.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

TEST(RowPrinter, EveryFieldReadsBackThroughTheRecordParser) {
  test::TempFolder folder;
  Database db(folder.Path());
  db.CreateTable("t.db", {{"id", FieldType::Integer, 0, true},
                          {"name", FieldType::Text, 20, false},
                          {"count", FieldType::Integer, 0, false},
                          {"note", FieldType::Text, 20, false}});
  const std::vector<std::vector<std::string>> rows = {
      {"1", "", "", "last"},            // an empty text and a blank number in the middle
      {"2", "a;b", "7", "say \"hi\""},  // the separator and quotes
      {"3", "x", "0", ""}};             // an empty last field
  {
    Table t(db, "t.db");
    for (const auto& row : rows) {
      t.Append();
      t.SetInt("id", std::stoi(row[0]));
      t.SetText("name", row[1]);
      if (!row[2].empty()) t.SetInt("count", std::stoi(row[2]));
      t.SetText("note", row[3]);
      ASSERT_TRUE(t.Post());
    }
  }
  Table t(db, "t.db");
  std::ostringstream out;
  PrintRows(t, out);

  std::istringstream lines(out.str());
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "id;name;count;note");
  for (const auto& row : rows) {
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_EQ(ParseRecord(line, ';'), row) << line;
  }
  EXPECT_FALSE(std::getline(lines, line));
}

TEST(RowPrinter, ControlCharactersFromExportsAreShownEscaped) {
  test::TempFolder folder;
  Database db(folder.Path());
  db.CreateTable("t.db",
                 {{"id", FieldType::Integer, 0, true}, {"name", FieldType::Text, 40, false}});
  {
    Table t(db, "t.db");
    t.Append();
    t.SetInt("id", 1);
    // A name that would clear the screen and retitle the terminal.
    t.SetText("name", "\x1b[2J\x1b]0;x\x07Smith\r\xC2\x9B");
    ASSERT_TRUE(t.Post());
  }
  Table t(db, "t.db");
  std::ostringstream out;
  PrintRows(t, out);
  EXPECT_EQ(out.str(), "id;name\n1;\"\\x1b[2J\\x1b]0;x\\x07Smith\\x0d\\x9b\"\n");
}

}  // namespace
}  // namespace likentor
