#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The varek-em developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Two builds side by side on a shared machine: the benchmarks of tree BEFORE
# and tree AFTER run in turn, RUNS times each, and min and median of every
# case are printed for both. A run is one process: Google Benchmark's mean
# processor time per call (bench_model), its mean wall and processor time per
# chain and the drag's pictures per second (bench_window_chain), the median of 15 calls
# (arithmetic-timing.js in Node), the processor time of a fresh Node twin
# (varek-paths.js) for a heavy and a light setting.
#
#   bench/interleaved.sh BEFORE AFTER [RUNS]
#
# Each tree needs build/release (with the benchmarks) and build/web (scripts/web.sh).
# The page: node bench/web/page_timings.mjs --rounds N BEFORE/build/web/site AFTER/build/web/site
set -euo pipefail
before="$1" after="$2" runs="${3:-15}"
values="$(mktemp)"
trap 'rm -f "$values"' EXIT
export QT_QPA_PLATFORM=offscreen

# Appends "tree<TAB>case<TAB>value" lines for one run of one tree.
run_once() {
  local tree="$1" build="$1/build/release"
  "$build/bench/model/bench_model" --benchmark_format=csv 2>/dev/null |
    awk -F, -v t="$tree" '$4 ~ /^[0-9.]+$/ {gsub(/"/, "", $1); print t "\tbench_model " $1 " (ms)\t" $4}'
  "$build/bench/app/bench_window_chain" --benchmark_format=csv \
      --benchmark_filter='ScrollBar4Chain|BareComputeTrajectories' 2>/dev/null |
    awk -F, -v t="$tree" 'NR > 1 {gsub(/"/, "", $1)
      print t "\tbench_window_chain " $1 " (ms wall)\t" $3
      print t "\tbench_window_chain " $1 " (ms processor)\t" $4}'
  # (Google Benchmark's CSV wants the same counters in every row: the drag on its own.)
  "$build/bench/app/bench_window_chain" --benchmark_format=csv --benchmark_filter=VoltageDragPictures 2>/dev/null |
    awk -F, -v t="$tree" 'NR == 1 {for (i = 1; i <= NF; ++i) if ($i ~ /pictures_per_s/) p = i; next}
      {gsub(/"/, "", $1); print t "\tbench_window_chain " $1 " (pictures/s)\t" $p}'
  node "$tree/build/web/arithmetic-timing.js" |
    sed -n 's/^ComputeTrajectories \(.*\): .*(median \([0-9.]*\),.*/\1\t\2/p' |
    awk -F'\t' -v t="$tree" '{print t "\tnode arithmetic-timing " $1 " (ms)\t" $2}'
  local name setting cpu
  for name in heavy light; do
    setting="--voltage 50 --current 2000 --amplitude 5 --deflection on --mode ac"
    [[ $name == light ]] && setting="--voltage 1200"
    # shellcheck disable=SC2086
    cpu="$( { TIMEFORMAT='%U %S'; time node "$tree/build/web/varek-paths.js" $setting >/dev/null; } 2>&1)"
    awk -v t="$tree" -v n="$name" -v c="$cpu" \
      'BEGIN {split(c, u, " "); print t "\tnode twin, fresh process, " n " setting: processor time (ms)\t" (u[1] + u[2]) * 1000}'
  done
}

for ((r = 1; r <= runs; ++r)); do
  echo "run $r of $runs" >&2
  run_once "$before" >>"$values"
  run_once "$after" >>"$values"
done

# min and median of each case and tree, in the order the cases first came.
awk -F'\t' '
  !(($2) in seen) {seen[$2] = ++cases; name[cases] = $2}
  {k = $2 SUBSEP $1; n[k]++; v[k, n[k]] = $3 + 0; trees[$1] = 1}
  END {
    for (c = 1; c <= cases; ++c) {
      print name[c]
      for (t in trees) {
        k = name[c] SUBSEP t; m = n[k]
        for (i = 1; i <= m; ++i) s[i] = v[k, i]
        for (i = 2; i <= m; ++i) for (j = i; j > 1 && s[j - 1] > s[j]; --j) {x = s[j]; s[j] = s[j - 1]; s[j - 1] = x}
        printf "  %s: min %.3f, median %.3f (%d runs)\n", t, s[1], s[int(m / 2) + 1], m
      }
    }
  }' "$values"
