#!/usr/bin/env bash
# check-reproducible.sh
#
# Builds the shipped programs (preset win32: KivoUnpack.exe, Wendmark.exe,
# kivopack.exe, wendplan.exe) from two copies of this tree that lie in
# different folders, with paths of different lengths, and compares the
# files byte for byte. A difference is shown with objdump's headers and the
# strings that differ, which is usually enough to name its cause (a time
# stamp, a build path, a symbol table). Exit status 0 when all four are
# identical, 1 otherwise.
#
# Only those four targets are built, with every core; the copies live in a
# temporary folder that is removed afterwards (set TANDREL_KEEP_REPRO=1 to
# keep it for a closer look).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

programs=(KivoUnpack.exe Wendmark.exe kivopack.exe wendplan.exe)
targets=(KivoUnpack Wendmark kivopack wendplan)
objdump=i686-w64-mingw32-objdump
jobs=$(nproc)

work=$(mktemp -d "${TMPDIR:-/tmp}/tandrel-repro.XXXXXX")
keep=${TANDREL_KEEP_REPRO:-0}
cleanup() {
  if [[ $keep == 1 ]]; then
    echo "check-reproducible: kept $work"
  else
    rm -rf "$work"
  fi
}
trap cleanup EXIT

# The tree as it is checked out, uncommitted changes included, without what
# builds and runs leave in it.
copy_tree() {  # DEST
  mkdir -p "$1"
  tar -C "$root" --exclude=./build --exclude=./out --exclude=./.git -cf - . | tar -C "$1" -xf -
}

build() {  # SOURCE_DIR
  local src=$1 log=$1.log
  if ! (cd "$src" && cmake --preset win32 && cmake --build --preset win32 -j "$jobs" --target "${targets[@]}") \
      >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "check-reproducible: the build in $src failed" >&2
    keep=1
    exit 1
  fi
}

# The two copies differ in every path component and in length, so that
# neither an embedded path nor padding that follows its length can hide.
first=$work/a/tandrel
second=$work/second-build-folder/src-of-tandrel
for src in "$first" "$second"; do
  copy_tree "$src"
  echo "check-reproducible: building ${targets[*]} in $src"
  build "$src"
done

find_program() {  # BUILD_DIR NAME
  local found
  found=$(find "$1" -name "$2" -type f -not -path '*/CMakeFiles/*')
  if [[ -z $found || $(wc -l <<<"$found") -ne 1 ]]; then
    echo "check-reproducible: expected one $2 in $1, found: ${found:-none}" >&2
    keep=1
    exit 1
  fi
  echo "$found"
}

different=0
for name in "${programs[@]}"; do
  a=$(find_program "$first/build/win32" "$name")
  b=$(find_program "$second/build/win32" "$name")
  if cmp -s "$a" "$b"; then
    echo "check-reproducible: $name identical ($(stat -c %s "$a") bytes)"
    continue
  fi
  different=$((different + 1))
  echo "check-reproducible: $name DIFFERS ($(stat -c %s "$a") and $(stat -c %s "$b") bytes," \
    "$(cmp -l "$a" "$b" 2>/dev/null | wc -l) bytes differ)"
  diff <("$objdump" -x "$a" | sed "s|$a||") <("$objdump" -x "$b" | sed "s|$b||") | head -n 20 | sed 's/^/    /' || true
  diff <(strings -n 8 "$a") <(strings -n 8 "$b") | head -n 20 | sed 's/^/    /' || true
done

if ((different)); then
  echo "check-reproducible: $different of ${#programs[@]} programs differ between the two builds"
  exit 1
fi
echo "check-reproducible: all ${#programs[@]} programs identical between two builds in different folders"
