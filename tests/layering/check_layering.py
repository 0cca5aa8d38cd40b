#!/usr/bin/env python3
"""Fails when a source file includes against the layering the README draws.

    app -> */ui -> toolkit, net, branding, news, feeds -> util -> crypto

Every library exports the repository root as its include folder, so an upward
include of a header-only file would compile and link; only this check sees it.
Widgets stay in app/, toolkit/ and the */ui/ folders: a file anywhere else
includes no QtWidgets header, no generated form header and nothing from those
folders. tools/ (zolt-brand) sits beside app/ but links no widgets either.

Usage: check_layering.py ROOT QTWIDGETS_INCLUDE_DIR
       check_layering.py --self-test QTWIDGETS_INCLUDE_DIR
"""
import os
import re
import sys
import tempfile

RANK = {"crypto": 0, "util": 1, "net": 2, "toolkit": 2, "branding": 2, "news": 2,
        "feeds": 2, "update": 2, "ui": 3, "tools": 3, "app": 4}
WIDGET_FOLDERS = {"toolkit", "ui", "app"}
SOURCE_FOLDERS = ["crypto", "util", "net", "toolkit", "branding", "news", "feeds", "update", "app",
                  "tools"]

LOCAL = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
SYSTEM = re.compile(r'^\s*#\s*include\s+<([^>]+)>')


def folder_of(path):
    """The layer key of a repository-relative path: its top folder, or 'ui'."""
    parts = path.split("/")
    if len(parts) >= 3 and parts[1] == "ui":
        return "ui", parts[0] + "/ui"
    return parts[0], parts[0]


def faults_of_file(rel, text, widget_headers):
    layer, unit = folder_of(rel)
    faults = []
    for number, line in enumerate(text.splitlines(), 1):
        where = f"{rel}:{number}"
        local = LOCAL.match(line)
        if local:
            target = local.group(1)
            if target.startswith("ui_"):
                if layer not in WIDGET_FOLDERS:
                    faults.append(f"{where}: form header {target} below the widget layer")
                continue
            if "/" not in target:
                continue  # a header of the same folder
            t_layer, t_unit = folder_of(target)
            if t_layer not in RANK or t_unit == unit:
                continue
            if t_layer in WIDGET_FOLDERS and layer not in WIDGET_FOLDERS:
                faults.append(f"{where}: {target} brings widgets below the widget layer")
            elif RANK[t_layer] > RANK[layer]:
                faults.append(f"{where}: {unit}/ includes {target}, a layer above it")
            elif t_layer == "ui" and layer == "ui":
                faults.append(f"{where}: {unit}/ includes another page's {target}")
            elif layer == "toolkit" and RANK[t_layer] == RANK[layer]:
                faults.append(f"{where}: the toolkit includes {target}; it knows no subsystem")
            continue
        system = SYSTEM.match(line)
        if system and layer not in WIDGET_FOLDERS:
            name = system.group(1)
            base = name.split("/", 1)[1] if name.startswith("QtWidgets/") else name
            if name.startswith("QtWidgets") or base in widget_headers:
                faults.append(f"{where}: widget header <{name}> below the widget layer")
    return faults


def check(root, widget_headers):
    faults = []
    for top in SOURCE_FOLDERS:
        for folder, _, files in os.walk(os.path.join(root, top)):
            for name in sorted(files):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(folder, name)
                rel = os.path.relpath(path, root).replace(os.sep, "/")
                with open(path, encoding="utf-8", errors="replace") as f:
                    faults += faults_of_file(rel, f.read(), widget_headers)
    return faults


def self_test(widget_headers):
    """The check must notice each kind of fault in a tree made for it."""
    planted = {
        "util/Up.h": '#include "news/NewsId.h"\n',
        "news/Widgets.cpp": "#include <QPushButton>\n",
        "branding/Kit.cpp": '#include "toolkit/HtmlView.h"\n',
        "feeds/ui/Other.cpp": '#include "news/ui/TfrmNews.h"\n',
        "crypto/Form.cpp": '#include "ui_TfrmMain.h"\n',
    }
    clean = {"news/ui/TfrmNews.cpp": '#include "news/NewsId.h"\n#include <QWidget>\n',
             "app/Main.cpp": '#include "feeds/ui/SimplePage.h"\n'}
    with tempfile.TemporaryDirectory() as root:
        for rel, text in {**planted, **clean}.items():
            os.makedirs(os.path.dirname(os.path.join(root, rel)), exist_ok=True)
            with open(os.path.join(root, rel), "w") as f:
                f.write(text)
        found = {fault.split(":", 1)[0] for fault in check(root, widget_headers)}
    missed = set(planted) - found
    wrong = found - set(planted)
    for rel in sorted(missed):
        print(f"self-test: the planted fault in {rel} went unnoticed")
    for rel in sorted(wrong):
        print(f"self-test: {rel} follows the layering but was reported")
    return not missed and not wrong


def main(argv):
    if len(argv) != 3:
        print(__doc__)
        return 2
    widget_dir = argv[2]
    widget_headers = set(os.listdir(widget_dir)) if os.path.isdir(widget_dir) else set()
    if "QPushButton" not in widget_headers:
        print(f"no QtWidgets headers in {widget_dir}: cannot tell widget headers apart")
        return 2
    if argv[1] == "--self-test":
        return 0 if self_test(widget_headers) else 1
    faults = check(argv[1], widget_headers)
    for fault in faults:
        print(fault)
    print(f"{len(faults)} include(s) against the layering")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
