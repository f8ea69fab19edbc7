#!/usr/bin/env bash
# The Debian package installed as a user would have it: unpacked into a temporary root, its
# likentor prints its version, and setup, load and photos on a generated saved game, run from a
# folder that is not set up, write only into the user's own folders (HOME) and the game folder;
# a second user gets tables of his own.
#   installed_run_test.sh BUILD_DIR VERSION CPACK SAMPLEGAME
set -euo pipefail
build=$1 version=$2 cpack=$3 samplegame=$4

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The package of this build: made again when the program is newer than it.
deb="$build/likentor_${version}_amd64.deb"
if [ ! -f "$deb" ] || [ "$build/program/likentor" -nt "$deb" ]; then
  (cd "$build" && "$cpack" -G DEB >/dev/null)
fi
[ -f "$deb" ] || fail "cpack wrote no $deb"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root="$work/root"
dpkg-deb -x "$deb" "$root"
likentor="$root/usr/bin/likentor"
[ -x "$likentor" ] || fail "the package holds no usr/bin/likentor"
# The window program, which likentor starts in its place without a command.
[ -x "$root/usr/bin/likentor-window" ] || fail "the package holds no usr/bin/likentor-window"
[ -f "$root/usr/share/likentor/data/nations.csv" ] || fail "no shipped data in usr/share/likentor"
# The guide Help shows (built into the program) is also there to read on its own.
grep -q "^# Likentor: a guide for players" "$root/usr/share/doc/likentor/guide.md" ||
  fail "no guide in usr/share/doc/likentor"

# A user's session: only HOME and PATH, in a working folder that holds no configuration.ini.
as_user() {
  local home=$1
  shift
  (cd "$work/elsewhere" && env -i HOME="$home" PATH=/usr/bin:/bin "$likentor" "$@")
}

# Everything but the user's home and the game folder, as names, sizes and times.
snapshot() {
  (cd "$work" && find . -path ./home -prune -o -path ./home2 -prune -o -path ./game -prune -o \
    -printf '%p %s %T@ %m\n' | sort)
}

mkdir -p "$work/elsewhere" "$work/home" "$work/home2"
"$samplegame" --teams 4 --players 60 --years 2 --quiet "$work/game"
before=$(snapshot)

got=$(as_user "$work/home" --version)
[ "$got" = "likentor $version" ] || fail "--version printed '$got', not 'likentor $version'"

as_user "$work/home" setup --game-folder "$work/game"
as_user "$work/home" load sample
as_user "$work/home" photos sample

data_home="$work/home/.local/share/likentor"
config_home="$work/home/.config/likentor"
[ -f "$config_home/configuration.ini" ] || fail "no configuration.ini in the user's config folder"
program=$(sed -n 2p "$config_home/configuration.ini" | tr -d '\r')
[ "$program" = "$data_home" ] || fail "the program folder is '$program', not '$data_home'"
[ -f "$data_home/data/games.db" ] || fail "no games.db in the user's data folder"
[ -f "$data_home/data/sample_players.db" ] || fail "the load made no sample_players.db"
[ "$(readlink -f "$data_home/graphics")" = "$(readlink -f "$root/usr/share/likentor/graphics")" ] ||
  fail "the user's graphics/ does not lead to the installed artwork"
pictures="$work/game/data/saved_games/sample.lg/news/html/images"
made=$(find "$pictures" -name 'Player_*.png' -newer "$config_home/configuration.ini" | wc -l)
[ "$made" -gt 0 ] || fail "photos made no portrait"

# Nothing outside the user's home and the game folder changed, the install root included.
after=$(snapshot)
if [ "$before" != "$after" ]; then
  diff <(echo "$before") <(echo "$after") >&2 || true
  fail "files outside HOME and the game folder changed"
fi
# In the home, only the user's two folders of Likentor.
others=$(cd "$work/home" && find . -mindepth 1 -not -path './.local' -not -path './.local/share' \
  -not -path './.config' -not -path './.local/share/likentor*' -not -path './.config/likentor*')
[ -z "$others" ] || fail "written in the home outside Likentor's folders: $others"

# A second user gets his own tables, and the first user's stay as they were.
games_before=$(stat -c '%s %Y' "$data_home/data/games.db")
as_user "$work/home2" setup --game-folder "$work/game"
[ -f "$work/home2/.local/share/likentor/data/games.db" ] || fail "the second user has no games.db"
[ "$(stat -c '%s %Y' "$data_home/data/games.db")" = "$games_before" ] ||
  fail "the second user's setup changed the first user's tables"

echo "PASS: the installed likentor $version wrote only into the user's folders and the game"
