#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The varek-em developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The model and the renderer keep no process-wide state: their libraries hold
# no writable data (nm kinds B, b, D, d) other than the guard variables of
# function-local statics.
# Usage: no_global_state_test.sh LIBRARY...
set -u
status=0
for library in "$@"; do
  found="$(nm "$library" | awk '$2 ~ /^[BbDd]$/ && $3 !~ /^_ZGV/ {print $3}')"
  if [[ -n "$found" ]]; then
    echo "FAIL: $(basename "$library") has writable data: $(nm -C "$library" | awk '$2 ~ /^[BbDd]$/ {print $3}' | tr '\n' ' ')"
    status=1
  fi
done
[[ $status == 0 ]] && echo "no writable data in $# libraries"
exit $status
