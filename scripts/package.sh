#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The varek-em developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the program without its tests (with the
# hardening flags that Debian builds its packages with) and writes the one
# Debian package, build/package/varek-em_VERSION_ARCH.deb; then checks it with
# scripts/check-package.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

build=build/deb
out=build/package
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
  -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build" -j "$(nproc)"
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >/dev/null)

mkdir -p "$out"
rm -f "$out"/*.deb
debs=("$build"/*.deb)
((${#debs[@]} == 1)) || { echo "expected one .deb, found ${#debs[@]}" >&2; exit 1; }
cp "${debs[0]}" "$out/"
deb="$out/$(basename "${debs[0]}")"
echo "package: $deb ($(stat -c %s "$deb") bytes)"
scripts/check-package.sh "$deb"
