#!/usr/bin/env bash
# The installer and the game as a standard account meets them, which plain Wine hides (all runs as
# an administrator, and root passes every file permission). ACLs are simulated as modes in a copy of
# the prefix, the player's Wine session without root's override, and icacls by the demo game, whose
# journalled grant this script applies. Not verifiable here: real ACLs, refused HKLM writes, UAC.
# Usage: player_account.sh BIN_DIR   (under a Wine session: WINEPREFIX and DISPLAY set)
set -u
bin=$(realpath "$1")
[ -n "${WINEPREFIX:-}" ] && [ -n "${DISPLAY:-}" ] || { echo "FAIL: no Wine session"; exit 1; }
player=()
if [ "$(id -u)" = 0 ]; then
  caps=-dac_override,-dac_read_search,-fowner
  player=(setpriv --bounding-set "$caps" --inh-caps "$caps")
  "${player[@]}" true || { echo "FAIL: cannot run the player without root's override (setpriv)"; exit 1; }
fi
work=$(mktemp -d /tmp/player-account.XXXXXX)
server=""
stop_session() {
  [ -n "$server" ] && wineserver -k >/dev/null 2>&1 && wait "$server" "$keeper" 2>/dev/null
  server=""
}
trap 'stop_session; chmod -R u+w "$work"; rm -rf "$work"' EXIT
time cp -a "$WINEPREFIX" "$work/prefix" || { echo "FAIL: the prefix could not be copied"; exit 1; }
export WINEPREFIX=$work/prefix WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-};icacls.exe=n"
drive=$WINEPREFIX/drive_c
for system in "$drive/windows/system32" "$drive/windows/syswow64"; do
  [ -d "$system" ] && cp "$bin/demo-game.exe" "$system/icacls.exe"
done

start_session() {  # [PLAYER...]: this prefix's own wineserver and desktop, run by whoever is given
  setsid "$@" wineserver -f -p >/dev/null 2>&1 &
  server=$!
  MORVESSA_DEMO_GAME="windows=1;exitafter=200" "$@" wine "$bin/demo-game.exe" </dev/null >/dev/null 2>&1
  MORVESSA_DEMO_GAME="windows=0" setsid "$@" wine "$bin/demo-game.exe" </dev/null >/dev/null 2>&1 &
  keeper=$!
  # dac_override, dac_read_search and fowner are bits 1 to 3 of the bounding set.
  if [ $# -gt 0 ] && [ $(( 0x$(sed -n 's/^CapBnd:\s*//p' /proc/$server/status) & 0xE )) -ne 0 ]; then
    echo "FAIL: the player's wineserver may still override file permissions"; exit 1
  fi
}
failed=0
step() {  # FILTER [PLAYER...]
  "${@:2}" wine "$bin/shellkit_win_tests.exe" --gtest_filter="$1" </dev/null || failed=1
}

# For everyone: under Program Files (x86) from a 32-bit setup; its icacls is SysWOW64's.
shared=("$drive/Program Files/Morvessa Demo/Target Practice" "$drive/Program Files (x86)/Morvessa Demo/Target Practice")
rm -rf "${shared[@]}"  # whatever a test before left for everyone
for folder in "$drive/Program Files" "$drive/Program Files (x86)" "$drive/ProgramData"; do
  [ -d "$folder" ] && chmod -R a-w "$folder"
done
start_session "${player[@]}"
step 'ShellkitOnWindows.ByDefault*:ShellkitOnWindows.Neither*:PlayerAccount.PlayerCannotInstallForAllUsers' "${player[@]}"
stop_session
start_session
step PlayerAccount.AdministratorInstallsForAllUsers
stop_session
# The copy for everyone as Program Files leaves it to a player, then with the grant applied.
for folder in "${shared[@]}"; do [ -d "$folder" ] && chmod -R a-w "$folder"; done
start_session "${player[@]}"
step 'PlayerAccount.SharedCopyWithoutTheGrantStopsAtTheArcadeLayer:PlayerAccount.PlayerCannotChangeTheSharedCopy' "${player[@]}"
# The grants as modes: the arcade folder and its subfolders but Update\ and Backup\ become writable.
pattern='s/^.* cmdline="[^"]*" "C:\\\([^"]*\)" \/grant \*S-1-5-32-545:(AD,WD) \*S-1-5-32-545:(CI)(IO)M \/Q\r\?$/\1/p'
granted=0
while IFS= read -r folder; do
  folder=$drive/${folder//\\//}
  [ -d "$folder" ] || continue
  chmod u+w "$folder" && find "$folder" -mindepth 1 -type d ! -name Update ! -name Backup -exec chmod u+w {} +
  granted=1
done < <(cat "$drive"/windows/{system32,syswow64}/icacls.journal 2>/dev/null | sed -n "$pattern")
[ $granted = 1 ] || { echo "FAIL: no grant on an installed arcade folder was asked for"; failed=1; }
step PlayerAccount.SharedCopyWithTheGrantPlaysButItsCodeStaysClosed "${player[@]}"
stop_session
start_session
step PlayerAccount.AdministratorPlaysAndTheUpdateApplies
stop_session
exit $failed
