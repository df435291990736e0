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
source scripts/lib/screen.sh

ensure_packages || { echo "could not install the packages the demo needs" >&2; exit 1; }

echo "== building the shipping build (i686)"
if ! { cmake --preset win32 >/dev/null && cmake --build --preset win32 --target shell demo-game MorvessaArcade; } >build-demo.log 2>&1; then
  tail -30 build-demo.log; rm -f build-demo.log; exit 1
fi
rm -f build-demo.log

GAME_DIR="$ROOT/demo-out/TargetPractice"
lay_out_game_folder "$ROOT/build/win32/bin" "$GAME_DIR" "TargetPractice" "Target Practice"
echo "game folder: $GAME_DIR"
ls -1 "$GAME_DIR" | sed 's/^/  /'

# A prefix of its own: a wineserver is per prefix, and the tests stop theirs with wineserver -k.
PREFIX="$ROOT/build/wineprefix-demo"
trap wine_session_stop EXIT
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  WINE_SESSION_DISPLAY="$DISPLAY" wine_session_start "$PREFIX" "$ROOT/build/win32/bin/demo-game.exe" || exit 1
  echo "== running on $DISPLAY: play, then close the game (Esc); the shell comes back"
  (cd "$GAME_DIR" && wine TargetPractice.exe)
  echo "shell exited with code $?"
  exit 0
fi

SHOTS="$ROOT/demo-out/screenshots"
rm -rf "$SHOTS"; mkdir -p "$SHOTS"
echo "== no display: starting a virtual one (the first run also creates a Wine prefix, which takes a while)"
wine_session_start "$PREFIX" "$ROOT/build/win32/bin/demo-game.exe" || exit 1
echo "== scripted tour in virtual display $DISPLAY; screenshots in $SHOTS"
TOUR_START=$SECONDS
shot() { import -window root "$SHOTS/$1.png" && printf '  %3ds  %s.png  %s\n' $((SECONDS - TOUR_START)) "$1" "$2"; }
missed() { echo "  (not seen within the time allowed: $1)"; }

WHITE=FFFFFF        # the closing screen's button fill at client (466, 490)
MENU_BANNER=2C4078  # the catalogue's title banner at client (10, 10)
GAME_FIELD=225C3C   # the demo game's playing field at screen (300, 300)

xdotool mousemove 1000 10
# The player quits the game with Esc; the game also ends by itself later, should a key go astray.
(cd "$GAME_DIR" && MORVESSA_DEMO_GAME="exitafter=20000" wine TargetPractice.exe </dev/null >/dev/null 2>&1) &
SHELL_PID=$!

wait_for_pixel 300 300 "$GAME_FIELD" 20 || missed "the game's window"
sleep 0.5
shot 1-game-running "the game runs in its own window; the shell's window is hidden"

xdotool key Escape
client_pixel_wait 466 490 "$WHITE" 25 || missed "the closing screen"
sleep 0.3
shot 2-closing-screen "the game has ended: the closing screen with its countdown"

client_click 640 488
client_pixel_wait 10 10 "$MENU_BANNER" 10 || missed "the catalogue"
sleep 0.3
shot 3-other-games "\"Other Games\" clicked: the arcade layer's catalogue in the shell's window"

client_move 140 170
sleep 0.4
xdotool click 1
sleep 0.4
shot 4-tile-selected "a tile hovered and clicked in the catalogue"

client_click 360 482
client_pixel_wait 466 490 "$WHITE" 10 || missed "the closing screen after Back"
sleep 0.3
shot 5-back-to-closing-screen "\"Back\" clicked: the closing screen again, its countdown where it stood"
xdotool mousemove 1000 10

sleep 5
shot 6-countdown "five seconds later: the countdown has run on"

# The countdown has about 14 s left; the shell then closes itself.
deadline=$((SECONDS + 30))
while kill -0 "$SHELL_PID" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.2; done
if kill -0 "$SHELL_PID" 2>/dev/null; then
  echo "the shell did not exit by itself within 30 s"; exit 1
fi
wait "$SHELL_PID"
code=$?
shot 7-shell-closed "the countdown reached 0: the shell has closed itself"
echo "shell exited by itself with code $code, $((SECONDS - TOUR_START)) s into the tour"
echo "screenshots: $SHOTS"
