#!/usr/bin/env bash
# Builds the Debian package of Korvessa (installing what the build needs) and
# prints its path. Install it with: sudo apt install ./build-package/korvessa_*.deb
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-package"

"$root/scripts/deps.sh" package
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKORVESSA_BUILD_TESTS=OFF \
  -DKORVESSA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target korvessa -j "$(nproc)"
(cd "$build" && cpack -G DEB -B "$build" >/dev/null)
ls "$build"/korvessa_*.deb
