#!/usr/bin/env bash
# Builds the Debian package of Korvessa (installing what the build needs) and
# prints its path. Install it with: sudo apt install ./build-package/korvessa_*.deb
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-package"

"$root/scripts/deps.sh" package
# Debian's hardening flags: stack protector, fortified libc calls, a
# read-only GOT bound at start-up. None of them changes the game's
# arithmetic.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKORVESSA_BUILD_TESTS=OFF \
  -DKORVESSA_BUILD_BENCHMARKS=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build" --target korvessa -j "$(nproc)"
(cd "$build" && cpack -G DEB -B "$build" >/dev/null)
ls "$build"/korvessa_*.deb
