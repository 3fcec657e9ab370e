#!/usr/bin/env bash
# Builds and runs every test. Usage: scripts/test.sh [debug|asan|release|web]  (default: debug)
# "web" builds the browser page and runs its tests in headless Chromium, against the native
# program of the debug preset (then `cd tests/web && npm run bench` measures the page's budgets).
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-debug}"
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
bash scripts/deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
ctest --preset "$preset" -j "$(nproc)"
