#!/usr/bin/env bash
# Runs the real game headless for 10 seconds under valgrind memcheck, ends it
# with SIGTERM, and requires no invalid read or write and no definite leak of
# the game's own memory. Usage: memcheck.sh <path to korvessa>
set -uo pipefail
game=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

command -v valgrind >/dev/null || { echo "FAIL: valgrind is not installed"; exit 1; }

# Settings seen before: the game plays rather than showing the keys first.
mkdir -p "$work/korvessa" && echo 'korvessa settings 1' >"$work/korvessa/settings.ini"
XDG_CONFIG_HOME="$work" SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=offscreen valgrind --tool=memcheck --leak-check=full \
  --errors-for-leak-kinds=definite --error-exitcode=99 --keep-debuginfo=yes \
  --num-callers=40 --suppressions="$here/memcheck.supp" --log-file="$work/memcheck.log" \
  "$game" &
pid=$!
sleep 10
kill -0 "$pid" 2>/dev/null || { wait "$pid"; echo "FAIL: exited early with status $?"; cat "$work/memcheck.log"; exit 1; }
kill -TERM "$pid"
waited=0
while kill -0 "$pid" 2>/dev/null && ((waited < 600)); do sleep 0.1; ((waited++)); done
if kill -0 "$pid" 2>/dev/null; then
  kill -KILL "$pid"
  echo "FAIL: did not quit within a minute of SIGTERM"
  exit 1
fi
wait "$pid"
status=$?

grep -E 'ERROR SUMMARY|definitely lost|Invalid (read|write)' "$work/memcheck.log"
if [[ $status -ne 0 ]]; then
  echo "FAIL: exit status $status (99: memcheck found errors)"
  cat "$work/memcheck.log"
  exit 1
fi
grep -q 'ERROR SUMMARY: 0 errors' "$work/memcheck.log" || { cat "$work/memcheck.log"; exit 1; }
echo "PASS"
