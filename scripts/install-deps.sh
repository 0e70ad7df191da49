#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The varek-em developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages that building, running and testing need,
# and only those that are missing.
#
#   install-deps.sh [--web] [--ci] [PACKAGE...]
#     (none)  the desktop program, its tests and its package
#     --web   also the browser edition and its tests: emscripten, Debian's
#             acorn for emcc, chromium, npm (Debian 12's nodejs comes
#             without it), and the npm packages of package-lock.json
#     --ci    also what the ci preset runs besides the builds: clang-tidy,
#             reuse (with git, through which it reads .gitignore); implies --web
#     PACKAGE further Debian packages
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake ninja-build
  qt6-base-dev qt6-svg-dev qt6-multimedia-dev qt6-translations-l10n libjpeg62-turbo-dev
  libgtest-dev libbenchmark-dev
  fonts-dejavu-core fonts-dejavu-extra fonts-liberation2 fontconfig
  xvfb xauth xdotool x11-apps imagemagick openbox
  valgrind poppler-utils
  clang libclang-rt-14-dev
  dpkg-dev fakeroot lintian desktop-file-utils appstream
)
web=false
for argument in "$@"; do
  case "$argument" in
    --web) web=true ;;
    --ci) web=true; packages+=(clang-tidy reuse git) ;;
    *) packages+=("$argument") ;;
  esac
done
if $web; then
  packages+=(emscripten node-acorn chromium)
  # A Node.js from elsewhere may bring its own npm, and conflicts with Debian's.
  command -v npm >/dev/null || packages+=(npm)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]} > 0)); then
  echo "Installing: ${missing[*]}"
  sudo=""
  if [[ $(id -u) -ne 0 ]]; then
    sudo="sudo"
  fi
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The npm packages, again whenever package-lock.json changed.
if $web && [[ package-lock.json -nt node_modules/.package-lock.json ]]; then
  npm ci --no-audit --no-fund
fi
