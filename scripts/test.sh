#!/usr/bin/env bash
# Builds Korvessa and runs every test, installing what is missing first.
#  1. g++, warnings as errors: every test (unit, real GL, end to end).
#  2. clang++ with AddressSanitizer and UndefinedBehaviorSanitizer, warnings
#     as errors: the unit tests, the long deterministic run among them.
#  3. clang++ with ThreadSanitizer: the server's tests and the board sender's.
#  4. libFuzzer, in the second stage's build: each fuzz target for a bounded
#     number of inputs.
#  5. the web game (built by stage 1 when emscripten is there): WebAssembly
#     against native state for state, and its pages in headless Chromium.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=$(nproc)

"$root/scripts/deps.sh" test

echo "== g++ build and all tests"
cmake -S "$root" -B "$root/build" -DKORVESSA_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build "$root/build" -j "$jobs"
ctest --test-dir "$root/build" --output-on-failure -j "$jobs" -LE web

echo "== clang++ build with sanitizers, unit tests"
# The libraries are built once for the unit tests and the fuzz targets:
# instrumented for libFuzzer's coverage as well, which the unit tests ignore.
# -O1 as the sanitizers' own guides advise: the long runs and the fuzz runs
# take a fraction of their time at -O0, and the reports keep their lines.
CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-sanitize" -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_FLAGS_DEBUG="-g -O1" -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DKORVESSA_FUZZ=ON -DKORVESSA_WARNINGS_AS_ERRORS=ON -DKORVESSA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$root/build-sanitize" -j "$jobs" --target korvessa_unit_tests korvessa_board_tests \
  korvessa_fuzz_targets
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$root/build-sanitize" --output-on-failure -j "$jobs" -L '^(unit|board)$'

echo "== clang++ build with ThreadSanitizer, the server's and the board sender's tests"
CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-tsan" -DKORVESSA_SANITIZE=thread \
  -DKORVESSA_WARNINGS_AS_ERRORS=ON -DKORVESSA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$root/build-tsan" -j "$jobs" --target korvessa-board korvessa_server_tests \
  korvessa_board_tests
# Every process writes its reports to a file, so a race in a korvessa-board
# the tests started (and later killed) fails the stage as well. The null GL
# equivalence runs no threads, so it is left to the first stage; so are the
# attack tests, which bound the server's memory and answer times, both of
# which ThreadSanitizer's shadow memory and slowdown change (the server's
# threads meet under it in the other tests, clients at once among them).
reports="$root/build-tsan/tsan-reports"
rm -rf "$reports" && mkdir -p "$reports"
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ignore_noninstrumented_modules=1 \
log_path=$reports/report suppressions=$root/tests/tsan.supp"
tsan_status=0
ctest --test-dir "$root/build-tsan" --output-on-failure -j "$jobs" -L server \
  -E '(null_gl_equivalence|^AttackTest\.)' || tsan_status=$?
ctest --test-dir "$root/build-tsan" --output-on-failure -j "$jobs" -L board || tsan_status=$?
unset TSAN_OPTIONS
if compgen -G "$reports/report.*" >/dev/null; then
  cat "$reports"/report.*
  tsan_status=1
fi
[[ $tsan_status -eq 0 ]] || { echo "ThreadSanitizer stage failed" >&2; exit 1; }

echo "== libFuzzer, each fuzz target for a bounded number of inputs"
ctest --test-dir "$root/build-sanitize" --output-on-failure -j "$jobs" -L fuzz
echo "== the web game: WebAssembly against native, and its pages in Chromium"
if [[ -f "$root/build/web-root/korvessa.wasm" ]]; then
  ctest --test-dir "$root/build" --output-on-failure -j "$jobs" -L web
else
  echo "the web game was not built (see the configure step's 'skipped the web game' line)" >&2
  exit 1
fi
echo "== all tests passed"
