// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// Prepared setups by link: the query parameters carry the flag names of the
// command-line tools. A bad value keeps the start-up value of its setting and
// adds a German notice naming the parameter; any other name (also one such
// as "constructor" or "__proto__") is an unknown parameter with its notice.
// The page writes the settings in force back into the address.

// name -> [setting, lowest, highest] for numbers, [setting, word for true, word for false] for choices.
const URL_NUMBERS = new Map([
  ["voltage", ["voltage", 50, 2000]],
  ["current", ["current", 0, 3000]],
  ["amplitude", ["amplitude", 0, 300]],
  ["turn", ["turnAxis", -180, 180]],
  ["side", ["turnVertical", -180, 0]],
  ["width", ["pathWidth", 1, 2]],
]);
const URL_CHOICES = new Map([
  ["deflection", ["deflectionOn", "on", "off"]],
  ["mode", ["steady", "dc", "ac"]],
  ["coil", ["coilVisible", "on", "off"]],
  ["transparent", ["screenTransparent", "on", "off"]],
]);

// An optional minus sign and decimal digits, nothing else.
function parsePlainInteger(text) {
  return /^-?[0-9]+$/.test(text) ? Number(text) : NaN;
}

// Returns { settings, notices, prepared }: settings are `start` with the
// query's values; prepared is true when the query names at least one
// setting, so the page opens past the information panel.
function settingsFromQuery(query, start) {
  const settings = { ...start };
  const notices = [];
  let prepared = false;
  const bad = (name, key, value, shown) => {
    settings[key] = start[key];
    notices.push(`Ungültiger Wert für »${name}«: »${value}«; Startwert ${shown} verwendet.`);
  };
  for (const [name, value] of new URLSearchParams(query)) {
    if (URL_NUMBERS.has(name)) {
      const [key, lowest, highest] = URL_NUMBERS.get(name);
      prepared = true;
      const number = parsePlainInteger(value);
      if (number >= lowest && number <= highest) settings[key] = number;
      else bad(name, key, value, start[key]);
    } else if (URL_CHOICES.has(name)) {
      const [key, yes, no] = URL_CHOICES.get(name);
      prepared = true;
      if (value === yes || value === no) settings[key] = value === yes;
      else bad(name, key, value, start[key] ? yes : no);
    } else {
      notices.push(`Unbekannter Parameter »${name}« wird nicht beachtet.`);
    }
  }
  return { settings, notices, prepared };
}

// The query that prepares these settings.
function queryFromSettings(settings) {
  const query = new URLSearchParams();
  for (const [name, [key]] of URL_NUMBERS) query.set(name, String(settings[key]));
  for (const [name, [key, yes, no]] of URL_CHOICES) query.set(name, settings[key] ? yes : no);
  return `?${query}`;
}
