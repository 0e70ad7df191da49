# SPDX-FileCopyrightText: 2026 The varek-em developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Helpers shared by the end-to-end tests that drive the real program under an
# Xvfb with xdotool. Source it; it sets a private runtime directory, clears
# QT_QPA_PLATFORM and ends a program left running (program_pid) at exit.
# find_window sets X, Y, WIDTH and HEIGHT: the window's client area on the
# screen.

readonly poll_s=0.1
readonly window_title="Spezifische Ladung"

program_pid=""
runtime_dir="$(mktemp -d)"
chmod 700 "$runtime_dir"
export XDG_RUNTIME_DIR="$runtime_dir"
unset QT_QPA_PLATFORM

cleanup() {
  if [[ -n "$program_pid" ]] && kill -0 "$program_pid" 2>/dev/null; then
    kill "$program_pid" 2>/dev/null
    wait "$program_pid" 2>/dev/null
  fi
  rm -rf "$runtime_dir"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  exit 1
}

# Polls COMMAND every $poll_s seconds for at most SECONDS; true once it succeeds.
poll() {
  local seconds="$1"; shift
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep "$poll_s"
  done
}

# Waits at most SECONDS for the program's window; sets window to its id and
# reads its geometry.
find_window() {
  window="$(timeout "$1" xdotool search --sync --onlyvisible --name "$window_title" | head -n 1)"
  [[ -n "$window" ]] || fail "no window within $1 s"
  eval "$(xdotool getwindowgeometry --shell "$window")"  # sets X, Y, WIDTH, HEIGHT
  echo "window $window at ($X, $Y), ${WIDTH} x ${HEIGHT}"
}

# Clicks at the screen point (x, y). `mousemove --sync` waits for the pointer
# to move, and when it is there already, waits many seconds for nothing: move
# it only when it is elsewhere.
click_screen() {
  [[ "$(xdotool getmouselocation)" == "x:$1 y:$2 "* ]] || xdotool mousemove --sync "$1" "$2"
  xdotool click 1
}

# Clicks at (x, y) of the window's client area.
click_at() {
  click_screen $((X + $1)) $((Y + $2))
}

# Waits at most SECONDS for the program to end; it must end with status 0.
expect_program_ends() {
  program_gone() { ! kill -0 "$program_pid" 2>/dev/null; }
  poll "$1" program_gone || fail "the program still runs $1 s after \"ENDE\""
  local status=0
  wait "$program_pid" || status=$?
  program_pid=""
  [[ $status == 0 ]] || fail "the program exited with status $status"
}
