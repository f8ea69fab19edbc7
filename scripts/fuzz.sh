#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ with clang-16 (coverage, AddressSanitizer and
# UndefinedBehaviorSanitizer; warnings as errors) in build/fuzz, seeds each harness's corpus from
# a small sample game, the shipped data files and the artwork kit, and runs each harness for
# SECONDS seconds (default 30). Fails on any crash, hang, leak, memory blow-up or sanitizer report;
# the input that caused it is kept in build/fuzz/artifacts and the harness's log is shown. Prints
# one line per harness with the number of inputs it ran.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
[[ "$seconds" =~ ^[1-9][0-9]*$ ]] || { echo "usage: fuzz.sh [SECONDS]" >&2; exit 2; }
build="$here/build/fuzz"
bin="$build/bin"
mkdir -p "$build"

# The packages (clang-16, libFuzzer) come with setup.sh's list; the fuzzing build's default target
# is the harnesses, the seed tools and the artwork kit.
echo "== Building the fuzz harnesses in $build"
if ! "$here/scripts/setup.sh" "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang-16 -DCMAKE_CXX_COMPILER=clang++-16 -DLIKENTOR_FUZZ=ON \
  -DLIKENTOR_TESTS=OFF -DLIKENTOR_BENCH=OFF -DLIKENTOR_WERROR=ON </dev/null >"$build/build.log" 2>&1; then
  tail -n 60 "$build/build.log"
  echo "fuzz.sh: the build failed (whole log: $build/build.log)" >&2
  exit 1
fi

# Inputs are written to files, many times a second: a scratch folder in memory when there is one.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  scratch=$(mktemp -d /dev/shm/likentor-fuzz.XXXXXX)
else
  scratch=$(mktemp -d)
fi
trap 'rm -rf "$scratch"' EXIT

# ---- Seeds --------------------------------------------------------------------------------------
seeds="$build/seeds"
corpus="$build/corpus"
artifacts="$build/artifacts"
logs="$build/logs"
rm -rf "$seeds" "$logs"
mkdir -p "$seeds" "$corpus" "$artifacts" "$logs"
harnesses=(records nations facial_hair png jpeg bmp game_load)
for h in "${harnesses[@]}"; do mkdir -p "$seeds/$h" "$corpus/$h"; done

plain="$build/seed-games/plain"
awkward="$build/seed-games/awkward"
rm -rf "$build/seed-games"
"$bin/likentor-samplegame" --quiet --teams 4 --players 60 --years 2 "$plain"
"$bin/likentor-samplegame" --quiet --teams 4 --players 60 --years 2 --name awkward --awkward \
  --quote-text --modified-nations "$awkward"
data="$here/data"
graphics="$build/program/graphics"

# The exports of a saved game cut to their first LINES lines, joined as the load harness reads
# them: leagues, teams, players, career batting, career pitching, each ended by a NUL byte.
game_input() {
  local exports=$1 lines=$2
  for f in leagues teams players players_career_batting_stats players_career_pitching_stats; do
    head -n "$lines" "$exports/$f.csv"
    printf '\0'
  done
}
for game in "$plain/data/saved_games/sample.lg" "$awkward/data/saved_games/awkward.lg"; do
  name=$(basename "$game" .lg)
  for f in "$game"/import_export/*.csv; do
    head -c 3000 "$f" >"$seeds/records/${name}_$(basename "$f")"
  done
  game_input "$game/import_export" 6 >"$seeds/game_load/${name}_6_lines"
  game_input "$game/import_export" 14 >"$seeds/game_load/${name}_14_lines"
  cp "$game"/news/html/images/*.png "$seeds/png/"
  for p in "$game"/news/html/images/*.jpg; do cp "$p" "$seeds/jpeg/${name}_$(basename "$p")"; done
done
for game in "$plain" "$awkward"; do
  name=$(basename "$game")
  head -n 12 "$game/data/database/nations.txt" >"$seeds/records/${name}_nations.txt"
  # The nations harness: a first byte 1 gives the rest to the game's nations.txt, 0 to nations.csv.
  { printf '\1'; cat "$game/data/database/nations.txt"; } >"$seeds/nations/${name}_nations_txt"
  { printf '\1'; head -n 20 "$game/data/database/nations.txt"; } \
    >"$seeds/nations/${name}_nations_txt_20_lines"
done
head -n 12 "$data/nations.csv" >"$seeds/records/nations.csv"
{ printf '\0'; cat "$data/nations.csv"; } >"$seeds/nations/nations_csv"
{ printf '\0'; head -n 20 "$data/nations.csv"; } >"$seeds/nations/nations_csv_20_lines"
cp "$data/facialhair.csv" "$seeds/records/facialhair.csv"
cp "$data/facialhair.csv" "$seeds/facial_hair/facialhair.csv"

# Pictures of the artwork kit, a portrait of ours and small pictures of each kind.
for p in "uniforms/default.png" "uniforms/bill underside.png" "faces/caucasian/0000001.png" \
  "facial hair/chinstrap/brown.png" "accessories/00001.png" "icon/likentor-16.png" "logo.png"; do
  cp "$graphics/$p" "$seeds/png/kit_$(echo "$p" | tr ' /' '__')"
done
cp "$graphics/logo.jpg" "$seeds/jpeg/kit_logo.jpg"
cp "$graphics/uniforms/generic/01/white.bmp" "$seeds/bmp/kit_generic_white.bmp"
"$bin/likentor-fuzz-seeds" "$seeds" "$graphics/uniforms/previewface.png"
for h in "${harnesses[@]}"; do cp "$seeds/$h"/* "$corpus/$h/"; done

# ---- Runs ---------------------------------------------------------------------------------------
# Largest input of each harness: room for the seeds, small enough for many inputs a second.
declare -A max_len=([records]=4096 [nations]=16384 [facial_hair]=4096 [png]=16384 [jpeg]=16384
  [bmp]=40000 [game_load]=16384)
declare -A dictionary=([records]=records [nations]=records [facial_hair]=records [png]=png
  [jpeg]=jpeg [bmp]=bmp [game_load]=records)
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:symbolize=1
[ -x /usr/lib/llvm-16/bin/llvm-symbolizer ] && export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-16/bin/llvm-symbolizer
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=()
echo "== Fuzzing each harness for $seconds seconds"
for h in "${harnesses[@]}"; do
  mkdir -p "$scratch/$h"
  status=0
  TMPDIR="$scratch/$h" "$bin/fuzz_$h" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
    -max_len="${max_len[$h]}" -dict="$here/fuzz/dictionaries/${dictionary[$h]}.dict" \
    -print_final_stats=1 -artifact_prefix="$artifacts/$h-" "$corpus/$h" </dev/null \
    >"$logs/$h.log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$logs/$h.log" | tail -n 1)
  if [ "$status" -ne 0 ] || [ -z "$runs" ]; then
    failed+=("$h")
    printf '%-12s FAILED (exit status %s) after %s inputs; log: %s\n' "$h" "$status" \
      "${runs:-?}" "$logs/$h.log"
    tail -n 60 "$logs/$h.log"
  else
    printf '%-12s %10s inputs in %s s, corpus of %s\n' "$h" "$runs" "$seconds" \
      "$(find "$corpus/$h" -type f | wc -l)"
  fi
  rm -rf "${scratch:?}/$h"
done
if ((${#failed[@]})); then
  echo "fuzz.sh: ${failed[*]} failed; the inputs are kept in $artifacts" >&2
  exit 1
fi
