#!/usr/bin/env bash
# The layer check on small made-up trees: a sound one passes; an upward
# include and a cycle are each caught and named by file, line and include.
set -uo pipefail
check="$(cd "$(dirname "$0")/../.." && pwd)/scripts/check-layers.sh"
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
failures=0

fail() {
  echo "FAILED: $1"
  failures=$((failures + 1))
}

mkdir -p "$tree/platform/win32" "$tree/store" "$tree/controls" "$tree/ui"
printf '#pragma once\n' >"$tree/platform/base.h"
printf '#include "platform/base.h"\n#include <windows.h>\n' >"$tree/platform/win32/base_win32.cpp"
printf '#pragma once\n#include "platform/base.h"\n' >"$tree/store/table.h"
printf '#pragma once\n#include "store/table.h"\n' >"$tree/controls/form.h"
printf '#include "controls/form.h"\n#include "generated.h"\n' >"$tree/ui/window.cpp"

out=$(bash "$check" "$tree") || fail "a sound tree is refused: $out"
[[ $out == "layers: 5 files, 5 includes, none upward, no cycle" ]] || fail "summary: $out"

# The store reaching up into the controls.
printf '#pragma once\n#include "platform/base.h"\n#include "controls/form.h"\n' >"$tree/store/table.h"
out=$(bash "$check" "$tree") && fail "an upward include passes"
grep -qF 'store/table.h:3: #include "controls/form.h" runs upward' <<<"$out" ||
  fail "upward include not named: $out"

# Two headers of one layer including each other.
printf '#pragma once\n#include "platform/base.h"\n' >"$tree/store/table.h"
printf '#pragma once\n#include "platform/other.h"\n' >"$tree/platform/base.h"
printf '#pragma once\n\n#include "platform/base.h"\n' >"$tree/platform/other.h"
out=$(bash "$check" "$tree") && fail "a cycle passes"
grep -qF 'include cycle: platform/base.h:2 ("platform/other.h") -> platform/other.h:3 ("platform/base.h") -> platform/base.h' <<<"$out" ||
  fail "cycle not named: $out"
grep -q 'upward' <<<"$out" && fail "a cycle within a layer reported as upward: $out"

[ "$failures" -eq 0 ] && echo "check-layers: all cases pass"
exit $((failures > 0))
