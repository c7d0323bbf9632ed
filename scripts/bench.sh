#!/usr/bin/env bash
# Measures Korvessa in a release build of its own (build-release/):
#  1. one busy tick three ways, side by side: the rules alone, the whole tick
#     on real GL, and the replayed GL calls of the same frame (the floor);
#  2. the game left running idle for 10 seconds: CPU share and frame rate;
#  3. how fast a replay verifies (korvessa --verify), in ticks per second;
#  4. sound: the time to open it and the mixer thread's share of one core.
# Extra arguments go to the benchmark, e.g. --benchmark_filter=Logic.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-release"

"$root/scripts/deps.sh" test

echo "== release build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" --target korvessa korvessa_capture_frame korvessa_bench \
  korvessa_idle_probe korvessa_swap_counter korvessa_verify_speed korvessa_audio_probe

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
