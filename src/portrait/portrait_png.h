#pragma once

// The PNG encoding of finished portraits. Portraits are written by the ten thousand, so they get
// an encoder of their own: every row filtered with Up, the image data compressed by
// AppendImageDeflate (image_deflate.h; on composed portraits about twice as fast as libdeflate at
// level 1, which was 2.3 times as fast as zlib at its fastest level, with files of the same size)
// straight into one IDAT chunk, and the chunks written around it. The files are ordinary 8-bit
// PNGs of colour type 2 (with a tRNS chunk for an image's transparent colour) or 6, marked as
// ours by a tEXt chunk "Software" = "Likentor" before the image data, so that a later import can
// tell our portraits from pictures of the user's own.

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "portrait/image_file.h"
#include "portrait/png_image.h"

namespace likentor {

// The text chunk that marks a portrait as written by this program.
inline constexpr std::string_view kPortraitMarkKeyword = "Software";
inline constexpr std::string_view kPortraitMarkValue = "Likentor";

// Safe on several threads at once (each thread keeps its own compressor).
std::vector<std::uint8_t> EncodePortraitPng(const PngImage& image);
// Encodes and replaces the file (WriteImageFile: with `leaveSame`, a file with the same bytes is
// left as it was). Throws Error "Cannot write image "<file>": ..." on failure.
WrittenImage SavePortraitPng(const PngImage& image, const std::filesystem::path& file,
                             bool leaveSame = true);

// True when the file is a PNG that carries our mark among the chunks before its image data. Reads
// only those chunks (a few dozen bytes of a portrait). False for anything else: a picture without
// the mark, a file that is not a PNG, cut short or damaged before the mark, or that cannot be read.
bool IsLikentorPortrait(const std::filesystem::path& file);

}  // namespace likentor
