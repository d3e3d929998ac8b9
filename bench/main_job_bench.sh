#!/usr/bin/env bash
# The native main job's own time, after the build: scripts/make-media.sh on
# the Sample Suite into a new folder, RUNS times (default 5), each after one
# untimed run that brings the builds up to date. Prints every run's seconds
# and the median. The timed runs build nothing: cmake finds every target
# current, so what is timed is planning, packing, the images and the checks.
#   bench/main_job_bench.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
bash scripts/make-media.sh --out "$scratch/warm" >/dev/null
times=()
for i in $(seq "$runs"); do
  start=$(date +%s.%N)
  bash scripts/make-media.sh --out "$scratch/run$i" >"$scratch/run$i.log" 2>&1 ||
    { tail -n 20 "$scratch/run$i.log"; exit 1; }
  times+=("$(echo "$(date +%s.%N) - $start" | bc -l)")
  rm -rf "$scratch/run$i"
done
printf 'main job (Sample Suite, native, builds current): %s s\n' "$(printf '%.2f ' "${times[@]}")"
printf 'median %.2f s\n' "$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")"
