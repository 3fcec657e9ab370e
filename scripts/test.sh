#!/usr/bin/env bash
# Builds and runs every test. Usage: scripts/test.sh [debug|asan|release|web|windows]  (default: debug)
# "web" builds the browser page and runs its tests in headless Chromium, against the native
# program of the debug preset (then `cd tests/web && npm run bench` measures the page's budgets).
# "windows" cross-builds the Windows program with MinGW-w64, its zip and its installer
# (build/windows/dist), and runs the Windows tests under Wine in a Wine prefix of their own.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-debug}"
# Builds of the same sources in other clones (CI's, a colleague's work tree) are reused when
# ccache is there: paths are hashed relative to each tree.
if [ "$preset" != web ] && command -v ccache >/dev/null 2>&1; then
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
if [ "$preset" = web ]; then
  bash scripts/deps.sh web
  cmake --preset debug >/dev/null
  cmake --build --preset debug -j "$(nproc)" --target kestran
  cmake --preset web >/dev/null
  cmake --build --preset web -j "$(nproc)"
  cd tests/web
  npm ci --prefer-offline --no-audit --no-fund
  exec npm test --silent
fi
if [ "$preset" = windows ]; then
  bash scripts/deps.sh windows
  bash scripts/windows_prefix.sh
  # A fresh prefix, quiet, without the .NET and browser engines Wine would offer to download.
  export WINEPREFIX="$PWD/build/windows/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  trap 'wineserver -k 2>/dev/null || true' EXIT
  rm -rf "$WINEPREFIX"
  mkdir -p build/windows
  wineboot -i >/dev/null 2>&1
  cmake --preset windows >/dev/null
  cmake --build --preset windows -j "$(nproc)"
  cmake --build --preset windows --target windows_packages
  ctest --preset windows -j "$(nproc)"
  exit 0
fi
bash scripts/deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
ctest --preset "$preset" -j "$(nproc)"
