#!/usr/bin/env bash
# Fails when a source file includes a header from a higher floor (the game's
# parts never know the game, the game never knows what observes or drives
# it, none of those know the shell or the server, and inside the shell each
# floor knows only those under it), or when two classes include each other,
# directly or through others.
# Usage: scripts/check-includes.sh [ROOT]
set -euo pipefail
root=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}

# Lowest floor first; folders on one line share a floor and may include
# each other. The shell's own files (its entry and options) are its top.
floors=(
  "common nullgl"
  "objects geometry gfx"
  "game"
  "audio input save desktop board"
  "shell/settings"
  "shell/ui"
  "shell/session"
  "shell/screens"
  "shell/loop"
  "shell server web"
)

declare -A floor_of
for level in "${!floors[@]}"; do
  for folder in ${floors[$level]}; do floor_of[$folder]=$level; done
done

# The floor's name of a path, in `floor_name`: a known subfolder, else its
# top folder. (No subshells: this runs for every include.)
floor_name_of() {
  local top=${1%%/*} rest=${1#*/}
  local sub=${rest%%/*}
  floor_name=$top
  if [[ "$rest" != "$sub" && -n "${floor_of[$top/$sub]+set}" ]]; then floor_name=$top/$sub; fi
}

# Folders whose classes are not checked for circles (none now).
no_circle_check=""

status=0
edges=$(mktemp)
trap 'rm -f "$edges"' EXIT
for folder in "${!floor_of[@]}"; do
  [[ "$folder" == */* ]] && continue  # searched with its top folder
  [[ -d "$root/$folder" ]] || continue
  while IFS=: read -r file line text; do
    relative=${file#"$root"/}
    floor_name_of "$relative"
    from=$floor_name
    [[ "$text" =~ include[[:space:]]+\"([^\"]+)\" ]] || continue
    target=${BASH_REMATCH[1]}
    top=${target%%/*}
    [[ "$top" == "$target" ]] && continue  # a header beside the file
    floor_name_of "$target"
    to=$floor_name
    if [[ -z "${floor_of[$top]+set}" ]]; then
      echo "$relative:$line: includes $target, from no known folder" >&2
      status=1
    elif ((floor_of[$to] > floor_of[$from])); then
      echo "$relative:$line: $from/ includes $target from a higher floor" >&2
      status=1
    fi
    # A class is its header and its source: an edge from one class to another.
    if [[ "${relative%.*}" != "${target%.*}" && " $no_circle_check " != *" $top "* ]]; then
      echo "${relative%.*} ${target%.*}" >>"$edges"
    fi
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"' "$root/$folder" \
             --include='*.h' --include='*.cpp' || true)
done
if ! cycle=$(tsort "$edges" 2>&1 >/dev/null) || [[ -n "$cycle" ]]; then
  echo "classes that include each other, directly or through others:" >&2
  grep -v 'input contains a loop' <<<"$cycle" | sed 's/^tsort: /  /' >&2
  status=1
fi
[[ $status -eq 0 ]] && echo "includes: every include stays on its floor or below, and none goes round"
exit $status
