# Sourced by the image benchmarks: wendmark_runs WENDMARK PACKLIST OUT RUNS GOAL
# writes every disk of PACKLIST into an empty OUT, RUNS times, and prints
# each run's wall time and the median in seconds, with GOAL ("2 s", ...).
wendmark_runs() {
  local wendmark=$1 packlist=$2 out=$3 runs=$4 goal=$5 run start end t median times=()
  local disks
  disks=$(sed -n 's/^Number=\([0-9]*\).*/\1/p' "$packlist" | tr -d '\r')
  for run in $(seq 1 "$runs"); do
    rm -rf "$out"
    start=$(date +%s%N)
    "$wendmark" "$packlist" --images "$out" --no-prompt >/dev/null </dev/null
    end=$(date +%s%N)
    t=$(awk -v ns=$((end - start)) 'BEGIN { printf "%.3f", ns / 1e9 }')
    times+=("$t")
    echo "  run $run: $t s"
  done
  median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
  echo "median: $median s for $disks images (goal: under $goal)"
}
