// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// Prepared setups by link: the query parameters carry the flag names of the
// command-line tools. A bad value keeps the start-up value of its setting and
// adds a German notice naming the parameter.

// The window's start-up settings.
const START_SETTINGS = Object.freeze({
  voltage: 1200, current: 0, amplitude: 200, deflectionOn: false, steady: true,
  turnAxis: 5, turnVertical: -25, coilVisible: false, screenTransparent: false, pathWidth: 1,
});

// name: [setting, lowest, highest] for numbers, [setting, word for true, word for false] for choices.
const URL_NUMBERS = {
  voltage: ["voltage", 50, 2000],
  current: ["current", 0, 3000],
  amplitude: ["amplitude", 0, 300],
  turn: ["turnAxis", -180, 180],
  side: ["turnVertical", -180, 0],
  width: ["pathWidth", 1, 2],
};
const URL_CHOICES = {
  deflection: ["deflectionOn", "on", "off"],
  mode: ["steady", "dc", "ac"],
  coil: ["coilVisible", "on", "off"],
  transparent: ["screenTransparent", "on", "off"],
};

// An optional minus sign and decimal digits, nothing else.
function parsePlainInteger(text) {
  return /^-?[0-9]+$/.test(text) ? Number(text) : NaN;
}

// Returns { settings, notices, prepared }: prepared is true when the query
// names at least one setting, so the page opens past the information panel.
function settingsFromQuery(query) {
  const settings = { ...START_SETTINGS };
  const notices = [];
  let prepared = false;
  const bad = (name, key, value, start) => {
    settings[key] = START_SETTINGS[key];
    notices.push(`Ungültiger Wert für »${name}«: »${value}«; Startwert ${start} verwendet.`);
  };
  for (const [name, value] of new URLSearchParams(query)) {
    if (name in URL_NUMBERS) {
      const [key, lowest, highest] = URL_NUMBERS[name];
      prepared = true;
      const number = parsePlainInteger(value);
      if (number >= lowest && number <= highest) settings[key] = number;
      else bad(name, key, value, START_SETTINGS[key]);
    } else if (name in URL_CHOICES) {
      const [key, yes, no] = URL_CHOICES[name];
      prepared = true;
      if (value === yes || value === no) settings[key] = value === yes;
      else bad(name, key, value, START_SETTINGS[key] ? yes : no);
    } else {
      notices.push(`Unbekannter Parameter »${name}« wird nicht beachtet.`);
    }
  }
  return { settings, notices, prepared };
}
