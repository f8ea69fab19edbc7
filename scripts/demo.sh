#!/usr/bin/env bash
# Set-up plus the main job on the bundled sample game.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build/release"
"$here/scripts/setup.sh" "$build" -DCMAKE_BUILD_TYPE=Release -DLIKENTOR_TESTS=OFF
program="$build/program"
demo="$here/build/demo"
mkdir -p "$demo"
# A fresh first-run setup in the program folder.
rm -f "$program/configuration.ini"
"$program/likentor" -C "$program" setup --program-folder "$program" --game-folder "$demo/game"
echo
echo "Program folder: $program"
ls "$program" "$program/data"
