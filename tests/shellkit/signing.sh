#!/usr/bin/env bash
# Signing as a publisher does it, offline: a test CA, a .pfx whose password comes from a file or the
# environment, an RFC 3161 time-stamp authority on 127.0.0.1, a signing command of the publisher's
# own, an arcade DLL its vendor signed. The setup, every PE file it writes, the uninstaller and the
# NSIS plug-ins it unpacks must verify with their timestamp; the vendor's signature stays as it was.
# Usage: signing.sh NATIVE_SHELLKIT BIN_DIR   (under a Wine session)
set -eu
kit=$(realpath "$1") bin=$(realpath "$2")
work=$(mktemp -d)
tsa_pid=""
trap '[ -n "$tsa_pid" ] && kill $tsa_pid; rm -rf "$work"' EXIT
cd "$work"
exec 3>openssl.log
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.crt -days 30 -subj /CN=Test\ CA 2>&3
sign_cert() {  # NAME USAGE
  openssl req -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.csr" -subj "/CN=Test $1" 2>&3
  printf 'extendedKeyUsage=critical,%s\nbasicConstraints=CA:FALSE\n' "$2" >"$1.ext"
  openssl x509 -req -in "$1.csr" -CA ca.crt -CAkey ca.key -CAcreateserial -out "$1.crt" -days 30 -extfile "$1.ext" 2>&3
}
sign_cert code codeSigning
sign_cert vendor codeSigning
sign_cert tsa timeStamping
printf 'secret word\n' >password.txt
openssl pkcs12 -export -inkey code.key -in code.crt -certfile ca.crt -out code.pfx -passout file:password.txt 2>&3
cat >tsa.cnf <<'CNF'
[ tsa ]
default_tsa = tsa_config
[ tsa_config ]
serial = ./tsa.serial
signer_digest = sha256
default_policy = 1.2.3.4.1
digests = sha1, sha256
ess_cert_id_alg = sha256
CNF
echo 01 >tsa.serial
cat >tsa.py <<'PY'
import http.server, subprocess, sys
class Answer(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        query = self.rfile.read(int(self.headers["Content-Length"]))
        open("query.tsq", "wb").write(query)
        subprocess.run(["openssl", "ts", "-reply", "-config", "tsa.cnf", "-queryfile", "query.tsq", "-signer", "tsa.crt",
                        "-inkey", "tsa.key", "-chain", "ca.crt", "-out", "reply.tsr"], check=True, capture_output=True)
        reply = open("reply.tsr", "rb").read()
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)
        open("answered", "a").write("1\n")
    def log_message(self, *args):
        pass
server = http.server.HTTPServer(("127.0.0.1", 0), Answer)
open("port", "w").write(str(server.server_address[1]))
server.serve_forever()
PY
python3 tsa.py & tsa_pid=$!
for _ in $(seq 50); do [ -s port ] && break; sleep 0.1; done
url="http://127.0.0.1:$(cat port)/"

osslsigncode sign -certs vendor.crt -key vendor.key -ts "$url" -in "$bin/MorvessaArcade.dll" -out vendor.dll >&3
rm -rf game; mkdir game
"$kit" new game/Signed --name "Signed Game" --app-id 1002 --channel 7 --publisher "Morvessa Demo" \
  --game "$bin/demo-game.exe" --background "$bin/testdata/Background.jpg" --arcade vendor.dll \
  --shell "$bin/shell.exe" >/dev/null
# The game's own DLL, and a program known by its contents only.
cp "$bin/MorvessaArcade.dll" game/Signed/engine.dll
mkdir game/Signed/tools; cp "$bin/demo-game.exe" game/Signed/tools/helper.dat
cp game/Signed/engine.dll game/Signed/tools/engine.dll
failed=0
verify() {  # FILE WHAT
  if osslsigncode verify -CAfile ca.crt -TSA-CAfile ca.crt -in "$1" >verify.log 2>&1 &&
    grep -q 'Timestamp Server Signature verification: ok' verify.log; then
    echo "verified with its timestamp: $2"
  else
    echo "NOT verified: $2"; sed 's/^/    /' verify.log | tail -8; failed=1
  fi
}

install_and_verify() {  # SETUP LABEL
  local folder="C:\\signed-$2" unix
  unix="$WINEPREFIX/drive_c/signed-$2"
  verify "$1" "$2: the setup"
  wine "$1" /S "/D=$folder" </dev/null >/dev/null 2>&1 || { echo "$2: the setup failed"; failed=1; return; }
  for file in "Signed Game.exe" "Signed Game.MWG" engine.dll tools/helper.dat Uninstall.exe; do
    verify "$unix/$file" "$2: $file"
  done
  # Copies stay copies: a backup that differs from its file is another version.
  cmp -s "$unix/engine.dll" "$unix/tools/engine.dll" || { echo "$2: two copies of engine.dll differ"; failed=1; }
  for file in MorvessaArcade.dll Backup/MorvessaArcade.dll; do
    cmp -s vendor.dll "$unix/MorvessaArcade/$file" || { echo "$2: the vendor's $file was not kept as it was"; failed=1; }
  done
  wine "$folder\\Uninstall.exe" /S </dev/null >/dev/null 2>&1
  for _ in $(seq 100); do [ -e "$unix/Uninstall.exe" ] || break; sleep 0.2; done
}

# Built with its data stored, not compressed, so that the plug-ins inside can be read back.
cat >makensis-stored <<'SH'
#!/bin/sh
for last; do :; done
[ -f "$last" ] && sed -i 's/^SetCompressor .*/SetCompress off/' "$last"
exec makensis "$@"
SH
chmod +x makensis-stored
"$kit" installer game/Signed --out game/pfx.exe --sign code.pfx --sign-password-file password.txt --timestamp "$url" \
  --trust ca.crt --makensis "$work/makensis-stored" >/dev/null
install_and_verify game/pfx.exe pfx-file
# Each plug-in found in the setup by a run of its code, cut out by its own headers' length.
python3 - game/pfx.exe /usr/share/nsis/Plugins/{x86,amd64}-unicode/*.dll <<'PY'
import struct, sys
setup = open(sys.argv[1], "rb").read()
for path in sys.argv[2:]:
    plugin = open(path, "rb").read()
    pe = struct.unpack_from("<I", plugin, 0x3C)[0]
    code = struct.unpack_from("<I", plugin, pe + 24 + struct.unpack_from("<H", plugin, pe + 20)[0] + 20)[0]
    at = setup.find(plugin[code:code + 256])
    if at < 0:
        continue
    start = at - code
    pe = start + struct.unpack_from("<I", setup, start + 0x3C)[0]
    table = pe + 24 + (96 if struct.unpack_from("<H", setup, pe + 24)[0] == 0x10B else 112) + 4 * 8
    offset, size = struct.unpack_from("<II", setup, table)
    name = path.split("/")[-2] + "-" + path.split("/")[-1]
    open("plugin-" + name, "wb").write(setup[start:start + (offset + size if size else len(plugin))])
PY
ls plugin-*.dll >/dev/null 2>&1 || { echo "no plug-in found in the setup"; failed=1; }
for plugin in plugin-*.dll; do [ -e "$plugin" ] && verify "$plugin" "the setup's ${plugin#plugin-}"; done
osslsigncode verify -CAfile ca.crt -in "game/Signed/Signed Game.exe" >/dev/null 2>&1 &&
  { echo "the publisher's own folder was signed"; failed=1; }
# The password from the environment: osslsigncode, seen through a stand-in, reads it from a file that
# only its owner can reach, under any umask, and that is gone once the installer ends, failed or not.
mkdir stand-in
cat >stand-in/osslsigncode <<SH
#!/bin/sh
previous=""
for word; do
  [ "\$previous" = -readpass ] && stat -c '%a %n' "\$word" "\$(dirname "\$word")" >>"$work/readpass.log"
  previous=\$word
done
exec $(command -v osslsigncode) "\$@"
SH
chmod +x stand-in/osslsigncode
(umask 0; SIGNING_WORD="secret word" PATH="$work/stand-in:$PATH" "$kit" installer game/Signed --out game/env.exe \
  --sign code.pfx --sign-password-env SIGNING_WORD --timestamp "$url" --trust ca.crt >/dev/null)
verify game/env.exe "password from the environment: the setup"
(SIGNING_WORD="secret word" PATH="$work/stand-in:$PATH" "$kit" installer game/Signed --out game/env-failed.exe \
  --sign code.pfx --sign-password-env SIGNING_WORD --timestamp http://127.0.0.1:1/ --trust ca.crt >/dev/null) &&
  { echo "signing with a time-stamp authority that does not answer passed"; failed=1; }
[ -s readpass.log ] || { echo "osslsigncode read no password file"; failed=1; }
while read -r mode path; do
  case $mode in 600 | 700) ;; *) echo "the password's $path had mode $mode"; failed=1 ;; esac
  [ -e "$path" ] && { echo "the password's $path is left behind"; failed=1; }
  case $path in "$work"/game*) echo "the password lay beside the output, in $path"; failed=1 ;; esac
done <readpass.log
# A token's or a service's tool, signing in place; here a script around osslsigncode.
cat >token-sign.sh <<SH
#!/bin/sh
osslsigncode sign -pkcs12 "$work/code.pfx" -readpass "$work/password.txt" -ts "$url" -in "\$1" -out "\$1.t" && mv "\$1.t" "\$1"
SH
chmod +x token-sign.sh
"$kit" installer game/Signed --out game/token.exe --sign-command "$work/token-sign.sh {file}" --trust ca.crt >/dev/null
install_and_verify game/token.exe sign-command
# A signing command that leaves the timestamp out fails the build, unless the publisher says so.
sed 's/ -ts [^ ]*//' token-sign.sh >untimed-sign.sh; chmod +x untimed-sign.sh
"$kit" installer game/Signed --out game/untimed.exe --sign-command "$work/untimed-sign.sh {file}" --trust ca.crt \
  >untimed.txt && { echo "signatures without a timestamp passed"; failed=1; }
grep -q 'signed without a timestamp' untimed.txt || { echo "no reason given: $(cat untimed.txt)"; failed=1; }
[ -e game/untimed.exe ] && { echo "a setup without timestamps was written"; failed=1; }
"$kit" installer game/Signed --out game/untimed.exe --sign-command "$work/untimed-sign.sh {file}" --trust ca.crt \
  --no-timestamp >/dev/null || { echo "--no-timestamp did not let the build through"; failed=1; }
osslsigncode verify -CAfile ca.crt -in game/untimed.exe >/dev/null 2>&1 || { echo "the untimed setup does not verify"; failed=1; }
[ "$(wc -l <answered)" -ge 8 ] || { echo "the time-stamp authority answered $(wc -l <answered) times"; failed=1; }
exit $failed
