#!/usr/bin/env bash
# The Windows tools zip, made from the programs of a build folder:
#
#   win32_zip_test.sh BUILD_DIR WORK_DIR
#
# - the same programs give the same bytes, whatever their files' times,
#   modes and the umask of the one who packs them;
# - the zip holds exactly the programs as built and the guide with CRLF
#   line ends, every entry with the one fixed time, a fixed mode and no
#   extra field, in sorted order;
# - a build with a program missing, or with one of another word size, is
#   refused and leaves nothing in the output folder;
# - a time before 1980, which a zip cannot hold, is raised to 1980-01-01.
set -euo pipefail

build=$(cd "${1:?build folder}" && pwd)
work=${2:?work folder}
root=$(cd "$(dirname "$0")/../.." && pwd)
make_zip=$root/scripts/make-win32-zip.py
version=$(sed -nE 's/^project\(Tandrel VERSION ([0-9.]+).*/\1/p' "$root/CMakeLists.txt")
name=tandrel-$version-win32

rm -rf "$work"
mkdir -p "$work"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

programs=(unpack/frame/KivoUnpack.exe diskmaker/wizard/Wendmark.exe tools/kivopack/kivopack.exe
  tools/wendplan/wendplan.exe)
copy_build() {  # DEST: the programs alone, as another build would leave them
  local p
  for p in "${programs[@]}"; do
    mkdir -p "$1/${p%/*}"
    cp "$build/$p" "$1/$p"
  done
}

# --- two builds, one zip
copy_build "$work/a"
copy_build "$work/b"
touch -d '2003-04-05 06:07:08' "$work/b"/*/*/*.exe
chmod 700 "$work/b"/*/*/*.exe
export SOURCE_DATE_EPOCH=1700000000
"$make_zip" "$work/a" "$work/out-a" >/dev/null
(umask 077 && "$make_zip" "$work/b" "$work/out-b" >/dev/null)
cmp "$work/out-a/$name.zip" "$work/out-b/$name.zip" ||
  fail "two zips of the same programs differ"

# --- what is inside
python3 - "$work/out-a/$name.zip" "$name" "$root" "$work/a" <<'PY' || fail "the zip's entries are not as shipped"
import os, struct, sys, zipfile
path, top, root, build = sys.argv[1:]
want_time = (2023, 11, 14, 22, 13, 20)
docs = sorted(p[:-3] for p in os.listdir(os.path.join(root, "docs")) if p.endswith(".md"))
expected = sorted([top + "/", top + "/bin/", top + "/doc/", top + "/README.txt"]
                  + [f"{top}/bin/{p}" for p in ("KivoUnpack.exe", "Wendmark.exe", "kivopack.exe", "wendplan.exe")]
                  + [f"{top}/doc/{d}.txt" for d in docs])
bad = []
with open(path, "rb") as raw:
    blob = raw.read()
with zipfile.ZipFile(path) as z:
    infos = z.infolist()
    names = [i.filename for i in infos]
    if names != expected:
        bad.append(f"entries {names}, not {expected}")
    for i in infos:
        local_extra = struct.unpack_from("<H", blob, i.header_offset + 28)[0]
        mode = i.external_attr >> 16
        if i.date_time != want_time:
            bad.append(f"{i.filename} dated {i.date_time}")
        if i.extra or local_extra:
            bad.append(f"{i.filename} has an extra field")
        if mode not in (0o40755, 0o100755, 0o100644):
            bad.append(f"{i.filename} has mode {oct(mode)}")
        if i.filename.endswith(".exe"):
            program = i.filename.split("/")[-1]
            where = {"KivoUnpack.exe": "unpack/frame", "Wendmark.exe": "diskmaker/wizard",
                     "kivopack.exe": "tools/kivopack", "wendplan.exe": "tools/wendplan"}[program]
            with open(os.path.join(build, where, program), "rb") as f:
                if z.read(i) != f.read():
                    bad.append(f"{i.filename} is not the program as built")
            if mode != 0o100755:
                bad.append(f"{i.filename} is not executable")
        elif i.filename.endswith(".txt"):
            text = z.read(i)
            source = "README.md" if i.filename.endswith("/README.txt") else "docs/" + i.filename.split("/")[-1][:-4] + ".md"
            with open(os.path.join(root, source), "rb") as f:
                original = f.read().replace(b"\r\n", b"\n")
            if text.replace(b"\r\n", b"").count(b"\n") or text.replace(b"\r\n", b"\n") != original:
                bad.append(f"{i.filename} is not {source} with CRLF line ends")
for b in bad:
    print(b)
sys.exit(1 if bad else 0)
PY

# --- builds that must be refused, leaving no zip behind
refused() {  # WHAT BUILD
  local out=$work/out-refused rc=0
  rm -rf "$out"
  "$make_zip" "$2" "$out" >/dev/null 2>"$work/refused.err" || rc=$?
  [ "$rc" -eq 1 ] || fail "$1: exit $rc, not 1"
  grep -q '^make-win32-zip: ' "$work/refused.err" || fail "$1: no reason given"
  [ -z "$(ls -A "$out" 2>/dev/null)" ] || fail "$1: left $(ls -A "$out")"
}
copy_build "$work/missing"
rm "$work/missing/tools/wendplan/wendplan.exe"
refused "a missing program" "$work/missing"
copy_build "$work/mixed"
python3 - "$work/mixed/tools/kivopack/kivopack.exe" <<'PY'
import struct, sys
with open(sys.argv[1], "r+b") as f:
    head = f.read(64)
    f.seek(struct.unpack_from("<I", head, 60)[0] + 4)
    f.write(struct.pack("<H", 0x8664))
PY
refused "a 64-bit program among 32-bit ones" "$work/mixed"

# --- a time a zip cannot hold
SOURCE_DATE_EPOCH=0 "$make_zip" "$work/a" "$work/out-early" >/dev/null || fail "SOURCE_DATE_EPOCH=0 was refused"
python3 - "$work/out-early/$name.zip" <<'PY' || fail "a time before 1980 was not raised to 1980-01-01"
import sys, zipfile
sys.exit(any(i.date_time != (1980, 1, 1, 0, 0, 0) for i in zipfile.ZipFile(sys.argv[1]).infolist()))
PY

if [ "$failures" -ne 0 ]; then
  echo "win32_zip_test: $failures failed" >&2
  exit 1
fi
echo "win32_zip_test: passed ($(stat -c %s "$work/out-a/$name.zip") bytes)"
