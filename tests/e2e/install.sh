#!/usr/bin/env bash
# Installs the game as a user would and checks what the desktop, a software
# centre, man, a file manager and Debian's checker make of it.
# Usage: install.sh <case> <build dir>
#   files:    cmake --install into a DESTDIR with a prefix; every file in
#             place; the installed binary runs from an unrelated directory,
#             finds its font under share/korvessa and ends with status 0 on
#             SIGTERM.
#   desktop:  the desktop entry passes desktop-file-validate and the AppStream
#             metadata passes appstreamcli validate, both naming the same
#             application id, desktop entry and icon.
#   icons:    every hicolor size is a PNG of that size, the scalable one an
#             SVG, and the committed icons are what make_icon draws today.
#   manual:   man shows the installed manual page with no warning, with
#             every section.
#   manual-help: every option of --help is in the manual page and the other
#             way round (skipped, status 77, while the binary has no --help).
#   mime:     the shared-mime-info package, compiled as the system would,
#             maps a .kvr file to the replay type, and the desktop entry is
#             the default application for it.
#   package:  cpack builds the Debian package, which holds every file (the
#             binary in /usr/games), depends on what the binary links, and on
#             which lintian reports no error and no warning.
set -uo pipefail
case_name=$1
build=$(cd "$2" && pwd)
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=/opt/korvessa-test
stage="$work/stage"
share="$stage$prefix/share"

app_id=org.korvessa.Korvessa
replay_type=application/x-korvessa-replay
icon_sizes=(16 24 32 48 64 128 256)
man_sections=(NAME SYNOPSIS DESCRIPTION OPTIONS KEYS 'GAME CONTROLLERS' FILES ENVIRONMENT
              'EXIT STATUS')

fail() { echo "FAIL ($case_name): $*"; exit 1; }

installed_files=(
  bin/korvessa
  share/korvessa/tarvelin_16x16.bmp
  share/korvessa/tarvelin_ascii_16x16.bmp
  "share/applications/$app_id.desktop"
  "share/metainfo/$app_id.metainfo.xml"
  "share/mime/packages/$app_id.xml"
  share/man/man6/korvessa.6.gz
  share/doc/korvessa/copyright
  share/doc/korvessa/changelog.gz
  "share/icons/hicolor/scalable/apps/$app_id.svg"
  share/korvessa/sounds/photon.wav
  share/korvessa/sounds/saucer_hum.wav
)
for size in "${icon_sizes[@]}"; do
  installed_files+=("share/icons/hicolor/${size}x$size/apps/$app_id.png")
done

install_into_stage() {
  DESTDIR="$stage" cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; fail "cmake --install failed"; }
}

need() {
  command -v "$1" >/dev/null || fail "$1 is not installed (scripts/deps.sh test installs it)"
}

# The value of `key` in the desktop entry's main group.
desktop_key() { sed -n "s/^$1=//p" "$share/applications/$app_id.desktop"; }

# The long and short options a text names, one a line, sorted.
options_in() { grep -oE -- '(^|[^[:alnum:]-])--?[[:alpha:]][[:alnum:]-]*' | grep -oE -- '--?[[:alnum:]-]+$' | sort -u; }

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
    XDG_CONFIG_HOME="$work" XDG_DATA_HOME="$work" SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=offscreen \
      "$stage$prefix/bin/korvessa" 2>"$work/stderr" &
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
    need desktop-file-validate
    need appstreamcli
    desktop-file-validate "$share/applications/$app_id.desktop" ||
      fail "the desktop entry is not valid"
    [[ $(desktop_key Categories) == 'Game;ArcadeGame;' ]] || fail "wrong categories"
    [[ $(desktop_key Exec) == 'korvessa %f' ]] || fail "Exec does not pass the file"
    [[ $(desktop_key MimeType) == "$replay_type;" ]] || fail "wrong MimeType"
    [[ $(desktop_key Icon) == "$app_id" ]] || fail "the icon is not named after the id"
    metainfo="$share/metainfo/$app_id.metainfo.xml"
    # Warnings fail validation as errors do; pedantic hints do not.
    appstreamcli validate --no-net --pedantic "$metainfo" || fail "the AppStream metadata is not valid"
    grep -q "<id>$app_id</id>" "$metainfo" || fail "the metadata has another id"
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
      fail "the metadata launches another desktop entry"
    grep -q '<binary>korvessa</binary>' "$metainfo" || fail "the metadata does not provide the binary"
    ;;
  icons)
    install_into_stage
    need file
    for size in "${icon_sizes[@]}"; do
      icon="$share/icons/hicolor/${size}x$size/apps/$app_id.png"
      kind=$(file -b "$icon")
      [[ "$kind" == "PNG image data, $size x $size, 8-bit/color RGBA"* ]] ||
        fail "${size}x$size icon is: $kind"
    done
    kind=$(file -b "$share/icons/hicolor/scalable/apps/$app_id.svg")
    [[ "$kind" == "SVG Scalable Vector Graphics image"* ]] || fail "scalable icon is: $kind"
    # Drawing and committed icons must not drift apart.
    [[ -x "$build/make_icon" ]] || fail "make_icon is not built"
    "$build/make_icon" "$work/icons" || fail "make_icon failed"
    diff -r "$work/icons" "$source_dir/assets/icons" ||
      fail "assets/icons is not what make_icon draws: run build/make_icon in the repository root"
    ;;
  manual)
    install_into_stage
    need man
    page="$share/man/man6/korvessa.6.gz"
    MANWIDTH=80 man --warnings -l "$page" >"$work/page.txt" 2>"$work/warnings"
    status=$?
    [[ $status -eq 0 ]] || fail "man -l exited with status $status"
    [[ ! -s "$work/warnings" ]] || { cat "$work/warnings"; fail "the manual page has warnings"; }
    for section in "${man_sections[@]}"; do
      grep -qx "$section" "$work/page.txt" || fail "no $section section"
    done
    grep -q '^korvessa(6)' "$work/page.txt" || fail "not section 6"
    ;;
  manual-help)
    binary="$build/korvessa"
    # An older binary without a command line would start a game instead:
    # with the dummy video driver it cannot open its window and ends at once.
    SDL_VIDEODRIVER=dummy timeout 20 "$binary" --help >"$work/help" 2>/dev/null </dev/null
    status=$?
    if [[ $status -ne 0 ]] || ! grep -q -- --help "$work/help"; then
      echo "SKIP ($case_name): korvessa --help ended with status $status and no option list"
      exit 77
    fi
    need man
    MANWIDTH=200 man -l "$build/korvessa.6" 2>/dev/null |
      sed -n '/^OPTIONS$/,/^[A-Z]/p' | options_in >"$work/man-options"
    options_in <"$work/help" >"$work/help-options"
    diff "$work/help-options" "$work/man-options" ||
      fail "--help (<) and the manual page's OPTIONS (>) name different options"
    ;;
  mime)
    install_into_stage
    need update-mime-database
    need update-desktop-database
    need gio
    # What the system's triggers do after installing the package.
    update-mime-database "$share/mime" 2>"$work/mime.log" || { cat "$work/mime.log"; fail "update-mime-database failed"; }
    update-desktop-database "$share/applications" || fail "update-desktop-database failed"
    grep -qx "[0-9]*:$replay_type:\*\.kvr" "$share/mime/globs2" || fail "no *.kvr glob in globs2"
    printf 'KVR1\001\002\003' >"$work/game.kvr"
    export XDG_DATA_DIRS="$share" XDG_DATA_HOME="$work/home" PATH="$stage$prefix/bin:$PATH"
    type=$(gio info -a standard::content-type "$work/game.kvr" | sed -n 's/^ *standard::content-type: //p')
    [[ "$type" == "$replay_type" ]] || fail "a .kvr file is '$type'"
    gio mime "$replay_type" >"$work/handlers"
    grep -q "^Default application for .*: $app_id.desktop$" "$work/handlers" ||
      { cat "$work/handlers"; fail "the game does not open replays"; }
    ;;
  package)
    need lintian
    (cd "$build" && cpack -G DEB -B "$work/package" >"$work/cpack.log" 2>&1) ||
      { cat "$work/cpack.log"; fail "cpack failed"; }
    deb=$(ls "$work"/package/korvessa_*.deb 2>/dev/null | head -n 1)
    [[ -n "$deb" ]] || fail "no package was built"
    dpkg-deb --contents "$deb" >"$work/contents"
    for file in "${installed_files[@]}"; do
      file=${file/#bin\//games/}  # Debian keeps games in /usr/games
      grep -q "\./usr/$file\$" "$work/contents" || { cat "$work/contents"; fail "the package lacks /usr/$file"; }
    done
    ! grep -q '\./usr/bin/' "$work/contents" || fail "the package installs into /usr/bin"
    [[ $(dpkg-deb --field "$deb" Section) == games ]] || fail "not in section games"
    depends=$(dpkg-deb --field "$deb" Depends)
    for library in libsdl2-2.0-0 libsdl2-mixer-2.0-0 libcurl4 libgl1 libopengl0; do
      [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
    done
    echo "Depends: $depends"
    # Informational tags are listed, not failed: a build tree's package
    # lacks the hardening flags that scripts/package.sh adds.
    lintian --display-info --fail-on error,warning "$deb" 2>&1 | grep -v 'running with root' | tee "$work/lintian"
    [[ ${PIPESTATUS[0]} -eq 0 ]] || fail "lintian reports errors or warnings"
    ;;
  *)
    echo "unknown case $case_name"
    exit 2
    ;;
esac
echo "PASS ($case_name)"
