#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The varek-em developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, then builds and tests everything through the ci
# workflow preset (cmake/ci.cmake): the optimised build, the browser edition
# and the AddressSanitizer + UndefinedBehaviorSanitizer build, every test of
# each, reuse lint and clang-tidy. Any failure or sanitizer finding fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --ci
cmake --workflow --preset ci
