#!/usr/bin/env bash
# The WebAssembly build plays every game as the native one: the committed
# replays tick by tick, and scripted sessions of 20,000 ticks each, reach the
# same state after every tick. KORVESSA_WEB_SESSIONS sets how many sessions
# (20 by default).
# Usage: equivalence.sh <native trace> <node> <wasm trace .js> <replay>...
set -euo pipefail
native=$1 node=$2 wasm=$3
shift 3
sessions=${KORVESSA_WEB_SESSIONS:-20}
ticks=20000
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
run_both() {
  local name=$1
  shift
  "$native" "$@" >"$work/$name.native"
  NODE_PATH=/usr/share/nodejs "$node" "$wasm" "$@" >"$work/$name.wasm"
  if ! cmp -s "$work/$name.native" "$work/$name.wasm"; then
    echo "FAIL: $name: native and WebAssembly differ; first differences:"
    diff "$work/$name.native" "$work/$name.wasm" | head -20
    exit 1
  fi
}
run_both replays "$@"
grep '^score' "$work/replays.native" | grep ';' && { echo "FAIL: a replay did not verify"; exit 1; }
# Two halves, so that both cores work.
half=$((sessions / 2))
run_both first --sessions 0 "$half" "$ticks" &
first=$!
run_both second --sessions "$half" "$((sessions - half))" "$ticks"
wait "$first"
replay_ticks=$(grep -c '^[0-9]* [0-9a-f]\{16\}$' "$work/replays.native")
games=$(cat "$work/first.native" "$work/second.native" | wc -l)
[[ $games -eq $sessions ]] || { echo "FAIL: $games sessions traced, not $sessions"; exit 1; }
echo "$replay_ticks ticks of $# replays and $sessions sessions of $ticks ticks:" \
  "the same state after every tick natively and in WebAssembly"
