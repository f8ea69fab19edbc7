#!/usr/bin/env bash
# The real window under a virtual X display (the xcb platform), on the medium sample saved game:
# the first start's boxes and choosers, the dashboard before and during a batch run, the about box
# and the dialogs of loading, guarding, clearing the log and a failed load, and the pages: the
# player page with a search's results (13), the custom uniforms page with a preview (14), the
# locks page (15), the nations, facial hair and accessories editors (16 to 18), a dry run's dialog
# (19), Undo Last Run's question (20) and the components page (21), the window during File > Load
# Game with its progress (22), the question when the window is closed during a run (23) and the
# first chooser of File > Change Folders (24), the portraits page after a team run (25), on that
# team at 1x and 2x (26, 27) and beside the pictures a second run replaced (28), one PNG each in
# build/screenshots/.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build/release"
"$here/scripts/setup.sh" "$build" -DCMAKE_BUILD_TYPE=Release -DLIKENTOR_TESTS=OFF

out="$here/build/screenshots"
work="$here/build/screenshots-work"
rm -rf "$out" "$work"
# The setup choosers can only pick folders that exist.
mkdir -p "$work/start" "$work/program"
# The medium sample saved game, and a saved game without exports for the failed load.
"$build/bin/likentor-samplegame" --size medium --quiet "$work/game"
mkdir -p "$work/game/data/saved_games/broken.lg"

# The window starts in an empty folder (a first start); its setup choosers pick the program and
# game folders below.
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build/bin/likentor-screenshots" "$out" "$work/start" "$work/program" "$work/game"

echo
echo "Screenshots in $out:"
ls -1 "$out"
echo "The pages: 13-player-page.png (a search for Smith), 14-custom-uniforms-page.png (a preview),"
echo "15-locks-page.png, 16-nations-editor.png, 17-facial-hair-editor.png, 18-accessories-editor.png;"
echo "19-what-will-this-do.png (a dry run), 20-undo-last-run-confirm.png, 21-install-page.png;"
echo "22-load-progress.png (the load going), 23-close-during-run.png (answered Cancel),"
echo "24-change-folders-chooser.png; 25-portraits-after-run.png, 26-portraits-team-1x.png,"
echo "27-portraits-team-2x.png, 28-portraits-before-after.png."
