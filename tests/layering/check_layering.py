#!/usr/bin/env python3
"""Fails when a source file includes what its library does not link.

The allowed edges are the build's own: every library (zolt_folder_library,
zolt_library) and program (add_executable) of the source folders' CMake
files, with the libraries it links, directly or through them. A file belongs
to the target of its nearest folder; it may include headers of that target
and of the targets it links, Qt headers only when it links Qt, widget headers
and generated form headers (ui_*.h) only when it links Qt6::Widgets. Every
library exports the repository root as its include folder, so an include
against these edges of a header-only file would compile and link; only this
check sees it. Includes are read in every form: "news/X.h", <news/X.h>,
"../news/X.h" and "X.h" of the same folder.

Usage: check_layering.py ROOT QTWIDGETS_INCLUDE_DIR
       check_layering.py --self-test ROOT QTWIDGETS_INCLUDE_DIR
"""
import os
import posixpath
import re
import sys
import tempfile

SOURCE_FOLDERS = ["crypto", "util", "net", "toolkit", "branding", "news", "feeds", "update", "app",
                  "tools"]
# What a Qt module brings along: linking Widgets gives Gui and Core too.
QT_IMPLIES = {"Qt6::Widgets": {"Qt6::Gui", "Qt6::Core"}, "Qt6::Gui": {"Qt6::Core"},
              "Qt6::Network": {"Qt6::Core"}, "Qt6::Test": {"Qt6::Core"}}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
CALL = re.compile(r"\b(zolt_folder_library|zolt_library|add_executable|target_link_libraries|"
                  r"target_sources)\s*\(([^()]*)\)", re.S)
QT_HEADER = re.compile(r"^(Qt[A-Za-z]*/|Q[A-Z][A-Za-z]*(\.h)?$|qt[a-z]*\.h$)")
KEYWORDS = {"PUBLIC", "PRIVATE", "INTERFACE"}


class Target:
    def __init__(self, name, folder):
        self.name = name
        self.folder = folder  # repository-relative, "/"-separated
        self.links = set()
        self.compiled_folders = set()  # other folders whose sources it compiles itself


def read_targets(root):
    """Every target the source folders' CMake files make, by name."""
    targets = {}
    calls = []
    for top in SOURCE_FOLDERS:
        for folder, _, files in os.walk(os.path.join(root, top)):
            if "CMakeLists.txt" not in files:
                continue
            here = os.path.relpath(folder, root).replace(os.sep, "/")
            with open(os.path.join(folder, "CMakeLists.txt"), encoding="utf-8") as f:
                text = re.sub(r"#[^\n]*", "", f.read())
            calls += [(here, m.group(1), m.group(2).split()) for m in CALL.finditer(text)]

    def local(here, path):
        path = path.replace("${CMAKE_CURRENT_SOURCE_DIR}", here).replace("${PROJECT_SOURCE_DIR}/", "")
        return posixpath.normpath(path if path.startswith(tuple(SOURCE_FOLDERS)) else
                                  posixpath.join(here, path))

    for here, command, words in calls:
        if command in ("zolt_folder_library", "zolt_library"):
            section, name, folder, links = None, None, here, set()
            for word in words:
                if word in ("NAME", "DIR", "SOURCES", "PUBLIC_LIBS", "PRIVATE_LIBS"):
                    section = word
                elif section == "NAME":
                    name = word
                elif section == "DIR":
                    folder = local(here, word)
                elif section in ("PUBLIC_LIBS", "PRIVATE_LIBS"):
                    links.add(word)
            targets[name] = Target(name, folder)
            targets[name].links |= links
        elif command == "add_executable":
            sources = [w for w in words[1:] if w.endswith(".cpp")]
            folder = posixpath.dirname(local(here, sources[0])) if sources else here
            targets[words[0]] = Target(words[0], folder)
    for here, command, words in calls:
        target = targets.get(words[0]) if words else None
        if target is None:
            continue
        if command == "target_link_libraries":
            target.links |= {w for w in words[1:] if w not in KEYWORDS}
        elif command == "target_sources":
            target.compiled_folders |= {posixpath.dirname(local(here, w)) for w in words[1:]
                                        if w not in KEYWORDS and "PROJECT_SOURCE_DIR" in w}
    return targets


def reach(targets, name):
    """The targets and Qt modules that `name` links, directly or through others."""
    seen, qt, todo = set(), set(), [name]
    while todo:
        current = todo.pop()
        if current in seen:
            continue
        seen.add(current)
        for link in targets[current].links:
            if link in targets:
                todo.append(link)
            elif link.startswith("Qt6::"):
                qt |= {link} | QT_IMPLIES.get(link, set())
    return seen, qt


class Layers:
    def __init__(self, root):
        self.targets = read_targets(root)
        self.by_folder = {t.folder: t for t in self.targets.values()}
        self.reach = {name: reach(self.targets, name) for name in self.targets}

    def target_of(self, path):
        """The target of the nearest folder that has one; None outside them all."""
        folder = posixpath.dirname(path)
        while folder:
            if folder in self.by_folder:
                return self.by_folder[folder]
            folder = posixpath.dirname(folder)
        return None


def faults_of_file(layers, root, rel, text, widget_headers):
    own = layers.target_of(rel)
    if own is None:
        return []
    allowed, qt = layers.reach[own.name]
    faults = []
    for number, line in enumerate(text.splitlines(), 1):
        match = INCLUDE.match(line)
        if not match:
            continue
        where, name = f"{rel}:{number}", match.group(2)
        base = posixpath.basename(name)
        if name.startswith("ui_"):
            if "Qt6::Widgets" not in qt:
                faults.append(f"{where}: form header {name} in {own.name}, which links no widgets")
            continue
        beside = posixpath.normpath(posixpath.join(posixpath.dirname(rel), name))
        if name.startswith(".") or os.path.isfile(os.path.join(root, beside)):
            path = beside
        elif name.split("/", 1)[0] in SOURCE_FOLDERS:
            path = posixpath.normpath(name)
        else:
            if QT_HEADER.match(name) and not qt:
                faults.append(f"{where}: Qt header <{name}> in {own.name}, which links no Qt")
            elif "Qt6::Widgets" not in qt and (name.startswith("QtWidgets/") or
                                               base in widget_headers):
                faults.append(f"{where}: widget header <{name}> in {own.name}, "
                              "which links no widgets")
            continue
        target = layers.target_of(path)
        if target is None:
            faults.append(f"{where}: {name} lies outside the libraries")
        elif target.name not in allowed and posixpath.dirname(path) not in own.compiled_folders:
            faults.append(f"{where}: {own.name} includes {name} of {target.name}, "
                          "which it does not link")
    return faults


def check(root, widget_headers, layers=None):
    layers = layers or Layers(root)
    faults = []
    for top in SOURCE_FOLDERS:
        for folder, _, files in os.walk(os.path.join(root, top)):
            for name in sorted(files):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(folder, name)
                rel = os.path.relpath(path, root).replace(os.sep, "/")
                with open(path, encoding="utf-8", errors="replace") as f:
                    faults += faults_of_file(layers, root, rel, f.read(), widget_headers)
    return faults


def self_test(root, widget_headers):
    """The check, with the tree's own link lists, must notice each planted fault."""
    planted = {
        "util/Up.h": '#include "news/NewsId.h"\n',
        "util/Angle.h": "#include <news/NewsId.h>\n",
        "util/Relative.cpp": '#include "../news/NewsId.h"\n',
        "branding/Cycle.cpp": '#include "news/NewsClient.h"\n',
        "net/Sideways.cpp": '#include "feeds/PhpString.h"\n',
        "news/Widgets.cpp": "#include <QPushButton>\n",
        "branding/Kit.cpp": '#include "toolkit/HtmlView.h"\n',
        "feeds/ui/Other.cpp": '#include "news/ui/TfrmNews.h"\n',
        "crypto/Form.cpp": '#include "ui_TfrmMain.h"\n',
        "crypto/Text.cpp": "#include <QString>\n",
        "toolkit/Knows.cpp": '#include "branding/BrandSettings.h"\n',
    }
    clean = {"news/ui/TfrmNews.cpp": '#include "news/NewsId.h"\n#include <QWidget>\n'
                                     '#include "ui_TfrmNews.h"\n#include "../NewsId.h"\n',
             "news/Here.cpp": '#include "NewsId.h"\n#include <branding/BrandSettings.h>\n'
                              '#include "net/HttpClient.h"\n#include <QString>\n',
             "app/Main.cpp": '#include "feeds/ui/SimplePage.h"\n#include "news/NewsId.h"\n',
             "crypto/Plain.cpp": "#include <cstdint>\n#include <string>\n"}
    layers = Layers(root)
    with tempfile.TemporaryDirectory() as tree:
        for rel, text in {**planted, **clean}.items():
            os.makedirs(os.path.dirname(os.path.join(tree, rel)), exist_ok=True)
            with open(os.path.join(tree, rel), "w") as f:
                f.write(text)
        # The headers that "NewsId.h" and "../NewsId.h" find beside them.
        with open(os.path.join(tree, "news/NewsId.h"), "w") as f:
            f.write("#include <string>\n")
        found = {fault.split(":", 1)[0] for fault in check(tree, widget_headers, layers)}
    missed = set(planted) - found
    wrong = found - set(planted)
    for rel in sorted(missed):
        print(f"self-test: the planted fault in {rel} went unnoticed")
    for rel in sorted(wrong):
        print(f"self-test: {rel} follows the layering but was reported")
    return not missed and not wrong


def main(argv):
    self_testing = len(argv) == 4 and argv[1] == "--self-test"
    if len(argv) != 3 and not self_testing:
        print(__doc__)
        return 2
    root, widget_dir = argv[-2], argv[-1]
    widget_headers = set(os.listdir(widget_dir)) if os.path.isdir(widget_dir) else set()
    if "QPushButton" not in widget_headers:
        print(f"no QtWidgets headers in {widget_dir}: cannot tell widget headers apart")
        return 2
    layers = Layers(root)
    unlinked = [top for top in SOURCE_FOLDERS if layers.target_of(top + "/x.cpp") is None]
    if unlinked:
        print(f"no library or program found in the CMake files of {', '.join(unlinked)}")
        return 2
    if self_testing:
        return 0 if self_test(root, widget_headers) else 1
    faults = check(root, widget_headers, layers)
    for fault in faults:
        print(fault)
    print(f"{len(faults)} include(s) against the layering")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
