#include "app/component_packs.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <numeric>
#include <set>
#include <system_error>

#include "app/session.h"
#include "app/universal_tables.h"
#include "app/write_command.h"
#include "database/accessories_table.h"
#include "database/connection.h"
#include "database/face_tables.h"
#include "database/facial_hair_table.h"
#include "database/stored_path.h"
#include "database/table_store.h"
#include "portrait/appearance.h"
#include "portrait/artwork_paths.h"
#include "portrait/png_image.h"
#include "shell/error.h"
#include "shell/error_log.h"
#include "shell/platform.h"
#include "shell/prompts.h"

namespace likentor {

namespace fs = std::filesystem;

namespace {

constexpr int kSourceSize = 255;
constexpr int kAccessoryFrequency = 15;

// Ethnicity numbers as table names spell them.
std::string_view EthnicityTableWord(int ethnicity) {
  switch (ethnicity) {
    case kCaucasian:
      return "caucasian";
    case kAsian:
      return "asian";
    case kAfrican:
      return "african";
    default:
      return "east_indian";
  }
}

std::string FaceCatalogue(int ethnicity) {
  return FaceTableName(EthnicityTableWord(ethnicity));
}

void CreateComponentsTable(Database& db) {
  db.CreateTable(kComponentsTable, {{"item_id", FieldType::AutoIncrement, 0, true},
                                    {"pack_id", FieldType::Integer, 0, true},
                                    {"kind", FieldType::Text, 20, true},
                                    {"ethnicity", FieldType::Integer, 0, false},
                                    {"number", FieldType::Integer, 0, true},
                                    {"location", FieldType::Text, kSourceSize, true},
                                    {"source", FieldType::Text, kSourceSize, false}});
}

std::string ReadWholeFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw Error("Cannot read \"" + file.string() + "\".");
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw Error("Cannot read \"" + file.string() + "\".");
  return bytes;
}

// Why the bytes are no picture of the kit's size, or nothing when they are one.
std::optional<std::string> PictureProblem(const std::string& bytes, const fs::path& file, int width,
                                          int height) {
  PngImage image;
  try {
    image = PngImage::Decode(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
        file.string());
  } catch (const Error&) {
    return std::string("not a PNG picture that can be read");
  }
  if (image.ColorType() != kPngRgbAlpha) {
    return "not RGBA (PNG colour type " + std::to_string(image.ColorType()) + ")";
  }
  if (image.BitDepth() != 8) {
    return std::to_string(image.BitDepth()) + " bits per sample, not 8";
  }
  if (image.Width() != width || image.Height() != height) {
    return std::to_string(image.Width()) + " x " + std::to_string(image.Height()) +
           " pixels, not " + std::to_string(width) + " x " + std::to_string(height);
  }
  return std::nullopt;
}

// One picture (or style) of a pack that passed, with the files it makes.
struct PackItem {
  fs::path source;
  // The files to write below the item's place: name within the place ("" for the place itself)
  // and bytes.
  std::vector<std::pair<std::string, std::string>> files;
  int number = 0;
  fs::path place;  // the file, or the style's folder
};

std::vector<fs::path> FolderEntries(const fs::path& folder) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    throw Error("The pack folder \"" + folder.string() + "\" is not a folder.");
  }
  std::vector<fs::path> entries;
  fs::directory_iterator it(folder, ec);
  if (ec)
    throw Error("Cannot read the pack folder \"" + folder.string() + "\": " + ec.message() + ".");
  for (const fs::directory_entry& entry : it) entries.push_back(entry.path());
  std::sort(entries.begin(), entries.end());
  return entries;
}

// The checked pictures of a folder; the others named in `passedOver`.
std::vector<PackItem> ReadPack(PackKind kind, const fs::path& folder,
                               std::vector<PassedOver>& passedOver) {
  const int width = kind == PackKind::Faces ? kFaceWidth : kLayerWidth;
  const int height = kind == PackKind::Faces ? kFaceHeight : kLayerHeight;
  std::vector<PackItem> items;
  const auto check = [&](const fs::path& file) -> std::optional<std::string> {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) {
      passedOver.push_back({file, "not a file"});
      return std::nullopt;
    }
    std::string bytes;
    try {
      bytes = ReadWholeFile(file);
    } catch (const Error&) {
      passedOver.push_back({file, "cannot be read"});
      return std::nullopt;
    }
    if (auto problem = PictureProblem(bytes, file, width, height)) {
      passedOver.push_back({file, *problem});
      return std::nullopt;
    }
    return bytes;
  };
  for (const fs::path& entry : FolderEntries(folder)) {
    std::error_code ec;
    if (kind == PackKind::FacialHair && fs::is_directory(entry, ec)) {
      // A style of its own: both colours.
      const std::size_t before = passedOver.size();
      auto brown = check(entry / "brown.png");
      auto blonde = check(entry / "blonde.png");
      if (brown && blonde) {
        items.push_back({entry, {{"brown.png", *brown}, {"blonde.png", *blonde}}, 0, {}});
      } else if (passedOver.size() == before) {
        passedOver.push_back({entry, "a style needs both brown.png and blonde.png"});
      }
      continue;
    }
    auto bytes = check(entry);
    if (!bytes) continue;
    if (kind == PackKind::FacialHair) {
      items.push_back({entry, {{"brown.png", *bytes}, {"blonde.png", *bytes}}, 0, {}});
    } else {
      items.push_back({entry, {{"", std::move(*bytes)}}, 0, {}});
    }
  }
  return items;
}

int MaxKey(Database& db, std::string_view table, std::string_view key) {
  Connection& c = db.ConnectionFor(table);
  StatementUse use(
      c.Prepare("SELECT coalesce(max(" + QuoteSqlName(key) + "), 0) FROM " + c.QuotedTable()));
  use->Step();
  const Value v = use->Column(0);
  const auto* n = std::get_if<std::int64_t>(&v);
  return n != nullptr ? static_cast<int>(*n) : 0;
}

fs::path InstalledUniformsFolder(const fs::path& programFolder) {
  return programFolder / "graphics" / "uniforms" / "custom" / "installed";
}

fs::path AccessoryPlace(const fs::path& programFolder, int number) {
  return programFolder / "graphics" / "accessories" / (AddZeros(number, 5) + ".png");
}

fs::path FacialHairPlace(const fs::path& programFolder, int number) {
  return programFolder / "graphics" / "facial hair" / AddZeros(number, 5);
}

// The catalogue table of a kind, and its key.
std::pair<std::string, std::string> Catalogue(PackKind kind, int ethnicity) {
  switch (kind) {
    case PackKind::Faces:
      return {FaceCatalogue(ethnicity), "face_id"};
    case PackKind::FacialHair:
      return {std::string(kFacialHairTable), "facial_hair_id"};
    case PackKind::Accessories:
      return {std::string(kAccessoriesTable), "accessory_id"};
    case PackKind::Uniform:
      break;
  }
  return {"", ""};
}

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

void RemovePath(const fs::path& path) {
  std::error_code ec;
  fs::remove_all(path, ec);
}

// The setup links the program folder's graphics/ to the shipped kit, which an install shares with
// every user and may not let them write. Packs go into a kit of the folder's own: the first one
// turns the link into a copy of the kit it points to (made beside it, then put in its place).
void OwnGraphicsFolder(const fs::path& program) {
  const fs::path graphics = program / "graphics";
  std::error_code ec;
  if (!fs::is_symlink(graphics, ec)) return;
  const fs::path kit = fs::canonical(graphics, ec);
  const fs::path copy = program / "graphics.copying";
  if (!ec) {
    fs::remove_all(copy, ec);
    fs::copy(kit, copy, fs::copy_options::recursive, ec);
  }
  if (!ec) fs::remove(graphics, ec);
  if (!ec) fs::rename(copy, graphics, ec);
  if (ec) {
    const std::string why = ec.message();
    RemovePath(copy);
    std::error_code relink;
    if (!fs::exists(fs::symlink_status(graphics, relink))) {
      fs::create_directory_symlink(kit, graphics, relink);
    }
    throw Error("Cannot make a copy of the artwork kit " + kit.string() + " in " +
                graphics.string() + " for the pack: " + why + ".");
  }
}

void Delete(Connection& c, std::string_view key, int value) {
  StatementUse use(
      c.Prepare("DELETE FROM " + c.QuotedTable() + " WHERE " + QuoteSqlName(key) + " = ?"));
  use->Bind(1, Value{std::int64_t{value}});
  use->Step();
}

void Renumber(Connection& c, std::string_view key, int from, int to) {
  StatementUse use(c.Prepare("UPDATE " + c.QuotedTable() + " SET " + QuoteSqlName(key) +
                             " = ? WHERE " + QuoteSqlName(key) + " = ?"));
  use->Bind(1, Value{std::int64_t{to}});
  use->Bind(2, Value{std::int64_t{from}});
  use->Step();
}

// Every saved game's table of one kind in the data folder ("_players.db", "_teams.db").
std::vector<std::string> GameTables(Database& db, std::string_view suffix) {
  std::vector<std::string> tables;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(db.Folder(), ec)) {
    const std::string name = entry.path().filename().string();
    if (name.size() > suffix.size() && name.ends_with(suffix)) tables.push_back(name);
  }
  std::sort(tables.begin(), tables.end());
  return tables;
}

}  // namespace

std::string_view PackKindName(PackKind kind) {
  switch (kind) {
    case PackKind::Faces:
      return "faces";
    case PackKind::FacialHair:
      return "facial-hair";
    case PackKind::Accessories:
      return "accessories";
    case PackKind::Uniform:
      return "uniform";
  }
  return "";
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

PackInstall InstallPack(Session& session, PackKind kind, const fs::path& folder, int ethnicity) {
  const WriteCommand writing(session, kInstallCommand);
  if (kind == PackKind::Faces && (ethnicity < kCaucasian || ethnicity > kEastIndian)) {
    throw Error("Faces are installed for one ethnicity: caucasian, asian, african or east-indian.");
  }
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
  if (!db.TableExists(kComponentsTable)) CreateComponentsTable(db);
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

  // The next free numbers: after the catalogue's last row, or (uniforms) after the last file.
  const auto [catalogue, key] = Catalogue(kind, ethnicity);
  int next = 1;
  if (kind == PackKind::Uniform) {
    std::error_code ec;
    for (const fs::directory_entry& e :
         fs::directory_iterator(InstalledUniformsFolder(program), ec)) {
      const std::string stem = e.path().stem().string();
      if (!stem.empty() &&
          std::all_of(stem.begin(), stem.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
          stem.size() < 9) {
        next = std::max(next, std::stoi(stem) + 1);
      }
    }
  } else {
    next = MaxKey(db, catalogue, key) + 1;
  }
  for (PackItem& item : items) {
    item.number = next++;
    switch (kind) {
      case PackKind::Faces:
        item.place = FaceFile(program, ethnicity, item.number);
        break;
      case PackKind::FacialHair:
        item.place = FacialHairPlace(program, item.number);
        break;
      case PackKind::Accessories:
        item.place = AccessoryPlace(program, item.number);
        break;
      case PackKind::Uniform:
        item.place = InstalledUniformsFolder(program) / (AddZeros(item.number, 5) + ".png");
        break;
    }
    std::error_code ec;
    if (fs::exists(item.place, ec)) {
      throw Error("Cannot install the pack: \"" + item.place.string() +
                  "\" is there already, and no catalogue row names it. Move it away first.");
    }
  }

  // Files first (each whole beside its place), then the rows, then the files into their places;
  // anything that fails takes back what was done.
  std::vector<fs::path> written;
  std::vector<int> catalogueRows;
  std::vector<int> recordRows;
  const std::string partSuffix = ".part";
  try {
    for (std::size_t i = 0; i < items.size(); ++i) {
      const PackItem& item = items[i];
      if (progress.CancelRequested()) {
        throw Error("The install was stopped: nothing of the pack was installed.");
      }
      progress.Report(status, true, static_cast<int>(i * 100 / items.size()));
      for (const auto& [name, bytes] : item.files) {
        const fs::path target = name.empty() ? item.place : item.place / name;
        fs::create_directories(target.parent_path());
        const fs::path part = target.string() + partSuffix;
        written.push_back(part);
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) throw Error("Cannot write \"" + part.string() + "\".");
      }
      if (kind == PackKind::FacialHair) written.push_back(item.place);
    }

    const int frequency = kind == PackKind::FacialHair ? MeanStyleFrequency(db) : 0;
    if (kind != PackKind::Uniform) {
      Table rows(db, catalogue);
      const int locationSize =
          TextFieldSize(rows, kind == PackKind::Faces ? "file_location" : "location");
      for (const PackItem& item : items) {
        rows.Append();
        rows.SetInt(key, item.number);
        switch (kind) {
          case PackKind::Faces:
            rows.SetText("file_location", PathToStore(program, item.place, locationSize)
                                              .value_or(item.place.filename().string()));
            break;
          case PackKind::FacialHair:
            rows.SetText("location", item.place.filename().string());
            rows.SetInt("frequency", frequency);
            break;
          case PackKind::Accessories: {
            const auto stored = PathToStore(program, item.place, locationSize);
            if (!stored)
              throw Error("The path \"" + item.place.string() + "\" is too long to store.");
            rows.SetText("location", *stored);
            for (const char* flag :
                 {"pitcher_eligible", "batter_eligible", "lefty_eligible", "righty_eligible"}) {
              rows.SetBool(flag, true);
            }
            rows.SetInt("frequency", kAccessoryFrequency);
            break;
          }
          case PackKind::Uniform:
            break;
        }
        if (!rows.Post()) {
          const std::string why = rows.LastError();
          rows.Cancel();
          throw Error("Cannot add the pack's rows to " + catalogue + ": " + why + ".");
        }
        catalogueRows.push_back(item.number);
      }
    }

    Table records(db, kComponentsTable);
    result.packId = MaxKey(db, kComponentsTable, "pack_id") + 1;
    for (const PackItem& item : items) {
      records.Append();
      records.SetInt("pack_id", result.packId);
      records.SetText("kind", PackKindName(kind));
      records.SetInt("ethnicity", result.ethnicity);
      records.SetInt("number", item.number);
      records.SetText("location", item.place.lexically_relative(program).generic_string());
      records.SetText("source", item.source.string());
      if (!records.Post()) {
        const std::string why = records.LastError();
        records.Cancel();
        throw Error("Cannot record the pack in " + std::string(kComponentsTable) + ": " + why +
                    ".");
      }
      recordRows.push_back(records.GetInt("item_id"));
    }

    for (const PackItem& item : items) {
      for (const auto& [name, bytes] : item.files) {
        const fs::path target = name.empty() ? item.place : item.place / name;
        fs::rename(target.string() + partSuffix, target);
        written.push_back(target);
      }
      result.numbers.push_back(item.number);
      result.installed.push_back(item.place);
    }
  } catch (...) {
    for (const fs::path& path : written) RemovePath(path);
    try {
      if (!catalogueRows.empty()) {
        Connection& c = db.ConnectionFor(catalogue);
        for (int number : catalogueRows) Delete(c, key, number);
      }
      Connection& r = db.ConnectionFor(kComponentsTable);
      for (int row : recordRows) Delete(r, "item_id", row);
    } catch (const Error&) {
    }
    throw;
  }
  return result;
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

PackUninstall UninstallPack(Session& session, int packId) {
  const WriteCommand writing(session, kUninstallCommand);
  Database& db = session.Data();
  const fs::path& program = session.ProgramFolder();
  PackUninstall result;
  result.packId = packId;
  struct Item {
    int row = 0;
    int number = 0;
    fs::path place;
  };
  std::vector<Item> items;
  PackKind kind = PackKind::Faces;
  int ethnicity = 0;
  if (db.TableExists(kComponentsTable)) {
    Table records(db, kComponentsTable);
    for (records.First(); !records.Eof(); records.Next()) {
      if (records.GetInt("pack_id") != packId) continue;
      kind = PackKindFromName(records.GetText("kind")).value_or(PackKind::Faces);
      ethnicity = records.GetInt("ethnicity", 0);
      items.push_back({records.GetInt("item_id"), records.GetInt("number"),
                       StoredPathFile(program, records.GetText("location"))});
    }
  }
  if (items.empty()) throw Error("There is no installed pack " + std::to_string(packId) + ".");
  result.items = static_cast<int>(items.size());
  std::set<int> removed;
  for (const Item& item : items) removed.insert(item.number);
  // Numbers above a removed one move down by the removed numbers below them.
  const auto moved = [&removed](int number) {
    return number - static_cast<int>(std::distance(removed.begin(), removed.lower_bound(number)));
  };
  const int lowest = *removed.begin();

  // The catalogue rows and the files.
  const auto [catalogue, key] = Catalogue(kind, ethnicity);
  std::map<int, int> renumbered;  // old -> new, for faces and accessories above the pack
  if (kind != PackKind::Uniform) {
    Connection& c = db.ConnectionFor(catalogue);
    TableTransaction transaction(db, catalogue);
    for (int number : removed) Delete(c, key, number);
    if (kind == PackKind::Faces || kind == PackKind::Accessories) {
      std::vector<int> above;
      Table rows(db, catalogue);
      for (rows.First(); !rows.Eof(); rows.Next()) {
        if (rows.GetInt(key) > lowest) above.push_back(rows.GetInt(key));
      }
      rows.Close();
      for (int number : above) {  // ascending: each new number is free when it is taken
        renumbered[number] = moved(number);
        Renumber(c, key, number, moved(number));
      }
    }
    transaction.Commit();
  }
  for (const Item& item : items) RemovePath(item.place);
  if (kind == PackKind::Faces) {
    for (const auto& [from, to] : renumbered) {
      std::error_code ec;
      const fs::path file = FaceFile(program, ethnicity, from);
      if (fs::exists(file, ec)) fs::rename(file, FaceFile(program, ethnicity, to), ec);
    }
  }
  // Later packs of the same catalogue: their numbers moved (accessory files keep their names,
  // the rows name them).
  {
    Connection& r = db.ConnectionFor(kComponentsTable);
    TableTransaction transaction(db, kComponentsTable);
    for (const Item& item : items) Delete(r, "item_id", item.row);
    Table records(db, kComponentsTable);
    for (records.First(); !records.Eof(); records.Next()) {
      if (records.GetText("kind") != PackKindName(kind) ||
          records.GetInt("ethnicity", 0) != ethnicity) {
        continue;
      }
      const auto found = renumbered.find(records.GetInt("number"));
      if (found == renumbered.end()) continue;
      records.Edit();
      records.SetInt("number", found->second);
      if (kind == PackKind::Faces) {
        records.SetText("location", FaceFile(program, ethnicity, found->second)
                                        .lexically_relative(program)
                                        .generic_string());
      }
      if (!records.Post()) records.Cancel();
    }
    transaction.Commit();
  }

  // The players of every saved game.
  AppearanceDraws draws(
      session.Random(),
      {session.Universal().NationsTable, session.Universal().AfricanFacesTable,
       session.Universal().AsianFacesTable, session.Universal().CaucasianFacesTable,
       session.Universal().EastIndianFacesTable, session.Universal().FacialHairTable});
  std::map<std::string, std::set<int>> uniformTeams;  // players table -> teams to flag
  if (kind == PackKind::Uniform) {
    std::set<fs::path> files;
    for (const Item& item : items) files.insert(item.place.lexically_normal());
    for (const std::string& table : GameTables(db, "_teams.db")) {
      Table teams(db, table);
      TableTransaction transaction(db, table);
      for (teams.First(); !teams.Eof(); teams.Next()) {
        const std::string stored = teams.GetText("custom_uniform_file");
        if (stored.empty() || stored == "none") continue;
        if (!files.contains(StoredPathFile(program, stored).lexically_normal())) continue;
        teams.Edit();
        teams.SetText("custom_uniform_file", "none");
        if (!teams.Post()) {
          teams.Cancel();
          session.Log().ReportError("Error posting record in " + table +
                                    " while uninstalling pack " + std::to_string(packId) + ".");
          continue;
        }
        const std::string game =
            table.substr(0, table.size() - std::string_view("_teams.db").size());
        uniformTeams[game + "_players.db"].insert(teams.GetInt("team_id"));
      }
    }
  }
  for (const std::string& table : GameTables(db, "_players.db")) {
    Table players(db, table);
    TableTransaction transaction(db, table);
    const std::set<int>& teamsToFlag = uniformTeams[table];
    for (players.First(); !players.Eof(); players.Next()) {
      bool changed = false;
      bool redrawn = false;
      switch (kind) {
        case PackKind::Faces: {
          if (players.GetInt("ethnicity", 0) != ethnicity) break;
          const int face = players.GetInt("face", 0);
          if (removed.contains(face)) {
            players.Edit();
            players.SetInt("face", draws.GetFace(ethnicity));
            redrawn = changed = true;
          } else if (const auto found = renumbered.find(face); found != renumbered.end()) {
            players.Edit();
            players.SetInt("face", found->second);
            changed = true;
          }
          break;
        }
        case PackKind::FacialHair:
          if (removed.contains(players.GetInt("facial_hair_style", 0))) {
            players.Edit();
            players.SetInt("facial_hair_style", draws.GetFacialHair());
            redrawn = changed = true;
          }
          break;
        case PackKind::Accessories: {
          const int accessory = players.GetInt("accessory", 0);
          if (removed.contains(accessory)) {
            players.Edit();
            players.SetInt("accessory", 0);
            redrawn = changed = true;
          } else if (const auto found = renumbered.find(accessory); found != renumbered.end()) {
            players.Edit();
            players.SetInt("accessory", found->second);
            changed = true;
          }
          break;
        }
        case PackKind::Uniform:
          if (teamsToFlag.contains(players.GetInt("team_id", 0))) {
            players.Edit();
            redrawn = changed = true;
          }
          break;
      }
      if (!changed) continue;
      if (redrawn) players.SetBool("update_required", true);
      if (!players.Post()) {
        players.Cancel();
        session.Log().ReportError("Error posting record in " + table + " while uninstalling pack " +
                                  std::to_string(packId) + ".");
        continue;
      }
      if (redrawn) ++result.playersChanged;
    }
    transaction.Commit();
  }
  return result;
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
  std::string what;
  switch (result.kind) {
    case PackKind::Faces:
      what = (n == 1 ? "1 face" : std::to_string(n) + " faces") + " (" +
             EthnString(result.ethnicity) + ")";
      break;
    case PackKind::FacialHair:
      what = n == 1 ? "1 facial-hair style" : std::to_string(n) + " facial-hair styles";
      break;
    case PackKind::Accessories:
      what = n == 1 ? "1 accessory" : std::to_string(n) + " accessories";
      break;
    case PackKind::Uniform:
      what = n == 1 ? "1 custom uniform" : std::to_string(n) + " custom uniforms";
      break;
  }
  std::string text = "Installed " + what + " as pack " + std::to_string(result.packId) + ".";
  if (!result.passedOver.empty()) {
    text += " Passed over " + std::to_string(result.passedOver.size()) + ":";
    for (const PassedOver& p : result.passedOver)
      text += "\n" + p.file.string() + ": " + p.why + ".";
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
