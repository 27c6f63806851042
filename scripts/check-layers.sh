#!/usr/bin/env bash
# Checks the includes under src/ against the layers and what each may use:
#   platform                 nothing else
#   store, controls          platform
#   engine                   store, platform (never controls: no window)
#   ui                       engine, controls and what they use
#   app                      everything
# A file may include headers of its own layer and of the layers it may
# use, and no chain of includes may lead back to where it started. Usage: scripts/check-layers.sh [source folder, src/ by default].
# Prints one summary line and exits 0 when all is well; otherwise names
# each file, line and include at fault and exits 1.
set -euo pipefail
src=${1:-"$(dirname "$0")/../src"}
exec python3 - "$src" <<'PY'
import os
import re
import sys

USES = {
    "platform": set(),
    "store": {"platform"},
    "controls": {"platform"},
    "engine": {"store", "platform"},
    "ui": {"engine", "controls", "store", "platform"},
    "app": {"ui", "engine", "controls", "store", "platform"},
}
LAYERS = list(USES)
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
SUFFIXES = (".h", ".hpp", ".cpp", ".cc", ".rc")

root = os.path.normpath(sys.argv[1])
if not os.path.isdir(root):
    print(f"layers: no folder {root}")
    sys.exit(2)

files = []
for folder, dirs, names in os.walk(root):
    dirs.sort()
    for name in sorted(names):
        if name.endswith(SUFFIXES):
            files.append(os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/"))


def layer_of(path):
    return path.split("/", 1)[0] if "/" in path else None


def resolve(including, target):
    """The include's path under the root: from the root first, as the
    build's include path has it, then beside the including file."""
    if os.path.isfile(os.path.join(root, target)):
        return os.path.normpath(target).replace(os.sep, "/")
    beside = os.path.normpath(os.path.join(os.path.dirname(including), target))
    if os.path.isfile(os.path.join(root, beside)):
        return beside.replace(os.sep, "/")
    return None


problems = []
edges = {}  # file -> [(included file, line number, include text)]
count = 0
for path in files:
    layer = layer_of(path)
    if layer not in USES:
        problems.append(f"{path}: in no layer (the layers are {', '.join(LAYERS)})")
        continue
    with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
        for number, line in enumerate(f, 1):
            m = INCLUDE.match(line)
            if not m:
                continue
            count += 1
            target = m.group(1)
            found = resolve(path, target)
            if found is None:
                # Not one of ours (a generated or system header): no layer.
                continue
            edges.setdefault(path, []).append((found, number, target))
            other = layer_of(found)
            if other in USES and other != layer and other not in USES[layer]:
                problems.append(
                    f'{path}:{number}: #include "{target}" crosses the layers: '
                    f"{layer} may not use {other}")

# Cycles: the strongly connected components of the include graph (Tarjan),
# each reported as one loop through its files.
index, low, on_stack, stack, components = {}, {}, set(), [], []


def visit(start):
    work = [(start, iter(edges.get(start, [])))]
    index[start] = low[start] = len(index)
    stack.append(start)
    on_stack.add(start)
    while work:
        node, children = work[-1]
        advanced = False
        for child, _, _ in children:
            if child not in index:
                index[child] = low[child] = len(index)
                stack.append(child)
                on_stack.add(child)
                work.append((child, iter(edges.get(child, []))))
                advanced = True
                break
            if child in on_stack:
                low[node] = min(low[node], index[child])
        if advanced:
            continue
        work.pop()
        if work:
            low[work[-1][0]] = min(low[work[-1][0]], low[node])
        if low[node] == index[node]:
            component = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                component.append(member)
                if member == node:
                    break
            self_loop = any(c == node for c, _, _ in edges.get(node, []))
            if len(component) > 1 or self_loop:
                components.append(set(component))


for path in sorted(edges):
    if path not in index:
        visit(path)


def loop_in(component):
    """One loop through the component, from its first file back to it."""
    start = min(component)
    previous = {start: None}
    queue = [start]
    while queue:
        node = queue.pop(0)
        for child, number, target in edges.get(node, []):
            if child == start:
                steps = [(node, number, target)]
                while previous[node] is not None:
                    node, number, target = previous[node]
                    steps.append((node, number, target))
                return list(reversed(steps))
            if child in component and child not in previous:
                previous[child] = (node, number, target)
                queue.append(child)
    return []


for component in components:
    steps = loop_in(component)
    chain = " -> ".join(f'{path}:{number} ("{target}")' for path, number, target in steps)
    problem = f"include cycle: {chain} -> {steps[0][0]}"
    others = sorted(component - {path for path, _, _ in steps})
    if others:
        problem += f" (tied up in further cycles with it: {', '.join(others)})"
    problems.append(problem)

if problems:
    for p in problems:
        print(p)
    print(f"layers: {len(problems)} problem(s) in {len(files)} files")
    sys.exit(1)
print(f"layers: {len(files)} files, {count} includes, none across the layers, no cycle")
PY
