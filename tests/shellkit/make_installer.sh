#!/usr/bin/env bash
# Lays out the demo game with the native shellkit from a Windows build's programs and builds
# its installer, for the tests that install it under Wine.
# Usage: make_installer.sh NATIVE_SHELLKIT BIN_DIR
set -eu
kit=$1 bin=$2
out="$bin/shellkit-installer"
rm -rf "$out"; mkdir -p "$out"
"$kit" new "$out/Target Practice" --name "Target Practice" --app-id 1001 --channel 7 --publisher "Morvessa Demo" \
  --game "$bin/demo-game.exe" --background "$bin/testdata/Background.jpg" --arcade "$bin/MorvessaArcade.dll" \
  --shell "$bin/shell.exe"
"$kit" installer "$out/Target Practice" --out "$out/Target Practice Setup.exe" --version 1.2.3
