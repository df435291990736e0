#!/usr/bin/env bash
# Builds the benchmark programs and runs each under Wine; they print their own figures.
set -u
cd "$(dirname "$0")/.."
source scripts/lib/packages.sh
source scripts/lib/wine_session.sh
ensure_packages || exit 1
{ cmake --preset win64 && cmake --build --preset win64; } >/dev/null || { echo "build failed"; exit 1; }
trap wine_session_stop EXIT
wine_session_start "$PWD/build/win64/wineprefix" build/win64/bin/demo-game.exe || exit 1
for bench in build/win64/bin/*_bench.exe; do
  echo "== $(basename "$bench" .exe)"
  wine "$bench"
done
