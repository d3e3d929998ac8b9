#!/usr/bin/env bash
# Extraction by kivounpack against `tar -xf` of an uncompressed tar of the
# same tree, and against `tar --no-same-owner -xf`: as root, plain `tar -xf`
# also restores owners, which kivounpack never does, so the second is the
# like-for-like figure: (a) 1,000 files of 1 MiB, (b) 20,000 files of 4 KiB in 100
# folders. Each is run RUNS times into an empty folder, all of them in turn
# in every round; the median counts. The last ratio is the median of each
# round's own kivounpack : tar --no-same-owner ratio (the paired figure).
#   bench/extract_bench.sh BUILD_DIR [SCRATCH_DIR] [RUNS]
# BUILD_DIR holds bin/kivopack and bin/kivounpack: the bench preset builds
# them optimised (cmake --preset bench && cmake --build --preset bench).
# Needs about 4 GiB in SCRATCH_DIR (1 GiB for the small files alone). The work
# happens in a new folder made inside it, which is removed afterwards;
# nothing else there is touched. Put SCRATCH_DIR on a tmpfs to time the
# programs rather than the disk.
# Environment:
#   EXTRACT_BENCH_CASES="large small"  which of (a) and (b) to run
#   EXTRACT_BENCH_BASELINE=DIR          another build folder (an older commit,
#                                       say) whose kivounpack runs in the same
#                                       rounds on the same tree
#   EXTRACT_BENCH_STRACE=1              also count the system calls of one run
#                                       of each (strace -c -f)
set -euo pipefail
build=$(cd "${1:?build folder}" && pwd)
runs=${3:-3}
cases=${EXTRACT_BENCH_CASES:-large small}
baseline=""
if [ -n "${EXTRACT_BENCH_BASELINE:-}" ]; then baseline=$(cd "$EXTRACT_BENCH_BASELINE" && pwd); fi
# mktemp makes a folder no one else has: removing it can cost nobody anything.
mkdir -p "${2:-/tmp}"
scratch=$(mktemp -d "$(cd "${2:-/tmp}" && pwd)/tandrel-extract-bench.XXXXXX")
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

median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

time_run() {  # time_run DIR COMMAND... : seconds of one run in an empty DIR
  local dir=$1; shift
  rm -rf "$dir"; mkdir -p "$dir"; sync
  local start end
  start=$(date +%s.%N)
  # A run that fails has timed nothing worth a figure.
  if ! (cd "$dir" && "$@" </dev/null >/dev/null); then
    echo "extract_bench.sh: $* failed" >&2
    return 1
  fi
  end=$(date +%s.%N)
  echo "$end - $start" | bc
}

count_calls() {  # count_calls NAME COMMAND... : the calls of one run in an empty folder
  local name=$1; shift
  local dir="$scratch/out" log="$scratch/strace.log"
  rm -rf "$dir"; mkdir -p "$dir"
  (cd "$dir" && strace -c -f -o "$log" "$@" </dev/null >/dev/null)
  awk -v name="$name" '
    $NF ~ /^(read|pread64|write|openat|newfstatat|statx|stat|lstat|fstat|lseek|mkdir|mkdirat)$/ {
      calls[$NF] = $4
    }
    END {
      line = sprintf("  %-26s calls:", name)
      n = split("read pread64 lseek newfstatat statx fstat openat write mkdir mkdirat", order, " ")
      for (i = 1; i <= n; i++) if (order[i] in calls) line = line sprintf(" %s %s", order[i], calls[order[i]])
      print line
    }' "$log"
}

bench() {  # bench NAME COUNT BYTES
  local name=$1 count=$2 bytes=$3
  local tree="$scratch/$name-tree"
  make_tree "$tree" "$count" "$bytes"
  "$build/bin/kivopack" -o "$scratch/$name.run" "$tree" >/dev/null
  if [ -n "$baseline" ]; then "$baseline/bin/kivopack" -o "$scratch/$name.base" "$tree" >/dev/null; fi
  tar -cf "$scratch/$name.tar" -C "$tree" .
  rm -rf "$tree"
  # All of them in every round, so a slow patch of the machine hits them alike.
  local k=() t=() n=() b=() kn=() bn=()
  for _ in $(seq "$runs"); do
    k+=("$(time_run "$scratch/out" "$scratch/$name.run")")
    t+=("$(time_run "$scratch/out" tar -xf "$scratch/$name.tar")")
    n+=("$(time_run "$scratch/out" tar --no-same-owner -xf "$scratch/$name.tar")")
    kn+=("$(echo "${k[-1]} / ${n[-1]}" | bc -l)")
    if [ -n "$baseline" ]; then
      b+=("$(time_run "$scratch/out" "$scratch/$name.base")")
      bn+=("$(echo "${b[-1]} / ${n[-1]}" | bc -l)")
    fi
  done
  rm -rf "$scratch/out"
  local km tm nm knm
  km=$(printf '%s\n' "${k[@]}" | median)
  tm=$(printf '%s\n' "${t[@]}" | median)
  nm=$(printf '%s\n' "${n[@]}" | median)
  knm=$(printf '%s\n' "${kn[@]}" | median)
  printf '%-16s kivounpack %7.3f s | tar -xf %7.3f s (ratio %.2f) | tar --no-same-owner -xf %7.3f s (ratio %.2f; paired %.3f)\n' \
    "$name" "$km" "$tm" "$(echo "$km / $tm" | bc -l)" "$nm" "$(echo "$km / $nm" | bc -l)" "$knm"
  if [ -n "$baseline" ]; then
    printf '%-16s baseline   %7.3f s | paired against tar --no-same-owner -xf %.3f\n' \
      "" "$(printf '%s\n' "${b[@]}" | median)" "$(printf '%s\n' "${bn[@]}" | median)"
  fi
  if [ "${EXTRACT_BENCH_STRACE:-0}" = 1 ] && command -v strace >/dev/null; then
    count_calls "kivounpack" "$scratch/$name.run"
    if [ -n "$baseline" ]; then count_calls "baseline" "$scratch/$name.base"; fi
    count_calls "tar --no-same-owner -xf" tar --no-same-owner -xf "$scratch/$name.tar"
  fi
  rm -f "$scratch/$name.run" "$scratch/$name.base" "$scratch/$name.tar"
}

for c in $cases; do
  case $c in
    large) bench "1000 x 1 MiB" 1000 1048576 ;;
    small) bench "20000 x 4 KiB" 20000 4096 ;;
    *) echo "extract_bench.sh: no case $c (large, small)" >&2; exit 2 ;;
  esac
done
