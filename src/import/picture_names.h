#pragma once

// The names in a saved game's picture folder, read once per load. The existing-photo rule looks for
// four names per new player; for a large game that is hundreds of thousands of questions to the
// file system, nearly all answered "no such file". With the names at hand, only a name the folder
// may hold is asked about.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace likentor {

class PictureNames {
 public:
  // Lists `folder`. A folder that is missing holds nothing; one that cannot be listed whole, or
  // whose entries cannot be looked at, leaves every name to be asked about.
  explicit PictureNames(const std::filesystem::path& folder);

  // False only when the folder certainly has no entry of that name. Names are compared with the
  // letters A to Z in either case, as a folder that ignores case finds them; a name with other
  // than ASCII characters may always be there, and so may every name in a folder that ignores case
  // and holds such names, since it may fold them in ways this does not. So may a name with a
  // separator, which names a file of another folder.
  bool MayHold(std::string_view name) const;

  // What was found of a name asked about in this load: whether it is a picture of the user's.
  // Players of one name share their name's pictures, so a name is looked at once per load.
  const bool* Judged(const std::string& name) const;
  void Judge(const std::string& name, bool usersPicture) { judged_[name] = usersPicture; }

 private:
  bool everyName_ = false;  // nothing is known: every name may be there
  // The hashes of the entries' names, letters in lower case, sorted.
  std::vector<std::uint64_t> held_;
  std::unordered_map<std::string, bool> judged_;  // by name: a picture of the user's
};

}  // namespace likentor
