// The nations table's fill from any bytes, as the setup makes it: the first byte chooses the file
// that gets the rest, the game's nations.txt (odd) or the program's nations.csv (even; the game
// then has no list of its own, which reads as the stock one). With the shipped nations.csv in
// place the table never ends empty, whatever the game's list holds.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "database/nations_table.h"
#include "shared_tables_folder.h"
#include "shell/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace fs = std::filesystem;
  using likentor::fuzz::Check;
  static likentor::fuzz::SharedTablesFolder folder;
  static bool csvChanged = false;

  const bool gameList = size == 0 || (data[0] & 1) != 0;
  const std::string_view bytes = likentor::fuzz::BytesOf(data, size).substr(size > 0 ? 1 : 0);
  const fs::path csv = likentor::NationsCsvPath(folder.program);
  const fs::path txt = likentor::GameNationsPath(folder.game);
  if (gameList) {
    if (csvChanged) {
      fs::copy_file(folder.shippedData / "nations.csv", csv, fs::copy_options::overwrite_existing);
      csvChanged = false;
    }
    likentor::test::WriteBytes(txt, bytes);
  } else {
    fs::remove(txt);
    likentor::test::WriteBytes(csv, bytes);
    csvChanged = true;
  }
  folder.FreshLog();
  try {
    likentor::CreateNationsTable(folder.db, folder.log, folder.program, folder.game);
  } catch (const likentor::Error&) {
    // A table that cannot be made is reported as an error: an outcome, not a fault.
    return 0;
  }
  if (gameList) {
    Check(likentor::Table(folder.db, likentor::kNationsTable).RecordCount() > 0,
          "the nations table holds nations");
  }
  return 0;
}
