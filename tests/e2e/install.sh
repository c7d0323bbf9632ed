#!/usr/bin/env bash
# Installs the game as a user would and starts the installed copy.
# Usage: install.sh <case> <build dir>
#   files:   cmake --install into a DESTDIR with a prefix; every file in place;
#            the installed binary runs from an unrelated directory, finds its
#            font under share/korvessa and ends with status 0 on SIGTERM.
#   desktop: the installed desktop entry passes desktop-file-validate.
#   package: cpack builds the Debian package, which holds all these files.
set -uo pipefail
case_name=$1
build=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=/opt/korvessa-test
stage="$work/stage"

fail() { echo "FAIL ($case_name): $*"; exit 1; }

installed_files=(
  bin/korvessa
  share/korvessa/tarvelin_16x16.bmp
  share/korvessa/sounds/photon.wav
  share/korvessa/sounds/saucer_hum.wav
  share/applications/korvessa.desktop
  share/icons/hicolor/128x128/apps/korvessa.png
)

install_into_stage() {
  DESTDIR="$stage" cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; fail "cmake --install failed"; }
}

case "$case_name" in
  files)
    install_into_stage
    for file in "${installed_files[@]}"; do
      [[ -f "$stage$prefix/$file" ]] || fail "missing $prefix/$file"
    done
    [[ -x "$stage$prefix/bin/korvessa" ]] || fail "the binary is not executable"
    # Nothing in the working directory or next to the binary: the font must
    # come from share/korvessa.
    mkdir -p "$work/elsewhere" && cd "$work/elsewhere"
    SDL_VIDEODRIVER=offscreen "$stage$prefix/bin/korvessa" 2>"$work/stderr" &
    pid=$!
    sleep 1
    kill -0 "$pid" 2>/dev/null || { wait "$pid"; cat "$work/stderr"; fail "exited early with status $?"; }
    kill -TERM "$pid"
    wait "$pid"
    status=$?
    [[ $status -eq 0 ]] || { cat "$work/stderr"; fail "exit status $status"; }
    [[ ! -s "$work/stderr" ]] || { cat "$work/stderr"; fail "wrote to stderr"; }
    ;;
  desktop)
    install_into_stage
    command -v desktop-file-validate >/dev/null || fail "desktop-file-validate is not installed"
    desktop-file-validate "$stage$prefix/share/applications/korvessa.desktop" ||
      fail "the desktop entry is not valid"
    grep -qx 'Categories=Game;ArcadeGame;' "$stage$prefix/share/applications/korvessa.desktop" ||
      fail "wrong categories"
    ;;
  package)
    (cd "$build" && cpack -G DEB -B "$work/package" >"$work/cpack.log" 2>&1) ||
      { cat "$work/cpack.log"; fail "cpack failed"; }
    deb=$(ls "$work"/package/korvessa_*.deb 2>/dev/null | head -n 1)
    [[ -n "$deb" ]] || fail "no package was built"
    dpkg-deb --contents "$deb" >"$work/contents"
    for file in "${installed_files[@]}"; do
      grep -q "\./usr/$file\$" "$work/contents" || { cat "$work/contents"; fail "the package lacks /usr/$file"; }
    done
    depends=$(dpkg-deb --field "$deb" Depends)
    for library in libsdl2-2.0-0 libgl1 libopengl0; do
      [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
    done
    echo "Depends: $depends"
    ;;
  *)
    echo "unknown case $case_name"
    exit 2
    ;;
esac
echo "PASS ($case_name)"
