#include "import/picture_names.h"

#include <algorithm>
#include <string>
#include <system_error>

namespace likentor {

namespace {

bool IsAscii(std::string_view name) {
  return std::all_of(name.begin(), name.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// FNV-1a over the name, with A to Z taken as a to z when `folded`.
std::uint64_t NameHash(std::string_view name, bool folded) {
  std::uint64_t hash = 0xCBF29CE484222325ULL;
  for (const char c : name) {
    auto byte = static_cast<unsigned char>(c);
    if (folded && byte >= 'A' && byte <= 'Z') byte = static_cast<unsigned char>(byte - 'A' + 'a');
    hash ^= byte;
    hash *= 0x100000001B3ULL;
  }
  return hash;
}

// How many names with a letter are kept to find out whether the folder ignores case.
constexpr std::size_t kCaseProbes = 8;

}  // namespace

PictureNames::PictureNames(const std::filesystem::path& folder) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(folder, ec);
  if (status.type() == std::filesystem::file_type::not_found) return;
  everyName_ = true;
  if (ec || !std::filesystem::is_directory(status)) return;
  // Looking at an entry needs the right to search the folder, which listing it does not: without
  // it every name is asked about, and the question says so.
  if (!std::filesystem::is_directory(std::filesystem::status(folder / ".", ec)) || ec) return;
  std::vector<std::uint64_t> exact;  // the names as they are spelled
  std::vector<std::string> probes;   // a few names with a letter
  bool wide = false;                 // a name with other than ASCII characters
  std::filesystem::directory_iterator entry(folder, ec);
  for (; !ec && entry != std::filesystem::directory_iterator(); entry.increment(ec)) {
    std::string name = entry->path().filename().string();
    held_.push_back(NameHash(name, true));
    exact.push_back(NameHash(name, false));
    wide = wide || !IsAscii(name);
    if (probes.size() < kCaseProbes && std::any_of(name.begin(), name.end(), IsAsciiLetter)) {
      probes.push_back(std::move(name));
    }
  }
  if (ec) {
    held_.clear();
    return;
  }
  if (wide) {
    // A folder that ignores case may fold those names into ASCII ones: it is asked whether it
    // finds a name of it with one letter's case turned.
    std::sort(exact.begin(), exact.end());
    bool ignoresCase = true;  // until one probe tells
    for (std::string& name : probes) {
      char& c = *std::find_if(name.begin(), name.end(), IsAsciiLetter);
      c = static_cast<char>(c ^ 0x20);
      // An entry of the turned name of its own says nothing.
      if (std::binary_search(exact.begin(), exact.end(), NameHash(name, false))) continue;
      ignoresCase = std::filesystem::exists(folder / name, ec) || ec;
      break;
    }
    if (ignoresCase) {
      held_.clear();
      return;
    }
  }
  std::sort(held_.begin(), held_.end());
  everyName_ = false;
}

bool PictureNames::MayHold(std::string_view name) const {
  // A name with a separator leads into another folder; one with a NUL ends early.
  constexpr std::string_view kElsewhere("/\\\0", 3);
  if (everyName_ || !IsAscii(name) || name.find_first_of(kElsewhere) != std::string_view::npos) {
    return true;
  }
  return std::binary_search(held_.begin(), held_.end(), NameHash(name, true));
}

const bool* PictureNames::Judged(const std::string& name) const {
  const auto found = judged_.find(name);
  return found != judged_.end() ? &found->second : nullptr;
}

}  // namespace likentor
