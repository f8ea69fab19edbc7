#!/usr/bin/env bash
# Set-up plus the main job on the bundled sample game.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build/release"
"$here/scripts/setup.sh" "$build" -DCMAKE_BUILD_TYPE=Release -DLIKENTOR_TESTS=OFF
program="$build/program"
demo="$here/build/demo"
mkdir -p "$demo/game"

# A fresh first-run setup in the program folder: what an earlier run made there goes first, the
# shipped data files stay.
rm -f "$program/configuration.ini" "$program/errors.txt"
rm -f "$program"/data/*.db "$program"/data/*.db-wal "$program"/data/*.db-shm
"$program/likentor" -C "$program" setup --program-folder "$program" --game-folder "$demo/game"

echo
echo "== Program folder: $program"
ls -l "$program"
echo
echo "== configuration.ini (CR LF line ends shown as \\r)"
sed -n 'l' "$program/configuration.ini"
echo
echo "== errors.txt"
"$program/likentor" -C "$program" errors
echo
echo "== Tables in $program/data (one SQLite file per table)"
ls -l "$program/data"
