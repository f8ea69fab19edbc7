#include <string_view>

#include "samplegame/export_file.h"
#include "samplegame/export_helpers.h"
#include "samplegame/exports.h"

namespace likentor::samplegame {

namespace {

using Names = std::string_view;

constexpr Names kNationFields[] = {
    "nation_id",    "name",       "short_name",       "abbreviation", "baseball_quality",
    "continent_id", "population", "main_language_id", "flag_file"};

}  // namespace

std::size_t WriteNationsTxt(const World& world, bool modified, const std::filesystem::path& file) {
  ExportFile f(file.string(), ',', false);
  f.Header(kNationFields);
  for (const auto& n : world.nations) {
    f.Int(n.id);
    f.Text(n.name);
    f.Text(n.shortName);
    f.Text(n.abbreviation);
    f.Int(Filler(n.id, 0, 4, 0, 100));
    // The changed list of a modded game: a code with a leading zero, and one with blanks around.
    if (modified && n.abbreviation == "GRL") {
      f.Raw("01");
    } else if (modified && n.abbreviation == "CAN") {
      f.Raw(" 4 ");
    } else {
      f.Int(n.region);
    }
    f.Int(Filler(n.id, 0, 6, 1, 300) * 100000);
    f.Int(1 + n.id % 12);
    f.Text(n.abbreviation + ".png");
    f.EndRecord();
  }
  if (modified) {
    // One nation more than the stock list, in no region.
    const int id = world.nations.back().id + 1;
    f.Int(id);
    f.Text("Antarctica");
    f.Text("Antarctica");
    f.Text("ATA");
    f.Int(0);
    f.Int(0);
    f.Int(5000);
    f.Int(1);
    f.Text("ATA.png");
    f.EndRecord();
  }
  const std::size_t bytes = f.BytesWritten();
  f.Close();
  return bytes;
}

}  // namespace likentor::samplegame
