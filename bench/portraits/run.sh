#!/usr/bin/env bash
# The portraits benchmark: a Release build without sanitizers in a tree of its own, the large
# sample saved game, the real artwork kit, and ImageMagick's convert for comparison.
#   bench/portraits/run.sh            (SIZE=medium|large, COMPARE=300, BUILD=... to change)
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build="${BUILD:-$here/build/bench-portraits}"
size="${SIZE:-large}"
compare="${COMPARE:-300}"
convert=/usr/bin/convert-im6.q16

if [ ! -x "$convert" ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends imagemagick
fi

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLIKENTOR_SANITIZE=OFF \
  -DLIKENTOR_TESTS=OFF -DLIKENTOR_BENCH=ON -DLIKENTOR_ARTWORK=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target likentor likentor-samplegame artwork portraits_bench

work="$build/portraits-bench"
# ext4 without a journal passes over inodes freed in the last minute when it hands out new ones
# (six minutes while their inode table block has not been written back), looking at each: writing
# 12,000 portraits soon after deleting an earlier run's doubles or triples the system time of the
# run. So an earlier run's folder is put aside, not deleted, and only those put aside more than ten
# minutes ago are removed.
if [ -e "$work" ]; then
  mv "$work" "$build/portraits-bench.old.$(date +%s)"
fi
now=$(date +%s)
for old in "$build"/portraits-bench.old.*; do
  [ -e "$old" ] || continue
  [ $((now - ${old##*.})) -gt 600 ] && rm -rf "$old"
done
mkdir -p "$work/program/data"
cp "$build/program/data/nations.csv" "$build/program/data/facialhair.csv" "$work/program/data/"
ln -s "$build/program/graphics" "$work/program/graphics"
"$build/bin/likentor-samplegame" --size "$size" --quiet "$work/game"
"$build/program/likentor" -C "$work/program" setup --program-folder "$work/program" \
  --game-folder "$work/game" >/dev/null

echo "Portraits benchmark: $size sample game, $(nproc) cores"
"$build/bin/portraits_bench" "$work/program" sample --compare "$compare" --convert "$convert"
