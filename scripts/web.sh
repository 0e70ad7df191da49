#!/usr/bin/env bash
# The browser edition: installs what is missing, builds and tests it.
#
#   scripts/web.sh [build]   install what is missing, then build into build/web/
#   scripts/web.sh install   only install what is missing
set -euo pipefail
cd "$(dirname "$0")/.."

# Debian packages of the browser build and its tests, installed when missing.
web_packages=(emscripten node-acorn chromium)

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
  if [[ -f package-lock.json && ! -d node_modules ]]; then
    npm ci
  fi
}

case "${1:-build}" in
  install) install_missing ;;
  *) echo "usage: scripts/web.sh [build|install]" >&2; exit 2 ;;
esac
