#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The varek-em developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: web_test.sh NEEDED... -- COMMAND [ARG...]
#
# Runs COMMAND when every NEEDED path exists: the web build's outputs
# (cmake --preset web && cmake --build --preset web), the browser, the npm
# packages. When one is missing the test is skipped (exit 77), or fails when
# VAREK_WEB_REQUIRED is set, as the ci preset does.
set -u
while [[ $# -gt 0 && "$1" != "--" ]]; do
  if [[ ! -e "$1" ]]; then
    echo "missing: $1 (the web build: cmake --preset web && cmake --build --preset web; npm ci)"
    [[ -n "${VAREK_WEB_REQUIRED:-}" ]] && exit 1
    exit 77
  fi
  shift
done
shift
exec "$@"
