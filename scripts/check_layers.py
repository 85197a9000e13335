#!/usr/bin/env python3
"""Checks the include graph between the source folders: no core file includes Qt, a desktop
header or a batch-tool header; only the main window's own files include its header; and the
folders' dependencies have no cycle. Prints the graph; exits 1 on any breach."""
import pathlib
import re
import sys

root = pathlib.Path(__file__).resolve().parent.parent
src = root / "src"
include = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
main_form_files = {"main_form.h", "main.cpp"} | {
    p.name for p in (src / "desktop/app").glob("main_form*.cpp")}


def folder_of(path):
    rel = path.relative_to(src).parts
    return "/".join(rel[:2]) if rel[0] in ("core", "desktop") else rel[0]


def header_folder(name, including):
    if name.startswith("desktop/"):
        return "/".join(name.split("/")[:2])
    if name.startswith("cli/"):
        return "cli"
    first = name.split("/")[0]
    if (src / "core" / first).is_dir() and (src / "core" / name).exists():
        return "core/" + first
    return None  # a system or library header


breaches = []
graph = {}
for path in sorted(src.rglob("*")):
    if path.suffix not in (".h", ".cpp"):
        continue
    here = folder_of(path)
    graph.setdefault(here, set())
    for kind, name in include.findall(path.read_text(encoding="utf-8")):
        rel = path.relative_to(src)
        if here.startswith("core/"):
            if kind == "<" and re.match(r"Q[A-Z]|Qt", name):
                breaches.append(f"{rel}: core file includes Qt header <{name}>")
            if name.startswith(("desktop/", "cli/")):
                breaches.append(f"{rel}: core file includes {name}")
        if name == "desktop/app/main_form.h" and not (
                here == "desktop/app" and path.name in main_form_files):
            breaches.append(f"{rel}: includes the main window's header")
        there = header_folder(name, path) if kind == '"' else None
        if there and there != here:
            if here.startswith("core/") and not there.startswith("core/"):
                breaches.append(f"{rel}: core depends on {there}")
            if here == "cli" and there.startswith("desktop/"):
                breaches.append(f"{rel}: batch tool depends on {there}")
            graph[here].add(there)

# A cycle among the folders: depth-first search with colours.
state = {}


def visit(node, trail):
    state[node] = "open"
    for nxt in sorted(graph.get(node, ())):
        if state.get(nxt) == "open":
            breaches.append("cycle: " + " -> ".join(trail[trail.index(nxt):] + [nxt]))
        elif nxt not in state:
            visit(nxt, trail + [nxt])
    state[node] = "done"


for node in sorted(graph):
    if node not in state:
        visit(node, [node])

for node in sorted(graph):
    print(f"{node:22} -> {', '.join(sorted(graph[node])) or '-'}")
for breach in breaches:
    print("BREACH", breach, file=sys.stderr)
sys.exit(1 if breaches else 0)
