#!/usr/bin/env bash
# The GL that draws nothing changes no game: the committed replay and 100
# scripted sessions, verified by the server's verifier through Mesa
# (offscreen) and through the null GL, reach the same score and the same
# state after every tick.
# Usage: equivalence.sh <trace tool on null GL> <trace tool on Mesa> <replay>
set -euo pipefail
null=$1 mesa=$2 committed=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/replays"
"$null" --record 100 "$work/replays"
replays=("$committed" "$work"/replays/*.kvr)
[[ ${#replays[@]} -eq 101 ]] || { echo "FAIL: ${#replays[@]} replays, not 101"; exit 1; }
"$null" "${replays[@]}" >"$work/null.txt"
SDL_VIDEODRIVER=offscreen LP_NUM_THREADS=0 "$mesa" "${replays[@]}" >"$work/mesa.txt"
if ! cmp "$work/null.txt" "$work/mesa.txt"; then
  echo "FAIL: the traces differ; first differences:"
  diff "$work/null.txt" "$work/mesa.txt" | head -20
  exit 1
fi
ticks=$(grep -c '^[0-9]* [0-9a-f]\{16\}$' "$work/null.txt")
echo "$ticks ticks of 101 replays: the same state after every tick on both"
grep '^score' "$work/null.txt" | grep ';' && { echo "FAIL: a replay did not verify"; exit 1; }
exit 0
