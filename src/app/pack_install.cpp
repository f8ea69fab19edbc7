// Installing an art pack: the pictures checked, their numbers and places found, the journal
// written, then the files (each made whole beside its place), the catalogue rows, the pack's
// records and the files moved into their places. A failure, a stop from the progress bar's cancel
// or a kill (through the journal, at the next start) takes all of it back.

#include <algorithm>
#include <fstream>
#include <system_error>

#include "app/component_packs.h"
#include "app/pack_check.h"
#include "app/pack_kinds.h"
#include "app/pack_work.h"
#include "app/session.h"
#include "app/write_command.h"
#include "database/facial_hair_table.h"
#include "database/table_store.h"
#include "portrait/appearance.h"
#include "portrait/artwork_paths.h"
#include "shell/error.h"

namespace likentor {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPartSuffix = ".part";

// The mean frequency of the styles there (at least 1): a new style is as common as a usual one.
int MeanStyleFrequency(Database& db) {
  Table styles(db, kFacialHairTable);
  std::int64_t sum = 0;
  int count = 0;
  for (styles.First(); !styles.Eof(); styles.Next()) {
    if (styles.GetText("location") == "none") continue;
    sum += styles.GetInt("frequency", 0);
    ++count;
  }
  return count == 0 ? 1 : std::max<int>(1, static_cast<int>(sum / count));
}

// The setup links the program folder's graphics/ to the shipped kit, which an install shares with
// every user and may not let them write. Packs go into a kit of the folder's own: the first one
// turns the link into a copy of the kit it points to (made beside it, then put in its place).
void OwnGraphicsFolder(const fs::path& program) {
  const fs::path graphics = ArtworkFolder(program);
  std::error_code ec;
  if (!fs::is_symlink(graphics, ec)) return;
  const fs::path kit = fs::canonical(graphics, ec);
  const fs::path copy = fs::path(graphics).concat(".copying");
  if (!ec) {
    fs::remove_all(copy, ec);
    fs::copy(kit, copy, fs::copy_options::recursive, ec);
  }
  if (!ec) fs::remove(graphics, ec);
  if (!ec) fs::rename(copy, graphics, ec);
  if (ec) {
    const std::string why = ec.message();
    std::error_code removing;
    fs::remove_all(copy, removing);
    std::error_code relink;
    if (!fs::exists(fs::symlink_status(graphics, relink))) {
      fs::create_directory_symlink(kit, graphics, relink);
    }
    throw Error("Cannot make a copy of the artwork kit " + kit.string() + " in " +
                graphics.string() + " for the pack: " + why + ".");
  }
}

// The first free number of a kind: after the catalogue's last row, or (uniforms) after the last
// installed file.
int NextNumber(Session& session, PackKind kind, int ethnicity) {
  if (kind != PackKind::Uniform) {
    return LargestValue(session.Data(), CatalogueTable(kind, ethnicity), KindInfo(kind).key) + 1;
  }
  int next = 1;
  std::error_code ec;
  const fs::path folder = ItemPlace(kind, session.ProgramFolder(), 0, 1).parent_path();
  for (const fs::directory_entry& e : fs::directory_iterator(folder, ec)) {
    const std::string stem = e.path().stem().string();
    if (!stem.empty() && stem.size() < 9 &&
        std::all_of(stem.begin(), stem.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      next = std::max(next, std::stoi(stem) + 1);
    }
  }
  return next;
}

void WritePart(const fs::path& target, const std::string& bytes) {
  fs::create_directories(target.parent_path());
  const fs::path part = target.string() + std::string(kPartSuffix);
  std::ofstream out(part, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw Error("Cannot write \"" + part.string() + "\".");
}

}  // namespace

void TakeBackInstall(Session& session, const PackJournal& journal) {
  Database& db = session.Data();
  const PackKindInfo& info = KindInfo(journal.kind);
  // Rows first, so that no row is left naming a file already gone.
  if (!info.key.empty()) {
    // An install takes consecutive numbers after the catalogue's last row.
    const auto [lowest, highest] = std::minmax_element(
        journal.items.begin(), journal.items.end(),
        [](const JournalItem& a, const JournalItem& b) { return a.number < b.number; });
    DeleteRows(db, CatalogueTable(journal.kind, journal.ethnicity), info.key, lowest->number,
               highest->number);
  }
  if (db.TableExists(kComponentsTable)) {
    DeleteRows(db, kComponentsTable, "pack_id", journal.packId, journal.packId);
  }
  std::string failed;
  for (const JournalItem& item : journal.items) {
    for (const fs::path& path :
         {item.place, fs::path(item.place.string() + std::string(kPartSuffix))}) {
      std::error_code ec;
      fs::remove_all(path, ec);
      if (ec && failed.empty()) failed = path.string() + ": " + ec.message();
    }
  }
  if (!failed.empty()) throw Error("Cannot take back the pack's file " + failed + ".");
}

PackInstall InstallPack(Session& session, PackKind kind, const fs::path& folder, int ethnicity) {
  const WriteCommand writing(session, kInstallCommand);
  if (kind == PackKind::Faces && (ethnicity < kCaucasian || ethnicity > kEastIndian)) {
    throw Error("Faces are installed for one ethnicity: caucasian, asian, african or east-indian.");
  }
  const PackKindInfo& info = KindInfo(kind);
  Database& db = session.Data();
  const fs::path& program = session.ProgramFolder();
  PackInstall result;
  result.kind = kind;
  result.ethnicity = kind == PackKind::Faces ? ethnicity : 0;
  std::vector<PackItem> items = ReadPack(kind, folder, result.passedOver);
  if (items.empty()) {
    throw Error("The folder \"" + folder.string() + "\" holds no picture to install: " +
                std::to_string(result.passedOver.size()) + " passed over." +
                (result.passedOver.empty() ? ""
                                           : " " + result.passedOver.front().file.string() + ": " +
                                                 result.passedOver.front().why + "."));
  }
  MakeComponentsTable(db);
  OwnGraphicsFolder(program);
  // The copy shows on the progress bar and may be stopped between two pictures, which takes back
  // what it did as a failure does.
  RunProgress& progress = session.Progress();
  const std::string status = "Installing " + std::to_string(items.size()) + " pictures...";
  struct BarHidden {
    Session& session;
    ~BarHidden() {
      session.Progress().Report(session.Window().statusText, false, 0);
      session.Progress().EndRun();
    }
  } hidden{session};

  PackJournal journal;
  journal.work = PackJournal::Work::Install;
  journal.kind = kind;
  journal.ethnicity = result.ethnicity;
  journal.packId = LargestValue(db, kComponentsTable, "pack_id") + 1;
  int next = NextNumber(session, kind, result.ethnicity);
  for (PackItem& item : items) {
    item.number = next++;
    item.place = ItemPlace(kind, program, result.ethnicity, item.number);
    std::error_code ec;
    if (fs::exists(item.place, ec)) {
      throw Error("Cannot install the pack: \"" + item.place.string() +
                  "\" is there already, and no catalogue row names it. Move it away first.");
    }
    journal.items.push_back({item.number, 0, item.place});
  }
  result.packId = journal.packId;
  WriteJournal(program, journal);

  try {
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (progress.CancelRequested()) {
        throw Error("The install was stopped: nothing of the pack was installed.");
      }
      progress.Report(status, true, static_cast<int>(i * 100 / items.size()));
      for (const auto& [name, bytes] : items[i].files) {
        WritePart(name.empty() ? items[i].place : items[i].place / name, bytes);
      }
    }

    if (!info.key.empty()) {
      const std::string catalogue = CatalogueTable(kind, result.ethnicity);
      const int frequency = info.styleFolders ? MeanStyleFrequency(db) : 0;
      Table rows(db, catalogue);
      TableTransaction transaction(db, catalogue, TableTransaction::Unfinished::RollBack);
      for (const PackItem& item : items) {
        rows.Append();
        rows.SetInt(info.key, item.number);
        FillCatalogueRow(kind, rows, program, item.place, frequency);
        PostOrThrow(rows, "A row of the pack in " + catalogue);
      }
      transaction.Commit();
    }

    {
      Table records(db, kComponentsTable);
      TableTransaction transaction(db, kComponentsTable, TableTransaction::Unfinished::RollBack);
      for (const PackItem& item : items) {
        records.Append();
        records.SetInt("pack_id", result.packId);
        records.SetText("kind", PackKindName(kind));
        records.SetInt("ethnicity", result.ethnicity);
        records.SetInt("number", item.number);
        records.SetText("location", item.place.lexically_relative(program).generic_string());
        records.SetText("source", item.source.string());
        PostOrThrow(records, "The pack's record in " + std::string(kComponentsTable));
      }
      transaction.Commit();
    }

    for (const PackItem& item : items) {
      for (const auto& [name, bytes] : item.files) {
        const fs::path target = name.empty() ? item.place : item.place / name;
        fs::rename(target.string() + std::string(kPartSuffix), target);
      }
      result.numbers.push_back(item.number);
      result.installed.push_back(item.place);
    }
    EndJournal(program);
  } catch (...) {
    // What was done is taken back now; when even that fails, the journal stays and the next start
    // takes the rest back.
    try {
      TakeBackInstall(session, journal);
      EndJournal(program);
    } catch (const Error& error) {
      session.Log().ReportError(error.what());
    }
    throw;
  }
  return result;
}

}  // namespace likentor
