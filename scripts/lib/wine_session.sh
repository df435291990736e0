# A virtual X display and a persistent wineserver of our own, stopped by PID on exit.
# Usage: wine_pick_build; wine_session_start PREFIX_DIR DEMO_GAME_EXE; ...; wine_session_stop

# The build that Wine can run here: win32, the shipping build, wherever 32-bit programs run,
# natively or through the emulator (i386_emulation.sh). Only where they cannot run at all
# (binfmt_misc unavailable) do the Windows tiers run the x86_64 build, in a prefix of its own.
WINE_BUILD=win32
WINE_PREFIX_NAME=wineprefix
wine_pick_build() {
  WINE_BUILD=win32
  WINE_PREFIX_NAME=wineprefix
  if [ "${I386_EMULATED:-0}" -eq 1 ]; then
    wine_use_64bit_loader
  elif [ -x /usr/lib/wine/wine ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    WINE_BUILD=win64
    WINE_PREFIX_NAME=wineprefix64
    wine_use_64bit_loader
  fi
}

# Every program through the 64-bit loader (found first on PATH as wine and wine-stable, which
# wineboot calls), which hands 32-bit ones to the 32-bit loader: Debian's wine starts the 32-bit
# loader first for every program, which under the emulator costs each 64-bit one its start-up.
wine_use_64bit_loader() {
  local shim
  shim="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build/wine64-loader"
  mkdir -p "$shim"
  printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$shim/wine"
  chmod +x "$shim/wine"
  cp "$shim/wine" "$shim/wine-stable"
  export WINELOADER=/usr/lib/wine/wine64
  case ":$PATH:" in *":$shim:"*) ;; *) export PATH="$shim:$PATH" ;; esac
}

# Said wherever the 32-bit build could not be run, so that no one takes the run for more.
wine_build_notice() {
  [ "$WINE_BUILD" = win32 ] && return 0
  echo "NOTE: this machine runs no 32-bit programs, natively or through binfmt_misc, so the shipping 32-bit"
  echo "      build is built but not run; the Windows tiers run the x86_64 build instead."
}

XVFB_PID=""
WINESERVER_PID=""
DESKTOP_KEEPER_PID=""

wine_session_start() {
  export WINEPREFIX="$1"
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d;winemenubuilder.exe=d"
  if [ -z "${WINE_SESSION_DISPLAY:-}" ]; then
    local n
    for n in $(seq 91 160); do
      if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then break; fi
    done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    local tries=0
    until xdpyinfo >/dev/null 2>&1; do
      tries=$((tries + 1))
      if [ $tries -gt 100 ] || ! kill -0 "$XVFB_PID" 2>/dev/null; then
        echo "Xvfb did not start on $DISPLAY" >&2; return 1
      fi
      sleep 0.1
    done
  else
    export DISPLAY="$WINE_SESSION_DISPLAY"
  fi
  # A prefix made before wine32 was installed runs 64-bit programs only: make it again.
  if [ "$WINE_BUILD" = win32 ] && [ -d "$WINEPREFIX" ] && [ ! -d "$WINEPREFIX/drive_c/windows/syswow64" ]; then
    rm -rf "$WINEPREFIX"
  fi
  if [ ! -f "$WINEPREFIX/.morvessa-ready" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    # A crash must end the program, not open a debugger that waits forever; the registry
    # desktop keeps exit codes and the work area fixed at 1024 x 768.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    touch "$WINEPREFIX/.morvessa-ready"
  fi
  wineserver -w
  setsid wineserver -f -p >/dev/null 2>&1 &
  WINESERVER_PID=$!
  # The first window brings up Wine's desktop process, which would otherwise inherit (and
  # hold open) the output pipe of whichever test program happened to start it.
  MORVESSA_DEMO_GAME="windows=1;exitafter=200" wine "$2" </dev/null >/dev/null 2>&1
  # A windowless program for the whole session keeps that desktop: without one it closes a
  # second after the last program ends, and a program that starts just then gets X errors
  # instead of windows.
  MORVESSA_DEMO_GAME="windows=0" setsid wine "$2" </dev/null >/dev/null 2>&1 &
  DESKTOP_KEEPER_PID=$!
}

wine_session_stop() {
  if [ -n "$WINESERVER_PID" ]; then
    wineserver -k >/dev/null 2>&1
    wait "$WINESERVER_PID" "$DESKTOP_KEEPER_PID" 2>/dev/null
    WINESERVER_PID=""
    DESKTOP_KEEPER_PID=""
  fi
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=""
  fi
}
