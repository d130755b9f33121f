#!/usr/bin/env bash
# Wall time of tessora-cli pdf on the 30-label product sample (median of 11 runs, process start
# included), and a 300-page range with its peak memory.
set -euo pipefail
build=${1:-build}
cli="$build/bin/tessora-cli"
sample="$build/bin/Label Projects/Product Labels.shl"
out=$(mktemp -d)
times=()
for i in $(seq 11); do
  s=$(date +%s.%N)
  "$cli" pdf "$sample" -o "$out/p.pdf"
  e=$(date +%s.%N)
  times+=("$(echo "$e - $s" | bc)")
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 6p)
echo "tessora-cli pdf, 30 product labels: median ${median} s over 11 runs"
/usr/bin/time -f "tessora-cli pdf --pages 1-300: %e s wall, peak %M KB" "$cli" pdf "$sample" -o "$out/r.pdf" --pages 1-300
ls -l "$out/r.pdf" | awk '{print "  file size " $5 " bytes"}'
rm -rf "$out"
