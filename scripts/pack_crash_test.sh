#!/usr/bin/env bash
# Packs after kills: kills `install` of a pack of a few thousand faces and `uninstall` of it (with a
# later pack whose numbers then move down, and players wearing faces of both) with SIGKILL at seeded
# random moments, runs the next command that writes (`uninstall`, which lists the packs) and checks
# that catalogue rows and files agree: every row of the faces catalogue has its picture, every
# picture its row, every pack record a row and a picture, no file is left half made or set aside,
# no player wears a face the catalogue does not have, and the pack is wholly there or wholly gone.
#   scripts/pack_crash_test.sh [KILLS] [SEED] [FACES]   (defaults: 20 kills per command, seed 23,
#                                                         a pack of 3000 faces)
# LIKENTOR_BUILD names the build tree, as for crash_test.sh, whose helpers this uses.
#
# For each kill: tried; ended before the kill; stopped midway (the kill left the work's journal);
# crashed (a sanitizer report, or the next command died of a signal); hung (it went past its time
# limit); unclear (it failed, or said nothing of the stopped work it finished); disagree (a table
# file failed its integrity check, or rows and files disagree after the next command). Exits 1 on
# any of these.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
kills=${1:-20}
seed=${2:-23}
faces=${3:-3000}
# shellcheck source=scripts/crash_common.sh
source "$here/scripts/crash_common.sh"

drawSeed=1306
african=3              # the ethnicity's number
catalogue=faces_african.db
records=installed_components.db
journal=pack_journal.txt

say "== Small sample game, a pack of $faces faces, seed of the kill moments $seed, $kills kills per command"
makeGame small
setUp || { echo "pack_crash_test: the setup failed" >&2; exit 1; }
runToEnd $drawSeed load sample
[ $status -eq 0 ] || { echo "pack_crash_test: the load failed: $(cat "$work/err")" >&2; exit 1; }

# A graphics/ of the program's own, as the first install would make it, but with only the african
# faces copied (the folder the packs write) and the rest of the kit linked, so that laying the
# program out afresh for each kill stays quick.
kit=$(readlink -f "$program/graphics")
rm "$program/graphics" && mkdir -p "$program/graphics/faces"
for entry in "$kit"/*; do
  [ "$(basename "$entry")" = faces ] || ln -s "$entry" "$program/graphics/$(basename "$entry")"
done
for entry in "$kit"/faces/*; do
  [ "$(basename "$entry")" = african ] || ln -s "$entry" "$program/graphics/faces/$(basename "$entry")"
done
cp -a "$kit/faces/african" "$program/graphics/faces/african"
facesFolder="$program/graphics/faces/african"
shipped=$(sqlite3 "$program/data/$catalogue" "SELECT count(*) FROM \"$catalogue\"")

# The packs: copies of a shipped face, which is a picture of the right kind.
sample=$(find "$kit/faces/african" -name '*.png' | sort | head -n 1)
mkdir -p "$work/pack" "$work/second"
for ((i = 1; i <= faces; i++)); do cp "$sample" "$work/pack/$(printf 'face%05d.png' "$i")"; done
for ((i = 1; i <= 50; i++)); do cp "$sample" "$work/second/$(printf 'later%03d.png' "$i")"; done
cp -a "$program" "$work/before-program"

# Lays out the program as it was in state $1 (before, installed).
restore() {
  rm -rf "$program"
  cp -a "$work/$1-program" "$program"
}

# Rows and files of the african faces agree after the next command; prints what does not.
agree() {
  local rows files recorded
  rows=$(sqlite3 "$program/data/$catalogue" "SELECT face_id FROM \"$catalogue\" WHERE face_id > $shipped ORDER BY face_id") || return 1
  files=$(cd "$facesFolder" && find . -type f ! -name '[0-9][0-9][0-9][0-9][0-9][0-9][0-9].png' | head -n 3)
  if [ -n "$files" ]; then echo "files left: $files"; return 1; fi
  files=$(cd "$facesFolder" && find . -type f -name '*.png' | sed 's|^\./0*||; s|\.png$||' |
    awk -v s="$shipped" '$1 > s' | sort -n)
  if [ "$rows" != "$files" ]; then
    echo "rows $(echo "$rows" | grep -c .) and pictures $(echo "$files" | grep -c .) past the shipped ones differ: $(diff <(echo "$rows") <(echo "$files") | grep '^[<>]' | head -n 3 | tr '\n' ' ')"
    return 1
  fi
  if [ -e "$program/data/$records" ]; then
    recorded=$(sqlite3 "$program/data/$records" "SELECT number FROM \"$records\" WHERE kind='faces' ORDER BY number")
    if [ "$recorded" != "$rows" ]; then
      echo "pack records ($(echo "$recorded" | grep -c .)) and rows ($(echo "$rows" | grep -c .)) differ"
      return 1
    fi
  elif [ -n "$rows" ]; then
    echo "rows past the shipped ones and no pack records"
    return 1
  fi
  local count worn
  count=$(sqlite3 "$program/data/$catalogue" "SELECT count(*) FROM \"$catalogue\"")
  worn=$(sqlite3 "$program/data/sample_players.db" "SELECT count(*) FROM \"sample_players.db\" WHERE ethnicity=$african AND (face < 1 OR face > $count)")
  if [ "$worn" != 0 ]; then echo "$worn players wear a face the catalogue does not have"; return 1; fi
  [ -e "$program/$journal" ] && { echo "the journal is still there"; return 1; }
  local left
  left=$(find "$program/data" -name '*.part' | head -n 1)
  [ -n "$left" ] && { echo "left behind: $left"; return 1; }
  return 0
}

# ---- Clean runs ----
start=$(milliseconds)
runToEnd $drawSeed uninstall
listMs=$(($(milliseconds) - start))
start=$(milliseconds)
runToEnd $drawSeed install faces "$work/pack" --ethnicity african
installMs=$(($(milliseconds) - start))
[ $status -eq 0 ] || { echo "pack_crash_test: the clean install failed: $(cat "$work/err")" >&2; exit 1; }
runToEnd $drawSeed install faces "$work/second" --ethnicity african
[ $status -eq 0 ] || { echo "pack_crash_test: the second install failed: $(cat "$work/err")" >&2; exit 1; }
# Players wearing faces of both packs and shipped ones.
sqlite3 "$program/data/sample_players.db" \
  "UPDATE \"sample_players.db\" SET ethnicity=$african, face=$shipped + 1 + (player_id * 37) % ($faces + 50) WHERE player_id % 3 = 0" ||
  { echo "pack_crash_test: cannot dress the players" >&2; exit 1; }
why=$(agree) || { echo "pack_crash_test: rows and files disagree after the clean installs: $why" >&2; exit 1; }
cp -a "$program" "$work/installed-program"
# The uninstall is short, and its first run the slowest (nothing of it in the system's caches yet):
# the kills are timed by the shortest of three.
uninstallMs=0
for ((clean = 1; clean <= 3; clean++)); do
  ((clean > 1)) && restore installed
  start=$(milliseconds)
  runToEnd $drawSeed uninstall 1
  took=$(($(milliseconds) - start))
  [ $status -eq 0 ] || { echo "pack_crash_test: the clean uninstall failed: $(cat "$work/err")" >&2; exit 1; }
  why=$(agree) || { echo "pack_crash_test: rows and files disagree after the clean uninstall: $why" >&2; exit 1; }
  ((uninstallMs == 0 || took < uninstallMs)) && uninstallMs=$took
done
say "clean runs: install $installMs ms, uninstall $uninstallMs ms, a start and listing $listMs ms"
limit=$((((installMs > uninstallMs ? installMs : uninstallMs) * 10 + 999) / 1000 + 10))

# ---- Kills ----
declareCounters tried ended midway crashed hung unclear disagree -- install uninstall

# After a kill of $name (number $1): the next command that writes, and the checks.
nextCommand() {
  local i=$1
  killedWhole "$i" disagree || return
  local stopped=0
  [ -e "$program/$journal" ] && stopped=1 && ((midway[$name]++))
  runToEnd $drawSeed uninstall
  cat "$work/out" "$work/err" >"$work/said"
  rerunEnded "$i" "the next command" || return
  if [ $status -ne 0 ]; then
    note "$i" "the next command after a kill at $moment ms ended $status: $(head -c 300 "$work/said")"
    ((unclear[$name]++))
    return
  fi
  local why
  if ! why=$(agree); then
    note "$i" "after a kill at $moment ms and the next command: $why"
    ((disagree[$name]++))
    return
  fi
  # The stopped work, finished, is named in the error log.
  if [ $stopped -eq 1 ] && ! grep -q 'was stopped before its end' "$program/errors.txt"; then
    note "$i" "after a kill at $moment ms the stopped work was finished without a word in the log"
    ((unclear[$name]++))
  fi
}

killEach before $((listMs * 3 / 4)) "$installMs" install nextCommand \
  install faces "$work/pack" --ethnicity african
killEach installed $((listMs * 3 / 4)) "$uninstallMs" uninstall nextCommand uninstall 1

summarize pack_crash_test "after every kill, the next command left catalogue rows and files in agreement" \
  install uninstall -- ended="ended before the kill" midway="stopped midway" crashed=crashed \
  hung=hung unclear=unclear disagree="rows and files disagree"
