#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
# Sourced by play.sh and test.sh; safe to run again. Usage: scripts/deps.sh [web|windows]
# ("web" adds the browser build's compiler, the browser its tests drive, and the screen readers;
# "windows" the MinGW-w64 cross compiler, Wine, NSIS and the deb-src lines that let
# scripts/windows_prefix.sh fetch the sources of SDL2, libpng and zlib).
set -euo pipefail

KESTRAN_PACKAGES=(
  build-essential cmake pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libpng-dev libncurses-dev
  unifont
  xvfb xauth tmux xdotool
  desktop-file-utils lintian
  gettext
  clang libclang-rt-14-dev ccache
)
if [ "${1:-}" = web ]; then
  KESTRAN_PACKAGES+=(emscripten chromium nodejs terser)
  # Real screen readers for the tests that play by ear: Orca over AT-SPI with speech-dispatcher
  # (tools/orca_session.js), and fenrir in a terminal.
  KESTRAN_PACKAGES+=(orca python3-speechd python3-pyatspi speech-dispatcher at-spi2-core dbus-daemon fenrir)
  # npm comes with some builds of nodejs and conflicts with Debian's npm package there.
  command -v npm >/dev/null 2>&1 || KESTRAN_PACKAGES+=(npm)
fi

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
need_update=false
if [ "${1:-}" = windows ]; then
  KESTRAN_PACKAGES+=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine wine64 nsis
    dpkg-dev zip unzip xvfb xauth xdotool x11-apps netpbm)
  src_list=/etc/apt/sources.list.d/kestran-deb-src.sources
  if [ ! -f "$src_list" ]; then
    # The release's own archive (its security archive is not needed for these builds).
    codename="$(. /etc/os-release && echo "$VERSION_CODENAME")"
    printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: %s %s-updates\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
      "$codename" "$codename" | "${sudo_cmd[@]}" tee "$src_list" >/dev/null
    need_update=true
  fi
fi

missing=()
for p in "${KESTRAN_PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ] || $need_update; then
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
