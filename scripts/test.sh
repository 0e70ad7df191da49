#!/usr/bin/env bash
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
ctest --preset release -j "$jobs"

echo "== sanitizer build (ASan + UBSan) =="
# No fake stacks: the soak test measures the real call-stack depth.
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
cmake --preset asan
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"
