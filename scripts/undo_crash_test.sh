#!/usr/bin/env bash
# Undo after kills: kills `photos` (backups on, over a picture folder that already holds earlier
# portraits) and `undo` of the small sample game with SIGKILL at seeded random moments, then runs
# `undo` to its end and checks that the game is as it was before the photo run: every picture of
# the picture folder back byte for byte (and none the run created left), every players row as it
# was, and a file put into the run's backup folder by hand kept there and named.
#   scripts/undo_crash_test.sh [KILLS] [SEED]   (defaults: 20 kills per command, seed 17)
# LIKENTOR_BUILD names the build tree, as for crash_test.sh, whose helpers this uses.
#
# For each kill: tried; ended before the kill; stopped midway (the photo run had begun its backup,
# the undo its work); crashed (a sanitizer report, or the undo died of a
# signal); hung (the undo went past its time limit); unclear (the undo failed, named a picture as
# changed since the run, or did not name the file put in by hand); lost (a table file failed its
# integrity check, a picture or players row differs from before the run, or the file put in by
# hand is gone). Exits 1 on any of these.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
kills=${1:-20}
seed=${2:-17}
# shellcheck source=scripts/crash_common.sh
source "$here/scripts/crash_common.sh"

drawSeed=1306
playersTable=sample_players.db
keepsake=keepsake.txt     # the file put into a backup folder by hand

# ---- The game before the photo run: loaded, its earlier portraits made by a run whose backup is
# then removed (so that they are the user's own, with no run to undo), every fifth one removed
# (the run creates those), and every player flagged for a new portrait.
say "== Small sample game, seed of the kill moments $seed, $kills kills per command"
makeGame small
setUp || { echo "undo_crash_test: the setup failed" >&2; exit 1; }
runToEnd $drawSeed load sample
[ $status -eq 0 ] || { echo "undo_crash_test: the load failed: $(cat "$work/err")" >&2; exit 1; }
runToEnd $drawSeed photos sample
[ $status -eq 0 ] || { echo "undo_crash_test: the first photos run failed: $(cat "$work/err")" >&2; exit 1; }
rm -rf "$program/backups"
find "$pictures" -name 'Player_*[05].png' -delete
echo 'notes of the user, beside the pictures' >"$pictures/notes.txt"
sqlite3 "$program/data/$playersTable" \
  "UPDATE \"$playersTable\" SET update_required='true' WHERE locked<>'true'" ||
  { echo "undo_crash_test: cannot flag the players" >&2; exit 1; }
cp -a "$program" "$work/before-program"
cp -a "$pictures" "$work/before-pictures"
pictureList >"$work/before-list"
dumpTables "$program/data" "$work/before-tables"
earlier=$(grep -c 'Player_' "$work/before-list")

# Lays out the game as before the photo run ($1 = before) or after it ($1 = after).
restore() {
  rm -rf "$program" "$pictures"
  cp -a "$work/$1-program" "$program"
  cp -a "$work/$1-pictures" "$pictures"
}

# ---- The clean photo run and its clean undo ----
restore before
start=$(milliseconds)
runToEnd $drawSeed photos sample
photosMs=$(($(milliseconds) - start))
[ $status -eq 0 ] || { echo "undo_crash_test: the clean photos run failed: $(cat "$work/err")" >&2; exit 1; }
made=$(grep -o 'Successfully created [0-9]* photos' "$work/out" | grep -o '[0-9]*')
cp -a "$program" "$work/after-program"
cp -a "$pictures" "$work/after-pictures"
# The undo is short, and its first run the slowest (nothing of it in the system's caches yet): the
# kills are timed by the shortest of three.
undoMs=0
for ((clean = 1; clean <= 3; clean++)); do
  ((clean > 1)) && restore after
  start=$(milliseconds)
  runToEnd $drawSeed undo sample
  took=$(($(milliseconds) - start))
  [ $status -eq 0 ] || { echo "undo_crash_test: the clean undo failed: $(cat "$work/err")" >&2; exit 1; }
  ((undoMs == 0 || took < undoMs)) && undoMs=$took
done
pictureList >"$work/list"
dumpTables "$program/data" "$work/tables"
if ! diff -q "$work/before-list" "$work/list" >/dev/null ||
  ! cmp -s "$work/before-tables/$playersTable.sql" "$work/tables/$playersTable.sql"; then
  echo "undo_crash_test: the clean undo did not bring back the game as it was" >&2
  exit 1
fi
# A photo run first starts the program and plans the run, as its dry run does: its kills fall
# from the end of that on, so that most stop it while it writes.
dryMs=0
for ((clean = 1; clean <= 2; clean++)); do
  start=$(milliseconds)
  runToEnd $drawSeed photos sample --dry-run
  took=$(($(milliseconds) - start))
  ((dryMs == 0 || took < dryMs)) && dryMs=$took
done
# Most of a short undo is the program's start and the reading of the manifest, which
# `undo --list` does as well: the undo's kills fall between the end of that and the end of a clean
# undo, so that many stop it midway.
listMs=0
for ((clean = 1; clean <= 3; clean++)); do
  start=$(milliseconds)
  runToEnd $drawSeed undo sample --list
  took=$(($(milliseconds) - start))
  ((listMs == 0 || took < listMs)) && listMs=$took
done
say "clean run: photos $photosMs ms ($made portraits over $earlier earlier pictures, dry run $dryMs ms), undo $undoMs ms (undo --list $listMs ms)"
limit=$(((photosMs * 10 + 999) / 1000 + 10))

# ---- Kills ----
declareCounters tried ended midway crashed hung unclear lost -- photos undo

# After a kill of $name (number $1, at $moment ms): a file put into the run's folder by hand, the
# undo to its end, and the checks. Adds to the counters of $name.
undoToEnd() {
  local i=$1
  killedWhole "$i" lost || return
  # The run's folder, if the kill left one with a manifest: the user puts a file of his own in it.
  local folder="" manifest
  for manifest in "$program/backups/sample"/*/manifest.txt; do
    [ -e "$manifest" ] && folder=$(dirname "$manifest")
  done
  [ -n "$folder" ] && echo 'the user'"'"'s own file' >"$folder/$keepsake"
  # A photo run stopped after it began its backup leaves its folder; an undo stopped after it
  # began its work leaves its record there.
  if [ -n "$folder" ] && { [ "$name" = photos ] || [ -e "$folder/undo.txt" ]; }; then
    ((midway[$name]++))
  fi
  runToEnd $drawSeed undo sample
  cat "$work/out" "$work/err" >"$work/said"
  rerunEnded "$i" "the undo" || return
  # A photo run killed before it kept anything, or an undo killed after its end, leaves nothing to
  # undo.
  if [ $status -ne 0 ] && ! { [ $status -eq 1 ] && [ -z "$folder" ] &&
    grep -q '^There is no photo run of sample to undo\.$' "$work/err"; }; then
    note "$i" "the undo after a kill at $moment ms ended $status: $(head -c 300 "$work/said")"
    ((unclear[$name]++))
    return
  fi
  pictureList >"$work/list"
  dumpTables "$program/data" "$work/tables"
  if ! diff "$work/before-list" "$work/list" >"$work/diff"; then
    note "$i" "after a kill at $moment ms and undo the pictures differ: $(grep '^[<>]' "$work/diff" | head -n 3)"
    ((lost[$name]++))
    return
  fi
  if ! cmp -s "$work/before-tables/$playersTable.sql" "$work/tables/$playersTable.sql"; then
    note "$i" "after a kill at $moment ms and undo the players rows differ: $(diff "$work/before-tables/$playersTable.sql" "$work/tables/$playersTable.sql" | grep '^[<>]' | head -c 300)"
    ((lost[$name]++))
    return
  fi
  if [ -n "$folder" ] && [ ! -e "$folder/$keepsake" ]; then
    note "$i" "after a kill at $moment ms undo removed the file put into $folder by hand"
    ((lost[$name]++))
    return
  fi
  if grep -q 'left alone' "$work/said"; then
    note "$i" "after a kill at $moment ms undo named pictures as changed since the run: $(head -c 300 "$work/said")"
    ((unclear[$name]++))
  elif [ -n "$folder" ] && ! grep -q "$keepsake" "$work/said"; then
    note "$i" "after a kill at $moment ms undo did not name the file put in by hand: $(head -c 300 "$work/said")"
    ((unclear[$name]++))
  fi
}

# Each kill from the tables and pictures of before or after the run, then undo to its end.
killEach before $((dryMs * 3 / 4)) "$photosMs" photos undoToEnd photos sample
killEach after $((listMs * 3 / 4)) "$undoMs" undo undoToEnd undo sample

summarize undo_crash_test "after every kill, undo brought back every earlier picture and players row" \
  photos undo -- ended="ended before the kill" midway="stopped midway" crashed=crashed hung=hung \
  unclear=unclear lost=lost
