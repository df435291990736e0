#!/usr/bin/env bash
# Deliberate faults in the product code, each a small patch in tests/mutants/ whose header names the
# fault and the tests that must catch it: native:, win:, e2e:, kit: or kitwin: (the publisher kit's
# native and Windows tests) and a gtest filter; kitsign: its signing run; player: player_account.sh;
# arcade: and the cases of arcade_faults.sh, comma-separated. Each is applied to a scratch copy of
# the tree, built, and run against those tests; a whole run takes the better part of an hour.
# Usage: tests/mutants.sh [PATCH...]
set -u
cd "$(dirname "$0")/.."
ROOT=$PWD
source scripts/lib/packages.sh
source scripts/lib/wine_session.sh
ensure_packages || exit 2
wine_pick_build
W=$WINE_BUILD
patches=("$@")
[ ${#patches[@]} -eq 0 ] && patches=(tests/mutants/*.patch)
TREE=${MUTANTS_TREE:-/tmp/morvessa-mutants}
mkdir -p "$TREE"
# Only files that differ are copied, and stamped now: the scratch builds stay incremental, and a
# fault left in the scratch copy by an interrupted run is always built away.
stage=$(mktemp -d)
git ls-files -z --cached --others --exclude-standard | tar --null -T - -cf - | tar -C "$stage" -xf -
(cd "$stage" && find . -type f) | while read -r file; do
  cmp -s "$stage/$file" "$TREE/$file" || { mkdir -p "$(dirname "$TREE/$file")" && cp "$stage/$file" "$TREE/$file"; }
done
rm -rf "$stage"

build() {
  (cd "$TREE" && cmake --preset native && cmake --preset $W &&
    cmake --build --preset native --target unit_tests shellkit_tests &&
    cmake --build --preset $W --target win_tests e2e_tests shellkit_win_tests shellkit MorvessaArcade_variants &&
    # The update tests try the other architecture's DLL too; the kit's tests lay out folders of both builds.
    cmake --preset win32 && cmake --build --preset win32 --target MorvessaArcade MorvessaArcade_variants shell demo-game win_testdata &&
    cmake --preset win64 && cmake --build --preset win64 --target MorvessaArcade MorvessaArcade_variants shell demo-game) >"$TREE/build.log" 2>&1
}

# run_tests "native:Filter win:Filter ...": 0 when every one passes.
run_tests() {
  local entry tier filter rc=0
  for entry in $1; do
    tier=${entry%%:*}
    filter=${entry#*:}
    case $tier in
      native) (cd "$TREE" && timeout 600 build/native/bin/unit_tests --gtest_filter="$filter") ;;
      win) (cd "$TREE" && timeout 600 wine build/$W/bin/win_tests.exe --gtest_filter="$filter") ;;
      e2e) (cd "$TREE" && timeout 600 wine build/$W/bin/e2e_tests.exe --gtest_filter="$filter") ;;
      kit) (cd "$TREE" && timeout 600 build/native/bin/shellkit_tests --gtest_filter="$filter") ;;
      kitwin) (cd "$TREE" && bash tests/shellkit/make_installer.sh build/native/bin/shellkit build/$W/bin &&
        timeout 600 wine build/$W/bin/shellkit_win_tests.exe --gtest_filter="$filter") ;;
      kitsign) (cd "$TREE" && timeout 600 bash tests/shellkit/signing.sh build/native/bin/shellkit build/$W/bin) ;;
      player) (cd "$TREE" && bash tests/shellkit/make_installer.sh build/native/bin/shellkit build/$W/bin &&
        timeout 600 bash tests/shellkit/player_account.sh build/$W/bin) ;;
      arcade) (cd "$TREE" && bash tests/shellkit/arcade_faults.sh build/$W/bin/shellkit.exe build/$W/bin ${filter//,/ }) ;;
      *) echo "unknown tier in $entry"; return 2 ;;
    esac >"$TREE/test.log" 2>&1 || rc=1
  done
  return $rc
}

trap wine_session_stop EXIT
build || { echo "the unchanged tree does not build:"; tail -20 "$TREE/build.log"; exit 2; }
wine_session_start "$TREE/build/$WINE_PREFIX_NAME" "$TREE/build/$W/bin/demo-game.exe" || exit 2
wine_build_notice

# A test that fails on the unchanged tree proves nothing: each one is run once without a fault.
declare -A clean
for patch in "${patches[@]}"; do
  for entry in $(sed -n 's/^Tests: //p' "$patch"); do
    [ -n "${clean[$entry]+set}" ] && continue
    run_tests "$entry" && clean[$entry]=1 || { clean[$entry]=0; echo "fails unchanged: $entry"; }
  done
done

caught=0
survivors=()
for patch in "${patches[@]}"; do
  name=$(basename "$patch" .patch)
  tests=$(sed -n 's/^Tests: //p' "$patch")
  for entry in $tests; do
    [ "${clean[$entry]}" = 1 ] || { survivors+=("$name (its tests fail unchanged)"); continue 2; }
  done
  patch -p1 -s --no-backup-if-mismatch -d "$TREE" <"$patch" || { echo "BROKEN    $name: does not apply"; exit 2; }
  if ! build; then
    echo "BROKEN    $name: does not build"; grep -m5 error "$TREE/build.log"; survivors+=("$name (does not build)")
  elif run_tests "$tests"; then
    echo "SURVIVED  $name: $(sed -n 's/^Fault: //p' "$patch")"; survivors+=("$name")
  else
    echo "caught    $name"; caught=$((caught + 1))
  fi
  patch -R -p1 -s --no-backup-if-mismatch -d "$TREE" <"$patch"
done
build
echo "caught $caught of ${#patches[@]}"
for survivor in "${survivors[@]}"; do echo "  survived: $survivor"; done
