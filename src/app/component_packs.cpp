// The names of the pack kinds, the list of installed packs, the components page's buttons and the
// messages. Checking a pack is in pack_check.cpp, installing in pack_install.cpp, uninstalling in
// pack_uninstall.cpp, the journal that lets a stopped install or uninstall be finished in
// pack_journal.cpp.

#include "app/component_packs.h"

#include <map>

#include "app/pack_kinds.h"
#include "app/pack_work.h"
#include "app/session.h"
#include "database/table_store.h"
#include "portrait/appearance.h"
#include "portrait/artwork_paths.h"
#include "shell/error.h"
#include "shell/error_log.h"
#include "shell/platform.h"
#include "shell/prompts.h"

namespace likentor {

namespace fs = std::filesystem;

std::string_view PackKindName(PackKind kind) {
  return KindInfo(kind).name;
}

std::optional<PackKind> PackKindFromName(std::string_view name) {
  for (PackKind kind :
       {PackKind::Faces, PackKind::FacialHair, PackKind::Accessories, PackKind::Uniform}) {
    if (PackKindName(kind) == name) return kind;
  }
  return std::nullopt;
}

std::optional<int> EthnicityFromName(std::string_view name) {
  if (name == "caucasian") return kCaucasian;
  if (name == "asian") return kAsian;
  if (name == "african") return kAfrican;
  if (name == "east-indian" || name == "east_indian" || name == "east indian") return kEastIndian;
  return std::nullopt;
}

void FinishStoppedPackWork(Session& session) {
  const std::optional<PackJournal> journal = ReadJournal(session.ProgramFolder());
  if (!journal) return;
  const PackKindInfo& info = KindInfo(journal->kind);
  struct BarHidden {
    Session& session;
    ~BarHidden() { session.Progress().Report(session.Window().statusText, false, 0); }
  } hidden{session};
  const std::string items = std::to_string(journal->items.size()) + " " +
                            std::string(journal->items.size() == 1 ? info.one : info.many);
  if (journal->work == PackJournal::Work::Install) {
    TakeBackInstall(session, *journal);
    EndJournal(session.ProgramFolder());
    session.Log().ReportError("An install of " + items +
                              " was stopped before its end; what it had done was taken back.");
  } else {
    CarryOutUninstall(session, *journal);
    EndJournal(session.ProgramFolder());
    session.Log().ReportError("The uninstall of pack " + std::to_string(journal->packId) + " (" +
                              items + ") was stopped before its end; it was carried to its end.");
  }
}

std::vector<InstalledPack> InstalledPacks(Session& session) {
  std::vector<InstalledPack> packs;
  if (!session.Data().TableExists(kComponentsTable)) return packs;
  std::map<int, InstalledPack> byId;
  Table records(session.Data(), kComponentsTable);
  for (records.First(); !records.Eof(); records.Next()) {
    InstalledPack& pack = byId[records.GetInt("pack_id")];
    pack.packId = records.GetInt("pack_id");
    pack.kind = PackKindFromName(records.GetText("kind")).value_or(PackKind::Faces);
    pack.ethnicity = records.GetInt("ethnicity", 0);
    ++pack.items;
    if (pack.source.empty())
      pack.source = fs::path(records.GetText("source")).parent_path().string();
  }
  for (auto& [id, pack] : byId) packs.push_back(pack);
  return packs;
}

bool InstallComponentClick(Session& session, PackKind kind, int ethnicity) {
  const fs::path folder = session.UserPrompts().ChooseFolder(kSelectPackFolder, HomeFolder());
  if (folder.empty()) return false;
  session.UserPrompts().ShowMessage(InstallMessage(InstallPack(session, kind, folder, ethnicity)));
  return true;
}

bool UninstallPackClick(Session& session, int packId) {
  std::string what = "pack " + std::to_string(packId);
  for (const InstalledPack& pack : InstalledPacks(session)) {
    if (pack.packId == packId) what = PackLine(pack);
  }
  if (!session.UserPrompts().Confirm("Uninstall " + what +
                                     "? Players who wear its pictures get new looks.")) {
    return false;
  }
  session.UserPrompts().ShowMessage(UninstallMessage(UninstallPack(session, packId)));
  return true;
}

std::string PackLine(const InstalledPack& pack) {
  std::string line = "Pack " + std::to_string(pack.packId) + ": " + std::to_string(pack.items) +
                     " " + std::string(PackKindName(pack.kind));
  if (pack.kind == PackKind::Faces) line += " (" + EthnString(pack.ethnicity) + ")";
  return line + " from " + pack.source;
}

std::string InstallMessage(const PackInstall& result) {
  const std::size_t n = result.numbers.size();
  const PackKindInfo& info = KindInfo(result.kind);
  // Appended piece by piece: GCC 12 at -O3 reports a false overlap for the chained form.
  std::string text = "Installed ";
  text.append(std::to_string(n)).append(" ").append(n == 1 ? info.one : info.many);
  if (result.kind == PackKind::Faces) {
    text.append(" (").append(EthnString(result.ethnicity)).append(")");
  }
  text.append(" as pack ").append(std::to_string(result.packId)).append(".");
  if (!result.passedOver.empty()) {
    text.append(" Passed over ").append(std::to_string(result.passedOver.size())).append(":");
    for (const PassedOver& p : result.passedOver) {
      text.append("\n").append(p.file.string()).append(": ").append(p.why).append(".");
    }
  }
  return text;
}

std::string UninstallMessage(const PackUninstall& result) {
  return "Uninstalled pack " + std::to_string(result.packId) + " (" + std::to_string(result.items) +
         (result.items == 1 ? " item" : " items") + "); " + std::to_string(result.playersChanged) +
         (result.playersChanged == 1 ? " player was" : " players were") +
         " given a new look and flagged for a new portrait.";
}

}  // namespace likentor
