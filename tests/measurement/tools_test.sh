#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The varek-em developers
# SPDX-License-Identifier: GPL-3.0-or-later
# varek-auswertung and varek-focus end to end: their one-line results and
# their refusals (one German line on stderr, exit 2, nothing on stdout).
set -u
auswertung=$1
focus=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

expect() {  # name, exit code, stdout, stderr pattern ("": no stderr at all), command...
  local name=$1 code=$2 out=$3 err=$4
  shift 4
  "$@" >"$work/out" 2>"$work/err"
  local got=$?
  if [[ $got != "$code" || "$(cat "$work/out")" != "$out" ]] ||
     ! { [[ -z $err && ! -s $work/err ]] || { [[ -n $err ]] && grep -q -- "$err" "$work/err"; }; } ||
     [[ $(wc -l <"$work/err") -gt 1 ]]; then
    echo "FAIL $name: exit $got"; echo "stdout:"; cat "$work/out"; echo "stderr:"; cat "$work/err"
    failures=$((failures + 1))
  fi
}

printf 'U in V;I in A;k\r\n1000;1;1\r\n500;1,5;2\r\n1500;1,2;1\r\n' >"$work/series.csv"
expect "series" 0 "U = 1000 V; I = 1 A; k = 1; B = 6,2832 mT; e/m = 2,2161e11 C/kg
U = 500 V; I = 1,5 A; k = 2; B = 9,4248 mT; e/m = 1,9698e11 C/kg
U = 1500 V; I = 1,2 A; k = 1; B = 7,5398 mT; e/m = 2,3084e11 C/kg
e/m = 2,0975e11 C/kg ± 0,1080e11 C/kg" "" "$auswertung" "$work/series.csv"

printf 'U in V;I in A;k\n1200;1,23;1\n1200;;1\n' >"$work/damaged.csv"
expect "damaged" 2 "" "damaged.csv: Zeile 3: I = „“ ist keine Zahl" "$auswertung" "$work/damaged.csv"
: >"$work/empty.csv"
expect "empty" 2 "" "Zeile 1: die Datei ist leer" "$auswertung" "$work/empty.csv"
expect "missing" 2 "" "nicht gefunden" "$auswertung" "$work/none.csv"
expect "no file" 2 "" "Aufruf: varek-auswertung" "$auswertung"

expect "focus 1200 V" 0 "1230" "" "$focus" --voltage 1200
expect "focus 300 V small amplitude" 0 "613" "" "$focus" --amplitude 25 --voltage 300 --order 1
expect "focus without voltage" 2 "" "--voltage fehlt" "$focus" --order 2
expect "focus bad order" 2 "" "--order: ungültiger Wert „5“" "$focus" --voltage 1200 --order 5
expect "focus value missing" 2 "" "--amplitude: Wert fehlt" "$focus" --voltage 1200 --amplitude
expect "focus unknown flag" 2 "" "unbekannter Schalter „--strom“" "$focus" --voltage 1200 --strom 5
expect "focus on the plates" 1 "" "kein Fokus 1. Ordnung bei 300 V" "$focus" --voltage 300

exit $((failures > 0))
