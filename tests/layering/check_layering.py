#!/usr/bin/env python3
"""Checks every #include "..." of the code folders against the layering table of
docs/ARCHITECTURE.md: a file may include its own folder and folders on a lower level.
Checks as well that each folder's CMake targets (the table's library column) link
exactly the folders its files include, no fewer and no more. Prints file and line of
each include the table does not allow and each link missing or to spare; exit status 1
then."""

import os
import re
import sys

TABLE_ROW = re.compile(r"^\|\s*(\d+)\s*\|\s*`([^`]+)/`\s*\|([^|]*)\|")
TARGET_NAME = re.compile(r"`([^`]+)`")
LINK_CALL = re.compile(r"\b(target_link_libraries|orvane_folder_library)\s*\(([^)]*)\)", re.S)
LINK_KEYWORDS = {"PUBLIC", "PRIVATE", "INTERFACE"}
# Both forms: the control libraries' headers are also included as <ctlFrame.h>.
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^">]+)[">]')
SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc")
# Folders that are no layer: they may include any folder.
UNCHECKED = {"tests", "fuzz", "packaging", "scripts", "docs"}


def read_table(path, targets=None):
    """The level of each folder; `targets`, when given, gets the folder of each CMake
    target the library column names."""
    levels = {}
    with open(path, encoding="utf-8") as table:
        for line in table:
            match = TABLE_ROW.match(line)
            if match:
                folder = match.group(2).strip("/")
                levels[folder] = int(match.group(1))
                if targets is not None:
                    for name in TARGET_NAME.findall(match.group(3)):
                        targets[name] = folder
    return levels


def read_links(root, targets):
    """The folders each folder's targets link, from the CMakeLists.txt of the tree
    (the tests' own, the fuzz targets' and the packaging's are no layer)."""
    links = {}
    for directory, subdirectories, files in os.walk(root):
        relative = os.path.relpath(directory, root)
        top = relative.split(os.sep)[0]
        if relative != "." and (top in UNCHECKED or top.startswith(("build", "."))):
            subdirectories[:] = []
            continue
        subdirectories[:] = [d for d in subdirectories
                             if not os.path.exists(os.path.join(directory, d, "CMakeCache.txt"))]
        if "CMakeLists.txt" not in files:
            continue
        with open(os.path.join(directory, "CMakeLists.txt"), encoding="utf-8") as cmake:
            text = re.sub(r"#[^\n]*", "", cmake.read())
        for call, arguments in LINK_CALL.findall(text):
            words = arguments.split()
            if not words:
                continue
            target = "orvane_" + words[0] if call == "orvane_folder_library" else words[0]
            owner = targets.get(target)
            if owner is None:
                continue
            linked = links.setdefault(owner, set())
            for word in words[1:]:
                folder = targets.get(word)
                if word not in LINK_KEYWORDS and folder is not None and folder != owner:
                    linked.add(folder)
    return links


def check_links(included, links):
    """Each folder with targets must link every folder with targets that its files
    include, and no other."""
    problems = []
    for folder in sorted(links):
        wanted = {f for f in included.get(folder, set()) if f in links}
        for missing in sorted(wanted - links[folder]):
            problems.append(f"{folder}/: its files include {missing}/, but its CMake targets "
                            f"do not link it")
        for spare in sorted(links[folder] - wanted):
            problems.append(f"{folder}/: its CMake targets link {spare}/, which none of its "
                            f"files include")
    return problems


def folder_of(relative, levels):
    """The table's folder that holds a path (the longest match), or None."""
    best = None
    for folder in levels:
        if relative == folder or relative.startswith(folder + "/"):
            if best is None or len(folder) > len(best):
                best = folder
    return best


def resolve(root, including, name, levels):
    """The included file as a path relative to root, or None when it is not in the
    source tree (Qt, the system, generated headers)."""
    candidates = [os.path.join(os.path.dirname(including), name), name]
    candidates += [os.path.join(folder, name) for folder in levels if folder.startswith("controls/")]
    for candidate in candidates:
        path = os.path.normpath(candidate)
        if not path.startswith("..") and os.path.isfile(os.path.join(root, path)):
            return path
    return None


def source_files(root, folder):
    for directory, subdirectories, files in os.walk(os.path.join(root, folder)):
        subdirectories[:] = [d for d in subdirectories if not d.startswith(".")
                             and not os.path.exists(os.path.join(directory, d, "CMakeCache.txt"))]
        for name in sorted(files):
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.relpath(os.path.join(directory, name), root)


def unlisted_folders(root, levels):
    """Top-level folders with sources that have no row (and are not exempt)."""
    listed = {folder.split("/")[0] for folder in levels}
    for entry in sorted(os.listdir(root)):
        path = os.path.join(root, entry)
        # Build folders (build*/, ignored by git, such as build-deb/ with its copy of the
        # tree) hold no sources of their own.
        if (entry in listed or entry in UNCHECKED or entry.startswith(".")
                or entry.startswith("build")
                or not os.path.isdir(path) or os.path.exists(os.path.join(path, "CMakeCache.txt"))):
            continue
        if any(True for _ in source_files(root, entry)):
            yield entry


def check(root, levels, included=None):
    """Problems and the number of files checked; `included`, when given, gets the other
    folders each folder's files include."""
    problems = []
    for entry in unlisted_folders(root, levels):
        problems.append(f"{entry}/: a folder with sources but no row in the layering table")
    checked = set()
    for folder in sorted(levels):
        if not os.path.isdir(os.path.join(root, folder)):
            continue
        for relative in source_files(root, folder):
            owner = folder_of(relative, levels)
            if relative in checked or owner is None:
                continue
            checked.add(relative)
            with open(os.path.join(root, relative), encoding="utf-8", errors="replace") as source:
                for number, line in enumerate(source, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    target = resolve(root, relative, match.group(1), levels)
                    if target is None:
                        continue
                    target_folder = folder_of(target, levels)
                    if target_folder == owner:
                        continue
                    if included is not None and target_folder is not None:
                        included.setdefault(owner, set()).add(target_folder)
                    if target_folder is None:
                        problems.append(f'{relative}:{number}: includes "{match.group(1)}", '
                                        f"which is in no layer of the table")
                    elif levels[target_folder] >= levels[owner]:
                        problems.append(
                            f'{relative}:{number}: includes "{match.group(1)}" of '
                            f"{target_folder}/ (level {levels[target_folder]}); {owner}/ "
                            f"(level {levels[owner]}) may include only lower levels")
    return problems, len(checked)


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                           os.path.join(os.path.dirname(__file__), "..", ".."))
    targets = {}
    levels = read_table(os.path.join(root, "docs", "ARCHITECTURE.md"), targets)
    if not levels:
        print("docs/ARCHITECTURE.md: no layering table found")
        return 1
    included = {}
    problems, files = check(root, levels, included)
    problems += check_links(included, read_links(root, targets))
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} include(s) or link(s) against the layering table")
        return 1
    print(f"{files} files of {len(levels)} folders follow the layering table")
    return 0


if __name__ == "__main__":
    sys.exit(main())
