#pragma once

// Paths kept in the text fields of tables (custom uniforms, accessories). A text field holds a
// fixed number of characters and the table store cuts longer texts, so a path is stored whole or
// not at all: as it stands when it fits, else relative to the program folder when it lies inside
// it (a program folder with a long path), else not at all and the caller refuses it. A stored
// relative path is read against the program folder; an absolute one (a picture elsewhere, rows
// written before) is used as it stands.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "database/table_store.h"

namespace likentor {

// Characters of UTF-8 text, counted as the table store counts them when it cuts a text.
inline std::size_t TextCharacters(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

// The text to store for `file` in a field of `fieldSize` characters, or nothing when the field
// cannot hold it whole.
inline std::optional<std::string> PathToStore(const std::filesystem::path& programFolder,
                                              const std::filesystem::path& file, int fieldSize) {
  const auto fits = [fieldSize](const std::string& text) {
    return TextCharacters(text) <= static_cast<std::size_t>(fieldSize);
  };
  std::string text = file.string();
  if (fits(text)) return text;
  if (!programFolder.empty() && file.is_absolute() == programFolder.is_absolute()) {
    const std::filesystem::path inside =
        file.lexically_normal().lexically_relative(programFolder.lexically_normal());
    if (!inside.empty() && *inside.begin() != ".." && *inside.begin() != ".") {
      text = inside.generic_string();
      if (fits(text)) return text;
    }
  }
  return std::nullopt;
}

// The size of a text field of the cursor's table (0 when the table has no such field).
inline int TextFieldSize(const Cursor& cursor, std::string_view field) {
  for (const FieldDef& f : cursor.Fields()) {
    if (f.name == field) return f.size;
  }
  return 0;
}

// The file a stored path names: a relative one inside the program folder, an absolute one as it
// stands.
inline std::filesystem::path StoredPathFile(const std::filesystem::path& programFolder,
                                            std::string_view stored) {
  const std::filesystem::path path{std::string(stored)};
  return path.is_relative() ? programFolder / path : path;
}

}  // namespace likentor
