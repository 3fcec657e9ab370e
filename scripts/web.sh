#!/usr/bin/env bash
# Builds the browser page (the web preset, with Debian's emscripten) and serves it on 127.0.0.1
# for a player to open. Usage: scripts/web.sh [PORT]   (default 8080; the address is printed)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh web
export NODE_PATH=/usr/share/nodejs  # Debian's em++ finds its JavaScript helpers there
cmake --preset web >/dev/null
cmake --build --preset web -j "$(nproc)"
exec node scripts/web_server.js build/web/page "${1:-8080}"
