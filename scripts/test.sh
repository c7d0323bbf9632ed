#!/usr/bin/env bash
# Builds Korvessa and runs every test, installing what is missing first.
#  1. g++, warnings as errors: every test (unit, real GL, end to end).
#  2. clang++ with AddressSanitizer and UndefinedBehaviorSanitizer, warnings
#     as errors: the unit tests, the long deterministic run among them.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=$(nproc)

"$root/scripts/deps.sh" test

echo "== g++ build and all tests"
cmake -S "$root" -B "$root/build" -DKORVESSA_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build "$root/build" -j "$jobs"
ctest --test-dir "$root/build" --output-on-failure -j "$jobs"

echo "== clang++ build with sanitizers, unit tests"
CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-sanitize" -DCMAKE_BUILD_TYPE=Debug \
  -DKORVESSA_SANITIZE=ON -DKORVESSA_WARNINGS_AS_ERRORS=ON -DKORVESSA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$root/build-sanitize" -j "$jobs" --target korvessa_unit_tests
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$root/build-sanitize" --output-on-failure -j "$jobs" -L unit
echo "== all tests passed"
