#!/usr/bin/env bash
# A product of about 100 MB, planned by wendplan onto some 80 floppies and
# written as images by wendmark, timed: RUNS runs into an empty folder each,
# each run and the median printed in seconds. The goal is under 1 s.
#   bench/big_product_bench.sh BUILD_DIR [RUNS]
# BUILD_DIR holds bin/wendmark and bin/wendplan. The product is generated in
# a new temporary folder (removed afterwards): cabinets of 1.3 MB and
# many small files with long names, so that disks fill by clusters and by
# root entries alike.
set -euo pipefail
build=$(cd "${1:?build folder}" && pwd)
runs=${2:-5}
for f in bin/wendmark bin/wendplan; do
  [[ -x $build/$f ]] || { echo "big_product_bench: $build/$f is missing" >&2; exit 2; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/tandrel-big-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/Product" "$work/tools"
# Incompressible content, made once: a stream of bytes cut into files.
head -c 110000000 /dev/urandom >"$work/pool"
at=0
take() {  # take NAME BYTES
  dd if="$work/pool" of="$work/Product/$1" bs=1M iflag=skip_bytes,count_bytes skip=$at count=$2 status=none
  at=$((at + $2))
}
for i in $(seq 1 40); do take "DATA$i.CAB" $((1300000 + i * 1234)); done
for i in $(seq 1 400); do take "Help page $i.htm" $((20000 + i * 97)); done
for i in $(seq 1 600); do take "RES$i.DLL" $((40000 + (i * 7919) % 30000)); done
take SETUP.EXE 120000
touch -d '2001-02-03 04:05:06' "$work/Product"/*
"$build/bin/wendplan" "$work/Product" -o "$work/tools/packlist.ini" --name Big >"$work/plan.log"
disks=$(sed -n 's/^Number=\([0-9]*\).*/\1/p' "$work/tools/packlist.ini" | tr -d '\r')
bytes=$(du -sb "$work/Product" | cut -f1)
echo "big product: $disks disks, $bytes bytes of setup files; $runs runs of wendmark --images"

source "$(dirname "$0")/wendmark_runs.sh"
wendmark_runs "$build/bin/wendmark" "$work/tools/packlist.ini" "$work/images" "$runs" "1 s"
