#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The varek-em developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds everything and runs every test: once in the
# optimised build and once in the AddressSanitizer + UndefinedBehaviorSanitizer
# build. Any failure or sanitizer finding fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

export QT_QPA_PLATFORM=offscreen
if [[ -z "${XDG_RUNTIME_DIR:-}" || ! -d "${XDG_RUNTIME_DIR}" ]]; then
  XDG_RUNTIME_DIR="$(mktemp -d)"
  export XDG_RUNTIME_DIR
fi
chmod 0700 "$XDG_RUNTIME_DIR"

jobs="$(nproc)"

echo "== optimised build =="
cmake --preset release
cmake --build --preset release -j "$jobs"
echo "== browser edition (WebAssembly site, Node twin) =="
VAREK_NATIVE_BUILD=build/release scripts/web.sh build
ctest --preset release -j "$jobs"

echo "== sanitizer build (ASan + UBSan) =="
# The test preset sets the sanitizer options and the leak suppressions.
cmake --preset asan
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"
