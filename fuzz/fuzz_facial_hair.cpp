// The facial-hair catalogue's fill from any bytes in the program's facialhair.csv.

#include <cstddef>
#include <cstdint>

#include "database/facial_hair_table.h"
#include "shared_tables_folder.h"
#include "shell/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static likentor::fuzz::SharedTablesFolder folder;
  likentor::test::WriteBytes(likentor::FacialHairCsvPath(folder.program),
                             likentor::fuzz::BytesOf(data, size));
  folder.FreshLog();
  try {
    likentor::CreateFacialHairTable(folder.db, folder.log, folder.program);
  } catch (const likentor::Error&) {
    // A table that cannot be made is reported as an error: an outcome, not a fault.
  }
  return 0;
}
