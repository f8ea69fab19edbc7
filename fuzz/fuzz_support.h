#pragma once

// What the harnesses share: the fuzzer's bytes as text, a scratch folder per process and checks of
// promises that the sanitizers cannot see.
//
// The scratch folder lies below the system's temporary folder (TMPDIR: scripts/fuzz.sh gives each
// harness one of its own in the build tree) and is reused by every input; it is removed at exit.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <source_location>
#include <string_view>

#include "support/temp_folder.h"

namespace likentor::fuzz {

inline std::string_view BytesOf(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

inline const test::TempFolder& Scratch() {
  static const test::TempFolder folder;
  return folder;
}

// A broken promise of the code under test stops the fuzzer as a crash would, and the input is kept
// as an artefact.
inline void Check(bool holds, const char* what,
                  std::source_location where = std::source_location::current()) {
  if (holds) return;
  std::fprintf(stderr, "==fuzz== check failed at %s:%u: %s\n", where.file_name(),
               static_cast<unsigned>(where.line()), what);
  std::abort();
}

}  // namespace likentor::fuzz
