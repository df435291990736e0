#!/usr/bin/env bash
# Builds the shipping 32-bit programs and runs each benchmark under Wine; they print their own
# figures. Arguments are passed to every benchmark (e.g. a run count); BENCH=name runs one.
set -u
cd "$(dirname "$0")/.."
source scripts/lib/packages.sh
source scripts/lib/wine_session.sh
ensure_packages || exit 1
wine_pick_build
wine_build_notice
{ cmake --preset "$WINE_BUILD" && cmake --build --preset "$WINE_BUILD"; } >/dev/null || { echo "build failed"; exit 1; }
trap wine_session_stop EXIT
wine_session_start "$PWD/build/$WINE_PREFIX_NAME" "build/$WINE_BUILD/bin/demo-game.exe" || exit 1
for bench in build/$WINE_BUILD/bin/${BENCH:-*}_bench.exe; do
  echo "== $(basename "$bench" .exe)"
  wine "$bench" "$@"
done
