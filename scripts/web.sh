#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The varek-em developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The browser edition: installs what is missing, builds it, tests it.
#
#   scripts/web.sh [build]   install what is missing, then build build/web/:
#       build/web/varek-paths.js (+ varek-paths.wasm)
#           varek-paths for Node: the same flags, output and exit codes
#           (node build/web/varek-paths.js --voltage 50 --mode ac)
#       build/web/site/        the site, for any static server: the files of
#           web/site/, the three pictures, form1_description.js (the window's
#           description and texts, by varek-form-export), and the module varek.js + varek.wasm
#           (MODULARIZE, createVarek(), for a Web Worker) built from web/*.cpp,
#           and varek_protocol.js + .wasm, the measurement protocol's evaluation
#   scripts/web.sh install   only install what is missing
#   scripts/web.sh twin [N]  the Node twin against varek-paths on N random
#                            settings (default 3000) and all 500 combinations
#                            of the edge values (scripts/web.sh test: 300
#                            random settings and each edge value)
#   scripts/web.sh serve [PORT]  serve build/web/site on http://127.0.0.1:PORT/
#                            (default 8000; builds the site first if needed)
#   scripts/web.sh test      build, then the Node twin (300 random settings and
#                            each edge value) and the page in headless chromium
#                            against varek-render and varek-auswertung
#                            (tests/web/page.test.mjs)
#
# Also built: build/web/arithmetic-timing.js (node it: the worst case of the
# integration and single extended operations, as bench/web's native builds).
# Folders: build/web-native (native build of the angle-table generator and
# varek-paths), build/web/cmake (emscripten build, web/CMakeLists.txt).
set -euo pipefail
cd "$(dirname "$0")/.."

# Debian packages of the browser build and its tests, installed when missing.
web_packages=(emscripten node-acorn chromium)

# The native build folder; scripts/test.sh points it at its optimised build.
native_build="${VAREK_NATIVE_BUILD:-build/web-native}"
web_output=build/web

install_missing() {
  local missing=() p
  for p in "${web_packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  if ((${#missing[@]} > 0)); then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
  fi
  # The npm packages of package-lock.json (puppeteer-core, axe-core), when one is missing.
  if [[ -f package-lock.json ]] && ! node -e 'const fs = require("fs");
      const wanted = Object.keys(JSON.parse(fs.readFileSync("package.json", "utf8")).devDependencies);
      process.exit(wanted.every((name) => fs.existsSync(`node_modules/${name}/package.json`)) ? 0 : 1)'; then
    npm ci
  fi
}

# The native tools: the angle-table generator (its table goes into the
# browser build) and varek-paths (the twin test's reference).
build_native() {
  scripts/install-deps.sh
  cmake -S . -B "$native_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$native_build" -j 2 --target varek-angle-table varek-paths varek-form-export
  mkdir -p "$web_output"
  "$native_build/tools/tables/varek-angle-table" "$web_output/angle_table_rows.cpp.new"
  # Rewrite the table only when it changed, so that nothing rebuilds needlessly.
  if cmp -s "$web_output/angle_table_rows.cpp.new" "$web_output/angle_table_rows.cpp"; then
    rm "$web_output/angle_table_rows.cpp.new"
  else
    mv "$web_output/angle_table_rows.cpp.new" "$web_output/angle_table_rows.cpp"
  fi
}

# emcc's JavaScript optimiser needs Debian's acorn.
build_wasm() {
  export NODE_PATH=/usr/share/nodejs
  emcmake cmake -S web -B "$web_output/cmake" -G Ninja \
    -DVAREK_ANGLE_TABLE="$PWD/$web_output/angle_table_rows.cpp" \
    -DVAREK_WEB_OUTPUT="$PWD/$web_output" >/dev/null
  cmake --build "$web_output/cmake" -j 2 "$@"
}

# The files the page loads besides the module.
copy_site() {
  mkdir -p "$web_output/site"
  if [[ -d web/site ]]; then cp -r web/site/. "$web_output/site/"; fi
  cp assets/*.jpg "$web_output/site/"
  # The window's description, texts included, made from the desktop's table.
  "$native_build/tools/form/varek-form-export" "$web_output/site/form1_description.js"
}

build_all() {
  install_missing
  build_native
  build_wasm
  copy_site
}

# The Node twin against varek-paths: $1 random settings and the edge
# settings ("cover": each edge value; "all": every combination of them).
test_twin() {
  bash tests/web/paths_twin_test.sh "$native_build/tools/paths/varek-paths" \
    "node $web_output/varek-paths.js" "$1" 20261208 "$2"
}

# The page in headless chromium; its reference pictures come from varek-render.
test_page() {
  build_all
  cmake --build "$native_build" -j 2 --target varek-render varek-auswertung
  VAREK_SITE="$web_output/site" VAREK_RENDER="$native_build/tools/render/varek-render" \
    VAREK_AUSWERTUNG="$native_build/tools/auswertung/varek-auswertung" \
    node --test tests/web/page.test.mjs
}

serve_site() {
  [[ -f "$web_output/site/varek.wasm" ]] || build_all
  exec node web/static_server.mjs "$web_output/site" "${1:-8000}"
}

command="${1:-build}"
[[ $# -gt 0 ]] && shift
case "$command" in
  build) build_all ;;
  install) install_missing ;;
  twin) build_all; test_twin "${1:-3000}" all ;;
  serve) serve_site "$@" ;;
  test) test_twin 300 cover; test_page ;;
  *) echo "usage: scripts/web.sh [build|install|twin [N]|serve [PORT]|test]" >&2; exit 2 ;;
esac
