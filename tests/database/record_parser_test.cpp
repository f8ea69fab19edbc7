#include "database/record_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/error.h"

namespace likentor {
namespace {

using Fields = std::vector<std::string>;

// Q stands for a double quote and _ for a blank, so that the cases read like the table they come
// from.
std::string Line(std::string text) {
  for (char& c : text) {
    if (c == 'Q') c = '"';
    if (c == '_') c = ' ';
  }
  return text;
}

TEST(ParseRecord, SplitsTrimsAndStopsAtAnEmptyField) {
  EXPECT_EQ(ParseRecord("a;b;c", ';'), (Fields{"a", "b", "c"}));
  EXPECT_EQ(ParseRecord(Line("_a_;_b_"), ';'), (Fields{"a", "b"}));
  EXPECT_EQ(ParseRecord("a;;c", ';'), (Fields{"a"}));
  EXPECT_EQ(ParseRecord(";a", ';'), Fields{});
  EXPECT_EQ(ParseRecord("7,North,NTH", ','), (Fields{"7", "North", "NTH"}));
  // Tabs count as blanks too (any code up to 32).
  EXPECT_EQ(ParseRecord("\ta\t;\r", ';'), (Fields{"a"}));
}

TEST(ParseRecord, HandlesQuotedFields) {
  EXPECT_EQ(ParseRecord(Line("Qx;yQ;z"), ';'), (Fields{"x;y", "z"}));
  EXPECT_EQ(ParseRecord(Line("QQ;z"), ';'), (Fields{"", "z"}));
  EXPECT_EQ(ParseRecord(Line("QQQQ;z"), ';'), (Fields{"\"", "z"}));
  EXPECT_EQ(ParseRecord(Line("QaQQbQ"), ';'), (Fields{"a\"b"}));
  EXPECT_EQ(ParseRecord(Line("aQQb"), ';'), (Fields{"a\"b"}));
  EXPECT_EQ(ParseRecord(Line("aQb"), ';'), (Fields{"a\"b"}));
  EXPECT_EQ(ParseRecord(Line("QabQ_x;z"), ';'), (Fields{"ab\" x", "z"}));
  EXPECT_EQ(ParseRecord(Line("Qab;cd"), ';'), (Fields{"ab;cd"}));
  // Blanks inside the quotes are trimmed after the quotes go.
  EXPECT_EQ(ParseRecord(Line("_Q_a_Q_;b"), ';'), (Fields{"a", "b"}));
}

TEST(ParseRecord, ChoicesForTheOpenCases) {
  // An empty remainder ends the record with what was found so far.
  EXPECT_EQ(ParseRecord("", ';'), Fields{});
  EXPECT_EQ(ParseRecord("   ", ';'), Fields{});
  EXPECT_EQ(ParseRecord("a;b;  ", ';'), (Fields{"a", "b"}));
  // A lone double quote is an empty field.
  EXPECT_EQ(ParseRecord(Line("Q"), ';'), (Fields{""}));
  EXPECT_EQ(ParseRecord(Line("a;_Q_"), ';'), (Fields{"a", ""}));
  // Followed by more text it opens a quoted field that never closes, so the rest is one field.
  EXPECT_EQ(ParseRecord(Line("a;Q;c"), ';'), (Fields{"a", ";c"}));
}

TEST(PosFirstSep, FindsTheSeparatorThatEndsTheFirstField) {
  EXPECT_EQ(PosFirstSep("ab;c", ';'), 3u);
  EXPECT_EQ(PosFirstSep("abc", ';'), 0u);
  EXPECT_EQ(PosFirstSep(Line("Qa;bQ;c"), ';'), 6u);
  // A separator after a doubled quote belongs to the field; one after a closing quote ends it.
  EXPECT_EQ(PosFirstSep(Line("QaQQ;bQ;c"), ';'), 8u);
  EXPECT_EQ(PosFirstSep(Line("Qa;b"), ';'), 0u);
}

}  // namespace
}  // namespace likentor
