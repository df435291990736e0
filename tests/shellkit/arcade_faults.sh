#!/usr/bin/env bash
# shellkit arcade under Wine on the reference DLL and on broken copies of it, one fault each (the
# "fault=" key of ArcadeTest.txt, a staged update without an export, or the variant DLL in
# arcade-variants/ named like the case): each must give exactly its lines (glob patterns where
# figures vary with the machine) and its exit code.
# Usage: arcade_faults.sh SHELLKIT_EXE BIN_DIR [CASE...]
set -u
kit=$(realpath "$1") bin=$(realpath "$2")
shift 2
only=" $* "
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
without=$(winepath -w "$bin/arcade-variants/without-madll_GetValueAsFloat/MorvessaArcade.dll" 2>/dev/null)
D=Game/MorvessaArcade/MorvessaArcade.dll
HEAP="where the shell's heap lies"
SLOW="the menu and the closing countdown run slow"
COVER="the first frame after a repaint leaves 388800 pixel(s) outside its rectangles: the window keeps old pixels there"
UNSHOWN="388800 pixel(s) changed outside the reported rectangles (the first at 0, 0): the shell does not show them"
# The build under test, and the other one, whose DLL this kit refuses.
build=$(basename "$(dirname "$bin")")
declare -A machine=([win32]="32-bit x86" [win64]="64-bit x64")
if [ "$build" = win32 ]; then other_build=win64; else other_build=win32; fi
# x64 has one calling convention: there the __stdcall exports are plain cdecl ones.
stdcall="stdcall||0|$D: 0 error(s), 0 warning(s)"
[ "$build" = win32 ] && stdcall="stdcall||1|$D: error: call 1 (madll_Initialize): returned with 20 byte(s) of its arguments taken off the stack: it was built __stdcall, *;;$D: 1 error(s), 0 warning(s)"

# name|ArcadeTest.txt lines (; between)|exit code|expected lines (;; between)
cases=(
"reference||0|$D: 0 error(s), 0 warning(s)"
"overrun_after|fault=overrun_after|1|$D: error: call 3 (madll_DrawNextFrameIntoBuffer, session 1, frame 1): wrote at byte 1 past the last row of the frame, $HEAP;;$D: 1 error(s), 0 warning(s)"
"overrun_before|fault=overrun_before|1|$D: error: session 1, frame 1: madll_DrawNextFrameIntoBuffer wrote 1 byte(s) before the first row of the frame, $HEAP;;$D: error: call 8 (madll_DrawNextFrameIntoBuffer, session 1, frame 2): wrote 1 byte(s) before the first row of the frame, $HEAP;;$D: 2 error(s), 0 warning(s)"
"rect_out|fault=rect_out|1|$D: error: session 1, frame 1: rectangle (0, 0, 721, 540) reaches outside the 720 x 540 frame;;$D: 1 error(s), 0 warning(s)"
"rect_inverted|fault=rect_inverted|1|$D: error: session 1, frame 1: rectangle (720, 0, 0, 540) is empty or inverted (right and bottom are exclusive);;$D: error: session 1, frame 1: $COVER;;$D: warning: session 1, frame 1: $UNSHOWN;;$D: 2 error(s), 1 warning(s)"
"negative_count|fault=negative_count|1|$D: error: session 1, frame 1: madll_GetNumberOfRectsToUpdate answered -1, a negative count;;$D: error: session 1, frame 1: $COVER;;$D: warning: session 1, frame 1: $UNSHOWN;;$D: 2 error(s), 1 warning(s)"
"count_changes|fault=count_changes|1|$D: error: session 1, frame 1: the rectangle count changed from 1 to 0 between the questions of one frame;;$D: 1 error(s), 0 warning(s)"
"partial_repaint|fault=partial_repaint|1|$D: error: session 1, frame 1: the first frame after a repaint leaves 194400 pixel(s) outside its rectangles: the window keeps old pixels there;;$D: warning: session 1, frame 1: 194400 pixel(s) changed outside the reported rectangles (the first at 0, 270): the shell does not show them;;$D: 1 error(s), 1 warning(s)"
"unreported_pixels|fault=unreported_pixels|0|$D: warning: session 1, frame 2: 1 pixel(s) changed outside the reported rectangles (the first at 10, 300): the shell does not show them;;$D: 0 error(s), 1 warning(s)"
"slow_frame|fault=slow_frame|1|$D: error: * of * frames took longer than the shell's 20 ms tick (median 3?.? ms, worst *): $SLOW;;$D: 1 error(s), 0 warning(s)"
"never_ends|fault=never_ends|1|$D: error: session 1 did not complete within 25 frames after each way out (a click on its back control at 360, 482, Escape, WM_CLOSE): the player is kept in the menu;;$D: 1 error(s), 0 warning(s)"
"no_reenter|fault=no_reenter|1|$D: error: session 2 cannot be entered after session 1 completed: madll_EnterMenuSession answered 4 (\"The menu was closed once already.\");;$D: 1 error(s), 0 warning(s)"
"update_without_export|update_after_frames=60;update_source=$without|1|Game/MorvessaArcade/Update\\MorvessaArcade.dll: error: lacks the export \"madll_GetValueAsFloat\": the shell cannot link the update and rolls back to Backup\\;;$D: error: session 1, frame 61: the update staged in Update\\ did not load, link or initialise: the shell rolled back to the DLL in Backup\\;;$D: 2 error(s), * warning(s)"
"gdi_leak|fault=gdi_leak|1|$D: error: private memory grew from * to * KB (allowance 4096 KB) from frame 10 to frame *: a DLL that keeps it up ends the shell's process;;$D: 1 error(s), 0 warning(s)"
"thread_left|fault=thread_left|1|$D: error: 1 thread(s) the DLL started still run after madll_ShutDown: the shell releases the DLL right after, and a thread left in its code crashes the shell;;$D: 1 error(s), 0 warning(s)"
"crash_frame|fault=crash_frame|1|$D: error: call 11 (madll_DrawNextFrameIntoBuffer, session 1, frame 3): crashed with exception 0xC0000005 (access violation writing 0x*0) at 0x*: the shell's process ends with it;;$D: 1 error(s), 0 warning(s)"
"hang_frame|fault=hang_frame|1|$D: error: call 11 (madll_DrawNextFrameIntoBuffer, session 1, frame 3): did not return within 3 s: the shell hangs with it;;$D: 1 error(s), 0 warning(s)"
"box_frame|fault=box_frame|1|$D: error: call 8 (madll_DrawNextFrameIntoBuffer, session 1, frame 2): a box \"Arcade\" came up (Insert coin.): it stops the shell until the player answers it;;$D: 1 error(s), 0 warning(s)"
"$stdcall"
"decorated||1|$D: error: exports \"madll_Initialize@20\" where the shell looks for \"madll_Initialize\", and 8 more names like it: *;;$D: 1 error(s), 0 warning(s)"
"writes_outside|fault=writes_outside|1|$D: error: wrote \"stray.txt\" in *Game, outside its own folder: an installed game's folder may not be writable, and the file is left behind at uninstall;;$D: 1 error(s), 0 warning(s)"
)

failed=0
for entry in "${cases[@]}"; do
  IFS='|' read -r name settings code expected <<<"$entry"
  [ "$only" != "  " ] && [[ "$only" != *" $name "* ]] && continue
  case_dir="$work/$name"
  mkdir -p "$case_dir/Game/MorvessaArcade"
  case_bin=$bin case_kit=$kit where=""
  # Under qemu-i386 Wine reports a 32-bit program's access violations as illegal instructions,
  # without the address: the cases about where a fault hit run on the x86_64 build there.
  if [ "${I386_EMULATED:-0}" = 1 ] && [ "$build" = win32 ] && [[ " overrun_after overrun_before crash_frame " == *" $name "* ]]; then
    case_bin=$(realpath "$bin/../../win64/bin") case_kit=$(realpath "$bin/../../win64/bin/shellkit.exe") where=" (x86_64 build: emulated)"
  fi
  variant="$case_bin/arcade-variants/$name/MorvessaArcade.dll"
  cp "$([ -f "$variant" ] && echo "$variant" || echo "$case_bin/MorvessaArcade.dll")" "$case_dir/Game/MorvessaArcade/"
  [ -n "$settings" ] && printf '%s\r\n' "${settings//;/$'\r\n'}" >"$case_dir/Game/MorvessaArcade/ArcadeTest.txt"
  output=$(cd "$case_dir" && timeout 120 wine "$case_kit" arcade "$D" --frames 200 2>&1 | tr -d '\r'; echo "exit ${PIPESTATUS[0]}")
  got_code=$(tail -1 <<<"$output"); got_code=${got_code#exit }
  mapfile -t lines < <(sed '$d' <<<"$output")
  mapfile -t patterns < <(sed 's/;;/\n/g' <<<"$expected")
  ok=1
  [ "$got_code" = "$code" ] || ok=0
  # Timing warnings of cases about something else depend on the machine's load: not counted.
  if [ "$name" = update_without_export ]; then
    mapfile -t lines < <(printf '%s\n' "${lines[@]}" | grep -v "warning: .* took longer than")
  fi
  [ ${#lines[@]} -eq ${#patterns[@]} ] || ok=0
  for i in "${!patterns[@]}"; do
    # shellcheck disable=SC2053
    pattern=${patterns[$i]//\\/\\\\}
    [[ "${lines[$i]:-}" == $pattern ]] || ok=0
  done
  if [ $ok = 1 ]; then
    echo "ok   $name$where"
  else
    echo "FAIL $name (exit $got_code, expected $code)"; printf '  got:      %s\n' "${lines[@]}"; printf '  expected: %s\n' "${patterns[@]}"
    failed=$((failed + 1))
  fi
done
# A DLL of the other architecture is refused, and says which build loads it.
other="$bin/../../$other_build/bin/MorvessaArcade.dll"
if [ -f "$other" ] && { [ "$only" = "  " ] || [[ "$only" == *" other_architecture "* ]]; }; then
  said=$(wine "$kit" arcade "$other" 2>&1 | tr -d '\r'; echo "exit ${PIPESTATUS[0]}")
  if [[ "$said" == *"built for ${machine[$other_build]}; this shellkit.exe is built for ${machine[$build]} and loads only DLLs of its own kind: check it with the shellkit.exe of the $other_build build"*"exit 2" ]]; then
    echo "ok   other_architecture"
  else
    echo "FAIL other_architecture: $said"; failed=$((failed + 1))
  fi
fi

# Pictures: real PNG files (each chunk's CRC, the zlib stream's Adler-32) of the frame's size.
if [ "$only" = "  " ] || [[ "$only" == *" pictures "* ]]; then
  mkdir -p "$work/pictures/Game/MorvessaArcade"
  cp "$bin/MorvessaArcade.dll" "$work/pictures/Game/MorvessaArcade/"
  (cd "$work/pictures" && wine "$kit" arcade "$D" --frames 120 --sessions 1 --pictures shots >/dev/null 2>&1)
  if python3 - "$work/pictures/shots" <<'PY'
import os, struct, sys, zlib
folder = sys.argv[1]
names = sorted(os.listdir(folder))
# The first frame, each repaint (frames 1 and 51, 101), every 100th; the sheet.
assert names == ["contact-sheet.png", "frame-0001.png", "frame-0051.png", "frame-0100.png", "frame-0101.png"], names
def read(path):
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    at, chunks = 8, {}
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        assert struct.unpack(">I", data[at + 8 + length:at + 12 + length])[0] == zlib.crc32(kind + body), kind
        chunks[kind] = chunks.get(kind, b"") + body
        at += 12 + length
    width, height = struct.unpack(">II", chunks[b"IHDR"][:8])
    raw = zlib.decompress(chunks[b"IDAT"])
    assert len(raw) == height * (width * 3 + 1)
    return width, height, raw
width, height, raw = read(os.path.join(folder, "frame-0001.png"))
assert (width, height) == (720, 540)
assert raw[0] == 0 and raw[1:4] != raw[(540 * 2161) - 3:], "a frame of one colour"
sheet = read(os.path.join(folder, "contact-sheet.png"))
assert sheet[:2] == (4 + 4 * 184, 4 + 139), sheet[:2]
PY
  then echo "ok   pictures"; else echo "FAIL pictures"; failed=$((failed + 1)); fi
fi
echo "arcade faults: $failed failed"
[ $failed -eq 0 ]
