#!/usr/bin/env bash
# Signing as a publisher does it, offline: a test CA, a .pfx whose password comes from a file or the
# environment, an RFC 3161 time-stamp authority on 127.0.0.1, a signing command of the publisher's
# own. The setup and every program it writes, the uninstaller too, must verify with their timestamp.
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

rm -rf game; mkdir game
"$kit" new game/Signed --name "Signed Game" --app-id 1002 --channel 7 --publisher "Morvessa Demo" \
  --game "$bin/demo-game.exe" --background "$bin/testdata/Background.jpg" --arcade "$bin/MorvessaArcade.dll" \
  --shell "$bin/shell.exe" >/dev/null
failed=0
verify() {  # FILE WHAT
  if osslsigncode verify -CAfile ca.crt -TSA-CAfile ca.crt -in "$1" >verify.log 2>&1 &&
    grep -q 'Timestamp Server Signature verification: ok' verify.log; then
    echo "verified with its timestamp: $2"
  else
    echo "NOT verified: $2"; sed 's/^/    /' verify.log | tail -8; failed=1
  fi
}
# The password never appears on a command line: not as an option, and not in osslsigncode's.
if "$kit" installer game/Signed --out game/refused.exe --sign code.pfx --sign-password "secret word" 2>refusal.txt; then
  echo "--sign-password was taken"; failed=1
fi
grep -q 'sign-password-file' refusal.txt || { echo "no advice in: $(cat refusal.txt)"; failed=1; }

install_and_verify() {  # SETUP LABEL
  local folder="C:\\signed-$2" unix
  unix="$WINEPREFIX/drive_c/signed-$2"
  verify "$1" "$2: the setup"
  wine "$1" /S "/D=$folder" </dev/null >/dev/null 2>&1 || { echo "$2: the setup failed"; failed=1; return; }
  for file in "Signed Game.exe" "Signed Game.MWG" Uninstall.exe; do verify "$unix/$file" "$2: $file"; done
  wine "$folder\\Uninstall.exe" /S </dev/null >/dev/null 2>&1
  for _ in $(seq 100); do [ -e "$unix/Uninstall.exe" ] || break; sleep 0.2; done
}

"$kit" installer game/Signed --out game/pfx.exe --sign code.pfx --sign-password-file password.txt --timestamp "$url"
install_and_verify game/pfx.exe pfx-file
osslsigncode verify -CAfile ca.crt -in "game/Signed/Signed Game.exe" >/dev/null 2>&1 &&
  { echo "the publisher's own folder was signed"; failed=1; }
SIGNING_WORD="secret word" "$kit" installer game/Signed --out game/env.exe --sign code.pfx \
  --sign-password-env SIGNING_WORD --timestamp "$url"
verify game/env.exe "password from the environment: the setup"
# A token's or a service's tool, signing in place; here a script around osslsigncode.
cat >token-sign.sh <<SH
#!/bin/sh
osslsigncode sign -pkcs12 "$work/code.pfx" -readpass "$work/password.txt" -ts "$url" -in "\$1" -out "\$1.t" && mv "\$1.t" "\$1"
SH
chmod +x token-sign.sh
"$kit" installer game/Signed --out game/token.exe --sign-command "$work/token-sign.sh {file}"
install_and_verify game/token.exe sign-command
[ "$(wc -l <answered)" -ge 8 ] || { echo "the time-stamp authority answered $(wc -l <answered) times"; failed=1; }
exit $failed
