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
               shared-mime-info libglib2.0-bin man-db postgresql-15 chromium nginx-light)

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
[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -eq 0 ]]; then
  as_root=()
elif command -v sudo >/dev/null; then
  as_root=(sudo)
else
  echo "deps: need root or sudo to install: ${missing[*]}" >&2
  exit 1
fi

echo "deps: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
# A fresh machine may have no package lists yet; refresh them only if the
# first attempt cannot find what it needs.
if ! "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; then
  "${as_root[@]}" apt-get update
  "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
