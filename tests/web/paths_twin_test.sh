#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The varek-em developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: paths_twin_test.sh REFERENCE TWIN RANDOM_COUNT [SEED] [EDGES]
#
# Runs REFERENCE (varek-paths) and TWIN (a command, e.g.
# "node build/web/varek-paths.js") on the same settings and compares their
# output (standard output and standard error) and exit status. The corpus: RANDOM_COUNT
# random settings (awk's generator, seeded), the edge settings, a few named
# settings and invalid flags. EDGES is "cover" (each edge value of voltage,
# current and amplitude at least once with every deflection and mode) or "all"
# (every combination of them: 500 settings).
set -u

REFERENCE="$1" TWIN="$2"
count="$3" seed="${4:-20261208}" edges="${5:-cover}"

corpus="$(mktemp)"
trap 'rm -f "$corpus"' EXIT
{
  awk -v n="$count" -v seed="$seed" 'BEGIN {
    srand(seed)
    for (i = 0; i < n; i++)
      printf "--voltage %d --current %d --amplitude %d --deflection %s --mode %s\n",
        50 + int(rand() * 1951), int(rand() * 3001), int(rand() * 301),
        rand() < 0.5 ? "on" : "off", rand() < 0.5 ? "dc" : "ac"
  }'
  awk -v all="$edges" 'BEGIN {
    split("50 51 1200 1999 2000", v); split("0 1 1230 2999 3000", c); split("0 1 200 299 300", a)
    split("on off", d); split("dc ac", m)
    for (i = 1; i <= 5; i++) for (j = 1; j <= 5; j++) for (k = 1; k <= 5; k++)
      if (all == "all" || (j == i && k == (i * 2) % 5 + 1) || (j == (i + 1) % 5 + 1 && k == i))
        for (p = 1; p <= 2; p++) for (q = 1; q <= 2; q++)
          printf "--voltage %s --current %s --amplitude %s --deflection %s --mode %s\n", v[i], c[j], a[k], d[p], m[q]
  }'
  cat <<'NAMED'
--voltage 1200 --current 1000 --deflection on --mode ac --amplitude 10
--voltage 50 --current 3000 --deflection on --mode ac --amplitude 300
--voltage 50 --deflection on --mode dc --amplitude 300
--voltage 50 --deflection on --mode ac --amplitude 0
--voltage 1200 --deflection on --amplitude 200 --mode ac

--voltage 49
--current 3001
--amplitude
--mode AC
--bogus 3
NAMED
} >"$corpus"

# Compares the two on each setting read from standard input; prints the
# settings where they differ. Standard error is part of the text.
compare() {
  local line a b
  local -a args
  while IFS= read -r line; do
    read -r -a args <<<"$line"
    a="$($REFERENCE "${args[@]}" 2>&1; echo "exit $?")"
    b="$($TWIN "${args[@]}" 2>&1; echo "exit $?")"
    [[ "$a" == "$b" ]] || echo "DIFFERENT: $line"
  done
}

total="$(wc -l <"$corpus")"
start=$SECONDS
# Two workers, one for each processor.
awk 'NR % 2 == 1' "$corpus" | compare >"$corpus.1" &
awk 'NR % 2 == 0' "$corpus" | compare >"$corpus.2" &
wait
differences="$(cat "$corpus.1" "$corpus.2")"
rm -f "$corpus.1" "$corpus.2"
echo "$total settings, $(grep -c . <<<"$differences") different, $((SECONDS - start)) s"
if [[ -n "$differences" ]]; then
  echo "$differences"
  exit 1
fi
