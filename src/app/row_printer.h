#pragma once

#include <ostream>

namespace likentor {

class Cursor;

// Prints the rows of a table or query as semicolon-separated text under a header line of field
// names, each field written so that the record parser reads it back unchanged (but for blanks at
// its ends, which the parser trims even inside quotes, and control characters, which are shown
// escaped as "\x1b").
void PrintRows(Cursor& rows, std::ostream& out);

}  // namespace likentor
