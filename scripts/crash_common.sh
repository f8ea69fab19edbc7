# Helpers of the kill tests (crash_test.sh, undo_crash_test.sh); sourced, not run. The caller sets
# `here` (the source tree) and `seed` (of the kill moments) first. Sets up:
#   build, likentor, samplegame  the build tree (LIKENTOR_BUILD, default build/release) and its tools
#   work                         a temporary folder, removed at exit
#   run, program, game, pictures every command runs in $run, so stored paths agree between copies
# and the functions below. Exits 2 when a tool is missing.

build=${LIKENTOR_BUILD:-$here/build/release}
likentor="$build/program/likentor"
samplegame="$build/bin/likentor-samplegame"
for tool in "$likentor" "$samplegame"; do
  [ -x "$tool" ] || { echo "$(basename "$0"): $tool is missing; build it first (LIKENTOR_BUILD)" >&2; exit 2; }
done
[ -d "$build/program/graphics/backgrounds" ] || { echo "$(basename "$0"): $build/program/graphics is missing; build the artwork target" >&2; exit 2; }
command -v sqlite3 >/dev/null || { echo "$(basename "$0"): the sqlite3 tool is missing" >&2; exit 2; }

RANDOM=$seed        # the kill moments

work=$(mktemp -d /tmp/likentor-crash.XXXXXX)
trap 'rm -rf "$work"' EXIT
run="$work/run"
program="$run/program"
game="$run/game"
pictures="$game/data/saved_games/sample.lg/news/html/images"

say() { printf '%s\n' "$*"; }
note() { printf '  kill %2d: %s\n' "$1" "$2"; }
milliseconds() { echo $(($(date +%s%N) / 1000000)); }

# likentor ARGS under a time limit ($limit seconds), seed in LIKENTOR_RANDOM_SEED; stdout and
# stderr to $work/out, $work/err; the exit status in $status (124 or 137: the limit ran out).
status=0
limit=600
runToEnd() {
  local runSeed=$1
  shift
  LIKENTOR_RANDOM_SEED=$runSeed timeout -s KILL "$limit" "$likentor" -C "$program" "$@" \
    >"$work/out" 2>"$work/err" </dev/null
  status=$?
}

# likentor ARGS killed with SIGKILL after a random moment from $killFromMs ms to $killUpTo percent
# of $1 ms (a clean run's time, which varies with the machine's other work; by default within its
# first three quarters), seed $2. Sets $moment (ms) and $early (1: the command ended before the
# kill); its stderr goes to $work/killed-err.
moment=0
early=0
killFromMs=0
killUpTo=75
killAfterRandomMoment() {
  local spanMs=$1 killSeed=$2
  shift 2
  local upTo=$((spanMs * killUpTo / 100))
  ((upTo < killFromMs)) && upTo=$killFromMs
  moment=$((killFromMs + (RANDOM * 32768 + RANDOM) % (upTo - killFromMs + 1)))
  early=0
  LIKENTOR_RANDOM_SEED=$killSeed "$likentor" -C "$program" "$@" >/dev/null 2>"$work/killed-err" \
    </dev/null &
  local pid=$!
  sleep "$(printf '%d.%03d' $((moment / 1000)) $((moment % 1000)))"
  kill -9 "$pid" 2>/dev/null || early=1
  wait "$pid" 2>/dev/null
}

# True when the output in file $1 holds a sanitizer report.
sanitizerReport() { grep -q -e 'Sanitizer' -e 'runtime error' "$1"; }

# Every table file of the program folder must pass SQLite's integrity check. The files are checked
# on a copy, so that the check's own recovery of a log does not do the rerun's work.
checkTables() {
  rm -rf "$work/check" && cp -a "$program/data" "$work/check"
  local file result
  for file in "$work/check"/*.db; do
    [ -e "$file" ] || continue
    result=$(sqlite3 "$file" 'PRAGMA integrity_check' 2>&1)
    if [ "$result" != ok ]; then
      echo "$(basename "$file"): ${result:0:200}"
      return 1
    fi
  done
}

# The rows of every table file in folder $1, as SQL text, one file per table in folder $2.
# With a third argument, the players table's drawn values (accessory and background) are dumped
# only as set or not: a run taken up after a kill draws on from the seed, not from where the
# killed run was, so its later draws differ from a clean run's.
dumpTables() {
  rm -rf "$work/copy" "$2" && cp -a "$1" "$work/copy" && mkdir -p "$2"
  local file
  if [ -n "${3:-}" ]; then
    sqlite3 "$work/copy/$3" "UPDATE \"$3\" SET accessory = accessory IS NOT NULL,
      background = background IS NOT NULL" 2>&1
  fi
  for file in "$work/copy"/*.db; do
    sqlite3 "$file" .dump >"$2/$(basename "$file").sql" 2>&1
  done
}

# Name and checksum of every file in the picture folder.
pictureList() {
  (cd "$pictures" && find . -type f -print0 | sort -z | xargs -0 sha256sum)
}

# Name of every file in the picture folder, and whether it is a whole PNG file (ends with the IEND
# chunk): what a run taken up after a kill must leave as a clean run does, its drawn looks aside.
pictureShapes() {
  local file
  (cd "$pictures" && find . -type f -print0 | sort -z) | while IFS= read -r -d '' file; do
    printf '%s %s\n' "$file" "$(tail -c 8 "$pictures/$file" | od -An -tx1 | tr -d ' \n')"
  done
}

leftovers() {
  find "$program/data" "$pictures" -name '*.partial*' -o -name '*.part' | head -3
}

# The sample game of size $1 in $work/game, and setUp, which lays $run out afresh: the program set
# up on a copy of that game.
makeGame() {
  "$samplegame" --size "$1" --quiet "$work/game"
}
setUp() {
  rm -rf "$run" && mkdir -p "$program/data" && cp -a "$work/game" "$game"
  cp "$build/program/data/nations.csv" "$build/program/data/facialhair.csv" "$program/data/"
  ln -s "$build/program/graphics" "$program/graphics"
  "$likentor" -C "$program" setup --program-folder "$program" --game-folder "$game" \
    >/dev/null </dev/null
}
