// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// Prepared setups by link: the query parameters carry the settings by the
// names of the window's description ("settings": a row each, as the command
// lines take them). A bad value keeps the start-up value of its setting and
// adds the German sentence of the description for it; any other name (also
// one such as "constructor" or "__proto__") is an unknown parameter with its
// notice. The page writes the settings in force back into the address.
//
// A settings object holds each setting under its row's name: numbers as
// numbers, choices as true (the row's "yes" word) or false.

// The value a link's text gives a row, or null if it gives none.
function settingValue(row, text) {
  if (row.choice) return text === row.yes ? true : text === row.no ? false : null;
  // An optional minus sign and decimal digits, nothing else.
  if (!/^-?[0-9]+$/.test(text)) return null;
  const number = Number(text);
  return number >= row.lowest && number <= row.highest ? number : null;
}

// A value as a link writes it.
function settingWord(row, value) {
  return row.choice ? (value ? row.yes : row.no) : String(value);
}

// Returns { settings, notices, prepared }: settings are `start` with the
// query's values; prepared is true when the query names at least one
// setting, so the page opens past the information panel.
function settingsFromQuery(query, rows, start) {
  const byName = new Map(rows.map((row) => [row.name, row]));
  const settings = { ...start };
  const notices = [];
  let prepared = false;
  for (const [name, text] of new URLSearchParams(query)) {
    const row = byName.get(name);
    if (!row) {
      notices.push(`Unbekannter Parameter »${name}« wird nicht beachtet.`);
      continue;
    }
    prepared = true;
    const value = settingValue(row, text);
    if (value !== null) {
      settings[name] = value;
    } else {
      settings[name] = start[name];
      const sentence = row.badValue.replace("{value}", () => text);
      notices.push(`${sentence} Startwert ${settingWord(row, start[name])} verwendet.`);
    }
  }
  return { settings, notices, prepared };
}

// The query that prepares these settings.
function queryFromSettings(settings, rows) {
  const query = new URLSearchParams();
  for (const row of rows) query.set(row.name, settingWord(row, settings[row.name]));
  return `?${query}`;
}
