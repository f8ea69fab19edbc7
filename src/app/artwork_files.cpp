#include "app/artwork_files.h"

#include <system_error>

#include "app/session.h"
#include "portrait/artwork_paths.h"

namespace likentor {

std::filesystem::path ArtworkFile(const Session& session, const std::filesystem::path& relative) {
  for (const std::filesystem::path& folder :
       {session.ProgramFolder(), session.Places().executableFolder}) {
    if (folder.empty()) continue;
    const std::filesystem::path file = ArtworkFolder(folder) / relative;
    std::error_code ec;
    if (std::filesystem::is_regular_file(file, ec)) return file;
  }
  return {};
}

}  // namespace likentor
