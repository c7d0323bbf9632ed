#!/usr/bin/env bash
# Runs one fuzz target for a bounded number of inputs.
# Usage: run.sh <target binary> <runs> <corpus kept in the repository> <work folder>
# New inputs go to <work folder>/corpus, a crashing one to <work folder>/;
# the repository's corpus is only read. KORVESSA_FUZZ_RUNS replaces <runs>
# (-1: until stopped or a crash).
set -euo pipefail
binary=$1 runs=${KORVESSA_FUZZ_RUNS:-$2} seeds=$3 work=$4
mkdir -p "$work/corpus"
exec "$binary" -runs="$runs" -artifact_prefix="$work/" -print_final_stats=1 \
  "$work/corpus" "$seeds"
