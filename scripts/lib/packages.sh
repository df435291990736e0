# Installs the Debian packages the build and the tests need, when any is missing.
# Never adds a foreign architecture: Wine's 64-bit half is all the tests use.
NEEDED_PACKAGES=(cmake make g++ python3 clang libclang-rt-14-dev googletest libgtest-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine64
  xvfb xdotool x11-utils x11-apps imagemagick fonts-liberation)

ensure_packages() {
  local missing=()
  for package in "${NEEDED_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq || return 1
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || return 1
}
