#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The varek-em developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the hicolor PNG icons from varek-em.svg (needs rsvg-convert from
# librsvg2-bin). The PNGs are committed; run this after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert --width "$size" --height "$size" varek-em.svg --output "varek-em-${size}.png"
done
