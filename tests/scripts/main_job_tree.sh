# Sourced by the tests that run the main job on the builds as they are: it
# sets src, native and win32 from the test's arguments (SOURCE_DIR
# NATIVE_BUILD WIN32_BUILD), skips (77) when the Windows programs are not
# built, and makes $work (removed at exit), fail() with its count, and
# $tree: a checkout whose builds are those of this tree, with a cmake on
# PATH that has nothing to do, so that each run is the main job's own work.
src=${1:?source folder} native=${2:?native build} win32=${3:?win32 build}
if [[ ! -f $win32/unpack/frame/KivoUnpack.exe || ! -f $win32/diskmaker/wizard/Wendmark.exe ]]; then
  echo "the Windows programs are not built in $win32 (cmake --build --preset win32): skipped"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
tree=$work/tree
mkdir -p "$tree/build" "$work/bin"
for part in scripts samples tests; do ln -s "$src/$part" "$tree/$part"; done
ln -s "$native" "$tree/build/native"
ln -s "$win32" "$tree/build/win32"
printf '#!/bin/sh\nexit 0\n' >"$work/bin/cmake"
chmod +x "$work/bin/cmake"
export PATH=$work/bin:$PATH
