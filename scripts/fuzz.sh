#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build over a scratch copy of its committed
# seed corpus for a bounded time. Exits non-zero on a finding (the crashing
# input is kept under build/<dir>/findings).
#   scripts/fuzz.sh BUILD_DIR SECONDS
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:?build folder of the fuzz preset}
seconds=${2:-60}
status=0
found=0
scratch=""
trap '[ -z "$scratch" ] || rm -rf "$scratch"' EXIT
for corpus in tests/fuzz/corpus/*/; do
  name=$(basename "$corpus")
  exe=$(find "$build" -type f -name "$name" -perm -u+x | head -n 1)
  if [ -z "$exe" ]; then
    echo "fuzz: $name was not built in $build" >&2
    status=1
    continue
  fi
  found=$((found + 1))
  scratch=$(mktemp -d)
  cp -r "$corpus". "$scratch/"
  findings="$build/findings/$name"
  mkdir -p "$findings"
  echo "fuzz: $name for ${seconds}s over $(ls "$corpus" | wc -l) seeds"
  if ! "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$findings/" "$scratch" >"$build/findings/$name.log" 2>&1; then
    echo "fuzz: $name FOUND A PROBLEM; see $build/findings/$name.log and $findings/" >&2
    tail -n 30 "$build/findings/$name.log" >&2
    status=1
  else
    grep -E "stat::number_of_executed_units|stat::new_units_added" "$build/findings/$name.log" | sed "s/^/fuzz: $name /"
  fi
  rm -rf "$scratch"
  scratch=""
done
[ "$found" -gt 0 ] || { echo "fuzz: no fuzz targets found" >&2; status=1; }
exit "$status"
