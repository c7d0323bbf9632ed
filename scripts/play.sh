#!/usr/bin/env bash
# Builds Korvessa (installing what the build needs) and starts the game.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

"$root/scripts/deps.sh" build
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target korvessa -j "$(nproc)"
exec "$root/build/korvessa"
