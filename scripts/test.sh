#!/usr/bin/env bash
# Builds and runs every test. Usage: scripts/test.sh [debug|asan|release]  (default: debug)
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-debug}"
bash scripts/deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
ctest --preset "$preset" -j "$(nproc)"
