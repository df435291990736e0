#!/usr/bin/env bash
# Builds the shell, the demo game, the arcade layer and the publisher kit; lays out a game
# folder with the kit, checks it and builds its installer; then runs it under Wine: on your
# display when there is one, otherwise as a scripted tour in a virtual display that saves a
# screenshot of each step, followed by a silent install, a run and an uninstall.
set -u
cd "$(dirname "$0")/.."
ROOT=$PWD
source scripts/lib/packages.sh
source scripts/lib/wine_session.sh
source scripts/lib/screen.sh

ensure_packages || { echo "could not install the packages the demo needs" >&2; exit 1; }

trap i386_emulation_stop EXIT
wine_pick_build
wine_build_notice
i386_emulation_notice
echo "== building the $WINE_BUILD build and the publisher kit"
if ! { cmake --preset "$WINE_BUILD" >/dev/null && cmake --build --preset "$WINE_BUILD" --target shell demo-game MorvessaArcade shellkit &&
  cmake --preset native >/dev/null && cmake --build --preset native --target shellkit; } >build-demo.log 2>&1; then
  tail -30 build-demo.log; rm -f build-demo.log; exit 1
fi
rm -f build-demo.log

# Said where the 32-bit programs start: under the emulator each start takes a second or so.
VIA=""
[ "$I386_EMULATED" -eq 1 ] && VIA=" (32-bit, through qemu-i386-static)"
elapsed() { awk -v from="$1" -v to="$EPOCHREALTIME" 'BEGIN { printf "%.2f", to - from }'; }

BIN="$ROOT/build/$WINE_BUILD/bin"
KIT="$ROOT/build/native/bin/shellkit"
GAME="Target Practice"
GAME_DIR="$ROOT/demo-out/TargetPractice"
SETUP="$ROOT/demo-out/TargetPractice-Setup.exe"
rm -rf "$GAME_DIR" "$SETUP"
mkdir -p "$ROOT/demo-out"
sh demo/background/make_background.sh "$ROOT/demo-out/Background.jpg"
echo "== shellkit new: the game folder"
"$KIT" new "$GAME_DIR" --name "$GAME" --app-id 1001 --channel 7 --publisher "Morvessa Demo" \
  --game "$BIN/demo-game.exe" --background "$ROOT/demo-out/Background.jpg" --arcade "$BIN/MorvessaArcade.dll" \
  --shell "$BIN/shell.exe" || exit 1
(cd "$GAME_DIR" && find . -type f | sort | sed 's#^\./#  #')
echo "== shellkit check"
"$KIT" check "$GAME_DIR" || exit 1
echo "== shellkit installer"
started=$EPOCHREALTIME
"$KIT" installer "$GAME_DIR" --out "$SETUP" --version 1.0.0 || exit 1
printf '  built in %.2f s\n' "$(elapsed "$started")"
# The machine field of the setup's PE header: 0x14c is 32-bit x86, 0x8664 x86-64.
pe_offset=$(od -An -tu4 -j60 -N4 "$SETUP" | tr -d ' ')
machine=$(od -An -tx2 -j$((pe_offset + 4)) -N2 "$SETUP" | tr -d ' ')
case $machine in
  014c) echo "  $(basename "$SETUP"): a 32-bit (x86) Windows program, PE32" ;;
  8664) echo "  $(basename "$SETUP"): a 64-bit (x86-64) Windows program, PE32+" ;;
  *) echo "  $(basename "$SETUP"): PE machine 0x$machine" ;;
esac

# The arcade DLL run as the shell runs it, by the Windows kit of its own architecture.
arcade_check() {
  echo "== shellkit arcade: the game's arcade DLL, 1000 frames in 10 sessions"
  (cd "$GAME_DIR" && wine "$BIN/shellkit.exe" arcade MorvessaArcade/MorvessaArcade.dll --frames 1000 --sessions 10 | tr -d '\r')
}

# A prefix of its own: a wineserver is per prefix, and the tests stop theirs with wineserver -k.
PREFIX="$ROOT/build/$WINE_PREFIX_NAME-demo"
trap 'wine_session_stop; i386_emulation_stop' EXIT
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  WINE_SESSION_DISPLAY="$DISPLAY" wine_session_start "$PREFIX" "$BIN/demo-game.exe" || exit 1
  arcade_check
  echo "== running on $DISPLAY$VIA: play, then close the game (Esc); the shell comes back"
  (cd "$GAME_DIR" && wine "$GAME.exe")
  echo "shell exited with code $?"
  exit 0
fi

SHOTS="$ROOT/demo-out/screenshots"
rm -rf "$SHOTS"; mkdir -p "$SHOTS"
echo "== no display: starting a virtual one (the first run also creates a Wine prefix, which takes a while)"
wine_session_start "$PREFIX" "$BIN/demo-game.exe" || exit 1
arcade_check
echo "== scripted tour in virtual display $DISPLAY$VIA; screenshots in $SHOTS"
TOUR_START=$SECONDS
shot() { import -window root "$SHOTS/$1.png" && printf '  %3ds  %s.png  %s\n' $((SECONDS - TOUR_START)) "$1" "$2"; }
missed() { echo "  (not seen within the time allowed: $1)"; }

WHITE=FFFFFF        # the closing screen's button fill at client (466, 490)
MENU_BANNER=2C4078  # the catalogue's title banner at client (10, 10)
GAME_FIELD=225C3C   # the demo game's playing field at screen (300, 300)

xdotool mousemove 1000 10
# The player quits the game with Esc; the game also ends by itself later, should a key go astray.
(cd "$GAME_DIR" && MORVESSA_DEMO_GAME="exitafter=20000" wine "$GAME.exe" </dev/null >/dev/null 2>&1) &
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

# The player's side: the installer, silent, for this player alone (no administrator rights
# asked); the installed game; and the uninstaller, which leaves what the game wrote and names
# it in its log.
INSTALLED_UNIX="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Programs/Morvessa Demo/$GAME"
INSTALLED="C:${INSTALLED_UNIX#"$WINEPREFIX/drive_c"}"
INSTALLED=${INSTALLED//\//\\}
echo "== installing silently for the current player: TargetPractice-Setup.exe /S"
started=$EPOCHREALTIME
wine "$SETUP" /S </dev/null >/dev/null 2>&1 || { echo "the installer failed"; exit 1; }
printf '  installed in %.2f s into %s:\n' "$(elapsed "$started")" "$INSTALLED"
(cd "$INSTALLED_UNIX" && find . -type f | sort | sed 's#^\./#  #')
find "$WINEPREFIX/drive_c" -name "$GAME.lnk" | sed "s#^$WINEPREFIX/#  shortcut: #"
echo "== running the installed game: it ends by itself after 3 s and the closing screen comes back"
(cd /tmp && MORVESSA_DEMO_GAME="exitafter=3000" wine "$INSTALLED\\$GAME.exe" </dev/null >/dev/null 2>&1) &
SHELL_PID=$!
client_pixel_wait 466 490 "$WHITE" 25 || missed "the installed game's closing screen"
sleep 0.3
shot 8-installed-game "the installed game's closing screen"
echo "  waiting for its countdown to close it"
wait "$SHELL_PID"
echo "== uninstalling silently"
wine "$INSTALLED\\Uninstall.exe" /S </dev/null >/dev/null 2>&1
deadline=$((SECONDS + 30))
while [ -e "$INSTALLED_UNIX/Uninstall.exe" ] && [ $SECONDS -lt $deadline ]; do sleep 0.2; done
sleep 1
if [ -d "$INSTALLED_UNIX" ]; then
  echo "  left in $INSTALLED (what the game wrote; the arcade layer's files went with it):"
  (cd "$INSTALLED_UNIX" && find . -type f | sort | sed 's#^\./#    #')
else
  echo "  $INSTALLED is gone: the game wrote nothing of its own there, the arcade layer's files went too"
fi
echo "  the uninstaller's log:"
sed 's/^/    /' "$WINEPREFIX"/drive_c/users/*/Temp/"$GAME uninstall.log"
find "$WINEPREFIX/drive_c" -name "$GAME.lnk" | grep -q . && echo "  a shortcut was left behind" || echo "  shortcuts removed"
