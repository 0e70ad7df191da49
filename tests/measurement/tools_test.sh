#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The varek-em developers
# SPDX-License-Identifier: GPL-3.0-or-later
# varek-auswertung and varek-focus end to end: their results and their
# refusals (one short German line on stderr, exit 2, nothing on stdout).
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

printf 'U in V;I in A;k;Amplitude\r\n1200;1,23;1;200\r\n300;0,614;1;60\r\n800;1,004;1;\r\n1200;1,3;1;200\r\n1200;1,231;1;200\r\n' >"$work/series.csv"
expect "series" 0 "U = 1200 V; I = 1,23 A; k = 1; B = 7,7283 mT; e/m = 1,7577 · 10¹¹ C/kg
U = 300 V; I = 0,614 A; k = 1; B = 3,8579 mT; e/m = 1,7635 · 10¹¹ C/kg
U = 800 V; I = 1,004 A; k = 1; B = 6,3083 mT; e/m = 1,7588 · 10¹¹ C/kg
U = 1200 V; I = 1,3 A; k = 1; B = 8,1681 mT; e/m = 1,5735 · 10¹¹ C/kg (Ausreißer)
U = 1200 V; I = 1,231 A; k = 1; B = 7,7346 mT; e/m = 1,7549 · 10¹¹ C/kg
Hinweis: Ausreißer Nr. 4 (markiert): e/m liegt 10,4 % unter der Ausgleichsgeraden der übrigen; Fokus prüfen und neu messen.
e/m = (1,7569 ± 0,0011) · 10¹¹ C/kg ohne Ableseunsicherheit
Abweichung vom Literaturwert 1,75882 · 10¹¹ C/kg: −0,11 % = 1,7 σ: verträglich
Nr. 4 nicht berücksichtigt (Ausreißer)" "" "$auswertung" "$work/series.csv"

# The weighted series of evaluation_test.cpp: the same result with a reading
# far off added (left out and named); the earlier four-column form of it is
# fitted unweighted, as before the ΔI column.
weighted='U in V;I in A;k;Amplitude;Ablenkung;ΔI in A
600;0,870;1;75;Wechselspannung;0,010
1200;1,230;1;150;Wechselspannung;0,012
1800;1,507;1;225;Wechselspannung;0,015
800;2,007;2;100;Wechselspannung;0,020'
result='e/m = (1,7579 ± 0,0180) · 10¹¹ C/kg
Abweichung vom Literaturwert 1,75882 · 10¹¹ C/kg: −0,05 % = 0,1 σ: verträglich'
printf '%s\n' "$weighted" >"$work/weighted.csv"
printf '%s\n900;1,201;1;110;Wechselspannung;0,010\n' "$weighted" >"$work/outlier.csv"
printf 'U in V;I in A;k;Amplitude\n600;0,870;1;75\n1200;1,230;1;150\n1800;1,507;1;225\n800;2,007;2;100\n' >"$work/four.csv"
"$auswertung" "$work/weighted.csv" >"$work/weighted.out"
"$auswertung" "$work/outlier.csv" >"$work/outlier.out"
"$auswertung" "$work/four.csv" >"$work/four.out"
[[ $(tail -n 2 "$work/weighted.out") == "$result" && $(tail -n 3 "$work/outlier.out") == "$result
Nr. 5 nicht berücksichtigt (Ausreißer)" && $(tail -n 2 "$work/four.out" | head -n 1) == "e/m = (1,7593 ± 0,0010) · 10¹¹ C/kg ohne Ableseunsicherheit" ]] ||
  { echo "FAIL weighted series:"; cat "$work/weighted.out" "$work/outlier.out" "$work/four.out"; failures=$((failures + 1)); }

printf 'U in V;I in A;k\n1200;1,23;1\n1200;;1\n' >"$work/damaged.csv"
expect "damaged" 2 "" "„.*damaged.csv“: Zeile 3: I = „“ ist keine Zahl" "$auswertung" "$work/damaged.csv"
: >"$work/empty.csv"
expect "empty" 2 "" "Zeile 1: die Datei ist leer" "$auswertung" "$work/empty.csv"
expect "missing" 2 "" "nicht gefunden" "$auswertung" "$work/none.csv"
expect "no file" 2 "" "Aufruf: varek-auswertung" "$auswertung"

# Hostile input: devices, pipes without a writer and folders are refused
# before reading, large files by their size; a refusal quotes a short,
# escaped excerpt of the bad field.
mkfifo "$work/pipe"
expect "device" 2 "" "„/dev/zero“ ist keine gewöhnliche Datei" timeout 10 "$auswertung" /dev/zero
expect "fifo" 2 "" "keine gewöhnliche Datei" timeout 10 "$auswertung" "$work/pipe"
expect "folder" 2 "" "ist ein Ordner" "$auswertung" "$work"
head -c 2000000 /dev/zero | tr '\0' ';' >"$work/large.csv"
expect "large" 2 "" "ist größer als 1 MB" "$auswertung" "$work/large.csv"
{ printf 'U in V;I in A;k\n1200;\033[2J\a\r'; head -c 100000 /dev/zero | tr '\0' 'x'; printf ';1\n'; } >"$work/escape.csv"
expect "escaped field" 2 "" 'I = „\\e\[2J\\x07\\rxxxxxxxxxxxxxxxxxx…“ ist keine Zahl' "$auswertung" "$work/escape.csv"
[[ $(wc -c <"$work/err") -lt 300 ]] || { echo "FAIL escaped field: $(wc -c <"$work/err") bytes on stderr"; failures=$((failures + 1)); }
printf 'U in V;I in A;k\n1200;1e-200;1\n' >"$work/tiny.csv"
expect "tiny current" 2 "" "I = „1e-200“ ist nicht erlaubt, erwartet von 0,001 bis 3 A" "$auswertung" "$work/tiny.csv"

expect "focus 1200 V" 0 "1231" "" "$focus" --voltage 1200
expect "focus range" 0 "1231 1230 1233" "" "$focus" --range --voltage 1200
expect "focus 300 V small amplitude" 0 "615" "" "$focus" --amplitude 25 --voltage 300 --order 1
expect "focus without voltage" 2 "" "--voltage fehlt" "$focus" --order 2
expect "focus bad order" 2 "" "--order: ungültiger Wert „5“" "$focus" --voltage 1200 --order 5
expect "focus value missing" 2 "" "--amplitude: Wert fehlt" "$focus" --voltage 1200 --amplitude
expect "focus unknown flag" 2 "" "unbekannter Schalter „--strom“" "$focus" --voltage 1200 --strom 5
expect "focus long value" 2 "" "--voltage: ungültiger Wert „999999999999999999999999…“" \
  "$focus" --voltage "$(head -c 100000 /dev/zero | tr '\0' '9')"
[[ $(wc -c <"$work/err") -lt 300 ]] || { echo "FAIL focus long value: $(wc -c <"$work/err") bytes on stderr"; failures=$((failures + 1)); }
expect "focus on the plates" 1 "" "kein Fokus 1. Ordnung bei 300 V" "$focus" --voltage 300

exit $((failures > 0))
