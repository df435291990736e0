#!/usr/bin/env bash
# Builds every preset and runs every test tier: native unit tests and fuzzing, then under Wine
# in a virtual display the Windows units and the end-to-end runs of the real shell on the
# shipping 32-bit build, and the Windows units once more on the 64-bit build.
set -u
cd "$(dirname "$0")/.."
source scripts/lib/packages.sh
source scripts/lib/wine_session.sh

ensure_packages || { echo "could not install the packages the tests need" >&2; exit 1; }
trap 'wine_session_stop; i386_emulation_stop' EXIT

build() {
  cmake --preset "$1" >"build-$1.log" 2>&1 && cmake --build --preset "$1" >>"build-$1.log" 2>&1
  local rc=$?
  [ $rc -ne 0 ] && { echo "build $1 failed:"; grep -E 'error|warning' "build-$1.log" | head -40; tail -20 "build-$1.log"; }
  rm -f "build-$1.log"
  return $rc
}

passed=0
failed=0
failures=""
run_ctest() {
  local tier=$1; shift
  local log
  log=$(mktemp)
  # Under the emulator a test gets a second run: qemu-i386 now and then ends a 32-bit process with a
  # fault of its own. Each test that needed it is named.
  local repeat=()
  [ "${I386_EMULATED:-0}" = 1 ] && [ "$tier" = win32 ] && repeat=(--repeat until-pass:2)
  ctest "$@" "${repeat[@]}" --output-on-failure 2>&1 | tee "$log" | grep -E '^ *[0-9]+/[0-9]+ Test|tests passed|The following tests FAILED|^\s+[0-9]+ - '
  sed -n -E 's/^ +Test +#[0-9]+: ([^ ]+) .* Passed .*/passed on its second run under the emulator: \1/p' "$log"
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1)
  if [ -z "$line" ]; then
    echo "$tier: ctest printed no summary"; tail -30 "$log"; failed=$((failed + 1)); failures+=" $tier"
  else
    local total bad
    bad=$(echo "$line" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/')
    total=$(echo "$line" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/')
    passed=$((passed + total - bad)); failed=$((failed + bad))
    [ "$bad" -ne 0 ] && { failures+=" $tier"; grep -B2 -A40 -E 'Failure|FAILED' "$log" | head -150; }
  fi
  rm -f "$log"
}

mkdir -p build
for preset in native win64 win32; do
  echo "== building $preset"
  build "$preset" || { echo "0 passed, 1 failed"; exit 1; }
done

echo "== native unit tests and fuzzing: native build (clang, AddressSanitizer, UndefinedBehaviorSanitizer)"
run_ctest native --preset native

# One WoW64 prefix runs both Windows builds.
wine_pick_build
wine_session_start "$PWD/build/$WINE_PREFIX_NAME" "build/$WINE_BUILD/bin/demo-game.exe" || { echo "0 passed, 1 failed"; exit 1; }
if [ "$WINE_BUILD" = win32 ]; then
  echo "== Windows unit tests and end-to-end runs under Wine: win32 build (i686, the shipping build)"
  i386_emulation_notice
  run_ctest win32 --preset win32
  echo "== Windows unit tests under Wine: win64 build (x86_64)"
  run_ctest win64 --preset win64 -LE e2e
else
  wine_build_notice
  echo "== Windows unit tests and end-to-end runs under Wine: win64 build (x86_64)"
  run_ctest win64 --preset win64
fi
wine_session_stop
echo
wine_build_notice
i386_emulation_notice
echo "total: $passed passed, $failed failed"
[ "$failed" -eq 0 ] || { echo "failing tiers:$failures"; exit 1; }
