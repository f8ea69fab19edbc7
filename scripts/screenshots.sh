#!/usr/bin/env bash
# The real window under a virtual X display (the xcb platform), on the medium sample saved game:
# the first start's boxes and choosers, the dashboard before and during a batch run, the about box
# and the dialogs of loading, guarding, clearing the log and a failed load, and the pages: the
# player page with a search's results (13), the custom uniforms page with a preview (14), the
# locks page (15), the nations, facial hair and accessories editors (16 to 18), a dry run's dialog
# (19), Undo Last Run's question (20) and the components page (21), the window during File > Load
# Game with its progress (22), the question when the window is closed during a run (23) and the
# first chooser of File > Change Folders (24), the help window (25), the question about unsaved
# settings before a load (26), the portraits page after a team run (27), on that team at 1x and 2x
# (28, 29) and beside the pictures a second run replaced (30), one PNG each in build/screenshots/;
# the same again at 150 % on a 1366 x 768 screen, at 200 % on a 1600 x 1000 screen and at 100 % on
# a 1366 x 768 screen, each in a folder of its own below it.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build/release"
"$here/scripts/setup.sh" "$build" -DCMAKE_BUILD_TYPE=Release -DLIKENTOR_TESTS=OFF

out="$here/build/screenshots"
work="$here/build/screenshots-work"
rm -rf "$out" "$work"
mkdir -p "$work"
# The medium sample saved game, and a saved game without exports for the failed load.
"$build/bin/likentor-samplegame" --size medium --quiet "$work/game"
mkdir -p "$work/game/data/saved_games/broken.lg"

# One tour: the window starts in an empty folder (a first start); its setup choosers pick the
# program and game folders below. The window's own settings (its place, the recent games) go to
# the work folder, not to the user's configuration.
#   tour OUT SCREEN [QT_SCALE_FACTOR]
tour() {
  local shots=$1 screen=$2 scale=${3:-1}
  local run="$work/run-$(basename "$shots")"
  # The setup choosers can only pick folders that exist.
  mkdir -p "$run/start" "$run/program" "$run/config"
  QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale XDG_CONFIG_HOME="$run/config" \
    xvfb-run -a -s "-screen 0 ${screen}x24" \
    "$build/bin/likentor-screenshots" "$shots" "$run/start" "$run/program" "$work/game"
}
tour "$out" 1280x1024
# The same pages on small screens at large scales: 150 % on a 1366 x 768 laptop, 200 % on a
# 1600 x 1000 screen (3200 x 2000 device pixels), and a 1366 x 768 screen at 100 %.
tour "$out/scale-150-1366x768" 1366x768 1.5
tour "$out/scale-200-1600x1000" 3200x2000 2
tour "$out/screen-1366x768" 1366x768

echo
echo "Screenshots in $out:"
ls -1 "$out"
echo "The pages: 13-player-page.png (a search for Smith), 14-custom-uniforms-page.png (a preview),"
echo "15-locks-page.png, 16-nations-editor.png, 17-facial-hair-editor.png, 18-accessories-editor.png;"
echo "19-what-will-this-do.png (a dry run), 20-undo-last-run-confirm.png, 21-install-page.png;"
echo "22-load-progress.png (the load going), 23-close-during-run.png (answered Cancel),"
echo "24-change-folders-chooser.png, 25-help-window.png, 26-save-settings-question.png;"
echo "27-portraits-after-run.png, 28-portraits-team-1x.png, 29-portraits-team-2x.png,"
echo "30-portraits-before-after.png."
echo "At other scales and screens:"
echo "scale-150-1366x768/, scale-200-1600x1000/, screen-1366x768/."
