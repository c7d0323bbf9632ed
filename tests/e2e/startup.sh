#!/usr/bin/env bash
# Starts the real game binary in a given environment and checks how it ends.
# Usage: startup.sh <case> <path to korvessa>
set -uo pipefail
case_name=$1
game=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
# Settings of the scratch folder's, seen before: the game plays at once
# instead of showing the keys of a first start.
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/korvessa" && echo 'korvessa settings 1' >"$XDG_CONFIG_HOME/korvessa/settings.ini"

fail() { echo "FAIL ($case_name): $*"; echo "--- stderr:"; cat "$work/stderr"; exit 1; }

# Runs the game headless for a second, then asks it to quit as a window
# manager would (SDL turns SIGTERM into a quit event).
run_and_terminate() {
  local signal=${1:-TERM}
  local audio=${2:-dummy}
  # Scores and replays, if a game ended, go to the scratch folder.
  XDG_DATA_HOME="$work" SDL_AUDIODRIVER="$audio" SDL_VIDEODRIVER=offscreen "$game" 2>"$work/stderr" &
  local pid=$!
  sleep 1
  kill -0 "$pid" 2>/dev/null || { wait "$pid"; fail "exited early with status $?"; }
  kill "-$signal" "$pid"
  local waited=0
  while kill -0 "$pid" 2>/dev/null && ((waited < 100)); do sleep 0.1; ((waited++)); done
  kill -0 "$pid" 2>/dev/null && { kill -KILL "$pid"; fail "did not quit after SIG$signal"; }
  wait "$pid"
  status=$?
}

# Runs the game where start-up must fail; it must not hang.
run_expecting_failure() {
  timeout 20 "$@" "$game" 2>"$work/stderr"
  status=$?
  [[ $status -eq 1 ]] || fail "exit status $status, expected 1"
  [[ $(wc -l <"$work/stderr") -eq 1 ]] || fail "expected exactly one line on stderr"
  grep -q '^korvessa: ' "$work/stderr" || fail "the error line does not name the program"
  cat "$work/stderr"
}

font_in_cwd() { head -c "$1" "$(dirname "$game")/assets/tarvelin_16x16.bmp" >tarvelin_16x16.bmp; }

case "$case_name" in
  headless)
    run_and_terminate
    [[ $status -eq 0 ]] || fail "exit status $status, expected 0"
    [[ ! -s "$work/stderr" ]] || fail "wrote to stderr"
    ;;
  files-not-regular)
    # Settings that never end and FIFOs for the mappings and the table: a
    # line for each file read, and the game plays. The pads are opened after
    # the first frame, so their line is waited for, while the game runs on.
    ln -sf /dev/zero "$XDG_CONFIG_HOME/korvessa/settings.ini"
    mkdir korvessa
    mkfifo korvessa/gamecontrollerdb.txt korvessa/scores.txt
    mappings="korvessa: $work/korvessa/gamecontrollerdb.txt is not a regular file"
    XDG_DATA_HOME="$work" SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=offscreen "$game" 2>"$work/stderr" &
    pid=$!
    for ((waited = 0; waited < 100; waited++)); do
      grep -qx "$mappings" "$work/stderr" && break
      sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null || fail "the game did not play on"
    kill -TERM "$pid"
    wait "$pid" || fail "exit status $?, expected 0"
    grep -qx "$mappings" "$work/stderr" || fail "no line for the mappings"
    grep -qx "korvessa: $XDG_CONFIG_HOME/korvessa/settings.ini is not a regular file; default settings" \
      "$work/stderr" || fail "no line for the settings"
    [[ $(wc -l <"$work/stderr") -eq 2 ]] || fail "expected two lines on stderr"
    [[ -L "$XDG_CONFIG_HOME/korvessa/settings.ini" ]] || fail "the settings' link was written over"
    ;;
  no-display)
    run_expecting_failure env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11
    grep -q 'initialise SDL' "$work/stderr" || fail "message does not say what failed"
    ;;
  hangup)
    # A closed terminal ends the game cleanly, as SIGTERM does.
    run_and_terminate HUP
    [[ $status -eq 0 ]] || fail "exit status $status, expected 0"
    [[ ! -s "$work/stderr" ]] || fail "wrote to stderr"
    ;;
  no-audio)
    # No sound to be had: the game plays silently and says so once.
    run_and_terminate TERM nonexistent
    [[ $status -eq 0 ]] || fail "exit status $status, expected 0"
    [[ $(wc -l <"$work/stderr") -eq 1 ]] || fail "expected exactly one line on stderr"
    grep -q '^korvessa: sound is off: ' "$work/stderr" || fail "the line does not say sound is off"
    ;;
  no-display-no-driver)
    # Nobody asked for a headless driver: the game must not run unseen.
    run_expecting_failure env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER XDG_RUNTIME_DIR="$work"
    grep -q 'display' "$work/stderr" || fail "message does not say what is missing"
    ;;
  help | version)
    timeout 20 "$game" "--$case_name" >"$work/stdout" 2>"$work/stderr"
    status=$?
    [[ $status -eq 0 ]] || fail "exit status $status, expected 0"
    [[ ! -s "$work/stderr" ]] || fail "wrote to stderr"
    if [[ $case_name == help ]]; then
      for word in Usage --fullscreen --seed --replay --verify Keys F11 'Exit status'; do
        grep -q -- "$word" "$work/stdout" || fail "--help does not mention $word"
      done
    else
      grep -Eq '^korvessa [0-9]+\.[0-9]+\.[0-9]+$' "$work/stdout" || fail "not a version line"
    fi
    ;;
  bad-option)
    timeout 20 "$game" --frobnicate 2>"$work/stderr"
    status=$?
    [[ $status -eq 2 ]] || fail "exit status $status, expected 2"
    grep -q -- "--frobnicate" "$work/stderr" || fail "the message does not name the option"
    grep -q -- "--help" "$work/stderr" || fail "no hint to --help"
    ;;
  no-gl)
    run_expecting_failure env SDL_VIDEODRIVER=offscreen SDL_VIDEO_EGL_DRIVER=/nonexistent/libEGL.so
    grep -q 'window' "$work/stderr" || fail "message does not say what failed"
    ;;
  truncated-font)
    font_in_cwd 3000
    run_expecting_failure env SDL_VIDEODRIVER=offscreen
    grep -q 'tarvelin_16x16.bmp' "$work/stderr" || fail "message does not name the file"
    ;;
  truncated-text-font)
    # The texts' font is loaded just after the first frame: still start-up.
    head -c 3000 "$(dirname "$game")/assets/tarvelin_ascii_16x16.bmp" >tarvelin_ascii_16x16.bmp
    run_expecting_failure env SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
    grep -q 'tarvelin_ascii_16x16.bmp' "$work/stderr" || fail "message does not name the file"
    ;;
  wrong-size-font)
    # The real bitmap with its width field (offset 18) halved to 472.
    font_in_cwd 100000
    printf '\xd8\x01' | dd of=tarvelin_16x16.bmp bs=1 seek=18 conv=notrunc status=none
    run_expecting_failure env SDL_VIDEODRIVER=offscreen
    grep -q '472x16' "$work/stderr" || fail "message does not give the wrong size"
    ;;
  not-a-bmp)
    echo "this is not a bitmap" >tarvelin_16x16.bmp
    run_expecting_failure env SDL_VIDEODRIVER=offscreen
    grep -q 'tarvelin_16x16.bmp' "$work/stderr" || fail "message does not name the file"
    ;;
  not-a-file)
    # Only a regular file is read as a replay: a FIFO would wait for a
    # writer forever, a folder cannot be read at all.
    mkfifo fifo
    mkdir folder
    for args in "fifo" "--replay=fifo" "--verify=fifo" "folder" "--verify=folder"; do
      file=${args#*=}
      timeout 10 env SDL_VIDEODRIVER=offscreen "$game" "$args" 2>"$work/stderr"
      status=$?
      [[ $status -eq 2 ]] || fail "korvessa $args: exit status $status, expected 2"
      [[ $(wc -l <"$work/stderr") -eq 1 ]] || fail "korvessa $args: expected one line on stderr"
      if [[ $file == fifo ]]; then expected="korvessa: fifo: is not a regular file"
      else expected="korvessa: folder: is a directory"; fi
      [[ $(cat "$work/stderr") == "$expected" ]] || fail "korvessa $args: not '$expected'"
    done
    ;;
  *)
    echo "unknown case $case_name"
    exit 2
    ;;
esac
echo "PASS ($case_name)"
