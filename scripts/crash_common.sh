# shellcheck shell=bash disable=SC2154  # the caller's variables, and the counters made by name
# Helpers of the kill tests (crash_test.sh, undo_crash_test.sh, pack_crash_test.sh); sourced, not
# run. The caller sets `here` (the source tree), `seed` (of the kill moments), `kills` (per
# command) and `drawSeed` (LIKENTOR_RANDOM_SEED of the kills) first. Sets up:
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

# ---- The counts of the kills ----
# One associative array per outcome, keyed by the command killed; `name` is the command of the
# kills under way. declareCounters OUTCOME... -- COMMAND... makes every count 0. The outcomes
# every test counts: tried, ended (before the kill), crashed, hung, unclear; each adds its own.
declareCounters() {
  local outcomes=() outcome command
  while [ "$1" != -- ]; do
    outcomes+=("$1")
    shift
  done
  shift
  for outcome in "${outcomes[@]}"; do
    declare -gA "$outcome"
    local -n _count=$outcome
    for command in "$@"; do _count[$command]=0; done
    unset -n _count
  done
}

# killCounted I SPAN SEED ARGS: kill number I of likentor ARGS after a random moment of a clean
# run's time SPAN (ms), as killAfterRandomMoment does; counted as tried, and as ended when the
# command ended before the kill.
killCounted() {
  local i=$1 spanMs=$2 killSeed=$3
  shift 3
  ((tried[$name]++))
  killAfterRandomMoment "$spanMs" "$killSeed" "$@"
  if [ $early -eq 1 ]; then
    ((ended[$name]++))
    note "$i" "ended before the kill at $moment ms"
  fi
}

# killedWhole I LOSS: the checks right after kill number I, before anything runs again: a
# sanitizer report of the killed command counts as crashed, a table file that fails its integrity
# check in the count LOSS. Returns 1 when it counted either.
killedWhole() {
  local i=$1 damage
  local -n _loss=$2
  if sanitizerReport "$work/killed-err"; then
    note "$i" "sanitizer report before the kill: $(head -c 300 "$work/killed-err")"
    ((crashed[$name]++))
    return 1
  fi
  if ! damage=$(checkTables); then
    note "$i" "after a kill at $moment ms a table is damaged: $damage"
    ((_loss[$name]++))
    return 1
  fi
}

# rerunEnded I WHAT: after runToEnd of the command that follows kill number I (WHAT names it: "the
# rerun", "the undo"), one past its time limit counts as hung, one that died of a signal or
# printed a sanitizer report as crashed. Returns 1 when it counted either.
rerunEnded() {
  local i=$1 what=$2
  if [ $status -eq 124 ] || [ $status -eq 137 ]; then
    note "$i" "$what after a kill at $moment ms did not end within $limit s"
    ((hung[$name]++))
    return 1
  fi
  if [ $status -gt 128 ] || sanitizerReport "$work/err"; then
    note "$i" "$what after a kill at $moment ms crashed (status $status): $(head -c 300 "$work/err")"
    ((crashed[$name]++))
    return 1
  fi
}

# killEach STATE FROM CLEAN COMMAND CHECK ARGS: $kills kills of likentor ARGS, counted for
# COMMAND, each from the program laid out afresh by the caller's `restore STATE` and at a moment
# from FROM to CLEAN ms; after each, the caller's function CHECK with the kill's number.
killEach() {
  local state=$1 fromMs=$2 cleanMs=$3 check=$5 i
  name=$4
  shift 5
  say "== $name: $kills kills from $fromMs to $cleanMs ms"
  killFromMs=$fromMs
  killUpTo=100
  for ((i = 1; i <= kills; i++)); do
    restore "$state"
    killCounted "$i" "$cleanMs" $drawSeed "$@"
    "$check" "$i"
  done
}

# summarize TEST PASSED COMMANDS -- OUTCOME=TITLE...: the table of the counts, a row per command
# and a column per outcome after the kills tried, and the verdict. The failures are the kills
# counted crashed, hung, unclear or in the last outcome (what was lost); exits 1 when there is
# one, else says PASSED.
summarize() {
  local test=$1 passed=$2 commands=() columns=() header="| command | kills tried |" rule="|---|---|"
  local column command row failures=0
  shift 2
  while [ "$1" != -- ]; do
    commands+=("$1")
    shift
  done
  shift
  columns=("$@")
  for column in "${columns[@]}"; do
    header+=" ${column#*=} |"
    rule+="---|"
  done
  local last=${columns[-1]%%=*}
  say
  say "$header"
  say "$rule"
  for command in "${commands[@]}"; do
    row="| $command | ${tried[$command]} |"
    for column in "${columns[@]}"; do
      local -n _column=${column%%=*}
      row+=" ${_column[$command]} |"
      unset -n _column
    done
    say "$row"
    local -n _loss=$last
    failures=$((failures + crashed[$command] + hung[$command] + unclear[$command] + _loss[$command]))
    unset -n _loss
  done
  if [ $failures -ne 0 ]; then
    say "$test: $failures failures"
    exit 1
  fi
  say "$test: $passed"
}
