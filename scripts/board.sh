#!/usr/bin/env bash
# Builds korvessa-board (installing what the build needs) and starts it:
# http://127.0.0.1:8080/, the board in a SQLite file in its data folder.
# Arguments go to the server, e.g. --listen 0.0.0.0:8080.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

"$root/scripts/deps.sh" build
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target korvessa-board -j "$(nproc)"
exec "$root/build/korvessa-board" "$@"
