#!/usr/bin/env bash
# Builds the game (release) and starts it. Arguments are passed on: scripts/play.sh --backend=tty
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target kestran kestran_errmsg
exec build/release/src/kestran "$@"
