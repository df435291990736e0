#!/usr/bin/env bash
# The Windows build of check under Wine against the native one on the same folders: the same
# reports and exit codes, the closing screen's fit estimated natively as GDI measures it.
# Usage: agreement.sh NATIVE_SHELLKIT WINDOWS_SHELLKIT_EXE BIN_DIR
set -u
kit=$1 winkit=$2 bin=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
# Laid out by the Windows build, with the shell it finds beside itself.
wine "$winkit" new base --name "Target Practice" --app-id 1001 --channel 7 --game "$(winepath -w "$bin/demo-game.exe")" \
  --background "$(winepath -w "$bin/testdata/Background.jpg")" --arcade "$(winepath -w "$bin/MorvessaArcade.dll")" \
  >/dev/null || exit 1
cmp base/'Target Practice.exe' "$bin/shell.exe" || exit 1
# Titles of 150 to 254 narrow, wide and mixed letters, around where the text reaches the buttons.
python3 - <<'PY'
import random, shutil, string
random.seed(9)
for kind, letters in {"narrow": "iljtf", "wide": "WMQOD", "mixed": string.ascii_letters}.items():
    for length in (150, 175, 190, 205, 220, 254):
        words = " ".join("".join(random.choices(letters, k=random.randint(2, 10))) for _ in range(length // 2))
        folder = shutil.copytree("base", f"{kind}-{length}")
        with open(f"{folder}/MAW_002.dat", "wb") as f:
            f.write(f"Application Name={words[:length].rstrip()}\r\nApplication ID=1001\r\nDeveloper Channel ID 7\r\n".encode())
# Each trap of the native table once more, for the Windows build's report.
settings = b"Application Name=%s\r\nApplication ID=1001\r\nDeveloper Channel ID 7\r\n"
traps = {
    "mark": b"\xEF\xBB\xBF" + settings % b"Target Practice",
    "blanks": (settings % b" Target Practice").replace(b"1001", b"1001 "),
    "utf8": settings % "Caf\u00e9 Practice".encode("utf-8"),
    "cp1252": settings % b"Caf\xE9 Practice\t",
    "display": settings % b"Pebble: The Hop",
}
for folder, text in traps.items():
    shutil.copytree("base", folder)
    open(f"{folder}/MAW_002.dat", "wb").write(text)
shutil.copytree("base", "strays")
for name in ("Thumbs.db", ".DS_Store", "Target Practice.pdb", "Target Practice Setup.exe"):
    open(f"strays/{name}", "w").write("x")
shutil.copytree("base", "long")
for extension in (".exe", ".MWG"):
    shutil.move(f"long/Target Practice{extension}", f"long/{'N' * 101}{extension}")
open("base/MAW_002.dat", "ab").write(b"Developer Channel ID=8\n")
PY
cp -r base shell-as-game && cp "$bin/shell.exe" "shell-as-game/Target Practice.MWG"
cp -r base dark && convert-im6.q16 -size 720x540 xc:white -fill '#303030' -draw 'rectangle 460,30 689,471' dark/Background.jpg
normalise() { tr -d '\r' | sed -e 's#\\#/#g' -e 's/ (\(measured\|estimated\) with [^)]*)//'; }
status=0 warned=0 folders=0
for folder in */; do
  folders=$((folders + 1))
  folder=${folder%/}
  native=$("$kit" check "$folder" | normalise; echo "exit ${PIPESTATUS[0]}")
  windows=$(wine "$winkit" check "$folder" | normalise; echo "exit ${PIPESTATUS[0]}")
  # check always prints its count, so nothing at all means it never ran (seen once, under load).
  if [ "${windows%%exit *}" = "" ]; then
    echo "$folder: the Windows build printed nothing ($windows); running it once more" >&2
    windows=$(wine "$winkit" check "$folder" | normalise; echo "exit ${PIPESTATUS[0]}")
  fi
  [ "$native" = "$windows" ] || { echo "$folder: the two builds disagree"; diff <(echo "$native") <(echo "$windows"); status=1; }
  grep -q 'text ends at y' <<<"$windows" && warned=$((warned + 1))
  echo "$folder: $(grep -o 'ends at y [0-9]*' <<<"$windows" || echo fits)"
done
# Both sides of the line must be among the folders, or the comparison shows little.
if [ "$warned" -lt 3 ] || [ "$warned" -gt 15 ]; then echo "$warned of 18 titles overflow: pick other lengths"; status=1; fi
[ $status -eq 0 ] && echo "agreement: $folders folders, the same reports and exit codes from both builds"
exit $status
