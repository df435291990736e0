#!/usr/bin/env bash
# Builds the Windows programs and runs each benchmark under Wine; they print their own figures.
# Arguments are passed to every benchmark (e.g. a run count); BENCH=name runs one.
# BUILD=win64 measures the x86_64 build (default: the shipping win32 build, which under the
# emulator gives no performance figures). AGAINST=REVISION also builds that revision's shell (in
# build/against-REVISION, a git worktree) and the benchmarks that run the shell measure both in turn.
set -u
cd "$(dirname "$0")/.."
source scripts/lib/packages.sh
source scripts/lib/wine_session.sh
ensure_packages || exit 1
trap 'wine_session_stop; i386_emulation_stop' EXIT
wine_pick_build
wine_build_notice
build=${BUILD:-$WINE_BUILD}
[ "$build" = win32 ] && i386_emulation_notice
{ cmake --preset "$build" && cmake --build --preset "$build"; } >/dev/null || { echo "build failed"; exit 1; }
if [ -n "${AGAINST:-}" ]; then
  other=build/against-$AGAINST
  [ -d "$other" ] || git worktree add -q --detach "$other" "$AGAINST" || exit 1
  (cd "$other" && cmake --preset "$build" && cmake --build --preset "$build" --target shell) >/dev/null ||
    { echo "the shell of $AGAINST did not build"; exit 1; }
fi
wine_session_start "$PWD/build/$WINE_PREFIX_NAME" "build/$WINE_BUILD/bin/demo-game.exe" || exit 1
if [ -n "${AGAINST:-}" ]; then
  MORVESSA_BENCH_AGAINST=$(winepath -w "$PWD/$other/build/$build/bin/shell.exe")
  export MORVESSA_BENCH_AGAINST MORVESSA_BENCH_AGAINST_LABEL="$AGAINST"
fi
for bench in build/$build/bin/${BENCH:-*}_bench.exe; do
  echo "== $(basename "$bench" .exe) ($build build)"
  wine "$bench" "$@"
done
