#!/usr/bin/env bash
# Builds, starts the reference server with its demo data on loopback and opens the client
# against it. The server stops when the client ends.
# Usage: scripts/demo.sh [bayi|temsilci]   (which demo user this computer logs in as)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${VELMORA_BUILD_DIR:-$here/build}"
user="${1:-bayi}"
bash "$here/scripts/setup.sh" "$build"

data="$build/demo-data"
log="$build/demo-server.log"
"$build/server/velmora-server" --data "$data" --port 9090 --demo --demo-user "$user" >"$log" 2>&1 &
server=$!
trap 'kill $server 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do
    grep -q "^listening on" "$log" 2>/dev/null && break
    kill -0 $server 2>/dev/null || { cat "$log"; exit 1; }
    sleep 0.1
done
cat "$log"

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: running the client under Xvfb."
    xvfb-run -a -s "-screen 0 1400x900x24" "$build/app/velmora"
else
    "$build/app/velmora"
fi
