#!/usr/bin/env python3
"""Packs the Windows tools of a MinGW build into one zip for people on Windows.

    scripts/make-win32-zip.py BUILD_DIR OUTDIR

BUILD_DIR is the folder of the `win32` preset (build/win32); the zip is
OUTDIR/tandrel-VERSION-win32.zip, VERSION as CMakeLists.txt's project() says.
Inside, one folder a person can unpack anywhere:

    tandrel-VERSION-win32/README.txt        the guide, CRLF line ends
    tandrel-VERSION-win32/bin/*.exe         KivoUnpack, Wendmark, kivopack, wendplan
    tandrel-VERSION-win32/doc/*.txt         one page per tool, CRLF line ends

The programs' word size names the zip: a 64-bit build (preset win64-tests,
for hosts that cannot run 32-bit code) gives tandrel-VERSION-win64.zip, so a
test build is never passed off as the shipped 32-bit one.

The same inputs always give the same bytes: every entry carries one time
(SOURCE_DATE_EPOCH, else the time of the checked-out commit, else
1980-01-01), entries are sorted, permissions are fixed, and no entry has an
extra field. The zip is written beside its final name and renamed into
place, so an interrupted run never leaves half a zip under that name.
"""

import os
import re
import subprocess
import sys
import tempfile
import time
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Where each shipped program lands in a build folder.
PROGRAMS = [
    ("KivoUnpack.exe", "unpack/frame"),
    ("Wendmark.exe", "diskmaker/wizard"),
    ("kivopack.exe", "tools/kivopack"),
    ("wendplan.exe", "tools/wendplan"),
]

# PE machine field -> the word that names the zip.
MACHINES = {0x014C: "win32", 0x8664: "win64"}

# The earliest and the latest time a zip's MS-DOS date can hold.
DOS_FIRST = (1980, 1, 1, 0, 0, 0)
DOS_LAST = (2107, 12, 31, 23, 59, 58)


class Failure(Exception):
    pass


def project_version():
    with open(os.path.join(ROOT, "CMakeLists.txt"), encoding="utf-8") as f:
        found = re.search(r"project\(\s*Tandrel\s+VERSION\s+([0-9][0-9.]*)", f.read())
    if not found:
        raise Failure("CMakeLists.txt names no project(Tandrel VERSION ...)")
    return found.group(1)


def entry_time():
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    if epoch is None:
        try:
            epoch = subprocess.run(["git", "-C", ROOT, "log", "-1", "--format=%ct"],
                                   capture_output=True, text=True, check=True).stdout.strip()
        except (OSError, subprocess.CalledProcessError):
            epoch = ""
    if not epoch:
        return DOS_FIRST
    if not epoch.isdigit():
        raise Failure(f"SOURCE_DATE_EPOCH is not a number of seconds: {epoch}")
    t = time.gmtime(int(epoch))[:6]
    t = max(DOS_FIRST, min(DOS_LAST, t))
    # MS-DOS times count in steps of two seconds.
    return t[:5] + (t[5] - t[5] % 2,)


def pe_machine(path):
    with open(path, "rb") as f:
        head = f.read(4096)
    if head[:2] != b"MZ" or len(head) < 64:
        raise Failure(f"{path} is not a Windows program")
    pe = int.from_bytes(head[60:64], "little")
    if head[pe:pe + 4] != b"PE\0\0":
        raise Failure(f"{path} is not a Windows program")
    return int.from_bytes(head[pe + 4:pe + 6], "little")


def crlf(path):
    with open(path, "rb") as f:
        text = f.read()
    return text.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")


def contents(build):
    """Yields (name inside the folder, bytes, is a program), and the zip's word size."""
    items, arch = [], None
    for name, where in PROGRAMS:
        path = os.path.join(build, where, name)
        if not os.path.isfile(path):
            raise Failure(f"{path} is missing: build the preset first")
        word = MACHINES.get(pe_machine(path))
        if word is None or (arch is not None and word != arch):
            raise Failure(f"{path} is not a {arch or '32- or 64-bit x86'} program like the others")
        arch = word
        with open(path, "rb") as f:
            items.append(("bin/" + name, f.read(), True))
    items.append(("README.txt", crlf(os.path.join(ROOT, "README.md")), False))
    docs = os.path.join(ROOT, "docs")
    for page in sorted(os.listdir(docs)):
        if page.endswith(".md"):
            items.append(("doc/" + page[:-3] + ".txt", crlf(os.path.join(docs, page)), False))
    return items, arch


def entry(name, when, mode):
    info = zipfile.ZipInfo(name, when)
    info.create_system = 3  # the mode below is a Unix one
    info.external_attr = mode << 16
    if name.endswith("/"):
        info.external_attr |= 0x10  # and MS-DOS's directory bit
    return info


def make_zip(build, outdir):
    version = project_version()
    items, arch = contents(build)
    top = f"tandrel-{version}-{arch}/"
    when = entry_time()
    names = {top, top + "bin/", top + "doc/"}
    files = {top + name: (data, program) for name, data, program in items}
    os.makedirs(outdir, exist_ok=True)
    final = os.path.join(outdir, f"tandrel-{version}-{arch}.zip")
    fd, partial = tempfile.mkstemp(prefix=".tandrel-zip.", dir=outdir)
    try:
        with os.fdopen(fd, "wb") as raw, zipfile.ZipFile(raw, "w") as z:
            for name in sorted(names | files.keys()):
                if name in files:
                    data, program = files[name]
                    z.writestr(entry(name, when, 0o100755 if program else 0o100644), data,
                               compress_type=zipfile.ZIP_DEFLATED, compresslevel=9)
                else:
                    z.writestr(entry(name, when, 0o40755), b"")
        os.chmod(partial, 0o644)
        os.replace(partial, final)
    except BaseException:
        os.unlink(partial)
        raise
    return final


def main(argv):
    if len(argv) != 3:
        print("usage: make-win32-zip.py BUILD_DIR OUTDIR", file=sys.stderr)
        return 2
    try:
        print(make_zip(argv[1], argv[2]))
    except (Failure, OSError) as e:
        print(f"make-win32-zip: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
