#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The varek-em developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Proves on a fresh Debian 12 what the README promises there. Makes a minimal
# bookworm root with debootstrap (minbase: nothing but apt), then:
#
#   fresh-install-test.sh [PATH_TO_DEB]
#       installs the .deb there with `apt-get install ./varek-em_….deb` (which
#       must pull in everything the program needs, fonts included), starts
#       the installed program under an Xvfb inside that root and takes a
#       screenshot. Prints the time from the start of apt-get install to the
#       program's first window. Default package: the one in build/package/
#       (scripts/package.sh). About ten minutes.
#   fresh-install-test.sh --test-command
#       clones this repository's committed HEAD into the root and runs the
#       README's test command there, scripts/test.sh, as its root user: every
#       package it needs must come from its own install step. Prints how long
#       that took: about 35 minutes on two shared cores.
#
# Run as root; needs a few GB under build/. Leaves the logs (and the
# screenshot) in build/fresh-install/ and removes the root.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh debootstrap

mode=package
if [[ "${1:-}" == "--test-command" ]]; then
  mode=test-command
else
  deb="$(realpath "${1:-$(ls build/package/varek-em_*.deb)}")"
fi
work="$PWD/build/fresh-install"
root="$work/root"
# The Debian mirror that apt on this machine uses.
mirror="$(grep -hE '^(URIs:|deb )' /etc/apt/sources.list /etc/apt/sources.list.d/*.sources 2>/dev/null |
          grep -oE 'https?://[^ ]*/debian/?$' | head -n 1 || true)"
mirror="${mirror:-http://deb.debian.org/debian}"

mounted=()
unmount_all() {
  for ((i = ${#mounted[@]} - 1; i >= 0; --i)); do umount -l "${mounted[i]}" || true; done
  mounted=()
}
# Removes the root, never crossing into a file system still mounted in it.
remove_root() {
  if [[ -d "$root" ]]; then
    if findmnt -rn -o TARGET | grep -q "^$root/"; then
      echo "FAIL: something is still mounted under $root" >&2
      return 1
    fi
    rm -rf --one-file-system "$root"
  fi
}
cleanup() {
  if [[ -n "${xvfb_pid:-}" ]]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  unmount_all
  remove_root
}
trap cleanup EXIT
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }
bind() { mkdir -p "$root$1" && mount --bind "$1" "$root$1" && mounted+=("$root$1"); }

remove_root
rm -rf "$work"
mkdir -p "$work"
echo "== debootstrap bookworm (minbase) from $mirror"
start=$SECONDS
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$work/debootstrap.log" 2>&1 ||
  { tail -n 20 "$work/debootstrap.log"; echo "FAIL: debootstrap"; exit 1; }
echo "debootstrap took $((SECONDS - start)) s"

mount -t proc proc "$root/proc" && mounted+=("$root/proc")
bind /sys
bind /dev
bind /dev/pts
mount -t tmpfs tmpfs "$root/dev/shm" && mounted+=("$root/dev/shm")
mount -t tmpfs tmpfs "$root/tmp" && mounted+=("$root/tmp")
cp /etc/resolv.conf "$root/etc/resolv.conf"

if [[ "$mode" == test-command ]]; then
  git clone -q "$PWD" "$root/src"
  echo "== scripts/test.sh in the fresh root ($(git -C "$root/src" log -1 --format='%h %s'))"
  ca=()
  # npm trusts only its own certificates; a host that adds its own (as
  # NODE_EXTRA_CA_CERTS names) lends the root its bundle.
  if [[ -n "${NODE_EXTRA_CA_CERTS:-}" ]]; then
    cp "$NODE_EXTRA_CA_CERTS" "$root/root/host-ca.pem"
    ca=(NODE_EXTRA_CA_CERTS=/root/host-ca.pem npm_config_cafile=/root/host-ca.pem)
  fi
  start=$SECONDS
  status=0
  in_root env "${ca[@]}" bash -c 'cd /src && scripts/test.sh' >"$work/test-command.log" 2>&1 || status=$?
  elapsed=$((SECONDS - start))
  grep -E "tests passed|tests failed|Failed|\*\*\*|Skipped" "$work/test-command.log" | tail -n 40 || true
  echo "scripts/test.sh took $((elapsed / 60)) min $((elapsed % 60)) s in the fresh root, exit status $status (log: $work/test-command.log)"
  exit "$status"
fi

# The test's own tools (an X server, a window finder, a screen grabber) are
# not part of what is measured.
echo "== test tools inside the root"
in_root apt-get update >"$work/apt-update.log" 2>&1
DEBIAN_FRONTEND=noninteractive in_root apt-get install -y --no-install-recommends \
  xvfb xauth xdotool x11-apps >"$work/apt-tools.log" 2>&1
in_root mkdir -p /tmp/.X11-unix /tmp/runtime
in_root chmod 1777 /tmp/.X11-unix
in_root chmod 700 /tmp/runtime
chroot "$root" Xvfb :77 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
sleep 1

cp "$deb" "$root/tmp/"
package="/tmp/$(basename "$deb")"
echo "== apt-get install $package"
start_ns=$(date +%s%N)
DEBIAN_FRONTEND=noninteractive in_root apt-get install -y "$package" >"$work/apt-install.log" 2>&1 ||
  { tail -n 20 "$work/apt-install.log"; echo "FAIL: apt-get install"; exit 1; }
installed_ns=$(date +%s%N)
grep -E '^(The following NEW packages|[0-9]+ upgraded)' -A0 "$work/apt-install.log" || true
in_root env DISPLAY=:77 XDG_RUNTIME_DIR=/tmp/runtime varek-em >"$work/program.log" 2>&1 &
program_pid=$!
window="$(in_root env DISPLAY=:77 timeout 30 xdotool search --sync --onlyvisible --name "Spezifische Ladung" | head -n 1)"
window_ns=$(date +%s%N)
[[ -n "$window" ]] || { cat "$work/program.log"; echo "FAIL: no window of the installed program"; exit 1; }
sleep 2  # let the first picture settle before the screenshot
in_root env DISPLAY=:77 xwd -root -silent >"$work/screenshot.xwd"
convert "xwd:$work/screenshot.xwd" "$work/screenshot.png" && rm "$work/screenshot.xwd"
kill "$program_pid" 2>/dev/null || true
wait "$program_pid" 2>/dev/null || true

ms() { echo $((($1 - start_ns) / 1000000)); }
echo "apt-get install took $(ms "$installed_ns") ms; first window $(ms "$window_ns") ms after it started"
echo "new packages: $(grep -c '^Setting up' "$work/apt-install.log")"
echo "program output: $(cat "$work/program.log")"
echo "screenshot: $work/screenshot.png"
