#!/usr/bin/env python3
"""Every help topic the program opens ("Book.chm::/page.htm", or "::/page.htm"
inside Kestrelix.chm) is a page of that book, listed in its project file and
its contents; every page of a book is reachable from its contents and its
keyword index, and the index points only at pages (and anchors) that exist."""
import pathlib
import re
import sys

root = pathlib.Path(__file__).resolve().parents[2]
books = {"Kestrelix.chm": root / "help" / "kestrelix" / "Kestrelix.hhp", "qv.chm": root / "help" / "qv" / "qv.hhp"}
problems = []


def project(hhp):
    text = hhp.read_text()
    files = re.search(r"\[FILES\]\n(.*)", text, re.S).group(1).split()
    options = dict(re.findall(r"^([^=\n\[]+)=(.*)$", text.split("[WINDOWS]")[0], re.M))
    return files, options


opened = set()
for source in (root / "src").rglob("*.cpp"):
    for book, page in re.findall(r'"((?:\w+\.chm)?)::/([\w.]+)', source.read_text(errors="replace")):
        opened.add((book or "Kestrelix.chm", page, source.relative_to(root)))
if not opened:
    problems.append("no help topics found in src/: the pattern no longer matches the code")

for book, hhp in books.items():
    files, options = project(hhp)
    folder = hhp.parent
    for key in ("Contents file", "Index file", "Full-text search"):
        if key not in options:
            problems.append(f"{hhp.name}: no '{key}' option")
    pages = [f for f in files if f.endswith(".htm")]
    contents = (folder / options.get("Contents file", "")).read_text() if "Contents file" in options else ""
    index = (folder / options.get("Index file", "")).read_text() if "Index file" in options else ""
    for page in pages:
        if not (folder / page).is_file():
            problems.append(f"{book}: {page} is listed but missing")
        if f'value="{page}"' not in contents:
            problems.append(f"{book}: {page} is not in the contents")
        if f'value="{page}' not in index:
            problems.append(f"{book}: {page} has no keyword in the index")
    for target in re.findall(r'name="Local" value="([^"]+)"', contents + index):
        page, _, anchor = target.partition("#")
        if page not in pages:
            problems.append(f"{book}: contents or index points at {page}, not a page of the book")
        elif anchor and f'name="{anchor}"' not in (folder / page).read_text():
            problems.append(f"{book}: {page} has no anchor {anchor}")
    for topic_book, page, source in sorted(opened):
        if topic_book == book and page not in pages:
            problems.append(f"{source} opens {book}::/{page}, which the book lacks")

for p in problems:
    print(p)
print(f"{len(opened)} topics opened by the program; {len(problems)} problems")
sys.exit(1 if problems else 0)
