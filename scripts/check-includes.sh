#!/usr/bin/env bash
# Fails when a source file includes a header from a higher floor: the game's
# parts never know the game, the game never knows what observes or drives it,
# and none of those know the shell or the server.
# Usage: scripts/check-includes.sh [ROOT]
set -euo pipefail
root=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}

# Lowest floor first; folders on one line share a floor and may include
# each other.
floors=(
  "common nullgl"
  "objects geometry gfx"
  "game"
  "audio input save desktop board"
  "shell server"
)

declare -A floor_of
for level in "${!floors[@]}"; do
  for folder in ${floors[$level]}; do floor_of[$folder]=$level; done
done

status=0
for folder in "${!floor_of[@]}"; do
  [[ -d "$root/$folder" ]] || continue
  while IFS=: read -r file line text; do
    target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]+"([^"]+)".*/\1/' <<<"$text")
    top=${target%%/*}
    [[ "$top" == "$target" ]] && continue  # a header beside the file
    if [[ -z "${floor_of[$top]+set}" ]]; then
      echo "${file#"$root"/}:$line: includes $target, from no known folder" >&2
      status=1
    elif ((floor_of[$top] > floor_of[$folder])); then
      echo "${file#"$root"/}:$line: $folder/ includes $target from a higher floor" >&2
      status=1
    fi
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"' "$root/$folder" \
             --include='*.h' --include='*.cpp' || true)
done
[[ $status -eq 0 ]] && echo "includes: every include stays on its floor or below"
exit $status
