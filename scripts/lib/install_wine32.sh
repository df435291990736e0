#!/usr/bin/env bash
# Installs Wine's 32-bit half (wine32:i386) beside wine64 on Debian 12, as root.
#
# The i386 libraries that wine32 pulls in are Multi-Arch: same, so each must be at the very
# version of its amd64 twin already installed, and many of those came from security updates.
# Some mirrors serve the security archive's i386 index with the wrong size ("Mirror sync in
# progress?"); apt then knows no i386 build of those versions and cannot resolve wine32. In that
# case this script, in a private copy of apt's state (the system's sources and lists stay as they
# are):
#   1. reads the same security archive under its other suite name (the Suite: field of its own
#      Release file, e.g. oldstable-security), where the mirror serves a whole, signed index;
#      it is used only when its Release names the same codename;
#   2. chooses, per source package of those libraries, a version both architectures can have:
#      the installed one, else the newest newer one (amd64 is then upgraded with it); failing
#      both, it downloads the i386 package of the installed version from the archive's pool and
#      checks its name, version and architecture (no signed index vouches for such a file);
#   3. installs with those versions named on the command line, after a simulation, and refuses
#      an install that would remove or downgrade anything.
# Idempotent: exits 0 at once when wine32:i386 is installed.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive LC_ALL=C

say() { echo "[wine32] $*" >&2; }
fail() { say "$*"; exit 1; }
is_installed() { [ "$(dpkg-query -W -f='${db:Status-Abbrev}' "$1" 2>/dev/null)" = "ii " ]; }

[ "$(id -u)" -eq 0 ] || fail "run as root"
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
is_installed wine32:i386 && exit 0
started=$(date +%s)

apt-get update -qq || say "apt-get update reported errors; going on"
apt-cache show wine32:i386 >/dev/null 2>&1 || fail "no package index knows wine32:i386"
if apt-get install -s -qq --no-install-recommends wine32:i386 >/dev/null 2>&1; then
  apt-get install -y -qq --no-install-recommends wine32:i386
  exit 0
fi
say "apt cannot resolve wine32:i386 from the system's indexes; resolving it privately"

codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
# "URI SUITE" for every deb source of the system, in either format.
source_pairs() {
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk 'BEGIN { RS = ""; FS = "\n" } {
      u = ""; s = ""
      for (i = 1; i <= NF; i++) {
        if ($i ~ /^URIs:/) u = $i; else if ($i ~ /^Suites:/) s = $i
      }
      n = split(u, us, " "); m = split(s, ss, " ")
      for (a = 2; a <= n; a++) for (b = 2; b <= m; b++) print us[a], ss[b]
    }' "$f"
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    awk '$1 == "deb" { for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) { print $i, $(i + 1); break } }' "$f"
  done
}
security_uri=$(source_pairs | awk -v s="$codename-security" '$2 == s { print $1; exit }')
main_uri=$(source_pairs | awk -v s="$codename" '$2 == s { print $1; exit }')
[ -n "$security_uri" ] && [ -n "$main_uri" ] || fail "the apt sources name no $codename and $codename-security archives"

work=$(mktemp -d /tmp/wine32-apt.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/parts" "$work/lists/partial" "$work/debs"
chmod 755 "$work" "$work/debs"
chown _apt:root "$work/lists/partial" 2>/dev/null || true
find /etc/apt/sources.list.d -maxdepth 1 -type f \( -name '*.list' -o -name '*.sources' \) -exec cp {} "$work/parts/" \;
find /var/lib/apt/lists -maxdepth 1 -type f ! -name lock -exec cp {} "$work/lists/" \;
private=(-o "Dir::Etc::SourceParts=$work/parts" -o "Dir::State::Lists=$work/lists")

release=$(ls /var/lib/apt/lists/*_dists_"$codename"-security_InRelease 2>/dev/null | head -n 1 || true)
alias_suite=""
[ -n "$release" ] && alias_suite=$(awk '/^Suite:/ { print $2; exit }' "$release")
if [ -n "$alias_suite" ] && [ "$alias_suite" != "$codename-security" ]; then
  cat >"$work/parts/zz-security-alias.sources" <<EOF
Types: deb
URIs: $security_uri
Suites: $alias_suite
Components: main
Architectures: i386
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  apt-get "${private[@]}" update -qq || say "private apt-get update reported errors; going on"
  alias_release=$(ls "$work"/lists/*_dists_"$alias_suite"_InRelease 2>/dev/null | head -n 1 || true)
  if [ -n "$alias_release" ] && grep -qx "Codename: $codename-security" "$alias_release"; then
    say "reading $security_uri as $alias_suite (i386), $(grep -m1 '^Date:' "$alias_release")"
  else
    say "$alias_suite is not $codename-security here; not used"
    rm -f "$work/parts/zz-security-alias.sources"
  fi
fi

# The Multi-Arch: same packages wine32 needs that amd64 already has: "PACKAGE SOURCE VERSION".
apt-cache "${private[@]}" depends --recurse --no-recommends --no-suggests --no-conflicts \
  --no-breaks --no-replaces --no-enhances wine32:i386 2>/dev/null |
  sed -n 's/^\([^ ].*\):i386$/\1/p' | sort -u >"$work/needed"
dpkg-query -W -f='${db:Status-Abbrev}|${Package}|${Architecture}|${Multi-Arch}|${source:Package}|${Version}\n' |
  awk -F'|' '$1 == "ii " && $3 == "amd64" && $4 == "same" { print $2, $5, $6 }' | sort >"$work/twins"
join "$work/needed" "$work/twins" >"$work/pairs"
[ -s "$work/pairs" ] || fail "could not work out which libraries wine32 shares with amd64"

# Every version the indexes offer of those packages: "PACKAGE ARCH VERSION".
mapfile -t queries < <(awk '{ print $1 ":i386"; print $1 ":amd64" }' "$work/pairs")
{ apt-cache "${private[@]}" show "${queries[@]}" 2>/dev/null || true; } |
  awk 'BEGIN { RS = ""; FS = "\n" } {
    p = a = v = ""
    for (i = 1; i <= NF; i++) {
      if ($i ~ /^Package: /) p = substr($i, 10)
      else if ($i ~ /^Architecture: /) a = substr($i, 15)
      else if ($i ~ /^Version: /) v = substr($i, 10)
    }
    if (p != "") print p, a, v
  }' | sort -u >"$work/offered"

offers() { grep -qxF "$1 $2 $3" "$work/offered"; }
versions_of() { awk -v p="$1" -v a="$2" '$1 == p && $2 == a { print $3 }' "$work/offered"; }
newer() { dpkg --compare-versions "$1" gt "$2"; }

download_i386() { # PACKAGE VERSION SOURCE: a checked .deb in $work/debs, its path printed
  local package=$1 version=$2 source=$3 prefix file target url
  case $source in lib?*) prefix=${source:0:4} ;; *) prefix=${source:0:1} ;; esac
  file="${package}_${version#*:}_i386.deb"
  target="$work/debs/$file"
  for url in "$security_uri/pool/updates/main/$prefix/$source/$file" "$main_uri/pool/main/$prefix/$source/$file"; do
    rm -f "$target"
    /usr/lib/apt/apt-helper download-file "$url" "$target" >/dev/null 2>&1 || continue
    if [ "$(dpkg-deb -f "$target" Package)" = "$package" ] && [ "$(dpkg-deb -f "$target" Version)" = "$version" ] &&
      [ "$(dpkg-deb -f "$target" Architecture)" = i386 ]; then
      say "  $file from the pool, unchecked by any index"
      echo "$target"
      return 0
    fi
  done
  rm -f "$target"
  return 1
}

requests=()
files=()
for source in $(awk '{ print $2 }' "$work/pairs" | sort -u); do
  packages=$(awk -v s="$source" '$2 == s { print $1 }' "$work/pairs")
  installed_version=$(awk -v s="$source" '$2 == s { print $3 }' "$work/pairs" | sort -u)
  [ "$(wc -l <<<"$installed_version")" -eq 1 ] || fail "$source: its amd64 packages differ in version"
  chosen=""
  all_offered=1
  for package in $packages; do offers "$package" i386 "$installed_version" || all_offered=0; done
  if [ $all_offered -eq 1 ]; then
    chosen=$installed_version
  else
    for version in $(for package in $packages; do versions_of "$package" i386; done | sort -u); do
      newer "$version" "$installed_version" || continue
      [ -z "$chosen" ] || newer "$version" "$chosen" || continue
      ok=1
      for package in $packages; do
        offers "$package" i386 "$version" && offers "$package" amd64 "$version" || ok=0
      done
      [ $ok -eq 1 ] && chosen=$version
    done
  fi
  if [ -z "$chosen" ]; then
    for package in $packages; do
      offers "$package" i386 "$installed_version" && continue
      deb=$(download_i386 "$package" "$installed_version" "$source") ||
        fail "$source: no i386 build of $installed_version or of a newer version both architectures have"
      files+=("$deb")
    done
    chosen=$installed_version
  fi
  for package in $packages; do
    offers "$package" i386 "$chosen" && requests+=("$package:i386=$chosen")
    [ "$chosen" != "$installed_version" ] && requests+=("$package:amd64=$chosen")
  done
  [ "$chosen" = "$installed_version" ] || say "  $source: amd64 goes from $installed_version to $chosen with i386"
done

plan=$(apt-get "${private[@]}" install -s --no-install-recommends wine32:i386 "${requests[@]}" "${files[@]}" 2>&1) ||
  { tail -n 30 <<<"$plan" >&2; fail "apt still cannot resolve wine32:i386"; }
grep -q '^Remv ' <<<"$plan" && { grep '^Remv ' <<<"$plan" >&2; fail "refused: the install would remove packages"; }
grep -q 'DOWNGRADED' <<<"$plan" && fail "refused: the install would downgrade packages"
apt-get "${private[@]}" install -y -qq --no-install-recommends wine32:i386 "${requests[@]}" "${files[@]}" >/dev/null
# Named on the command line, the libraries would count as installed by hand.
mapfile -t libraries < <(printf '%s\n' "${requests[@]}" | sed -n 's/^\([^:]*\):i386=.*/\1:i386/p')
[ ${#libraries[@]} -eq 0 ] || apt-mark auto "${libraries[@]}" >/dev/null
is_installed wine32:i386 || fail "wine32:i386 is not installed after all"
say "installed wine32:i386 $(dpkg-query -W -f='${Version}' wine32:i386) in $(($(date +%s) - started)) s"
