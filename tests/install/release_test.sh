#!/usr/bin/env bash
# release_test.sh [BUILD_DIR]
#
# Checks a release build (preset release, build/release unless given), after
# `cmake --build --preset release` and `cpack --preset release`:
#   - the tools need only the C library, carry no build id and no build
#     path, and the kit stub kivounpack stays within 196,608 bytes;
#   - every manual page renders without a warning, and names every option
#     its command's --help names;
#   - the package's files are exactly what `cmake --install` lays out, it
#     depends on what the main job runs and on nothing it does not, and
#     lintian finds no error in it.
# Exit status 0 when all hold, 1 otherwise; each failure is named on stderr.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "${1:-$root/build/release}")
tools=(kivounpack kivopack wendplan wendmark)
stub_limit=196608
failures=0
fail() { echo "release_test: FAIL: $*" >&2; failures=$((failures + 1)); }

work=$(mktemp -d "${TMPDIR:-/tmp}/tandrel-release-test.XXXXXX")
trap 'rm -rf "$work"' EXIT

# --- the tools
for tool in "${tools[@]}"; do
  bin=$build/bin/$tool
  [[ -x $bin ]] || { fail "$bin is missing (cmake --build --preset release)"; continue; }
  # The C library's own loader comes with it (libgcc's unwinder finds
  # objects through it).
  needed=$(readelf -dW "$bin" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | grep -v '^ld-linux' | tr '\n' ' ')
  [[ $needed == "libc.so.6 " ]] || fail "$tool needs $needed- only the C library is allowed"
  ! readelf -nW "$bin" | grep -q 'NT_GNU_BUILD_ID' || fail "$tool carries a build id"
  ! grep -q -a -F -e "$root" -e "$build" "$bin" || fail "$tool names the folder it was built in"
  [[ $("$bin" --version) =~ ^$tool\ [0-9] ]] || fail "$tool --version does not answer \"$tool VERSION\""
  echo "release_test: $tool $(stat -c %s "$bin") bytes, needs $needed"
done
size=$(stat -c %s "$build/bin/kivounpack" 2>/dev/null || echo 0)
((size <= stub_limit)) || fail "kivounpack is $size bytes, more than $stub_limit"

# A Linux kit is that stub and its archive, nothing more: the release
# kivopack takes the kivounpack beside it, and the kit extracts with no
# library but the C library's.
mkdir -p "$work/kit-src/docs"
head -c 200000 /dev/urandom >"$work/kit-src/data.bin"
printf 'read me\n' >"$work/kit-src/docs/readme.txt"
if "$build/bin/kivopack" -o "$work/linux.kit" "$work/kit-src" >/dev/null 2>&1; then
  want=$((size + 800 + 2 * 308 + 200000 + 8))
  got=$(stat -c %s "$work/linux.kit")
  ((got == want)) || fail "a Linux kit of 200,008 bytes of data is $got bytes, not the stub's $size plus the archive's $((want - size))"
  (cd "$work" && mkdir out && env -i "$work/linux.kit" -d out >/dev/null 2>&1) || fail "the Linux kit did not extract"
  cmp -s "$work/kit-src/data.bin" "$work/out/data.bin" || fail "the Linux kit gave back other bytes"
else
  fail "the release kivopack could not pack a folder"
fi

# --- the manual pages
# An option as --help shows it: a dash or two, then a letter, at the start
# of a word. The page's source is read with roff's escapes taken out, so
# that line breaks and hyphenation of the rendered text cannot hide one.
options_of() { grep -oE '(^|[][ |(,])--?[A-Za-z][A-Za-z0-9-]*' | sed 's/^[][ |(,]//' | sort -u; }
page_text() { gzip -dc "$1" | sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' -e 's/\\[,/]//g'; }
for name in "${tools[@]}" tandrel-media; do
  page=$build/man/$name.1.gz
  [[ -f $page ]] || { fail "$page is missing"; continue; }
  warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [[ -z $warnings ]] || fail "$name.1 renders with warnings: $warnings"
  if [[ $name == tandrel-media ]]; then
    help=$("$root/scripts/make-media.sh" --help)
  else
    help=$("$build/bin/$name" --help)
  fi
  text=$(page_text "$page")
  missing=()
  while IFS= read -r option; do
    [[ -z $option ]] || grep -q -e "$option\b" <<<"$text" || missing+=("$option")
  done < <(options_of <<<"$help")
  ((${#missing[@]} == 0)) || fail "$name.1 lacks ${missing[*]}, which $name --help names"
  # The exit statuses are part of every command's --help, so of its page.
  grep -qi '^exit status' <<<"$help" || fail "$name --help lists no exit status"
  grep -qi 'exit status' <<<"$text" || fail "$name.1 has no exit status"
done

# --- the package
debs=("$build"/tandrel_*.deb)
if [[ ! -f ${debs[0]} ]]; then
  fail "no package in $build (cd $build && cpack -G DEB)"
else
  deb=${debs[0]}
  [[ $(basename "$deb") == "tandrel_$(dpkg-deb -f "$deb" Version)_$(dpkg --print-architecture).deb" ]] ||
    fail "$(basename "$deb") is not named tandrel_VERSION_ARCH.deb"
  DESTDIR=$work/tree cmake --install "$build" --prefix /usr >/dev/null
  diff <(cd "$work/tree" && find . ! -type d | sort) \
       <(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sort) >"$work/contents.diff" ||
    fail "the package's files differ from the install tree: $(head -n 10 "$work/contents.diff")"
  ! grep -r -l -F -e "$root" -e "$build" -e "$work" "$work/tree" >"$work/paths" ||
    fail "installed files name a build or install folder: $(head -n 5 "$work/paths" | tr '\n' ' ')"
  depends=$(dpkg-deb -f "$deb" Depends)
  for want in 'libc6 (>= ' mtools dosfstools 7zip; do
    [[ ", $depends" == *", $want"* ]] || fail "the package does not depend on $want ($depends)"
  done
  for unwanted in cmake g++ gcc wine; do
    [[ ", $depends," != *", $unwanted"[\ ,]* ]] || fail "the package depends on $unwanted, which it never runs"
  done
  lintian_out=$(lintian "$deb" 2>&1 | grep -v 'root privileges' || true)
  ! grep -q '^E:' <<<"$lintian_out" || fail "lintian reports errors: $(grep '^E:' <<<"$lintian_out")"
  echo "release_test: $(basename "$deb"): depends on $depends; lintian: ${lintian_out:-clean}"
fi

if ((failures)); then
  echo "release_test: $failures checks failed" >&2
  exit 1
fi
echo "release_test: all checks passed"
