#!/usr/bin/env bash
# Installs what is missing, builds every preset, and runs the three test
# rings: the native suite (plain and with ASan/UBSan), the fuzz targets for a
# bounded time, and the Windows suite and end-to-end tests under Wine; then
# two builds of the shipped programs in other folders, compared byte for
# byte, and the main job: natively without Wine, twice (the second run must
# give the same kit and images and leave a file it did not make alone), and
# through the Windows programs under Wine, whose images must be the same;
# last the release build, installed and packed, whose main job must make
# the same kits and images as the checkout's.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

# shellcheck source=lib.sh
. scripts/lib.sh
tandrel_ensure_tools || { echo "test.sh: installing the dependencies failed" >&2; exit 1; }

jobs=$(nproc)

# The Windows ring runs the 32-bit programs under 32-bit Wine where the host
# can; the shipped programs are built, and checked, as 32-bit files anyway.
wine_ring=$(tandrel_wine_ring)
if [ "$wine_ring" != win32-tests ]; then
  echo "test.sh: this host cannot execute 32-bit x86 code; the Windows ring runs as 64-bit ($wine_ring)"
fi
logs="$root/build/logs"
mkdir -p "$logs"
failed=()

step() {  # step NAME COMMAND...
  local name=$1; shift
  echo "=== $name"
  if ! "$@"; then
    echo "=== $name FAILED"
    failed+=("$name")
    return 1
  fi
}

for preset in native native-asan win32 "$wine_ring"; do
  step "configure $preset" cmake --preset "$preset" >"$logs/configure-$preset.log" 2>&1 \
    || { cat "$logs/configure-$preset.log"; continue; }
  step "build $preset" cmake --build --preset "$preset" -j "$jobs" >"$logs/build-$preset.log" 2>&1 \
    || tail -n 60 "$logs/build-$preset.log"
done

summaries=()
# Steps that are tests of their own (scripts, not ctest), one count each.
checks_passed=0 checks_failed=0
count_check() {  # count_check NAME STATUS
  if [ "$2" -eq 0 ]; then
    checks_passed=$((checks_passed + 1))
    summaries+=("$1: 1 passed, 0 failed")
  else
    checks_failed=$((checks_failed + 1))
    summaries+=("$1: 0 passed, 1 failed")
  fi
}
run_ctest() {  # run_ctest PRESET [ctest args...]
  local preset=$1; shift
  [ -d "build/$preset" ] || return 0
  step "ctest $preset" ctest --preset "$preset" "$@" 2>&1 | tee "$logs/ctest-$preset.log"
  local rc=${PIPESTATUS[0]}
  [ "$rc" -eq 0 ] || failed+=("ctest $preset")
  summaries+=("$preset: $(grep -E 'tests passed, [0-9]+ tests? failed out of' "$logs/ctest-$preset.log" | tail -n 1)")
}

run_ctest native -j "$jobs"
run_ctest native-asan -j "$jobs"
# The shipped 32-bit files themselves: imports, size, signature (no Wine).
run_ctest win32
# ... and the same bytes from two builds in other folders.
step "reproducible" bash scripts/check-reproducible.sh >"$logs/reproducible.log" 2>&1
rc=$?
tail -n 5 "$logs/reproducible.log"
count_check "reproducible (scripts/check-reproducible.sh)" "$rc"

if [ -f tests/fuzz/CMakeLists.txt ]; then
  if step "configure fuzz" cmake --preset fuzz >"$logs/configure-fuzz.log" 2>&1 \
     && step "build fuzz" cmake --build --preset fuzz -j "$jobs" >"$logs/build-fuzz.log" 2>&1; then
    step "fuzz" bash scripts/fuzz.sh build/fuzz "${TANDREL_FUZZ_SECONDS:-60}"
  else
    tail -n 40 "$logs/build-fuzz.log" 2>/dev/null
  fi
fi

# The Wine suites share one prefix and one floppy drive: run them one by one.
rm -rf "build/$wine_ring/wine-env/gtest-xml"
run_ctest "$wine_ring" -j 1
# Each Wine run is one ctest test; count the GoogleTest cases inside them too.
xml_dir=build/$wine_ring/wine-env/gtest-xml
if ls "$xml_dir"/*.xml >/dev/null 2>&1; then
  cases=$(cat "$xml_dir"/*.xml | grep -c '<testcase ' || true)
  broken=$(cat "$xml_dir"/*.xml | grep -c '<failure ' || true)
  summaries+=("$wine_ring cases under Wine: $((cases - broken)) passed, $broken failed")
fi

# The main job natively, on what looks like a machine without Wine: every
# command on PATH but Wine's.
without_wine() {  # COMMAND...
  local bin=$root/build/no-wine-bin dir f
  rm -rf "$bin" && mkdir -p "$bin"
  local IFS=:
  for dir in $PATH; do
    for f in "$dir"/*; do
      case ${f##*/} in wine*) continue ;; esac
      [ -e "$bin/${f##*/}" ] || ln -s "$f" "$bin/${f##*/}"
    done
  done
  unset IFS
  PATH=$bin "$@"
}
main_job() {
  local log=$logs/media.log
  without_wine bash -c '! command -v wine >/dev/null && exec bash scripts/make-media.sh --out build/media' \
    >"$log" 2>&1 || { tail -n 40 "$log"; return 1; }
  tail -n 12 "$log"
}
step "main job, no Wine" main_job
main_rc=$?
count_check "main job without Wine (scripts/make-media.sh)" "$main_rc"

# Again into the same folder, beside a file of someone else's: the kit and
# the images come out the same bytes, and the file stays as it was.
main_job_again() {
  local log=$logs/media-again.log theirs=build/media/not-made-by-the-main-job.txt
  echo "someone else's notes" >"$theirs"
  bash scripts/make-media.sh --out build/media >"$log" 2>&1 || { tail -n 40 "$log"; return 1; }
  tail -n 1 "$log"
  grep -q '^  Previous run *kit identical, images identical' "$log" ||
    { echo "the second run's kit or images differ from the first's"; return 1; }
  [ "$(cat "$theirs" 2>/dev/null)" = "someone else's notes" ] ||
    { echo "the main job removed or changed a file it did not make"; return 1; }
  rm -f "$theirs"
}
if [ "$main_rc" -eq 0 ]; then
  step "main job again" main_job_again
  count_check "main job again (same kit and images, other files kept)" $?
fi

# Through the real Windows programs under Wine: the wizard's images must be
# the native ones, and so the ones made above without Wine.
via_wine() {
  local log=$logs/media-wine.log
  bash scripts/make-media.sh --via-wine --out build/media-wine >"$log" 2>&1 || { tail -n 40 "$log"; return 1; }
  tail -n 15 "$log"
  cmp build/media/SampleSuite-Setup.exe build/media-wine/SampleSuite-Setup.exe || return 1
  local image count=0
  for image in build/media/disk*.img; do
    cmp "$image" "build/media-wine/wine/${image##*/}" || return 1
    count=$((count + 1))
  done
  [ "$count" -gt 0 ] || { echo "no images from the run without Wine"; return 1; }
  echo "the kit and the $count images made without Wine equal those of the Windows programs under Wine"
}
if [ "$main_rc" -eq 0 ]; then
  step "main job via Wine" via_wine
  count_check "main job via Wine (the wizard's images equal the native ones)" $?
fi

# The release: built, installed into a staging root, packed as a .deb. The
# installed main job, and the package's unpacked into a root of its own,
# must make the checkout's kits and images byte for byte with the checkout
# out of reach; the package must hold exactly the installed tree. The
# staging root and the checkout's runs lie outside the checkout, which the
# runs hide.
release() { tandrel_build test.sh "$logs/build-release.log" release 2>&1; }
install_release() {  # STAGE
  rm -rf "$1" && DESTDIR=$1 cmake --install build/release --prefix /usr >"$logs/install-release.log" 2>&1 ||
    { tail -n 30 "$logs/install-release.log"; return 1; }
}
package_release() {
  rm -f build/release/tandrel_*.deb
  (cd build/release && cpack -G DEB) >"$logs/package-release.log" 2>&1 || { tail -n 30 "$logs/package-release.log"; return 1; }
  ls build/release/tandrel_*_amd64.deb
}
installed_check() {  # NAME LOG installed_test.sh-ARGS...
  local name=$1 log=$2
  shift 2
  step "$name" bash tests/scripts/installed_test.sh "$@" >"$log" 2>&1
  local rc=$?
  tail -n 5 "$log"
  return "$rc"
}
outside=$(mktemp -d)
trap 'rm -rf "$outside"' EXIT
stage=$outside/stage
step "release build" release
release_rc=$?
count_check "release build (preset release)" "$release_rc"
if [ "$release_rc" -eq 0 ]; then
  step "install" install_release "$stage"
  install_rc=$?
  count_check "install (cmake --install into a staging root)" "$install_rc"
  step "package" package_release
  package_rc=$?
  count_check "package (cpack -G DEB)" "$package_rc"
  # The release's own checks: only the C library, no build id or path, the
  # manual pages against --help, the package's dependencies and lintian;
  # then the tools and pages built twice in other folders, compared.
  step "release checks" bash tests/install/release_test.sh build/release >"$logs/release-test.log" 2>&1
  rc=$?
  tail -n 3 "$logs/release-test.log"
  count_check "release checks (tests/install/release_test.sh, lintian included)" "$rc"
  step "release reproducible" bash tests/install/release_reproducible.sh >"$logs/release-reproducible.log" 2>&1
  rc=$?
  tail -n 3 "$logs/release-reproducible.log"
  count_check "release reproducible (tests/install/release_reproducible.sh)" "$rc"
  installed_check "main job, checkout's reference runs" "$logs/installed-reference.log" reference "$root" "$outside/ref"
  reference_rc=$?
  if [ "$install_rc" -eq 0 ] && [ "$reference_rc" -eq 0 ]; then
    installed_check "main job installed" "$logs/installed-tree.log" tree "$root" "$stage/usr" "$outside/ref"
    count_check "main job installed (tandrel-media makes the checkout's kits and images)" $?
  else
    count_check "main job installed (the checkout's reference runs or the install failed)" 1
  fi
  if [ "$install_rc" -eq 0 ] && [ "$package_rc" -eq 0 ] && [ "$reference_rc" -eq 0 ]; then
    deb=$(ls build/release/tandrel_*_amd64.deb)
    installed_check "main job from the package" "$logs/installed-package.log" package "$root" "$deb" "$stage" "$outside/ref"
    count_check "package contents (the installed tree; its tandrel-media makes the checkout's kits and images)" $?
  else
    count_check "package contents (the package, the install or the reference runs failed)" 1
  fi
fi

echo
echo "=== summary"
passed=0; failures=0
for s in "${summaries[@]}"; do
  echo "$s"
  p=$(sed -nE 's/.* ([0-9]+)% tests passed, ([0-9]+) tests? failed out of ([0-9]+).*/\3 \2/p' <<<"$s")
  if [ -n "$p" ]; then
    set -- $p
    passed=$((passed + $1 - $2)); failures=$((failures + $2))
  fi
done
passed=$((passed + checks_passed)); failures=$((failures + checks_failed))
if [ "${#failed[@]}" -gt 0 ]; then
  printf 'failed step: %s\n' "${failed[@]}"
  failures=$((failures > 0 ? failures : 1))
fi
echo "all: $passed passed, $failures failed"
[ "${#failed[@]}" -eq 0 ]
