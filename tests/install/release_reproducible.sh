#!/usr/bin/env bash
# release_reproducible.sh
#
# Builds the release tools and their manual pages (preset release) from two
# copies of this tree that lie in different folders, with paths of different
# lengths, and compares them byte for byte. Both take the Windows programs
# from this tree's win32 build (build/win32, or TANDREL_WIN32_DIR), which
# scripts/check-reproducible.sh checks on its own. Exit status 0 when every
# file is identical, 1 otherwise; a difference is shown by its headers and
# strings. Takes a minute or two. TANDREL_KEEP_REPRO=1 keeps the copies.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
win32=$(realpath "${TANDREL_WIN32_DIR:-$root/build/win32}")
files=(bin/kivounpack bin/kivopack bin/wendplan bin/wendmark
       man/kivounpack.1.gz man/kivopack.1.gz man/wendplan.1.gz man/wendmark.1.gz man/tandrel-media.1.gz)
targets=(kivounpack kivopack wendplan wendmark man_pages)

work=$(mktemp -d "${TMPDIR:-/tmp}/tandrel-release-repro.XXXXXX")
keep=${TANDREL_KEEP_REPRO:-0}
cleanup() { if [[ $keep == 1 ]]; then echo "release_reproducible: kept $work"; else rm -rf "$work"; fi; }
trap cleanup EXIT

first=$work/a/tandrel
second=$work/second-build-folder/src-of-tandrel
for src in "$first" "$second"; do
  mkdir -p "$src"
  tar -C "$root" --exclude=./build --exclude=./out --exclude=./.git -cf - . | tar -C "$src" -xf -
  echo "release_reproducible: building ${targets[*]} in $src"
  if ! (cd "$src" && cmake --preset release -DTANDREL_WIN32_DIR="$win32" &&
        cmake --build --preset release -j "$(nproc)" --target "${targets[@]}") >"$src.log" 2>&1; then
    tail -n 40 "$src.log"
    echo "release_reproducible: the build in $src failed" >&2
    keep=1
    exit 1
  fi
done

different=0
for file in "${files[@]}"; do
  a=$first/build/release/$file b=$second/build/release/$file
  if cmp -s "$a" "$b"; then
    echo "release_reproducible: $file identical ($(stat -c %s "$a") bytes)"
    continue
  fi
  different=$((different + 1))
  echo "release_reproducible: $file DIFFERS ($(stat -c %s "$a") and $(stat -c %s "$b") bytes)"
  if [[ $file == bin/* ]]; then
    diff <(readelf -SW "$a") <(readelf -SW "$b") | head -n 20 | sed 's/^/    /' || true
    diff <(strings -n 8 "$a") <(strings -n 8 "$b") | head -n 20 | sed 's/^/    /' || true
  else
    diff <(gzip -dc "$a") <(gzip -dc "$b") | head -n 20 | sed 's/^/    /' || true
  fi
done
if ((different)); then
  echo "release_reproducible: $different of ${#files[@]} files differ between the two builds"
  exit 1
fi
echo "release_reproducible: all ${#files[@]} files identical between two builds in different folders"
