#include "app/row_printer.h"

#include <string>

#include "database/table_store.h"
#include "database/text_file.h"

namespace likentor {

namespace {

// Quoted when it is empty (an empty field would end the record for the parser), or holds the
// separator, a quote or blanks at its ends, with quotes doubled.
std::string CsvField(const std::string& text) {
  const bool needsQuotes = text.empty() || text.find_first_of(";\"") != std::string::npos ||
                           (!text.empty() && (static_cast<unsigned char>(text.front()) <= 32 ||
                                              static_cast<unsigned char>(text.back()) <= 32));
  if (!needsQuotes) return text;
  std::string quoted = "\"";
  for (char c : text) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

}  // namespace

void PrintRows(Cursor& rows, std::ostream& out) {
  const auto& fields = rows.Fields();
  for (std::size_t i = 0; i < fields.size(); ++i) out << (i ? ";" : "") << fields[i].name;
  out << '\n';
  for (rows.First(); !rows.Eof(); rows.Next()) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
      // Control characters are written out: a field from an export cannot drive the terminal.
      out << (i ? ";" : "") << CsvField(EscapeControls(rows.GetText(fields[i].name)));
    }
    out << '\n';
  }
}

}  // namespace likentor
