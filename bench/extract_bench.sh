#!/usr/bin/env bash
# Extraction by kivounpack against `tar -xf` of an uncompressed tar of the
# same tree, and against `tar --no-same-owner -xf`: as root, plain `tar -xf`
# also restores owners, which kivounpack never does, so the second is the
# like-for-like figure: (a) 1,000 files of 1 MiB, (b) 20,000 files of 4 KiB in 100
# folders. Each is run RUNS times into an empty folder; the median counts.
#   bench/extract_bench.sh BUILD_DIR [SCRATCH_DIR] [RUNS]
# BUILD_DIR holds bin/kivopack and bin/kivounpack: the bench preset builds
# them optimised (cmake --preset bench && cmake --build --preset bench).
# Needs about 4 GiB in SCRATCH_DIR. The work happens in a new folder made
# inside it, which is removed afterwards; nothing else there is touched.
set -euo pipefail
build=$(cd "${1:?build folder}" && pwd)
runs=${3:-3}
# mktemp makes a folder no one else has: removing it can cost nobody anything.
mkdir -p "${2:-/tmp}"
scratch=$(mktemp -d "${2:-/tmp}/tandrel-extract-bench.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

make_tree() {  # make_tree DIR COUNT BYTES
  local dir=$1 count=$2 bytes=$3
  python3 - "$dir" "$count" "$bytes" <<'PY'
import os, sys
root, count, size = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
block = os.urandom(size)
for i in range(count):
    d = os.path.join(root, "d%03d" % (i % 100))
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, "f%05d.bin" % i), "wb") as f:
        f.write(block[i % 251:] + block[:i % 251])
PY
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

time_run() {  # time_run DIR COMMAND... : seconds of one run in an empty DIR
  local dir=$1; shift
  rm -rf "$dir"; mkdir -p "$dir"; sync
  local start end
  start=$(date +%s.%N)
  (cd "$dir" && "$@" </dev/null >/dev/null)
  end=$(date +%s.%N)
  echo "$end - $start" | bc
}

bench() {  # bench NAME COUNT BYTES
  local name=$1 count=$2 bytes=$3
  local tree="$scratch/$name-tree"
  make_tree "$tree" "$count" "$bytes"
  "$build/bin/kivopack" -o "$scratch/$name.run" "$tree" >/dev/null
  tar -cf "$scratch/$name.tar" -C "$tree" .
  rm -rf "$tree"
  # The three are interleaved in every round, so a slow patch of the machine
  # hits all of them alike.
  local k=() t=() n=()
  for _ in $(seq "$runs"); do
    k+=("$(time_run "$scratch/out" "$scratch/$name.run")")
    t+=("$(time_run "$scratch/out" tar -xf "$scratch/$name.tar")")
    n+=("$(time_run "$scratch/out" tar --no-same-owner -xf "$scratch/$name.tar")")
  done
  rm -rf "$scratch/out"
  local km tm nm
  km=$(printf '%s\n' "${k[@]}" | median)
  tm=$(printf '%s\n' "${t[@]}" | median)
  nm=$(printf '%s\n' "${n[@]}" | median)
  printf '%-16s kivounpack %7.3f s | tar -xf %7.3f s (ratio %.2f) | tar --no-same-owner -xf %7.3f s (ratio %.2f)\n' \
    "$name" "$km" "$tm" "$(echo "$km / $tm" | bc -l)" "$nm" "$(echo "$km / $nm" | bc -l)"
  rm -f "$scratch/$name.run" "$scratch/$name.tar"
}

bench "1000 x 1 MiB" 1000 1048576
bench "20000 x 4 KiB" 20000 4096
