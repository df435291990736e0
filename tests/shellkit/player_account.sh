#!/usr/bin/env bash
# The installer and the game as a player with a standard account meets them, which plain Wine
# hides: it runs everything as an administrator, and as root no file permission applies.
#
# Real here: the setup's own requests (its folders, its registry entries, the icacls grant it asks
# for), Wine refusing the writes that the file system's modes forbid, and the shell and the arcade
# layer meeting those refusals. Simulated: the ACLs. A standard account's world is recreated with
# Unix modes in a copy of the session's prefix (Program Files, Program Files (x86) and ProgramData
# cannot be written; the profile can), the player's steps run the whole Wine session without
# root's power over permissions, and the grant the setup asked of icacls.exe (recorded by a
# stand-in, Wine's own being a dummy) is applied as Windows would apply it: the arcade folder's
# tree made writable. Not verifiable under Wine: real ACLs and their inheritance, a standard
# user's refused HKLM writes (Wine's registry has no permissions) and UAC (Wine never elevates).
# Usage: player_account.sh BIN_DIR   (under a Wine session: WINEPREFIX and DISPLAY set)
set -u
bin=$(realpath "$1")
[ -n "${WINEPREFIX:-}" ] && [ -n "${DISPLAY:-}" ] || { echo "FAIL: no Wine session (WINEPREFIX, DISPLAY)"; exit 1; }
player=()
if [ "$(id -u)" = 0 ]; then
  # As root, the player must lose the override, or nothing below is tested.
  caps=-dac_override,-dac_read_search,-fowner
  command -v setpriv >/dev/null || { echo "FAIL: setpriv is missing: cannot run the player without root's override"; exit 1; }
  player=(setpriv --bounding-set "$caps" --inh-caps "$caps")
  "${player[@]}" true || { echo "FAIL: setpriv refused to drop root's override"; exit 1; }
fi

work=$(mktemp -d /tmp/player-account.XXXXXX)
server=""
keeper=""
stop_session() {
  [ -n "$server" ] || return 0
  wineserver -k >/dev/null 2>&1
  wait "$server" "$keeper" 2>/dev/null
  server=""
}
trap 'stop_session; chmod -R u+w "$work"; rm -rf "$work"' EXIT

started=$(date +%s%N)
cp -a "$WINEPREFIX" "$work/prefix" || { echo "FAIL: the prefix could not be copied"; exit 1; }
echo "prefix copied in $(( ($(date +%s%N) - started) / 1000000 )) ms"
export WINEPREFIX=$work/prefix
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-};icacls.exe=n"
drive=$WINEPREFIX/drive_c
for system in "$drive/windows/system32" "$drive/windows/syswow64"; do
  [ -d "$system" ] && cp "$bin/icacls_recorder.exe" "$system/icacls.exe"
done

# start_session [PLAYER...]: this prefix's own wineserver and desktop, run by whoever is given.
start_session() {
  setsid "$@" wineserver -f -p >/dev/null 2>&1 &
  server=$!
  MORVESSA_DEMO_GAME="windows=1;exitafter=200" "$@" wine "$bin/demo-game.exe" </dev/null >/dev/null 2>&1
  MORVESSA_DEMO_GAME="windows=0" setsid "$@" wine "$bin/demo-game.exe" </dev/null >/dev/null 2>&1 &
  keeper=$!
  # dac_override, dac_read_search and fowner are bits 1 to 3 of the bounding set.
  if [ $# -gt 0 ] && [ $(( 0x$(sed -n 's/^CapBnd:\s*//p' /proc/$server/status) & 0xE )) -ne 0 ]; then
    echo "FAIL: the player's wineserver still may override file permissions"; exit 1
  fi
}

failed=0
step() {  # step FILTER [PLAYER...]
  local filter=$1; shift
  "$@" wine "$bin/player_steps.exe" --gtest_filter="$filter" </dev/null || failed=1
}

# A standard account's world: the shared folders closed, the profile open.
shared=("$drive/Program Files" "$drive/Program Files (x86)" "$drive/ProgramData")
for folder in "${shared[@]}"; do [ -d "$folder" ] && chmod -R a-w "$folder"; done

start_session "${player[@]}"
step 'Player.InstallsForThemselvesPlaysUpdatesAndUninstalls:Player.CannotInstallForEveryone' "${player[@]}"
stop_session

start_session
step Admin.InstallsForEveryone
stop_session

# The copy for everyone as Program Files leaves it to a player: nothing in it writable.
installed="$drive/Program Files/Target Practice"
chmod -R a-w "$installed"
start_session "${player[@]}"
step Player.SharedCopyWithoutTheGrantStopsAtTheArcadeLayer "${player[@]}"
# The grant as recorded, applied as Windows would: the named folder's tree, and nothing else.
grant=$(sed -n 's/^"[^"]*" "C:\\\(.*\)" \/grant \*S-1-5-32-545:(OI)(CI)M \/T \/Q\r$/\1/p' "$drive/windows/system32/icacls.log")
if [ -n "$grant" ] && [ -d "$drive/${grant//\\//}" ]; then
  chmod -R u+w "$drive/${grant//\\//}"
else
  echo "FAIL: no Users Modify grant on an installed folder was asked for"; failed=1
fi
step Player.SharedCopyWithTheGrantPlaysAndUpdates "${player[@]}"
stop_session
exit $failed
