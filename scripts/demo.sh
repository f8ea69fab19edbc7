#!/usr/bin/env bash
# Set-up plus the main job: a medium sample saved game, the program set up on it, every portrait
# made, and contact sheets to look at them.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build/release"
# A unity build: each library compiled as a few large files, so that the command-line parser's
# header and Qt's are compiled a few times instead of once per source file (about half the
# processor time of the build).
"$here/scripts/setup.sh" --demo "$build" -DCMAKE_BUILD_TYPE=Release -DLIKENTOR_TESTS=OFF \
  -DLIKENTOR_BENCH=OFF -DCMAKE_UNITY_BUILD=ON
program="$build/program"
likentor="$program/likentor"
demo="$here/build/demo"

# The medium sample saved game (150 teams, 8,000 players), made afresh for this run.
rm -rf "$demo"
mkdir -p "$demo"
"$build/bin/likentor-samplegame" --size medium --quiet "$demo/game"
pictures="$demo/game/data/saved_games/sample.lg/news/html/images"

# A fresh first-run setup in the program folder: what an earlier run made there goes first, the
# shipped data files stay.
rm -f "$program/configuration.ini" "$program/errors.txt"
rm -f "$program"/data/*.db "$program"/data/*.db-wal "$program"/data/*.db-shm
"$likentor" -C "$program" setup --program-folder "$program" --game-folder "$demo/game"

echo
echo "== Making the portraits of the sample game (load, then Universe at a Time)"
start=$(date +%s%N)
"$likentor" -C "$program" photos sample
end=$(date +%s%N)
echo "took $(((end - start) / 1000000)) ms, load included"

echo
echo "== Contact sheets"
"$likentor" -C "$program" sheet sample "$demo/sheet_team_1.png" --team 1
"$likentor" -C "$program" sheet sample "$demo/sheet.png"

echo
echo "== errors.txt"
"$likentor" -C "$program" errors

echo
count=$(ls "$pictures" | grep -c '^Player_.*\.png$')
echo "Portraits:      $pictures ($count Player_<id>.png files, a few of them the game's own pictures)"
echo "Contact sheets: $demo/sheet_team_1.png (team 1), $demo/sheet.png (the first players)"
echo "Program folder: $program"

# The window on the same program folder, with the sample game loaded.
window=("$likentor" -C "$program" --load sample)
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  echo
  echo "== Opening the window on the sample game"
  "${window[@]}"
else
  echo
  echo "No display here. To open the window on the sample game where there is one:"
  echo "  ${window[*]}"
fi
