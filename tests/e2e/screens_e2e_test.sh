#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The varek-em developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program on screens of several sizes, each its own Xvfb: the window
# must lie on the screen with the form uniformly scaled, and "Weiter", "Ein"
# and "ENDE" clicked at their scaled places must do their work. Further rows:
# a damaged settings file, presentation mode from the settings (full screen,
# zoom 2, then Ctrl+Minus), and Qt's own scaling (QT_SCALE_FACTOR=2). The form
# fills the window by default; wherever it is enlarged, the scene must be
# varek-render's picture drawn at the scale it is shown at (device pixels per
# picture pixel, in thousandths), pixel for pixel, and on a 1920 x 1080
# screen at least 1000 pixels wide.
#
# Usage: screens_e2e_test.sh PATH_TO_VAREK_EM PATH_TO_VAREK_RENDER
# Screenshots (screen-WxH-MODE.png) stay in the working directory.
set -u

program="$1"
renderer="$2"

rows=(
  "1024x768 plain"
  "1280x720 plain"
  "1366x768 damaged_settings"
  "1920x1080 plain"
  "1920x1080 zoom_keys"
  "3840x2160 plain"
  "3840x2160 presentation"
  "3840x2160 qt_scale_2"
)

if [[ -z "${VAREK_SCREEN_ROW:-}" ]]; then
  failed=0
  for row in "${rows[@]}"; do
    read -r size mode <<<"$row"
    echo "== $size $mode"
    VAREK_SCREEN_ROW="$row" xvfb-run -a -s "-screen 0 ${size}x24" bash "$0" "$@" || failed=$((failed + 1))
  done
  echo "$((${#rows[@]} - failed)) passed, $failed failed"
  ((failed == 0))
  exit
fi

read -r size mode <<<"$VAREK_SCREEN_ROW"
screen_width="${size%x*}"
screen_height="${size#*x}"
readonly wait_window_s=20 wait_work_s=20 wait_end_s=5
# The shown part of the form (the protocol closed): the information page.
readonly form_width=1004 form_height=721 restored_width=1051 restored_height=893

work="$PWD"
source "$(dirname "$0")/xvfb_helpers.sh"
export XDG_CONFIG_HOME="$runtime_dir/config"
settings="$XDG_CONFIG_HOME/varek-em/varek-em.ini"
mkdir -p "$(dirname "$settings")"

case "$mode" in
  damaged_settings) head -c 3000 /dev/urandom >"$settings"; printf '\n[presentation]\nzoom=nan\x00' >>"$settings" ;;
  presentation) printf '[presentation]\nzoom=2\nfull_screen=true\n' >"$settings" ;;
  qt_scale_2) export QT_SCALE_FACTOR=2 ;;
esac

"$program" &
program_pid=$!
find_window "$wait_window_s"

if [[ "$mode" == zoom_keys ]]; then
  # Nobody activates the window without a window manager: give it the focus.
  xdotool windowfocus --sync "$window"
  xdotool key --clearmodifiers ctrl+plus
  enlarged() { find_window 1 >/dev/null && ((WIDTH > form_width)); }
  poll "$wait_work_s" enlarged || fail "Ctrl+Plus did not enlarge the window"
  find_window 1
fi

((X >= 0 && Y >= 0 && X + WIDTH <= screen_width && Y + HEIGHT <= screen_height)) ||
  fail "the window ($X, $Y, ${WIDTH} x ${HEIGHT}) does not lie on the ${size} screen"

# The form's scale and its top-left corner on the screen: a window shows it
# at its top left, full screen in the middle.
# The unscaled form is its own window at its restored size (1051 x 893,
# times Qt's own scale factor), cut to the screen where that is smaller.
unscaled=0
for q in 1 2; do
  if ((WIDTH >= q * form_width && HEIGHT >= q * form_height &&
        WIDTH <= q * restored_width && HEIGHT <= q * restored_height)); then
    unscaled=$q
  fi
done
if [[ "$mode" == presentation ]]; then
  ((WIDTH == screen_width && HEIGHT == screen_height)) || fail "not full screen: ${WIDTH} x ${HEIGHT}"
  scale=2
elif ((unscaled > 0)); then
  scale=$unscaled
else
  # As the program fits it: the smaller of the two ratios, in device pixels.
  scale="$(awk -v w="$WIDTH" -v h="$HEIGHT" -v fw="$form_width" -v fh="$form_height" \
    'BEGIN { s = w / fw; if (h / fh < s) s = h / fh; printf "%.17g", s }')"
  awk -v s="$scale" -v h="$HEIGHT" -v fh="$form_height" 'BEGIN { d = h - fh * s; exit !(d > -1.5 && d < 1.5) }' ||
    fail "the form is not scaled uniformly: ${WIDTH} x ${HEIGHT} at scale $scale"
fi
if [[ "$mode" == presentation ]]; then
  read -r left top < <(awk -v s="$scale" -v x="$X" -v y="$Y" -v w="$WIDTH" -v h="$HEIGHT" \
    -v fw="$form_width" -v fh="$form_height" 'BEGIN { printf "%d %d\n", x + (w - fw * s) / 2, y + (h - fh * s) / 2 }')
else
  left=$X top=$Y
fi
echo "form at ($left, $top), scale $scale"

# Screen position of the form's point (x, y).
at() { awk -v s="$scale" -v l="$left" -v t="$top" -v x="$1" -v y="$2" 'BEGIN { printf "%d %d", l + x * s + 0.5, t + y * s + 0.5 }'; }
click_form() { click_screen $(at "$1" "$2"); }
# Mean brightness (0 black … 1 white) of the form's rectangle x, y, w, h.
brightness() {
  local x0 y0 x1 y1
  read -r x0 y0 < <(at "$1" "$2")
  read -r x1 y1 < <(at $(($1 + $3)) $(($2 + $4)))
  xwd -root -silent | convert xwd:- -crop "$((x1 - x0))x$((y1 - y0))+${x0}+${y0}" +repage \
    -colorspace Gray -format "%[fx:mean]" info:
}
brighter() { awk -v b="$(brightness "$1" "$2" "$3" "$4")" -v limit="$5" 'BEGIN { exit !(b > limit) }'; }
darker() { ! brighter "$@"; }

# The information page covers the right column until "Weiter"; the plot of
# the deflection voltage (white) appears with "Ein".
readonly column=(760 100 230 550) plot=(464 584 241 50)
poll "$wait_work_s" brighter "${column[@]}" 0.7 || fail "no information page at the start"
click_form 508 696  # "Weiter"
poll "$wait_work_s" darker "${column[@]}" 0.5 || fail "\"Weiter\" did not uncover the working area"
darker "${plot[@]}" 0.5 || fail "the deflection plot shows before \"Ein\""
click_form 182 602  # "Ein"
poll "$wait_work_s" brighter "${plot[@]}" 0.8 || fail "\"Ein\" did not show the deflection settings"
echo "\"Weiter\" and \"Ein\" did their work"
xwd -root -silent | convert xwd:- "$work/screen-${size}-${mode}.png"

case "$mode" in
  presentation)
    xdotool key --clearmodifiers ctrl+minus
    zoom_saved() { grep -q '^zoom=1.5$' "$settings"; }
    poll "$wait_work_s" zoom_saved || fail "Ctrl+Minus did not store zoom 1.5: $(cat "$settings")"
    echo "Ctrl+Minus stored zoom 1.5"
    scale=1.5
    read -r left top < <(awk -v s="$scale" -v w="$WIDTH" -v h="$HEIGHT" -v fw="$form_width" \
      -v fh="$form_height" 'BEGIN { printf "%d %d\n", (w - fw * s) / 2, (h - fh * s) / 2 }')
    ;;
esac

# The scene (form 8, 8; 720 x 440 picture pixels) at the device scale k.
if [[ "$mode" != presentation ]] && awk -v s="$scale" 'BEGIN { exit !(s > 1.001) }'; then
  # The program's rule: thousandths, 1.5 device pixels short of the scene's height.
  k="$(awk -v s="$scale" 'BEGIN { printf "%.3f", int((s - 1.5 / 440) * 1000 + 1e-6) / 1000 }')"
  "$renderer" --deflection on --scale "$k" --out "$work/reference.png" || fail "varek-render exited with $?"
  read -r sw sh < <(identify -format "%w %h" "$work/reference.png")
  if [[ "$size" == 1920x1080 ]] && ((sw < 1000)); then fail "the scene is only $sw pixels wide"; fi
  read -r sx sy < <(at 8 8)
  scene_sharp() {
    xwd -root -silent | convert xwd:- -crop "${sw}x${sh}+${sx}+${sy}" +repage "$work/scene.png"
    [[ "$(compare -metric AE "$work/scene.png" "$work/reference.png" null: 2>&1)" == 0 ]]
  }
  poll "$wait_work_s" scene_sharp ||
    fail "the scene is not varek-render's picture at scale $k: $work/scene.png"
  echo "scene ($sw x $sh) equals varek-render's picture at scale $k"
  rm -f "$work/reference.png" "$work/scene.png"
fi

click_form 874 627  # "ENDE"
expect_program_ends "$wait_end_s"
echo "\"ENDE\" ended the program"
