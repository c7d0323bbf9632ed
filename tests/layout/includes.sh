#!/usr/bin/env bash
# The include check passes on the tree as it is, and catches an include that
# climbs a floor or names a folder it does not know.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
check="$root/scripts/check-includes.sh"

"$check" "$root"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/game" "$scratch/shell" "$scratch/save"
echo '#include "shell/loop/EventLoop.h"' > "$scratch/game/Climbs.cpp"
echo '#include "game/GameApp.h"' > "$scratch/shell/Fine.cpp"
if out=$("$check" "$scratch" 2>&1); then
  echo "FAIL: a game file including the shell passed" >&2; exit 1
fi
grep -q 'game/Climbs.cpp:1: game/ includes shell/loop/EventLoop.h from a higher floor' <<<"$out" || {
  echo "FAIL: unexpected report: $out" >&2; exit 1; }
grep -q Fine.cpp <<<"$out" && { echo "FAIL: a downward include was reported" >&2; exit 1; }

rm "$scratch/game/Climbs.cpp"
echo '#include "app/GameApp.h"' > "$scratch/save/Stale.cpp"
if "$check" "$scratch" 2>/dev/null; then
  echo "FAIL: an include from an unknown folder passed" >&2; exit 1
fi
rm "$scratch/save/Stale.cpp"
mkdir -p "$scratch/shell/screens" "$scratch/shell/loop"
echo '#include "shell/loop/EventLoop.h"' > "$scratch/shell/screens/Menu.cpp"
if out=$("$check" "$scratch" 2>&1); then
  echo "FAIL: a screen including the loop passed" >&2; exit 1
fi
grep -q 'shell/screens/Menu.cpp:1: shell/screens/ includes shell/loop/EventLoop.h' <<<"$out" || {
  echo "FAIL: unexpected report: $out" >&2; exit 1; }

rm "$scratch/shell/screens/Menu.cpp"
echo '#include "save/Second.h"' > "$scratch/save/First.h"
echo '#include "save/Third.h"' > "$scratch/save/Second.cpp"
echo '#include "save/First.h"' > "$scratch/save/Third.h"
if out=$("$check" "$scratch" 2>&1); then
  echo "FAIL: three classes including each other in a circle passed" >&2; exit 1
fi
grep -q 'save/Second' <<<"$out" || { echo "FAIL: unexpected report: $out" >&2; exit 1; }
echo "include check: 5 cases passed"
