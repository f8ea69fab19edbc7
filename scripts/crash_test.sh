#!/usr/bin/env bash
# Crash consistency: kills `load` and `photos` of the medium sample game with SIGKILL at seeded
# random moments, checks every table file after each kill, runs the command again to the end and
# compares its tables and portraits with a clean run's.
#   scripts/crash_test.sh [KILLS] [SEED]        (defaults: 20 kills per command, seed 13)
# LIKENTOR_BUILD names the build tree that holds program/likentor and bin/likentor-samplegame
# (default build/release, as scripts/demo.sh builds it). A build without sanitizers keeps the runs
# short; a sanitizer report on any run counts as a crash all the same.
#
# The looks and backgrounds are random draws, so every run here sets LIKENTOR_RANDOM_SEED: the
# draws of a run then start from that seed and follow one sequence. A load writes its players in
# one transaction, so a load killed and run again draws as the clean one and must end with tables
# equal to the clean run's, value for value. A reload over complete tables runs under another
# seed, so a look that a load drew again would show. A photos run keeps each portrait it made
# before the kill, and the rerun draws the rest from the seed's start: its tables must equal the
# clean run's but for the drawn accessory and background (set or not must agree), and its picture
# folder must hold the same files, each a whole PNG.
#
# For each kill: tried; crashed (the rerun died of a signal or printed a sanitizer report); hung
# (a run went past its time limit); unclear (the rerun failed, said something else than a clean run
# says, or left a temporary file behind); lost (a table file failed its integrity check, or the
# tables or portraits after the rerun differ from the clean run's). Exits 1 on any of these.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
kills=${1:-20}
seed=${2:-13}
# shellcheck source=scripts/crash_common.sh
source "$here/scripts/crash_common.sh"

drawSeed=1306       # LIKENTOR_RANDOM_SEED of every run but the reloads over complete tables
otherSeed=4711      # the reloads' seed: their looks must stay those drawn with drawSeed

# ---- The game, and the program set up on it ----
say "== Medium sample game, seed of the kill moments $seed, $kills kills per command"
makeGame medium

# ---- The clean run: setup, load, photos ----
setUp || { echo "crash_test: the setup failed" >&2; exit 1; }
cp -a "$program/data" "$work/setup-data"
start=$(milliseconds)
runToEnd $drawSeed load sample
loadMs=$(($(milliseconds) - start))
[ $status -eq 0 ] || { echo "crash_test: the clean load failed: $(cat "$work/err")" >&2; exit 1; }
cp "$work/out" "$work/load-said"
cp -a "$program/data" "$work/loaded-data"
dumpTables "$program/data" "$work/loaded-tables"
start=$(milliseconds)
runToEnd $drawSeed photos sample
photosMs=$(($(milliseconds) - start))
[ $status -eq 0 ] || { echo "crash_test: the clean photos run failed: $(cat "$work/err")" >&2; exit 1; }
made=$(grep -o 'Successfully created [0-9]* photos' "$work/out" | grep -o '[0-9]*')
playersTable=sample_players.db
dumpTables "$program/data" "$work/photos-tables" $playersTable
pictureShapes >"$work/photos-pictures"
# The clean run's portraits are whole PNG files: each ends with the IEND chunk.
incomplete=0
while IFS= read -r -d '' portrait; do
  [ "$(tail -c 8 "$portrait" | od -An -tx1 | tr -d ' \n')" = 49454e44ae426082 ] || ((incomplete++))
done < <(find "$pictures" -name 'Player_*.png' -newer "$work/load-said" -print0)
say "clean run: load $loadMs ms, photos $photosMs ms (load included), $made portraits"
if [ "${made:-0}" -eq 0 ] || [ $incomplete -ne 0 ]; then
  echo "crash_test: the clean run made ${made:-no} portraits, $incomplete of them incomplete" >&2
  exit 1
fi
# A run that ends by itself takes well under ten times a clean run's time.
limit=$(((photosMs * 10 + 999) / 1000 + 10))

# ---- Kills ----
# One kill of `likentor ARGS` after a random moment within the clean run's time $1 (ms), then the
# checks and the rerun. Adds to the counters of the command in $name.
declareCounters tried ended crashed hung unclear lost -- load photos
killOnce() {
  local i=$1 spanMs=$2 killSeed=$3 rerunSeed=$4 expectTables=$5 expectPictures=$6
  shift 6
  # Within the first three quarters of the clean run's time: a reload is quicker than a first
  # load.
  killCounted "$i" "$spanMs" "$killSeed" "$@"
  killedWhole "$i" lost || return
  runToEnd "$rerunSeed" "$@"
  rerunEnded "$i" "the rerun" || return
  local said=0
  if [ "$name" = load ]; then
    cmp -s "$work/out" "$work/load-said" || said=1
  else
    # photos loads the game first, or uses the last load when no export changed since.
    head -n 1 "$work/out" |
      grep -qxF -e "$(head -n 1 "$work/load-said")" -e 'sample.lg unchanged since the last load.' ||
      said=1
    tail -n +2 "$work/out" | grep -q '^Successfully created [0-9]* photos\.' || said=1
  fi
  if [ $status -ne 0 ] || [ -s "$work/err" ] || [ $said -ne 0 ]; then
    note "$i" "the rerun after a kill at $moment ms ended $status: $(head -c 300 "$work/out" "$work/err")"
    ((unclear[$name]++))
    return
  fi
  if [ "$name" = photos ]; then
    dumpTables "$program/data" "$work/tables" $playersTable
  else
    dumpTables "$program/data" "$work/tables"
  fi
  if ! diff -r -q "$expectTables" "$work/tables" >"$work/diff"; then
    note "$i" "after a kill at $moment ms and a rerun the tables differ: $(head -n 3 "$work/diff")"
    ((lost[$name]++))
    return
  fi
  if [ -n "$expectPictures" ]; then
    pictureShapes >"$work/pictures"
    if ! diff "$expectPictures" "$work/pictures" >"$work/diff"; then
      note "$i" "after a kill at $moment ms and a rerun the pictures differ: $(grep '^[<>]' "$work/diff" | head -n 3)"
      ((lost[$name]++))
      return
    fi
  fi
  local left
  left=$(leftovers)
  if [ -n "$left" ]; then
    note "$i" "after a kill at $moment ms and a rerun these files were left behind: $left"
    ((unclear[$name]++))
  fi
}

say "== load: $kills kills within $loadMs ms"
name=load
for ((i = 1; i <= kills; i++)); do
  # Odd kills stop a first import into fresh tables, even ones a reload over complete tables,
  # which must keep every look it finds.
  rm -rf "$program/data"
  if ((i % 2)); then
    cp -a "$work/setup-data" "$program/data"
    killOnce "$i" "$loadMs" $drawSeed $drawSeed "$work/loaded-tables" "" load sample
  else
    cp -a "$work/loaded-data" "$program/data"
    killOnce "$i" "$loadMs" $otherSeed $otherSeed "$work/loaded-tables" "" load sample
  fi
done

say "== photos: $kills kills within $photosMs ms"
name=photos
for ((i = 1; i <= kills; i++)); do
  # Each kill stops a whole run: the tables as the clean load left them, the game's own pictures.
  rm -rf "$program/data" "$pictures"
  cp -a "$work/loaded-data" "$program/data"
  cp -a "$work/game/data/saved_games/sample.lg/news/html/images" "$pictures"
  killOnce "$i" "$photosMs" $drawSeed $drawSeed "$work/photos-tables" "$work/photos-pictures" \
    photos sample
done

summarize crash_test "every kill recovered to the clean run's tables and portraits" load photos -- \
  ended="ended before the kill" crashed=crashed hung=hung unclear=unclear lost=lost
