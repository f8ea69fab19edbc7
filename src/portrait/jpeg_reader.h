#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "portrait/bitmap.h"

namespace likentor {

// Decodes a JPEG file (baseline or progressive, colour or grey) into an RGB bitmap. Throws Error
// "Cannot load image "<file>": <what is wrong>." for a missing file, a file that is not a JPEG and
// damaged or cut-short data (libjpeg's warnings about corrupt data count as failures, so that a
// half-grey picture is never shown as if whole).
Bitmap LoadJpeg(const std::filesystem::path& file);
// The same from bytes in memory; `name` stands for the file in error messages.
Bitmap DecodeJpeg(std::span<const std::uint8_t> bytes, const std::string& name);

}  // namespace likentor
