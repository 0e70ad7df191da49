#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The varek-em developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The measurement protocol in the real program, each display an Xvfb with
# the openbox window manager:
#   screens: at 1024 x 768, 1280 x 720 and 1280 x 800 the protocol opens
#     over the right column and below the settings, the form keeps its scale
#     (at least 0.98 at 1024 x 768, 1 from 1280 x 800) and the scene its
#     pixels; the table's digits are at least 9 pixels high; the coil
#     current's arrow and "Messwert übernehmen" take a reading; "Alle
#     löschen" (its question answered) and "CSV exportieren …" (its file
#     dialog) are clicked, and each dialog must be a window of its own with
#     its title.
#   beside: at 1920 x 1080 the protocol opens beside the form, which is
#     shown at scale 1 or more; the view and the deflection settings stay in
#     reach ("von vorne" turns the scene, "Wechselspannung" is recorded).
#   two_programs: two programs on two displays share one store and record
#     in turn with Ctrl+Enter; every row of both is in the store, and both
#     windows show the same table with all of them.
#
# Usage: protocol_e2e_test.sh PATH_TO_VAREK_EM
# Screenshots (protocol-*.png) stay in the working directory.
set -u
program="$1"
work="$PWD"
source "$(dirname "$0")/xvfb_helpers.sh"
readonly wait_s=20

export XDG_DATA_HOME="$runtime_dir/data" XDG_CONFIG_HOME="$runtime_dir/config" HOME="$runtime_dir/home"
mkdir -p "$HOME"
store="$XDG_DATA_HOME/varek-em/messprotokoll.csv"
pids=()

# Programs first, then window managers and servers.
stop_all() {
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null
    wait "${pids[i]}" 2>/dev/null
  done
  pids=()
}

# Replaces the helpers' cleanup, which knows one program only.
cleanup() {
  stop_all
  rm -rf "$runtime_dir"
}

# Starts an Xvfb of SIZE with openbox; sets DISPLAY.
start_display() {
  local fifo="$runtime_dir/display.$RANDOM"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp 3>"$fifo" 2>/dev/null &
  pids+=($!)
  local number
  read -r number <"$fifo"
  export DISPLAY=":$number"
  openbox >/dev/null 2>&1 &
  pids+=($!)
  sleep 1
}

start_program() {
  "$program" &
  pids+=($!)
  find_titled "Spezifische Ladung des Elektrons - Varek-Methode" || fail "no window on $DISPLAY"
}

# The main window's client area (X, Y, W, H) and the scale at which the form
# part of FORM_W x FORM_H is shown: the form fills the window, up as well as down.
measure() {
  find_titled "Spezifische Ladung des Elektrons - Varek-Methode" || fail "no window on $DISPLAY"
  eval "$(xwininfo -id "$found" | awk '/Absolute upper-left X/{print "X="$4} /Absolute upper-left Y/{print "Y="$4} /Width:/{print "W="$2} /Height:/{print "H="$2}')"
  scale="$(awk -v w="$W" -v h="$H" -v fw="$1" -v fh="$2" 'BEGIN { s = w / fw; if (h / fh < s) s = h / fh; print s }')"
}

# Clicks the point (x, y) of the form.
click_form() {
  click_screen "$(awk -v o="$X" -v s="$scale" -v v="$1" 'BEGIN { printf "%d", o + v * s }')" \
    "$(awk -v o="$Y" -v s="$scale" -v v="$2" 'BEGIN { printf "%d", o + v * s }')"
  sleep 0.3
}

# Waits for a visible window titled exactly $1; sets found. xdotool gives up
# on an X error when a window goes while it looks at it: ask again.
find_titled() {
  found=""
  titled() { found="$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)"; [[ -n "$found" ]]; }
  poll "$wait_s" titled "$1"
}

# Waits until the window $1 has the keyboard.
is_active() { [[ "$(xdotool getactivewindow 2>/dev/null)" == "$1" ]]; }
has_keyboard() { poll "$wait_s" is_active "$1"; }

rows_in_store() { [[ -f "$store" ]] && echo $(($(wc -l <"$store") - 1)) || echo 0; }
store_has() { [[ "$(rows_in_store)" == "$1" ]]; }

# Form coordinates: Weiter, Ein, the thumb of the coil current at 0 mA and
# its left arrow, the button "Messprotokoll"; on the protocol's panel over
# the right column (left 752, top 8): record, delete all, export; on the
# readings' panel (left 8, top 566): the table, its first row, the cell of
# its first voltage inside the cell's lines. The scene.
readonly weiter=(508 696) ein=(182 602) current_thumb=(295 512) current_less=(294 512) protocol=(872 693)
readonly record=(872 88) clear_all=(930 184) export_csv=(872 557)
readonly table_crop=(16 574 456 131) first_row=(67 605) first_voltage=(60 597 36 17)
readonly scene_crop=(8 8 720 440)

# Weiter, deflection on, the coil current to its end (3 A): a reading that is recorded.
prepare_reading() {
  click_form "${weiter[@]}"
  click_form "${ein[@]}"
  click_form "${current_thumb[@]}"
  xdotool key End
  sleep 0.3
}

shoot() { import -window root "$work/$1"; }

# Crops the form's rectangle LEFT TOP WIDTH HEIGHT of the screenshot $1 into $2.
crop_form() {
  convert "$work/$1" -crop "$(awk -v s="$scale" -v x="$X" -v y="$Y" -v a="$3" -v b="$4" -v c="$5" -v d="$6" \
    'BEGIN { printf "%dx%d+%d+%d", c * s, d * s, x + a * s, y + b * s }')" +repage "$work/$2"
}
crop_table() { crop_form "$1" "$2" "${table_crop[@]}"; }

# Height in screen pixels of the text in the crop $1: from the first to the
# last pixel row with a pixel far from the crop's corner (the cell's ground).
text_height() {
  convert "$work/$1" -colorspace gray -depth 8 txt:- |
    sed -n 's/^\([0-9]*\),\([0-9]*\): (\([0-9]*\).*/\2 \3/p' |
    awk 'NR == 1 { ground = $2 } { d = $2 - ground; if (d < 0) d = -d; if (d > 80) { if (first == "") first = $1; last = $1 } }
         END { print (first == "" ? 0 : last - first + 1) }'
}

# Lines of text in the first column ("Nr.") of a table crop: runs of pixel
# rows that hold dark (text) pixels, inside the table's frame; a gap of up
# to three rows (between a check box's mark and its frame) is within a line.
numbered_rows() {
  convert "$work/$1" -crop "22x100%+5+0" +repage -colorspace gray -depth 8 txt:- |
    sed -n 's/^\([0-9]*\),\([0-9]*\): (\([0-9]*\).*/\2 \3/p' |
    awk '{ if (!($1 in min) || $2 < min[$1]) min[$1] = $2; if ($1 > last) last = $1 }
         END { gap = 9; for (y = 0; y <= last; y++) { if (min[y] < 60) { if (gap > 3) runs++; gap = 0 } else gap++ }
               print runs + 0 }'
}

# SIZE, and the least scale at which the form with the protocol must be shown.
screens_row() {
  local size="$1"
  start_display "$size"
  start_program
  sleep 2
  measure 1004 721
  echo "$size: window $W x $H, form scale $scale without the protocol"
  prepare_reading
  local before="$scale"
  shoot "protocol-$size-closed.png"
  click_form "${protocol[@]}"
  sleep 1
  measure 1004 721
  echo "$size: form scale $scale with the protocol"
  [[ "$scale" == "$before" ]] || fail "$size: the protocol changed the form's scale from $before to $scale"
  awk -v s="$scale" -v least="$2" 'BEGIN { exit !(s >= least) }' || fail "$size: the form is shown at $scale, below $2"
  shoot "protocol-$size-open.png"
  crop_form "protocol-$size-closed.png" scene-closed.png "${scene_crop[@]}"
  crop_form "protocol-$size-open.png" scene-open.png "${scene_crop[@]}"
  [[ "$(compare -metric AE "$work/scene-closed.png" "$work/scene-open.png" null: 2>&1)" == 0 ]] ||
    fail "$size: the scene is not the same with the protocol open"
  # The coil current's arrow is not covered: the first reading is at 2.999 A.
  click_form "${current_less[@]}"
  click_form "${record[@]}"
  poll "$wait_s" store_has 1 || fail "$size: \"Messwert übernehmen\" stored $(rows_in_store) rows"
  grep -q ';2,999;' "$store" || fail "$size: the reading is not at 2.999 A: $(tail -n 1 "$store")"
  # The same reading again, more than a second later: within a second the
  # program asks whether it is meant.
  sleep 1.2
  click_form "${record[@]}"
  poll "$wait_s" store_has 2 || fail "$size: the second reading is not stored"
  shoot "protocol-$size.png"
  crop_form "protocol-$size.png" voltage-cell.png "${first_voltage[@]}"
  local digits
  digits="$(text_height voltage-cell.png)"
  echo "$size: the table's digits are $digits px high"
  ((digits >= 9)) || fail "$size: the table's digits are $digits px high"

  click_form "${export_csv[@]}"
  find_titled "Messwerte exportieren" || fail "$size: the export dialog is no window of its own"
  has_keyboard "$found" || fail "$size: the export dialog does not get the keyboard"
  shoot "protocol-$size-export-dialog.png"
  # The dialog has the keyboard: its file name field is focused.
  xdotool key ctrl+a
  xdotool type "$runtime_dir/export.csv"
  xdotool key Return
  poll "$wait_s" test -s "$runtime_dir/export.csv" || fail "$size: nothing exported"
  [[ "$(head -n 1 "$runtime_dir/export.csv")" == "U in V;I in A;k;Amplitude;Ablenkung;ΔI in A;in Auswertung" && "$(wc -l <"$runtime_dir/export.csv")" == 3 ]] ||
    fail "$size: export is $(cat "$runtime_dir/export.csv")"

  measure 1004 721
  click_form "${clear_all[@]}"
  find_titled "Messprotokoll" || fail "$size: the question of \"Alle löschen\" is no window of its own"
  has_keyboard "$found" || fail "$size: the question does not get the keyboard"
  shoot "protocol-$size-question.png"
  # The question's default is "Nein"; Shift+Tab reaches "Ja".
  xdotool key shift+Tab space
  poll "$wait_s" store_has 0 || fail "$size: \"Alle löschen\" left $(rows_in_store) rows"
  echo "$size: recorded 2 rows, exported them, cleared them"
  stop_all
  rm -f "$store" "$runtime_dir/export.csv"
}

# Form coordinates with the protocol beside the form (the form 1481 x 721):
# "Messwert übernehmen" there, "von vorne" and "Wechselspannung" (at its
# indicator) of the view and deflection settings, which it must not cover.
readonly beside_record=(1121 88) front_view=(867 356) alternating=(294 641)

# SIZE: the protocol opens beside the form, at scale 1 or more, and covers
# neither the view settings nor the deflection settings: clicks reach them.
beside_row() {
  local size="$1"
  start_display "$size"
  start_program
  sleep 2
  measure 1004 721
  prepare_reading
  click_form "${protocol[@]}"
  sleep 1
  measure 1481 721
  echo "$size: form scale $scale with the protocol beside it"
  awk -v s="$scale" 'BEGIN { exit !(s >= 1) }' || fail "$size: the form with the protocol is shown at $scale"
  shoot "protocol-$size-beside.png"
  crop_form "protocol-$size-beside.png" scene-side.png "${scene_crop[@]}"
  click_form "${front_view[@]}"
  sleep 0.5
  shoot "protocol-$size-front.png"
  crop_form "protocol-$size-front.png" scene-front.png "${scene_crop[@]}"
  [[ "$(compare -metric AE "$work/scene-side.png" "$work/scene-front.png" null: 2>&1)" != 0 ]] ||
    fail "$size: \"von vorne\" did not turn the scene: the protocol covers the view settings"
  click_form "${alternating[@]}"
  click_form "${beside_record[@]}"
  poll "$wait_s" store_has 1 || fail "$size: \"Messwert übernehmen\" beside the form stored $(rows_in_store) rows"
  grep -q ';Wechselspannung;' "$store" ||
    fail "$size: \"Wechselspannung\" did not take: the protocol covers the deflection settings: $(tail -n 1 "$store")"
  echo "$size: view and deflection settings in reach beside the protocol, a reading recorded"
  stop_all
  # The lock file counts the rows last written: a store gone with rows in
  # it would be taken for one that lost them.
  rm -f "$store" "$store.lock"
}

# On screens where the protocol opens beneath the apparatus, so that both
# tables are at the same place.
two_programs() {
  local a b
  start_display 1280x800
  a="$DISPLAY"
  start_program
  start_display 1280x800
  b="$DISPLAY"
  start_program
  sleep 2
  for display in "$a" "$b"; do
    DISPLAY="$display" measure 1004 721
    DISPLAY="$display" prepare_reading
  done
  local expected=0
  # Four readings: the table shows them all without scrolling. Each program
  # takes the same reading twice: more than a second apart, so that it does
  # not ask whether the second is meant.
  for round in 1 2; do
    ((round == 1)) || sleep 1.2
    for display in "$a" "$b"; do
      export DISPLAY="$display"
      measure 1004 721
      xdotool key ctrl+Return
      expected=$((expected + 1))
      poll "$wait_s" store_has "$expected" || fail "after $expected readings the store holds $(rows_in_store)"
    done
  done
  sleep 1
  for display in "$a" "$b"; do
    export DISPLAY="$display"
    measure 1004 721
    # The same look in both: the first row current, nothing selected.
    click_form "${first_row[@]}"
    xdotool keydown ctrl
    click_form "${first_row[@]}"
    xdotool keyup ctrl
    shoot "protocol-two-programs-$display.png"
    crop_table "protocol-two-programs-$display.png" "protocol-table-$display.png"
  done
  [[ "$(compare -metric AE "$work/protocol-table-$a.png" "$work/protocol-table-$b.png" null: 2>&1)" == 0 ]] ||
    fail "the two windows show different tables"
  local shown
  shown="$(numbered_rows "protocol-table-$a.png")"
  # The header line and one line a row.
  [[ "$shown" == $((expected + 1)) ]] || fail "the tables show $((shown - 1)) rows, not $expected"
  echo "two programs: $expected rows in the store and on both screens"
}

case "${2:-all}" in
  screens) screens_row 1024x768 0.98 && screens_row 1280x720 0.95 && screens_row 1280x800 1 ;;
  beside) beside_row 1920x1080 ;;
  two_programs) two_programs ;;
  all) screens_row 1024x768 0.98 && screens_row 1280x720 0.95 && screens_row 1280x800 1 && beside_row 1920x1080 &&
    two_programs ;;
esac
