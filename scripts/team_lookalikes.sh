#!/usr/bin/env bash
# Look-alike teammates: the large sample game loaded with a fixed seed, its unlocked players on a
# team (team, ethnicity, face, hair colour and facial-hair style as the load drew them), and
# likentor-artgen's team measure of a kit and of the reference kit, face files and heads as the
# portrait shows them, against the faces closer than the reference kit's 1st percentile of
# nearest distances.
#   scripts/team_lookalikes.sh REFERENCE_PROGRAM_FOLDER [KIT_PROGRAM_FOLDER]
#   (BUILD=build/release, SEED=12345, ROUNDS=2000, HEAD_ROUNDS=200 to change; the kit defaults to
#   BUILD/program)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${BUILD:-$here/build/release}" && pwd)
reference=$1
kit=${2:-$build/program}
seed=${SEED:-12345}
rounds=${ROUNDS:-2000}
head_rounds=${HEAD_ROUNDS:-200}
work="$build/team-lookalikes"

if [ ! -f "$work/rosters-$seed-heads.txt" ]; then
  rm -rf "$work"
  mkdir -p "$work/program/data"
  cp "$here/data/nations.csv" "$here/data/facialhair.csv" "$work/program/data/"
  # The draws depend only on the number of faces per folder, which all kits share, and on the
  # facial-hair catalogue of data/facialhair.csv.
  ln -s "$build/program/graphics" "$work/program/graphics"
  "$build/bin/likentor-samplegame" --size large --quiet "$work/game"
  "$build/program/likentor" -C "$work/program" setup --program-folder "$work/program" \
    --game-folder "$work/game" >/dev/null
  LIKENTOR_RANDOM_SEED=$seed "$build/program/likentor" -C "$work/program" load sample >/dev/null
  sqlite3 -separator ' ' "$work/program/data/sample_players.db" \
    "select team_id, ethnicity, face, coalesce(hair_color, 1), coalesce(facial_hair_style, 0)
     from \"sample_players.db\" where team_id <> 0 and retired = 'false' and locked = 'false'" \
    >"$work/rosters-$seed-heads.txt"
fi
"$build/bin/likentor-artgen" --team-variety "$work/rosters-$seed-heads.txt" "$kit" "$reference" \
  --rounds "$rounds" --head-rounds "$head_rounds"
