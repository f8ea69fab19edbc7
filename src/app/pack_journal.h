#pragma once

// The journal of an install or uninstall of an art pack. The work spans files below graphics/ and
// rows of several table files, which no one transaction covers: before its first change the work
// writes what it is about to do to pack_journal.txt in the program folder (whole, and on the disk),
// and removes the journal when it has ended. A journal found at the start of a later command that
// writes is work that was stopped (the program killed, the machine off): an install is taken back,
// an uninstall carried to its end, so that catalogue rows and files agree again.
//
// The file: a first line naming it, then "work install|uninstall", "pack N", "kind <word>",
// "ethnicity N", "rows N" (the catalogue's rows before an uninstall), "item NUMBER ROW PLACE" per
// item (PLACE relative to the program folder), "move FROM TO" per number an uninstall moves down,
// and "end". Steps of an uninstall that may not be done twice add "done <step>" lines after it.

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/component_packs.h"

namespace likentor {

struct JournalItem {
  int number = 0;
  int row = 0;  // the item's row in installed_components.db (uninstall)
  std::filesystem::path place;
};

struct PackJournal {
  enum class Work { Install, Uninstall };
  Work work = Work::Install;
  int packId = 0;
  PackKind kind = PackKind::Faces;
  int ethnicity = 0;
  int catalogueRows = 0;
  std::vector<JournalItem> items;
  std::map<int, int> moves;    // numbers that move down, old to new
  std::set<std::string> done;  // steps done
};

std::filesystem::path PackJournalFile(const std::filesystem::path& program);
// Writes the journal whole to the disk. Error naming the file when it cannot.
void WriteJournal(const std::filesystem::path& program, const PackJournal& journal);
// Adds "done <step>" to the journal, on the disk. Error when it cannot.
void MarkJournal(const std::filesystem::path& program, const std::string& step);
// Removes the journal: the work has ended. Error when it stays.
void EndJournal(const std::filesystem::path& program);
// The journal left by stopped work, nothing when there is none. Error naming the file and line
// when it cannot be read as one.
std::optional<PackJournal> ReadJournal(const std::filesystem::path& program);

}  // namespace likentor
