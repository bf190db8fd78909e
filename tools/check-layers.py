#!/usr/bin/env python3
"""Checks that the folders of src/ form layers: every #include between two folders points down
(or sideways between feature folders), and the folders' includes have no cycle.

    platform/  <  ui/  <  base/  <  indicator/ i18n/ online/ about/  <  app/

Prints every include that breaks the rule and exits with 1; prints the folder graph and exits
with 0 when there is none.
"""
import pathlib
import re
import sys

LAYER = {"platform": 0, "ui": 1, "base": 2,
         "indicator": 3, "i18n": 3, "online": 3, "about": 3, "app": 4}

src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent / "src")
include = re.compile(r'^\s*#\s*include\s+"([^"/]+)/[^"]+"', re.MULTILINE)
edges = {}  # (from folder, to folder) -> first file that makes the edge
faults = []
for path in sorted(src.rglob("*")):
    if path.suffix not in (".h", ".cpp"):
        continue
    folder = path.relative_to(src).parts[0]
    if folder not in LAYER:
        faults.append(f"{path}: folder {folder}/ has no layer")
        continue
    for target in include.findall(path.read_text(encoding="utf-8")):
        if target == folder:
            continue
        if target not in LAYER:
            faults.append(f"{path}: includes {target}/, which has no layer")
        elif LAYER[target] > LAYER[folder]:
            faults.append(f"{path}: {folder}/ includes {target}/, a higher layer")
        edges.setdefault((folder, target), path)

# A cycle among the folders (only possible sideways, between features).
graph = {}
for a, b in edges:
    graph.setdefault(a, set()).add(b)

def cycle_from(start):
    stack = [(start, [start])]
    while stack:
        node, trail = stack.pop()
        for nxt in graph.get(node, ()):
            if nxt == start:
                return trail + [start]
            if nxt not in trail:
                stack.append((nxt, trail + [nxt]))
    return None

for folder in sorted(graph):
    found = cycle_from(folder)
    if found:
        links = ", ".join(f"{a}->{b} ({edges[(a, b)]})" for a, b in zip(found, found[1:]))
        faults.append(f"cycle {' -> '.join(found)}: {links}")

if faults:
    print("\n".join(faults))
    sys.exit(1)
for folder in sorted(graph, key=lambda f: (-LAYER[f], f)):
    print(f"{folder:>9} -> {' '.join(sorted(graph[folder], key=lambda f: (-LAYER[f], f)))}")
