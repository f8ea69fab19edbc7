#pragma once

// A contact sheet: pictures side by side in rows, each with a caption under it, and a title on
// top, written as one PNG. How a whole team's portraits are judged at a glance.

#include <filesystem>
#include <string>
#include <vector>

namespace likentor {

struct SheetEntry {
  std::filesystem::path picture;  // a PNG; one that cannot be read shows as a grey box
  std::string caption;            // UTF-8, shortened with an ellipsis to fit its cell
};

inline constexpr int kSheetCellWidth = 100;
inline constexpr int kSheetCellHeight = 156;  // 135 of picture, the caption under it
inline constexpr int kSheetTitleHeight = 36;
inline constexpr int kSheetMargin = 8;

// The caption of a player's picture: "J. Smith", the first name's first character (whole, in
// UTF-8) and the last name.
std::string SheetCaption(const std::string& firstName, const std::string& lastName);

// Throws Error when the sheet cannot be written or has nothing to show.
void WriteContactSheet(const std::filesystem::path& file, const std::string& title,
                       const std::vector<SheetEntry>& entries, int columns);

}  // namespace likentor
