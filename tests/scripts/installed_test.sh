#!/usr/bin/env bash
# The main job as installed: tandrel-media must make, from an unrelated
# folder and with nothing of the checkout in reach, the same kit and images
# byte for byte as the checkout's scripts/make-media.sh. The checkout's run
# uses the debug tools of preset native and the installed one the release
# tools; the kit carries the Windows stub KivoUnpack.exe, not the Linux
# kivounpack, so neither the kit nor the images may depend on that.
#
#   installed_test.sh reference SOURCE_DIR REF
#       the checkout's runs into REF (a new folder outside the checkout): the
#       Sample Suite, and a product of the test's own
#   installed_test.sh tree SOURCE_DIR PREFIX REF
#       PREFIX/bin/tandrel-media against REF, with the checkout hidden
#   installed_test.sh package SOURCE_DIR DEB STAGE REF
#       the package's file list against the installed tree STAGE (a DESTDIR
#       root), then the package unpacked into a new root, run as `tree`
#
# The checkout is hidden by a private mount namespace in which an empty
# folder covers it, or, where that cannot be made, by moving its build
# folder aside (restored at exit).
set -uo pipefail
mode=${1:?reference, tree or package} src=${2:?source folder}
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
finish() {
  if ((failures)); then
    echo "$failures failures"
    exit 1
  fi
}

# The product of the test's own: two floppies' worth, subfolders, names
# outside ASCII and with blanks, a time before 1980 and a licence.
make_product() {  # DIR
  mkdir -p "$1/setup/data" "$1/setup/Große Dateien"
  head -c 4000 /dev/urandom >"$1/setup/SETUP.EXE"
  head -c 900000 /dev/urandom >"$1/setup/data/PART1.CAB"
  head -c 800000 /dev/urandom >"$1/setup/Große Dateien/Übersicht.bin"
  printf 'read me\r\n' >"$1/setup/liesmich.txt"
  printf 'the licence\n' >"$1/license.txt"
  touch -d '2021-06-01 08:00:00' "$1/setup/SETUP.EXE" "$1/setup/data/PART1.CAB" "$1/setup/Große Dateien/Übersicht.bin"
  touch -d '1975-05-05 05:05:05' "$1/setup/liesmich.txt"
}
product_args() {  # REF: sets args
  args=(--product "$1/product/setup" --name "Größe Tools" --license "$1/product/license.txt")
}
product_kit=GrosseTools-Setup.exe
# Each run of either kind starts with no SOURCE_DATE_EPOCH of the caller's.
clean_env() { env -u SOURCE_DATE_EPOCH LC_ALL=C.UTF-8 "$@"; }

# The kit and every image of run A equal run B's, and there are as many.
same_media() {  # WHAT A B KIT
  local a=$2 b=$3 image count=0
  cmp -s "$a/$4" "$b/$4" || fail "$1: $4 differs from the checkout's"
  for image in "$a"/disk*.img; do
    [[ -f $image ]] || break
    cmp -s "$image" "$b/${image##*/}" || fail "$1: ${image##*/} differs from the checkout's"
    count=$((count + 1))
  done
  local theirs
  theirs=$(find "$b" -maxdepth 1 -name 'disk*.img' | wc -l)
  ((count == theirs && count > 0)) || fail "$1: $count images, and the checkout made $theirs"
}

# Runs COMMAND... with the checkout out of reach.
hidden() {  # COMMAND...
  if unshare --mount --propagation private true 2>/dev/null; then
    unshare --mount --propagation private bash -c \
      'mount -t tmpfs -o size=64k,mode=0755 tandrel-hidden-checkout "$0" && cd / && exec "$@"' "$src" "$@"
  else
    [[ ! -e $src/build.aside ]] || { echo "$src/build.aside is in the way"; return 1; }
    mv "$src/build" "$src/build.aside" || return 1
    trap 'mv "$src/build.aside" "$src/build"' EXIT
    "$@"
    local rc=$?
    mv "$src/build.aside" "$src/build" && trap - EXIT
    return "$rc"
  fi
}

installed_runs() {  # PREFIX REF WHERE: the checks, run where the checkout is hidden
  local prefix=$1 ref=$2 where=$3 log err rc
  # The person's PATH: the installed commands and the system's, nothing of a
  # checkout; and a stand-in for every build tool, so that a build fails.
  mkdir -p "$where/no-build" "$where/elsewhere"
  for tool in cmake make g++ c++ i686-w64-mingw32-g++-posix i686-w64-mingw32-windres; do
    printf '#!/bin/sh\necho "%s was run" >&2\nexit 1\n' "$tool" >"$where/no-build/$tool"
    chmod +x "$where/no-build/$tool"
  done
  local path=$prefix/bin:$where/no-build:/usr/local/bin:/usr/bin:/bin
  cd "$where/elsewhere" || return 1
  [[ ! -e $src/build ]] || fail "the checkout's builds are still in reach"

  # The Sample Suite, into ./media by default.
  log=$(clean_env PATH="$path" tandrel-media 2>&1) || { fail "the Sample Suite run failed: $(tail -n 5 <<<"$log")"; }
  grep -q "^  Kit          $where/elsewhere/media/SampleSuite-Setup.exe (" <<<"$log" ||
    fail "the summary does not name ./media's kit: $(grep '^  Kit' <<<"$log")"
  same_media "the Sample Suite" "$where/elsewhere/media" "$ref/sample" SampleSuite-Setup.exe
  grep -q '^# Made by tandrel-media\.' "$where/elsewhere/media/.tandrel-media" || fail "the mark does not name tandrel-media"

  # The product, with the checkout's mark already in its folder: the
  # installed run replaces what the checkout's run made.
  cp -a "$ref/product-out" "$where/product-out"
  product_args "$ref"
  log=$(clean_env PATH="$path" tandrel-media "${args[@]}" --out "$where/product-out" 2>&1) || fail "the product run failed: $(tail -n 5 <<<"$log")"
  grep -q '^  Previous run *kit identical, images identical (2 of 2)$' <<<"$log" ||
    fail "the product's kit or images differ from the checkout's: $(grep '^  Previous run' <<<"$log")"
  same_media "the product" "$where/product-out" "$ref/product-out" "$product_kit"
  grep -q '^  Times        1 file older than 1980 is dated 1980-01-01 00:00:00 on the floppies: liesmich.txt$' <<<"$log" ||
    fail "the summary does not name the moved time: $(grep -A1 '^  Times' <<<"$log")"

  # What only the installed command refuses or lacks: status and one line.
  local cases=(
    "2|--via-wine runs from a checkout|--via-wine --out $where/wine"
    "1|mcopy (mtools), mdir (mtools), 7zz (7zip)|--out $where/no-readers"
  )
  local row want text argv
  mkdir -p "$where/no-readers-bin"
  for f in /usr/bin/* /bin/*; do
    case ${f##*/} in mcopy | mdir | 7zz) continue ;; esac
    [[ -e $where/no-readers-bin/${f##*/} ]] || ln -s "$f" "$where/no-readers-bin/${f##*/}"
  done
  for row in "${cases[@]}"; do
    IFS='|' read -r want text argv <<<"$row"
    local run_path=$path
    [[ $want != 1 ]] || run_path=$prefix/bin:$where/no-readers-bin
    read -ra argv <<<"$argv"
    err=$(clean_env PATH="$run_path" tandrel-media "${argv[@]}" 2>&1 >/dev/null)
    rc=$?
    [[ $rc == "$want" && $err == *"$text"* ]] || fail "tandrel-media ${argv[*]}: status $rc, '$err'; wanted $want and '$text'"
    [[ ! -e ${argv[-1]} ]] || fail "tandrel-media ${argv[*]}: left ${argv[-1]}"
  done
  finish
}

case $mode in
  reference)
    ref=${3:?reference folder}
    mkdir -p "$ref" && make_product "$ref/product" || exit 1
    log=$(clean_env bash "$src/scripts/make-media.sh" --out "$ref/sample" 2>&1) ||
      { echo "$log" | tail -n 20; fail "the checkout's Sample Suite run failed"; }
    product_args "$ref"
    log=$(clean_env bash "$src/scripts/make-media.sh" "${args[@]}" --out "$ref/product-out" 2>&1) ||
      { echo "$log" | tail -n 20; fail "the checkout's product run failed"; }
    [[ -f $ref/product-out/disk2.img ]] || fail "the product does not take two floppies"
    finish
    echo "the checkout's runs are in $ref"
    ;;
  tree)
    prefix=$(realpath "${3:?prefix}") ref=$(realpath "${4:?reference folder}")
    where=$(mktemp -d)
    trap 'rm -rf "$where"' EXIT
    export -f installed_runs same_media clean_env product_args fail finish
    export src failures product_kit
    hidden bash -c 'installed_runs "$@"' installed_runs "$prefix" "$ref" "$where" || exit 1
    echo "tandrel-media in $prefix made the checkout's kits and images byte for byte, with the checkout out of reach"
    ;;
  package)
    deb=$(realpath "${3:?package}") stage=$(realpath "${4:?installed tree}") ref=$(realpath "${5:?reference folder}")
    # Entries as paths below the root: "./usr/bin/x -> y" and "./usr/" alike.
    listed=$(dpkg-deb -c "$deb" | sed -E 's/^([^ ]+ +){5}//; s/ -> .*//; s|^\./||; s|/$||' | grep -v '^$' | LC_ALL=C sort)
    installed=$(cd "$stage" && find . -mindepth 1 | sed 's|^\./||' | LC_ALL=C sort)
    [[ $listed == "$installed" ]] ||
      fail "the package's files are not the installed tree's: $(diff <(echo "$listed") <(echo "$installed") | head -n 10)"
    root=$(mktemp -d)
    trap 'rm -rf "$root"' EXIT
    dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x failed"
    finish
    bash "$0" tree "$src" "$root/usr" "$ref" || exit 1
    echo "the package holds the installed tree, and its tandrel-media made the checkout's kits and images"
    ;;
  *) echo "installed_test.sh: reference, tree or package, not $mode" >&2; exit 2 ;;
esac
