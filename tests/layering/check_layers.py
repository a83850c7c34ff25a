#!/usr/bin/env python3
"""Fails when a file includes a layer above its own, or when the portable
core reaches for the Windows headers. Dependencies point down only."""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parents[2]
# Each layer and the layers it may include (besides itself).
ALLOWED = {
    "core": set(),
    "records": {"core"},
    "framework": {"core"},
    "skin": {"core", "framework"},
    "config": {"core", "records", "framework", "skin"},
    "cache": {"core", "records", "framework", "skin", "config"},
    "manager": {"core", "records", "framework", "skin", "config", "cache"},
    "app": {"core", "records", "framework", "skin", "config", "cache", "manager"},
}
WINDOWS_HEADERS = re.compile(r'#\s*include\s*[<"](windows|winuser|wingdi|winbase|wininet|ole2|olectl|commctrl|shellapi|htmlhelp)\.h[>"]', re.I)
LOCAL_INCLUDE = re.compile(r'#\s*include\s*"([a-z_]+)/')


def main():
    problems = []
    for layer, allowed in ALLOWED.items():
        folder = ROOT / "src" / layer
        if not folder.is_dir():
            continue
        for path in sorted(folder.rglob("*")):
            if path.suffix not in (".h", ".hpp", ".cpp", ".c"):
                continue
            text = path.read_text(errors="replace")
            rel = path.relative_to(ROOT)
            if layer == "core" and WINDOWS_HEADERS.search(text):
                problems.append(f"{rel}: the portable core must not include Windows headers")
            for match in LOCAL_INCLUDE.finditer(text):
                target = match.group(1)
                if target in ALLOWED and target != layer and target not in allowed:
                    problems.append(f"{rel}: {layer} may not include {target}/ (an upward dependency)")
    for p in problems:
        print(p)
    print(f"{len(problems)} layering problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
