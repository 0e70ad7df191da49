#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The varek-em developers
# SPDX-License-Identifier: GPL-3.0-or-later
# clang-tidy (checks in .clang-tidy) on the project's own sources and headers,
# as the given build compiles them; any finding fails.
#
# Usage: scripts/clang-tidy.sh [BUILD]   (default build/release, after a build:
# the generated sources must exist)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/release}"
[[ -f "$build/compile_commands.json" ]] || { echo "no $build/compile_commands.json: configure and build it first" >&2; exit 1; }
own="^$PWD/(app|assets|bench|form|measurement|model|pictures|render|tests|tools)/"
run-clang-tidy -p "$build" -j "$(nproc)" -quiet -header-filter "$own" "$own" >"$build/clang-tidy.log" 2>&1 || {
  grep -E "(warning|error):" "$build/clang-tidy.log" | sort -u
  echo "clang-tidy: findings above (all output in $build/clang-tidy.log)"
  exit 1
}
echo "clang-tidy: no findings in $(grep -cE "\"file\": \"${own#^}" "$build/compile_commands.json") translation units"
