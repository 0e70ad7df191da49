#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The varek-em developers
# SPDX-License-Identifier: GPL-3.0-or-later
# varek-em's command line without any display: each row gives the arguments,
# the exit status, the stream that must carry the text, and a text it must
# contain. Usage: command_line_test.sh PATH_TO_VAREK_EM
set -u
program="$1"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

rows=(
  "--help|0|stdout|Aufruf: varek-em [OPTION]"
  "-h|0|stdout|Strg+Plus"
  "--version|0|stdout|varek-em 1."
  "--version|0|stdout|Lizenz GPLv3+: GNU GPL Version 3 oder später"
  "-platform offscreen --version|0|stdout|varek-em 1."
  "--style=Fusion -V|0|stdout|varek-em 1."
  "--bunt|2|stderr|unbekannte Option „--bunt“"
  "-x|2|stderr|unbekannte Option „-x“"
  "datei.txt|2|stderr|überzähliges Argument „datei.txt“"
  "-platform|2|stderr|der Option „-platform“ fehlt ihr Wert"
  "--help|0|stdout|--deflection on|off"
  "--help|0|stdout|Strg+Eingabe"
  "--help|0|stdout|Strg+Bild auf, Strg+Bild ab"
  "--help|0|stdout|Pfeiltasten (in einer Auswahl)"
  "--voltage 800 --current 1500 --deflection on --mode ac --version|0|stdout|varek-em 1."
  "--voltage 12OO|2|stderr|Ungültiger Wert „12OO“ für „voltage“: erwartet wird eine ganze Zahl von 50 bis 2000."
  "--width|2|stderr|--width: Wert fehlt"
)

passed=0 failed=0
for row in "${rows[@]}"; do
  IFS='|' read -r arguments status stream text <<<"$row"
  # shellcheck disable=SC2086  # the row's arguments are split on purpose
  "$program" $arguments >stdout.txt 2>stderr.txt
  actual=$?
  if [[ $actual == "$status" ]] && grep -qF -- "$text" "$stream.txt" &&
     { [[ $status == 0 ]] || [[ ! -s stdout.txt ]]; }; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL: varek-em $arguments: status $actual (want $status), stdout: $(cat stdout.txt) stderr: $(cat stderr.txt)"
  fi
done
rm -f stdout.txt stderr.txt
echo "$passed passed, $failed failed"
((failed == 0))
