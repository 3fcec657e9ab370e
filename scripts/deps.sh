#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
# Sourced by play.sh and test.sh; safe to run again. Usage: scripts/deps.sh [web]
# ("web" adds the browser build's compiler and the browser its tests drive).
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
