#!/usr/bin/env bash
# Measures Korvessa in a release build of its own (build-release/):
#  1. one busy tick three ways, side by side: the rules alone, the whole tick
#     on real GL, and the replayed GL calls of the same frame (the floor);
#  2. the game left running idle for 10 seconds: CPU share and frame rate;
#  3. how fast a replay verifies (korvessa --verify), in ticks per second;
#  4. sound: the time to open it and the mixer thread's share of one core;
#  5. the score server: verifying on the GL that draws nothing, in ticks per
#     second on one core, and 50 clients sending 20 replays each at once;
#     then a crowded day (10,000 and 100,000 players, or those of
#     KORVESSA_BOARD_PLAYERS) read by 50 clients while the workers verify,
#     and read and written at once;
#  6. start to first frame, the game beside the bare GameApp, median of 7.
# Extra arguments go to the benchmark, e.g. --benchmark_filter=Logic; with
# --board-only first, only the crowded day is measured.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-release"
board_only=false
if [[ "${1:-}" == "--board-only" ]]; then
  board_only=true
  shift
fi

"$root/scripts/deps.sh" test

echo "== release build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
board_targets=(korvessa-board korvessa_make_daily_replay korvessa_board_readers)
if $board_only; then
  cmake --build "$build" -j "$(nproc)" --target "${board_targets[@]}"
else
  cmake --build "$build" -j "$(nproc)" --target korvessa korvessa_capture_frame korvessa_bench \
    korvessa_idle_probe korvessa_swap_counter korvessa_verify_speed korvessa_audio_probe \
    korvessa_board_verify_speed korvessa_board_load korvessa_board_flood korvessa_bare_game \
    korvessa_startup_probe \
    "${board_targets[@]}"
fi

crowded_day() {
  local players=$1 work board port
  work=$(mktemp -d)
  mkdir "$work/replays"
  "$build/korvessa_make_daily_replay" --count 600 "$work/replays" >/dev/null
  "$build/korvessa_board_readers" fill --database "$work/board.sqlite" --players "$players"
  "$build/korvessa-board" --listen 127.0.0.1:0 --workers "$(nproc)" --rate-limit 0 \
    --database "$work/board.sqlite" 2>"$work/board.log" &
  board=$!
  for _ in $(seq 100); do grep -q "listening on" "$work/board.log" && break; sleep 0.1; done
  port=$(sed -n 's/.*listening on http:\/\/127\.0\.0\.1:\([0-9]*\).*/\1/p' "$work/board.log")
  local replays=("$work"/replays/*.kvr)
  echo "-- 50 readers for 10 s, 200 replays queued for the workers first"
  "$build/korvessa_board_readers" read --port "$port" --players "$players" \
    --server-pid "$board" --readers 50 --seconds 10 --queue 200 "${replays[@]:0:200}"
  echo "-- mixed: 25 readers while 25 clients send 400 more replays"
  "$build/korvessa_board_readers" read --port "$port" --players "$players" \
    --server-pid "$board" --readers 25 --posters 25 "${replays[@]:200}"
  kill -TERM "$board"
  wait "$board" || true
  rm -rf "$work"
}

if $board_only; then
  for players in ${KORVESSA_BOARD_PLAYERS:-10000 100000}; do
    echo "== the score server: $players players on today's board"
    crowded_day "$players"
  done
  exit 0
fi

echo "== the busy frame, recorded"
frame="$build/korvessa_frame.txt"
"$build/korvessa_capture_frame" "$frame"

echo "== one busy tick: rules, whole tick, replay floor"
# Repetitions in random order, so a change in machine load during the run
# falls on all three alike rather than on one of them.
# One rasterizer thread: with llvmpipe's own threads on a two-core machine
# the same frame's time swings by a fifth from run to run, hiding the small
# difference being measured.
LP_NUM_THREADS=0 "$build/korvessa_bench" --frame="$frame" --benchmark_repetitions=5 \
  --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true "$@"

echo "== the game left idle for 10 seconds"
# With sound on SDL's dummy driver: the mixer's thread counts, and no sound
# card is needed.
SDL_AUDIODRIVER=dummy "$build/korvessa_idle_probe" --seconds 10 --game "$build/korvessa" \
  --preload "$build/libkorvessa_swap_counter.so"

echo "== a replay verified, as fast as it goes"
"$build/korvessa_verify_speed" --repetitions 20

echo "== sound on SDL's dummy driver (no sound card needed), 3 seconds silent, 3 playing"
"$build/korvessa_audio_probe" --seconds 3 --driver dummy

echo "== the score server: a replay verified on the GL that draws nothing, one thread"
"$build/korvessa_board_verify_speed" --repetitions 50

echo "== the score server under load: 50 clients sending 20 of today's replays each"
load=$(mktemp -d)
board=""
trap '[[ -n "$board" ]] && kill "$board" 2>/dev/null; rm -rf "$load"' EXIT
mkdir "$load/replays"
"$build/korvessa_make_daily_replay" --count 1000 "$load/replays" >/dev/null
workers=$(nproc)
# One address sends everything here, so the per-address limit is lifted.
"$build/korvessa-board" --listen 127.0.0.1:0 --workers "$workers" --rate-limit 0 \
  --database "$load/board.sqlite" 2>"$load/board.log" &
board=$!
for _ in $(seq 100); do grep -q "listening on" "$load/board.log" && break; sleep 0.1; done
port=$(sed -n 's/.*listening on http:\/\/127\.0\.0\.1:\([0-9]*\).*/\1/p' "$load/board.log")
"$build/korvessa_board_load" --port "$port" --workers "$workers" --server-pid "$board" \
  --clients 50 --each 20 \
  "$load"/replays/*.kvr
kill -TERM "$board"
wait "$board"

for players in ${KORVESSA_BOARD_PLAYERS:-10000 100000}; do
  echo "== the score server: $players players on today's board"
  crowded_day "$players"
done
echo "== the score server flooded: one address sends its 30 costliest files a minute"
# The rate limit as it ships; addresses told apart by X-Forwarded-For.
"$build/korvessa-board" --listen 127.0.0.1:0 --workers "$workers" --trust-proxy \
  --database "$load/flood.sqlite" 2>"$load/flood.log" &
board=$!
for _ in $(seq 100); do grep -q "listening on" "$load/flood.log" && break; sleep 0.1; done
port=$(sed -n 's/.*listening on http:\/\/127\.0\.0\.1:\([0-9]*\).*/\1/p' "$load/flood.log")
"$build/korvessa_board_flood" --port "$port"
kill -TERM "$board"
wait "$board"

echo "== start to first frame: the game and the bare GameApp, started in turns"
"$build/korvessa_startup_probe" --runs 7
