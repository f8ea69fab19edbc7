#pragma once

#include <ostream>

namespace likentor {

class Cursor;

// Prints the rows of a table or query as semicolon-separated text under a header line of field
// names, each field written so that the record parser reads it back unchanged.
void PrintRows(Cursor& rows, std::ostream& out);

}  // namespace likentor
