#!/usr/bin/env bash
# The Sample Suite's floppy images made natively by wendmark, timed: the kit
# is laid out as scripts/make-media.sh lays it out (samples/make-sample-kit.sh,
# planned by wendplan), then `wendmark kit/tools/packlist.ini --images OUT`
# writes every disk RUNS times into an empty folder. Prints each run and the
# median, in seconds. The goal is under 2 s for the whole set.
#   bench/images_bench.sh BUILD_DIR [RUNS]
# BUILD_DIR holds bin/wendmark, bin/wendplan and the sample's generated files
# (samples/SampleSuite/bulk): cmake --preset bench && cmake --build --preset bench
# (the native preset's build does as well). The sample's SETUP.EXE comes from
# build/win32 when it has been built; otherwise a stand-in of the same size
# takes its place, which plans the same disks. Works in a new temporary
# folder, removed afterwards.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?build folder}" && pwd)
runs=${2:-5}
for f in bin/wendmark bin/wendplan samples/SampleSuite/bulk; do
  [[ -e $build/$f ]] || { echo "images_bench: $build/$f is missing (cmake --build --preset bench)" >&2; exit 2; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/tandrel-images-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

setup_exe=$root/build/win32/samples/SETUP.EXE
if [[ ! -f $setup_exe ]]; then
  setup_exe=$work/SETUP.EXE
  head -c 3584 /dev/zero >"$setup_exe"
fi
printf 'not run here\n' >"$work/Wendmark.exe"  # the kit's wizard; wendmark does not need it
bash "$root/samples/make-sample-kit.sh" "$work/kit" --wendmark "$work/Wendmark.exe" \
  --wendplan "$build/bin/wendplan" --setup-exe "$setup_exe" --bulk "$build/samples/SampleSuite/bulk" \
  >"$work/kit.log" 2>&1 || { cat "$work/kit.log"; exit 1; }
disks=$(sed -n 's/^Number=\([0-9]*\).*/\1/p' "$work/kit/tools/packlist.ini" | tr -d '\r')
bytes=$(du -sb "$work/kit/setup" | cut -f1)
echo "Sample Suite: $disks disks, $bytes bytes of setup files; $runs runs of wendmark --images"

source "$(dirname "$0")/wendmark_runs.sh"
wendmark_runs "$build/bin/wendmark" "$work/kit/tools/packlist.ini" "$work/images" "$runs" "2 s"
