#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The varek-em developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Packs the build tree BUILD_DIR with CPack and runs CHECK_SCRIPT on the .deb.
# Usage: package_test.sh BUILD_DIR CHECK_SCRIPT
set -euo pipefail
build="$1"
check="$2"
out="$PWD/deb"
rm -rf "$out"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
debs=("$out"/*.deb)
((${#debs[@]} == 1)) || { echo "FAIL: expected one .deb, found ${#debs[@]}"; exit 1; }
bash "$check" "${debs[0]}"
