// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// Prepared setups by link: the query parameters carry the settings by the
// names of the window's description ("settings": a row each, as the command
// lines take them). The program's core reads them as the command lines read
// their flags (picture_worker.js): a bad value keeps the start-up value of
// its setting, any other name (also one such as "constructor" or
// "__proto__") is an unknown parameter, each with its German notice. The
// page writes the settings in force back into the address.
//
// A settings object holds each setting under its row's name: numbers as
// numbers, choices as true (the row's "yes" word) or false.

// A value as a link writes it.
function settingWord(row, value) {
  return row.choice ? (value ? row.yes : row.no) : String(value);
}

// A promise of { settings, notices, prepared }: settings are `start` with
// the query's values as `read` ([[name, text], ...] to [{value} or {notice},
// ...]) reads them; prepared is true when the query names at least one
// setting, so the page opens past the information panel.
async function settingsFromQuery(query, rows, start, read) {
  const byName = new Map(rows.map((row) => [row.name, row]));
  const parameters = [...new URLSearchParams(query)];
  const replies = parameters.length ? await read(parameters) : [];
  const settings = { ...start };
  const notices = [];
  parameters.forEach(([name], i) => {
    const { value, notice } = replies[i] ?? {};
    if (notice !== undefined) notices.push(notice);
    else if (value !== undefined) settings[name] = byName.get(name).choice ? value === 1 : value;
  });
  const prepared = parameters.some(([name]) => byName.has(name));
  return { settings, notices, prepared };
}

// The query that prepares these settings.
function queryFromSettings(settings, rows) {
  const query = new URLSearchParams();
  for (const row of rows) query.set(row.name, settingWord(row, settings[row.name]));
  return `?${query}`;
}
