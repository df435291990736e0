# Installs the Debian packages the build and the tests need, when any is missing.
# Wine's 32-bit half (wine32:i386) runs the shipping i686 build; wine64 runs the x86_64 one.
NEEDED_PACKAGES=(cmake make g++ python3 clang libclang-rt-14-dev googletest libgtest-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine64
  xvfb xdotool x11-utils x11-apps imagemagick fonts-liberation libjpeg62-turbo-dev libfreetype-dev nsis osslsigncode openssl)
# Installs wine32 plainly, or, where the mirror's i386 security index cannot be read, from the
# same archive's other, whole index.
WINE32_INSTALLER="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/install_wine32.sh"
source "$(dirname "${BASH_SOURCE[0]}")/i386_emulation.sh"

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

ensure_wine32() {
  installed wine32:i386 && return 0
  echo "Installing wine32:i386 (the shipping build is 32-bit)"
  as_root bash "$WINE32_INSTALLER" && return 0
  echo "Could not install wine32:i386. The tests run the 32-bit build under Wine: install Wine's" \
    "32-bit half (Debian: dpkg --add-architecture i386; apt-get install wine32:i386)." >&2
  return 1
}

ensure_packages() {
  local missing=()
  for package in "${NEEDED_PACKAGES[@]}"; do
    installed "$package" || missing+=("$package")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    # An index that cannot be read (the i386 security one, say) need not stop the install.
    as_root apt-get update -qq || echo "apt-get update reported errors; installing anyway"
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null ||
      return 1
  fi
  ensure_wine32 && i386_emulation_ensure
}
