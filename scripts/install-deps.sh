#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The varek-em developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages that building, running and testing need,
# and only those that are missing. Further package names may be given as
# arguments.
set -euo pipefail

packages=(
  build-essential cmake ninja-build
  qt6-base-dev qt6-svg-dev qt6-translations-l10n libjpeg62-turbo-dev
  libgtest-dev libbenchmark-dev
  fonts-dejavu-core fonts-liberation2 fontconfig
  xvfb xauth xdotool x11-apps imagemagick openbox
  valgrind poppler-utils
  clang libclang-rt-14-dev
  dpkg-dev fakeroot lintian desktop-file-utils appstream
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [[ $(id -u) -ne 0 ]]; then
  sudo="sudo"
fi
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
