#!/usr/bin/env bash
# Installs the Debian packages that building, playing and testing need, and
# only those that are missing. Safe to run again: with everything present it
# changes nothing. Usage: scripts/deps.sh [build|test|package]
set -euo pipefail

BUILD_PACKAGES=(cmake g++ make pkg-config libsdl2-dev libsdl2-mixer-dev libgl-dev libegl-dev
                zlib1g-dev scdoc libcurl4-openssl-dev nlohmann-json3-dev libcpp-httplib-dev
                libsqlite3-dev libpqxx-dev libssl-dev libgoogle-perftools-dev libboost-dev)
TEST_PACKAGES=(googletest libgtest-dev libbenchmark-dev clang libclang-rt-dev
               libgl1-mesa-dri libegl-mesa0 xvfb xdotool openbox libx11-dev libxtst-dev valgrind
               desktop-file-utils dpkg-dev file appstream lintian
               shared-mime-info libglib2.0-bin man-db postgresql-15 chromium nginx-light
               emscripten chromium-driver python3-selenium python3-pil)

case "${1:-build}" in
  build) wanted=("${BUILD_PACKAGES[@]}") ;;
  test | package) wanted=("${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}") ;;
  *) echo "usage: $0 [build|test|package]" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

# The web game builds SDL2 (and zlib's CRC-32) for WebAssembly from Debian's
# own sources, which apt-get source fetches at configure time: that needs a
# deb-src line for the archive the machine already uses.
source_list=/etc/apt/sources.list.d/korvessa-sources.sources
needs_sources=0
if [[ " ${wanted[*]} " == *" emscripten "* ]] && ! grep -rqs '^Types:.*deb-src\|^deb-src ' \
  /etc/apt/sources.list /etc/apt/sources.list.d/; then
  needs_sources=1
fi
[[ ${#missing[@]} -eq 0 && $needs_sources -eq 0 ]] && exit 0

if [[ $(id -u) -eq 0 ]]; then
  as_root=()
elif command -v sudo >/dev/null; then
  as_root=(sudo)
else
  echo "deps: need root or sudo to install: ${missing[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
if [[ $needs_sources -eq 1 ]]; then
  mirror=$(sed -n 's/^URIs: *\([^ ]*debian\)\/\?$/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null |
    head -n 1)
  [[ -n "$mirror" ]] || mirror=$(awk '$1 == "deb" && $2 ~ /debian\/?$/ { print $2; exit }' \
    /etc/apt/sources.list 2>/dev/null)
  [[ -n "$mirror" ]] || mirror=http://deb.debian.org/debian
  echo "deps: adding the source packages of $mirror" >&2
  printf 'Types: deb-src\nURIs: %s\nSuites: bookworm\nComponents: main\n%s\n' "$mirror" \
    'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' | "${as_root[@]}" tee "$source_list" >/dev/null
  "${as_root[@]}" apt-get update
fi
[[ ${#missing[@]} -eq 0 ]] && exit 0
echo "deps: installing ${missing[*]}" >&2
# A fresh machine may have no package lists yet; refresh them only if the
# first attempt cannot find what it needs.
if ! "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; then
  "${as_root[@]}" apt-get update
  "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
