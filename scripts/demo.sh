#!/usr/bin/env bash
# Builds the shell, the demo game and the arcade layer, lays out a game folder the way a
# publisher ships it, and runs it under Wine: on your display when there is one, otherwise
# as a scripted tour in a virtual display that saves a screenshot of each step.
set -u
cd "$(dirname "$0")/.."
ROOT=$PWD
source scripts/lib/packages.sh
source scripts/lib/wine_session.sh
source scripts/lib/game_folder.sh

ensure_packages || { echo "could not install the packages the demo needs" >&2; exit 1; }

echo "== building (x86_64: this machine's Wine runs 64-bit programs only)"
if ! { cmake --preset win64 >/dev/null && cmake --build --preset win64 --target shell demo-game MorvessaArcade; } >build-demo.log 2>&1; then
  tail -30 build-demo.log; rm -f build-demo.log; exit 1
fi
rm -f build-demo.log

GAME_DIR="$ROOT/demo-out/TargetPractice"
lay_out_game_folder "$ROOT/build/win64/bin" "$GAME_DIR" "TargetPractice" "Target Practice"
echo "game folder: $GAME_DIR"
ls -1 "$GAME_DIR" | sed 's/^/  /'

trap wine_session_stop EXIT
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  WINE_SESSION_DISPLAY="$DISPLAY" wine_session_start "$ROOT/build/win64/wineprefix" "$ROOT/build/win64/bin/demo-game.exe" || exit 1
  echo "== running on $DISPLAY: play, then close the game; the shell comes back"
  (cd "$GAME_DIR" && wine TargetPractice.exe)
  exit 0
fi

SHOTS="$ROOT/demo-out/screenshots"
rm -rf "$SHOTS"; mkdir -p "$SHOTS"
wine_session_start "$ROOT/build/win64/wineprefix" "$ROOT/build/win64/bin/demo-game.exe" || exit 1
echo "== no display: scripted tour in virtual display $DISPLAY"
shot() { import -window root "$SHOTS/$1.png" && echo "  saved $SHOTS/$1.png ($2)"; }

xdotool mousemove 1000 10
# The game of the tour ends by itself, as if the player had finished.
(cd "$GAME_DIR" && MORVESSA_DEMO_GAME="exitafter=4000" wine TargetPractice.exe >/dev/null 2>&1) &
SHELL_PID=$!
sleep 2
shot 1-game-running "the game runs; the shell is hidden"
sleep 4
shot 2-game-ended "the game has ended; the shell is back"
xdotool key alt+F4
wait "$SHELL_PID"
echo "shell exited with code $?"
echo "screenshots: $SHOTS"
