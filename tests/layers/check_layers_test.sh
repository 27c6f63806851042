#!/usr/bin/env bash
# The layer check on small made-up trees: a sound one passes; an include
# that crosses the layers (upward, or between the engine and the controls)
# and a cycle are each caught and named by file, line and include.
set -uo pipefail
check="$(cd "$(dirname "$0")/../.." && pwd)/scripts/check-layers.sh"
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
failures=0

fail() {
  echo "FAILED: $1"
  failures=$((failures + 1))
}

mkdir -p "$tree/platform/win32" "$tree/store" "$tree/controls" "$tree/engine" "$tree/ui"
printf '#pragma once\n' >"$tree/platform/base.h"
printf '#include "platform/base.h"\n#include <windows.h>\n' >"$tree/platform/win32/base_win32.cpp"
printf '#pragma once\n#include "platform/base.h"\n' >"$tree/store/table.h"
printf '#pragma once\n#include "platform/base.h"\n' >"$tree/controls/form.h"
printf '#pragma once\n#include "store/table.h"\n' >"$tree/engine/session.h"
printf '#include "controls/form.h"\n#include "engine/session.h"\n#include "generated.h"\n' >"$tree/ui/window.cpp"

out=$(bash "$check" "$tree") || fail "a sound tree is refused: $out"
[[ $out == "layers: 6 files, 7 includes, none across the layers, no cycle" ]] || fail "summary: $out"

# Includes each layer may not make: up, and sideways between the engine
# and the controls, which know nothing of each other.
cross() {
  local file="$1" include="$2" keep
  keep=$(cat "$tree/$file")
  printf '%s\n#include "%s"\n' "$keep" "$include" >"$tree/$file"
  local line
  line=$(wc -l <"$tree/$file")
  out=$(bash "$check" "$tree") && fail "$file including $include passes"
  grep -qF "$file:$line: #include \"$include\" crosses the layers" <<<"$out" ||
    fail "$file including $include not named: $out"
  printf '%s\n' "$keep" >"$tree/$file"
}
cross store/table.h controls/form.h
cross engine/session.h controls/form.h
cross controls/form.h store/table.h
cross controls/form.h engine/session.h
cross platform/base.h store/table.h

# Two headers of one layer including each other.
printf '#pragma once\n#include "platform/base.h"\n' >"$tree/store/table.h"
printf '#pragma once\n#include "platform/other.h"\n' >"$tree/platform/base.h"
printf '#pragma once\n\n#include "platform/base.h"\n' >"$tree/platform/other.h"
out=$(bash "$check" "$tree") && fail "a cycle passes"
grep -qF 'include cycle: platform/base.h:2 ("platform/other.h") -> platform/other.h:3 ("platform/base.h") -> platform/base.h' <<<"$out" ||
  fail "cycle not named: $out"
grep -q 'crosses' <<<"$out" && fail "a cycle within a layer reported as crossing: $out"

[ "$failures" -eq 0 ] && echo "check-layers: all cases pass"
exit $((failures > 0))
