#!/usr/bin/env bash
# Lays out the demo game with the native shellkit from a Windows build's programs and builds two
# installers for the tests under Wine: 1.2.3 with a level file that 1.3.0 no longer ships, and
# another publisher's game of the same title.
# Usage: make_installer.sh NATIVE_SHELLKIT BIN_DIR
set -eu
kit=$1 bin=$2
out="$bin/shellkit-installer"
rm -rf "$out"; mkdir -p "$out"
"$kit" new "$out/Target Practice" --name "Target Practice" --app-id 1001 --channel 7 --publisher "Morvessa Demo" \
  --game "$bin/demo-game.exe" --background "$bin/testdata/Background.jpg" --arcade "$bin/MorvessaArcade.dll" \
  --shell "$bin/shell.exe"
mkdir "$out/Target Practice/Levels"
printf 'level one\r\n' >"$out/Target Practice/Levels/Old Level.dat"
"$kit" installer "$out/Target Practice" --out "$out/Target Practice Setup.exe" --version 1.2.3
rm -r "$out/Target Practice/Levels"
"$kit" installer "$out/Target Practice" --out "$out/Target Practice 1.3 Setup.exe" --version 1.3.0
mkdir "$out/Target Practice/Levels"
printf 'level one\r\n' >"$out/Target Practice/Levels/Old Level.dat"
mkdir "$out/Other Studio"
"$kit" new "$out/Other Studio/Target Practice" --name "Target Practice" --app-id 1001 --channel 7 \
  --publisher "Other Studio" --game "$bin/demo-game.exe" --background "$bin/testdata/Background.jpg" \
  --arcade "$bin/MorvessaArcade.dll" --shell "$bin/shell.exe"
"$kit" installer "$out/Other Studio/Target Practice" --out "$out/Other Studio Setup.exe" --version 2.0.0
