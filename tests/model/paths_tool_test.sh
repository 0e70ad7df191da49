#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The varek-em developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: paths_tool_test.sh PATH_TO_VAREK_PATHS
set -u
tool="$1"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

out="$("$tool")" || fail "start-up settings: exit status $?"
[[ "$(sed -n 1,4p <<<"$out")" == $'total 1\nscreen_hit 1\nstep_counter 12169\npath 1 count 405' ]] \
  || fail "start-up settings: header: $(sed -n 1,4p <<<"$out" | tr '\n' '|')"
[[ "$(sed -n 5p <<<"$out")" == "-313 0 0" ]] || fail "first sample: $(sed -n 5p <<<"$out")"
[[ "$(tail -n 1 <<<"$out")" == "314 0 0" ]] || fail "last sample: $(tail -n 1 <<<"$out")"
[[ "$(wc -l <<<"$out")" == 409 ]] || fail "line count: $(wc -l <<<"$out")"

out="$("$tool" --voltage 1200 --current 1000 --deflection on --mode ac --amplitude 10)" \
  || fail "alternating: exit status $?"
[[ "$(grep -c '^path' <<<"$out")" == 2 ]] || fail "alternating: path headers"
[[ "$(grep -A0 -B1 '^path 2 count 405' <<<"$out" | head -n 1)" == "314 -3 -2" ]] \
  || fail "alternating: last sample of path 1"
[[ "$(tail -n 1 <<<"$out")" == "314 3 2" ]] || fail "alternating: last sample of path 2"

# Each bad invocation: exit status 2, nothing on stdout, one line on stderr
# naming the flag.
check_error() {
  local flag="$1"; shift
  local stdout stderr status
  stderr="$("$tool" "$@" 2>&1 >/dev/null)"
  stdout="$("$tool" "$@" 2>/dev/null)"
  "$tool" "$@" >/dev/null 2>&1; status=$?
  [[ $status == 2 ]] || fail "$*: exit status $status"
  [[ -z "$stdout" ]] || fail "$*: stdout not empty"
  [[ "$(wc -l <<<"$stderr")" == 1 ]] || fail "$*: stderr not one line: $stderr"
  [[ "$stderr" == *"${flag#--}"* ]] || fail "$*: stderr does not name $flag: $stderr"
}
check_error --voltage --voltage 49
check_error --voltage --voltage 2001
check_error --voltage --voltage 12x
check_error --voltage --voltage ""
check_error --voltage --voltage 1e3
check_error --voltage --voltage 99999999999999999999
check_error --voltage --voltage -100
check_error --voltage --voltage +100
check_error --voltage --voltage
check_error --current --current 3001
check_error --current --current -1
check_error --amplitude --amplitude 301
check_error --amplitude --mode ac --amplitude
check_error --deflection --deflection yes
check_error --mode --mode AC
check_error --bogus --bogus 3
check_error 1200 1200

if [[ $failures -gt 0 ]]; then echo "$failures failure(s)"; exit 1; fi
echo "all checks passed"
