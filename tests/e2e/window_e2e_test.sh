#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The varek-em developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program under its own Xvfb: "Weiter", "Ein", then the scene area on
# the screen must equal, pixel for pixel, what varek-render draws for the same
# settings; "ENDE" must end the process.
#
# Usage: window_e2e_test.sh PATH_TO_VAREK_EM PATH_TO_VAREK_RENDER
# Pictures of a failing run stay in the working directory.
set -u

program="$1"
renderer="$2"

if [[ -z "${VAREK_E2E_INSIDE_XVFB:-}" ]]; then
  export VAREK_E2E_INSIDE_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

readonly wait_window_s=15   # program start until its window is mapped
readonly wait_picture_s=20  # clicks until the scene on the screen is stable and right
readonly wait_end_s=5       # "ENDE" until the process is gone

# PaintBox1 in the window's client area.
readonly scene_left=8 scene_top=8 scene_width=720 scene_height=440
# Click points in client coordinates: button centres, and check boxes or
# radio buttons on their indicator near the left edge.
readonly weiter_x=508 weiter_y=696  # Button14 on Panel4
readonly ein_x=182 ein_y=602        # AblenkEin on Panel1 on Panel9
readonly ende_x=874 ende_y=627      # Button2 on Panel3 on Panel6

work="$PWD"
source "$(dirname "$0")/xvfb_helpers.sh"
# The form at 1:1 (the window would fill the screen by default): the scene's
# place and the click points above are the form's own pixels.
export XDG_CONFIG_HOME="$runtime_dir/config"
mkdir -p "$XDG_CONFIG_HOME/varek-em"
printf '[presentation]\nzoom=1\n' >"$XDG_CONFIG_HOME/varek-em/varek-em.ini"

"$renderer" --deflection on --out "$work/reference.png" || fail "varek-render exited with $?"

"$program" &
program_pid=$!

find_window "$wait_window_s"

# Takes a screenshot and crops the scene area into $1.
shoot_scene() {
  xwd -root -silent | convert xwd:- -crop "${scene_width}x${scene_height}+$((X + scene_left))+$((Y + scene_top))" \
    +repage "$1"
}

differing_pixels() {
  compare -metric AE "$1" "$2" null: 2>&1
}

click_at "$weiter_x" "$weiter_y"
click_at "$ein_x" "$ein_y"

# The picture is stable once two screenshots in a row agree; it is right once
# it also agrees with the reference.
shoot_scene "$work/screen_previous.png"
scene_is_right() {
  shoot_scene "$work/screen.png"
  local changed
  changed="$(differing_pixels "$work/screen.png" "$work/screen_previous.png")"
  mv "$work/screen.png" "$work/screen_previous.png"
  [[ "$changed" == 0 ]] && [[ "$(differing_pixels "$work/screen_previous.png" "$work/reference.png")" == 0 ]]
}
if ! poll "$wait_picture_s" scene_is_right; then
  mv "$work/screen_previous.png" "$work/screen.png"
  compare "$work/screen.png" "$work/reference.png" "$work/difference.png" 2>/dev/null
  echo "scene on the screen:  $work/screen.png"
  echo "reference picture:    $work/reference.png"
  echo "differing pixels:     $work/difference.png"
  fail "the scene differs from the reference in $(differing_pixels "$work/screen.png" "$work/reference.png") pixels"
fi
echo "scene equals the reference picture (0 differing pixels)"
rm -f "$work/screen_previous.png" "$work/reference.png"

click_at "$ende_x" "$ende_y"
expect_program_ends "$wait_end_s"
echo "\"ENDE\" ended the program"
