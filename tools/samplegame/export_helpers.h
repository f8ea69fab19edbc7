#pragma once

// What the export writers share.

#include <cstddef>
#include <filesystem>
#include <string>

#include "samplegame/export_file.h"
#include "samplegame/sample_world.h"

namespace likentor::samplegame {

// Plausible filler that needs no random state: the same inputs give the same number lo..hi.
int Filler(long long a, long long b, int field, int lo, int hi);
// "YYYY-MM-DD".
std::string Date(int year, int month, int day);
// Ends an export (with the awkward blank line when asked), closes it and returns its size.
std::size_t FinishExport(ExportFile& file, const SampleGameOptions& options);

std::size_t WriteBatting(const World& world, const SampleGameOptions& options,
                         const std::filesystem::path& path);
std::size_t WritePitching(const World& world, const SampleGameOptions& options,
                          const std::filesystem::path& path);

}  // namespace likentor::samplegame
