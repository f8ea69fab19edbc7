#pragma once

// A program folder with the shipped data files, a game folder, the table store and the error log,
// made once per process in the scratch folder, for the harnesses of the shared tables' fills.

#include <filesystem>

#include "database/table_store.h"
#include "fuzz_support.h"
#include "shell/error_log.h"
#include "shell/folders.h"
#include "support/program_folder.h"

namespace likentor::fuzz {

struct SharedTablesFolder {
  SharedTablesFolder() {
    test::InstallDataFiles(program);
    std::filesystem::create_directories(game / "data" / "database");
  }

  // Before each input: the log holds only its header, so that it does not grow with the run.
  void FreshLog() { log.CreateErrorFile(); }

  std::filesystem::path program = Scratch() / "program";
  std::filesystem::path game = Scratch() / "game";
  std::filesystem::path shippedData = std::filesystem::path(LIKENTOR_SOURCE_DIR) / "data";
  Database db{DataFolder(program)};
  ErrorLog log{program};
};

}  // namespace likentor::fuzz
