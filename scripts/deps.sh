#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
# Sourced by play.sh and test.sh; safe to run again. Usage: scripts/deps.sh [web]
# ("web" adds the browser build's compiler, the browser its tests drive, and the screen readers).
set -euo pipefail

KESTRAN_PACKAGES=(
  build-essential cmake pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libpng-dev libncurses-dev
  unifont
  xvfb xauth tmux xdotool
  desktop-file-utils lintian
  gettext
  clang libclang-rt-14-dev
)
if [ "${1:-}" = web ]; then
  KESTRAN_PACKAGES+=(emscripten chromium nodejs)
  # Real screen readers for the tests that play by ear: Orca over AT-SPI with speech-dispatcher
  # (tools/orca_session.js), and fenrir in a terminal.
  KESTRAN_PACKAGES+=(orca python3-speechd python3-pyatspi speech-dispatcher at-spi2-core dbus-daemon fenrir)
  # npm comes with some builds of nodejs and conflicts with Debian's npm package there.
  command -v npm >/dev/null 2>&1 || KESTRAN_PACKAGES+=(npm)
fi

missing=()
for p in "${KESTRAN_PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
