#include "app/pack_journal.h"

#include <fstream>
#include <sstream>
#include <system_error>

#include "shell/error.h"
#include "shell/platform.h"

namespace likentor {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kFirstLine = "likentor pack journal 1";

// Digits only, within 0..2^31-1; nothing otherwise.
std::optional<int> StrictNumber(std::string_view text) {
  if (text.empty() || text.size() > 10) return std::nullopt;
  long long n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  if (n > 2147483647LL) return std::nullopt;
  return static_cast<int>(n);
}

// The next word of `rest` (up to a blank), taken off it.
std::string_view Word(std::string_view& rest) {
  const std::size_t blank = rest.find(' ');
  const std::string_view word = rest.substr(0, blank);
  rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
  return word;
}

}  // namespace

fs::path PackJournalFile(const fs::path& program) {
  return program / "pack_journal.txt";
}

void WriteJournal(const fs::path& program, const PackJournal& journal) {
  std::ostringstream text;
  text << kFirstLine << '\n'
       << "work " << (journal.work == PackJournal::Work::Install ? "install" : "uninstall") << '\n'
       << "pack " << journal.packId << '\n'
       << "kind " << PackKindName(journal.kind) << '\n'
       << "ethnicity " << journal.ethnicity << '\n'
       << "rows " << journal.catalogueRows << '\n';
  for (const JournalItem& item : journal.items) {
    text << "item " << item.number << ' ' << item.row << ' '
         << item.place.lexically_relative(program).generic_string() << '\n';
  }
  for (const auto& [from, to] : journal.moves) text << "move " << from << ' ' << to << '\n';
  text << "end\n";
  const fs::path file = PackJournalFile(program);
  if (!WriteFileDurably(file, text.str())) {
    throw Error("Cannot write the journal \"" + file.string() +
                "\" of the pack's work; nothing was changed.");
  }
}

void MarkJournal(const fs::path& program, const std::string& step) {
  const fs::path file = PackJournalFile(program);
  if (!AppendDurably(file, "done " + step + "\n")) {
    throw Error("Cannot write to the journal \"" + file.string() +
                "\"; the next command that writes carries the pack's work on.");
  }
}

void EndJournal(const fs::path& program) {
  const fs::path file = PackJournalFile(program);
  if (!RemoveDurably(file)) {
    throw Error("Cannot remove the journal \"" + file.string() + "\" of the pack's work.");
  }
}

std::optional<PackJournal> ReadJournal(const fs::path& program) {
  const fs::path file = PackJournalFile(program);
  std::error_code ec;
  if (!fs::exists(file, ec)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) throw Error("Cannot read the journal \"" + file.string() + "\" of a pack's work.");
  PackJournal journal;
  std::string line;
  int number = 0;
  bool ended = false;
  const auto damaged = [&](std::string_view why) {
    return Error("The journal \"" + file.string() + "\" of a pack's work is damaged at line " +
                 std::to_string(number) + ": " + std::string(why) + ".");
  };
  const auto value = [&](std::string_view text) {
    const auto n = StrictNumber(text);
    if (!n) throw damaged("\"" + std::string(text) + "\" is not a number");
    return *n;
  };
  while (std::getline(in, line)) {
    ++number;
    std::string_view rest = line;
    if (number == 1) {
      if (rest != kFirstLine) throw damaged("not a pack journal");
      continue;
    }
    const std::string_view word = Word(rest);
    if (word == "done" && ended) {
      journal.done.emplace(rest);
    } else if (ended) {
      throw damaged("a line after its end");
    } else if (word == "work") {
      if (rest != "install" && rest != "uninstall") throw damaged("an unknown work");
      journal.work = rest == "install" ? PackJournal::Work::Install : PackJournal::Work::Uninstall;
    } else if (word == "pack") {
      journal.packId = value(rest);
    } else if (word == "kind") {
      const auto kind = PackKindFromName(rest);
      if (!kind) throw damaged("an unknown kind");
      journal.kind = *kind;
    } else if (word == "ethnicity") {
      journal.ethnicity = value(rest);
    } else if (word == "rows") {
      journal.catalogueRows = value(rest);
    } else if (word == "item") {
      JournalItem item;
      item.number = value(Word(rest));
      item.row = value(Word(rest));
      const fs::path place(rest);
      if (rest.empty() || place.is_absolute() ||
          place.lexically_normal().string().starts_with(".."))
        throw damaged("a place outside the program folder");
      item.place = program / place;
      journal.items.push_back(std::move(item));
    } else if (word == "move") {
      const int from = value(Word(rest));
      journal.moves[from] = value(rest);
    } else if (word == "end") {
      ended = true;
    } else {
      throw damaged("an unknown line");
    }
  }
  if (!ended) {
    ++number;
    throw damaged("it ends before its last line");
  }
  if (journal.items.empty()) throw damaged("no items");
  return journal;
}

}  // namespace likentor
