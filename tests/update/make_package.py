#!/usr/bin/env python3
"""Writes a test package the way an attacker or a careless packer might.

    make_package.py OUT.zip|OUT.tar.gz ENTRY...

An ENTRY is NAME=TEXT (a file), NAME/ (a folder), NAME->TARGET (a symbolic
link), NAME#chr (a character device), NAME#fifo (a pipe) or NAME@FILE (a file
with the bytes of FILE). Names are written exactly as given, "..", absolute
paths and all.
"""
import io
import sys
import tarfile
import zipfile


def parse(spec):
    if spec.endswith("#chr"):
        return spec[:-4], "chr", b""
    if spec.endswith("#fifo"):
        return spec[:-5], "fifo", b""
    if "->" in spec:
        name, target = spec.split("->", 1)
        return name, "link", target.encode()
    if "@" in spec:
        name, path = spec.split("@", 1)
        with open(path, "rb") as f:
            return name, "file", f.read()
    if "=" in spec:
        name, text = spec.split("=", 1)
        return name, "file", text.encode()
    return spec.rstrip("/"), "dir", b""


def write_tar(out, entries):
    with tarfile.open(out, "w:gz", format=tarfile.PAX_FORMAT) as tar:
        for name, kind, data in entries:
            info = tarfile.TarInfo(name)
            info.mode = 0o755
            if kind == "file":
                info.size = len(data)
                tar.addfile(info, io.BytesIO(data))
                continue
            info.type = {"dir": tarfile.DIRTYPE, "link": tarfile.SYMTYPE,
                         "chr": tarfile.CHRTYPE, "fifo": tarfile.FIFOTYPE}[kind]
            if kind == "link":
                info.linkname = data.decode()
            tar.addfile(info)


def write_zip(out, entries):
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
        for name, kind, data in entries:
            info = zipfile.ZipInfo(name + ("/" if kind == "dir" else ""))
            info.create_system = 3
            mode = {"file": 0o100755, "dir": 0o040755, "link": 0o120777,
                    "chr": 0o020644, "fifo": 0o010644}[kind]
            info.external_attr = mode << 16
            z.writestr(info, data)


def main():
    out, specs = sys.argv[1], sys.argv[2:]
    entries = [parse(s) for s in specs]
    (write_zip if out.endswith(".zip") else write_tar)(out, entries)


if __name__ == "__main__":
    main()
