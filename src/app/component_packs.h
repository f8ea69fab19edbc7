#pragma once

// Art packs: a folder of the user's pictures installed into the program's artwork kit (faces of one
// ethnicity, facial-hair styles, accessories, custom uniforms), and removed again. Each picture is
// checked first (a PNG of 8-bit RGBA samples at the kit's size: faces 83 x 131 as the kit draws
// them, the other layers 90 x 135); a wrong one is named and passed over, never copied. The good
// ones are copied below graphics/ under the next free numbers (each made whole beside its place and
// then moved there, so none is ever half-copied) and get their catalogue rows, so that the next
// draws use them. What a pack installed is kept in installed_components.db, one row per picture,
// so that uninstalling it takes exactly its rows and files away again and draws new looks for the
// players who had one of them, in every saved game's players table.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace likentor {

class Session;

inline constexpr std::string_view kComponentsTable = "installed_components.db";

enum class PackKind { Faces, FacialHair, Accessories, Uniform };

// "faces", "facial-hair", "accessories", "uniform": the command line's words.
std::string_view PackKindName(PackKind kind);
std::optional<PackKind> PackKindFromName(std::string_view name);
// Ethnicity numbers by the names the command line takes: "caucasian", "asian", "african",
// "east-indian" (also "east_indian", "east indian"); nothing for another name.
std::optional<int> EthnicityFromName(std::string_view name);

// The kit's sizes of a pack's pictures.
inline constexpr int kFaceWidth = 83;
inline constexpr int kFaceHeight = 131;
inline constexpr int kLayerWidth = 90;
inline constexpr int kLayerHeight = 135;

// A picture of the folder that was not installed, and why.
struct PassedOver {
  std::filesystem::path file;
  std::string why;
};

struct PackInstall {
  int packId = 0;
  PackKind kind = PackKind::Faces;
  int ethnicity = 0;                             // faces only
  std::vector<int> numbers;                      // face, style, accessory or uniform numbers
  std::vector<std::filesystem::path> installed;  // the files (style folders) made below graphics/
  std::vector<PassedOver> passedOver;
};

// Installs the pictures of `folder` (its files in name order; for facial hair each style is a
// folder holding brown.png and blonde.png, or one picture used for both colours). `ethnicity`
// (1..4) is needed for faces only. A new facial-hair style gets the mean frequency of the styles
// there, an accessory frequency 15 and every eligibility flag (both to be changed on their pages).
// Error when the folder cannot be read, holds no picture that passes, when a place the pack
// would take is already taken by a file the catalogue does not know, or when a table or file
// cannot be written: then nothing of the pack stays.
PackInstall InstallPack(Session& session, PackKind kind, const std::filesystem::path& folder,
                        int ethnicity = 0);

struct InstalledPack {
  int packId = 0;
  PackKind kind = PackKind::Faces;
  int ethnicity = 0;
  int items = 0;
  std::string source;  // the folder it came from
};
// The packs installed, by ascending id.
std::vector<InstalledPack> InstalledPacks(Session& session);

struct PackUninstall {
  int packId = 0;
  int items = 0;
  // Players given a new face, facial hair or accessory, or (uniforms) flagged for a new portrait
  // of a team that wore one of the pack's uniforms; over every saved game.
  int playersChanged = 0;
};

// Takes a pack's rows and files away. Faces and accessories installed after it move down into the
// numbers it leaves free (files, catalogue rows and the players who wear them), so that the face
// draw, which counts the catalogue's rows, still reaches every face. Players who had one of the
// pack's faces get a face drawn anew, those with one of its styles new facial hair, those with one
// of its accessories none until their next portrait draws one; teams with one of its uniforms go
// back to the generic uniform. All of them are flagged for a new portrait. Error for an unknown
// pack id.
PackUninstall UninstallPack(Session& session, int packId);

inline constexpr std::string_view kSelectPackFolder =
    "Select the folder of the pictures to install.";

// An "Install ..." button of the components page: asks for the pack's folder (rooted at the
// user's home folder; a cancel ends it), installs it and shows InstallMessage. Returns whether a
// pack was installed.
bool InstallComponentClick(Session& session, PackKind kind, int ethnicity = 0);
// "Uninstall Pack" of the components page: asks to confirm, uninstalls and shows
// UninstallMessage. Returns whether the pack was uninstalled.
bool UninstallPackClick(Session& session, int packId);
// "Pack 3: 17 faces (african) from /home/ann/faces".
std::string PackLine(const InstalledPack& pack);

// "Installed 17 faces (african) as pack 3." and one line per file passed over.
std::string InstallMessage(const PackInstall& result);
std::string UninstallMessage(const PackUninstall& result);

}  // namespace likentor
