#pragma once

#include <ostream>

namespace likentor {

class Cursor;

// Prints the rows of a table or query as semicolon-separated text under a header line of field
// names, each field written so that the record parser reads it back unchanged (but for blanks at
// its ends, which the parser trims even inside quotes).
void PrintRows(Cursor& rows, std::ostream& out);

}  // namespace likentor
