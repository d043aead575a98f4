#!/usr/bin/env python3
"""Checks that every include under src/ runs downward, from a folder to one below it.

The folders are listed from the bottom up, each with the folders it may include. A folder may
only name folders listed before it, so the order itself can hold no cycle; a folder under src/
that is missing from the list is a failure too, so a new one has to be given its place.
Usage: check_layers.py [SOURCE_ROOT]   (default: the checkout this script is in)
"""

import pathlib
import re
import sys

# Bottom first. The reasons are what each folder is for, not what it happens to include today.
LAYERS = [
    ("parsers", []),
    ("layout", ["parsers"]),
    ("workspace", ["parsers", "layout"]),
    ("explorer", ["parsers", "workspace"]),
    ("classmodel", ["parsers", "workspace"]),
    ("officeexport", ["parsers", "layout", "workspace"]),
    # What both programs take from a command line sits below both of them.
    ("cmdline", ["classmodel"]),
    ("classwin", ["parsers", "workspace", "classmodel", "cmdline"]),
    # The flowchart view holds the desktop's start-up, which brings every half together.
    ("flowview", ["parsers", "layout", "workspace", "explorer", "officeexport", "classmodel",
                  "classwin"]),
    ("cli", ["parsers", "layout", "workspace", "explorer", "classmodel", "officeexport",
             "cmdline", "flowview"]),
    ("app", ["flowview"]),
]

INCLUDE = re.compile(r'^\s*#\s*include\s+"([A-Za-z0-9_]+)/')


def order_problems():
    problems = []
    seen = set()
    for folder, lower in LAYERS:
        for name in lower:
            if name not in seen:
                problems.append(f"layer list: {folder} may include {name}, which is not below it")
        seen.add(folder)
    return problems


def include_problems(src):
    allowed = {folder: set(lower) | {folder} for folder, lower in LAYERS}
    problems = []
    for folder in sorted(p for p in src.iterdir() if p.is_dir()):
        if folder.name not in allowed:
            problems.append(f"src/{folder.name}: not in the layer list of {__file__}")
            continue
        for path in sorted(folder.rglob("*")):
            if path.suffix not in (".h", ".cpp"):
                continue
            lines = path.read_text(encoding="utf-8", errors="replace").splitlines()
            for number, line in enumerate(lines, 1):
                match = INCLUDE.match(line)
                if match and match.group(1) not in allowed[folder.name]:
                    where = path.relative_to(src.parent)
                    problems.append(f"{where}:{number}: {folder.name} includes "
                                    f"{match.group(1)}/, which is not below it")
    return problems


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else
                        pathlib.Path(__file__).resolve().parent.parent)
    src = root / "src"
    if not src.is_dir():
        print(f"check_layers: no src/ folder in {root}", file=sys.stderr)
        return 2
    problems = order_problems() + include_problems(src)
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
