#include "app/pack_kinds.h"

#include <algorithm>
#include <system_error>

#include "database/accessories_table.h"
#include "database/face_tables.h"
#include "database/facial_hair_table.h"
#include "database/stored_path.h"
#include "database/table_store.h"
#include "import/players_fields.h"
#include "portrait/appearance.h"
#include "portrait/artwork_paths.h"
#include "shell/error.h"

namespace likentor {

namespace fs = std::filesystem;

namespace {

constexpr int kSourceSize = 255;
constexpr int kAccessoryFrequency = 15;

// Kept in the order of the enumeration.
constexpr PackKindInfo kKinds[] = {
    {PackKind::Faces, "faces", "face", "faces", kFaceWidth, kFaceHeight, false, "face_id", true,
     kFaceField, true},
    {PackKind::FacialHair, "facial-hair", "facial-hair style", "facial-hair styles", kLayerWidth,
     kLayerHeight, true, "facial_hair_id", false, kFacialHairStyleField, true},
    {PackKind::Accessories, "accessories", "accessory", "accessories", kLayerWidth, kLayerHeight,
     false, "accessory_id", true, kAccessoryField, false},
    {PackKind::Uniform, "uniform", "custom uniform", "custom uniforms", kLayerWidth, kLayerHeight,
     false, "", false, "", false},
};

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

}  // namespace

const PackKindInfo& KindInfo(PackKind kind) {
  return kKinds[static_cast<int>(kind)];
}

std::string CatalogueTable(PackKind kind, int ethnicity) {
  switch (kind) {
    case PackKind::Faces:
      return FaceTableName(EthnicityTableWord(ethnicity));
    case PackKind::FacialHair:
      return std::string(kFacialHairTable);
    case PackKind::Accessories:
      return std::string(kAccessoriesTable);
    case PackKind::Uniform:
      break;
  }
  return "";
}

fs::path ItemPlace(PackKind kind, const fs::path& program, int ethnicity, int number) {
  switch (kind) {
    case PackKind::Faces:
      return FaceFile(program, ethnicity, number);
    case PackKind::FacialHair:
      return FacialHairStyleFolder(program, AddZeros(number, 5));
    case PackKind::Accessories:
      return AccessoryFile(program, number);
    case PackKind::Uniform:
      break;
  }
  return InstalledUniformFile(program, number);
}

void FillCatalogueRow(PackKind kind, Cursor& row, const fs::path& program, const fs::path& place,
                      int frequency) {
  switch (kind) {
    case PackKind::Faces:
      row.SetText("file_location", PathToStore(program, place, TextFieldSize(row, "file_location"))
                                       .value_or(place.filename().string()));
      return;
    case PackKind::FacialHair:
      row.SetText("location", place.filename().string());
      row.SetInt("frequency", frequency);
      return;
    case PackKind::Accessories: {
      const auto stored = PathToStore(program, place, TextFieldSize(row, "location"));
      if (!stored) throw Error("The path \"" + place.string() + "\" is too long to store.");
      row.SetText("location", *stored);
      for (const char* flag :
           {"pitcher_eligible", "batter_eligible", "lefty_eligible", "righty_eligible"}) {
        row.SetBool(flag, true);
      }
      row.SetInt("frequency", kAccessoryFrequency);
      return;
    }
    case PackKind::Uniform:
      return;
  }
}

void MakeComponentsTable(Database& db) {
  if (db.TableExists(kComponentsTable)) return;
  db.CreateTable(kComponentsTable, {{"item_id", FieldType::AutoIncrement, 0, true},
                                    {"pack_id", FieldType::Integer, 0, true},
                                    {"kind", FieldType::Text, 20, true},
                                    {"ethnicity", FieldType::Integer, 0, false},
                                    {"number", FieldType::Integer, 0, true},
                                    {"location", FieldType::Text, kSourceSize, true},
                                    {"source", FieldType::Text, kSourceSize, false}});
}

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

}  // namespace likentor
