#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The varek-em developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The browser edition, for those who work on it: shortcuts over the web
# preset (cmake --preset web && cmake --build --preset web, web/CMakeLists.txt)
# and the release preset, which holds the tests that compare the two.
#
#   scripts/web.sh [build]   install what is missing, then build build/web/:
#                            the site in build/web/site/, the single-file edition
#                            build/web/offline/varek-em.html and the Node programs
#                            (varek-paths.js, scene-digest.js, arithmetic-timing.js)
#   scripts/web.sh install   only install what is missing
#   scripts/web.sh twin [N]  the Node twin against varek-paths on N random
#                            settings (default 3000) and all 500 combinations
#                            of the edge values (the tests run 300 and each
#                            edge value)
#   scripts/web.sh serve [PORT]  serve build/web/site on http://127.0.0.1:PORT/
#                            (default 8000; builds the site first if needed)
#   scripts/web.sh test      build both, then the tests of label web: the
#                            twins and the page in headless chromium against
#                            varek-render and varek-auswertung
set -euo pipefail
cd "$(dirname "$0")/.."

build_web() {
  scripts/install-deps.sh --web
  cmake --preset web >/dev/null
  cmake --build --preset web
}

build_release() {
  cmake --preset release >/dev/null
  cmake --build --preset release "$@"
}

command="${1:-build}"
[[ $# -gt 0 ]] && shift
case "$command" in
  build) build_web ;;
  install) scripts/install-deps.sh --web ;;
  twin)
    build_web
    build_release --target varek-paths
    bash tests/web/paths_twin_test.sh build/release/tools/paths/varek-paths \
      "node build/web/varek-paths.js" "${1:-3000}" 20261208 all ;;
  serve)
    [[ -f build/web/site/varek.wasm ]] || build_web
    exec node web/static_server.mjs build/web/site "${1:-8000}" ;;
  test)
    build_web
    build_release
    VAREK_WEB_REQUIRED=1 ctest --preset release -L web ;;
  *) echo "usage: scripts/web.sh [build|install|twin [N]|serve [PORT]|test]" >&2; exit 2 ;;
esac
