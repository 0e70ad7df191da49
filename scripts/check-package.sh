#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The varek-em developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks a built varek-em .deb: its desktop entry (desktop-file-validate), its
# AppStream metainfo (appstreamcli validate, offline) and the package itself
# (lintian; errors fail, warnings are listed). Prints the package's size and
# dependencies.
#
# Usage: check-package.sh PATH_TO_DEB
set -euo pipefail

deb="$1"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

echo "== size and dependencies"
echo "package size: $(stat -c %s "$deb") bytes, installed size: $(dpkg-deb -f "$deb" Installed-Size) KiB"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"

echo "== desktop-file-validate"
desktop-file-validate "$root/usr/share/applications/varek-em.desktop"

echo "== appstreamcli validate"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml

echo "== lintian"
lintian --fail-on error --display-info "$deb"
echo "package checks passed"
